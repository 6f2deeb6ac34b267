#include "app/analysis/site_dialog.h"

#include "app/message_box.h"
#include "platform/gbk.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

namespace zolm::app {

namespace {

QDoubleSpinBox *numberBox(double min, double max, int decimals, const QString &suffix, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(min, max);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setKeyboardTracking(true);
    return box;
}

// No more than the field's bytes as the file stores them (GBK: a Chinese character takes two),
// so that the limit stops typing rather than cutting a text on saving.
class GbkLengthValidator : public QValidator {
public:
    GbkLengthValidator(std::size_t maxBytes, QObject *parent) : QValidator(parent), m_max(maxBytes) {}
    State validate(QString &input, int &) const override
    {
        return toGbk(input).size() <= m_max ? Acceptable : Invalid;
    }

private:
    std::size_t m_max;
};

} // namespace

SiteDialog::SiteDialog(const std::optional<Site> &site, const std::optional<Site> &last, QWidget *parent)
    : QDialog(parent), m_last(last)
{
    setWindowTitle(QStringLiteral("井场与地磁参考"));
    m_latitude = numberBox(-GeomagneticRange::MaxLatitude, GeomagneticRange::MaxLatitude, 6, QStringLiteral(" °"), this);
    m_longitude = numberBox(GeomagneticRange::MinLongitude, GeomagneticRange::MaxLongitude, 6, QStringLiteral(" °"), this);
    m_height = numberBox(SiteRange::MinHeight, SiteRange::MaxHeight, 1, QStringLiteral(" m"), this);
    m_date = new QDateEdit(this);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setDateRange(QDate(2020, 1, 1), QDate(2029, 12, 31));
    m_date->setCalendarPopup(true);
    m_hasAzimuth = new QCheckBox(QStringLiteral("指定视平移方位"), this);
    m_azimuth = numberBox(0, 360, 2, QStringLiteral(" °"), this);
    m_model = new QLabel(this);
    m_model->setTextFormat(Qt::PlainText);

    const Site s = site.value_or(Site{0, 0, 0, QDate::currentDate(), {}});
    m_given = s;
    m_latitude->setValue(s.latitude);
    m_longitude->setValue(s.longitude);
    m_height->setValue(s.height);
    m_date->setDate(s.date.isValid() ? s.date : QDate::currentDate());
    m_hasAzimuth->setChecked(s.verticalSectionAzimuth.has_value());
    m_azimuth->setValue(s.verticalSectionAzimuth.value_or(0));
    m_azimuth->setEnabled(m_hasAzimuth->isChecked());

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("纬度（北为正）:"), m_latitude);
    form->addRow(QStringLiteral("经度（东为正）:"), m_longitude);
    form->addRow(QStringLiteral("海拔高度:"), m_height);
    form->addRow(QStringLiteral("测量日期:"), m_date);
    form->addRow(m_hasAzimuth, m_azimuth);
    form->addRow(QStringLiteral("地磁模型:"), m_model);

    // The report's texts, two columns of label and edit.
    auto *texts = new QGroupBox(tr("报告信息"), this);
    auto *grid = new QGridLayout(texts);
    const auto fields = siteTextFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto *edit = new QLineEdit(s.*fields[i].member, texts);
        edit->setValidator(new GbkLengthValidator(fields[i].maxBytes(), edit));
        edit->setToolTip(tr("最多 %1 个字节（一个汉字占两个字节）").arg(fields[i].maxBytes()));
        auto *label = new QLabel(siteTextLabel(fields[i]) + QStringLiteral(":"), texts);
        label->setBuddy(edit);
        const int row = static_cast<int>(i / 2), column = static_cast<int>(i % 2) * 2;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        m_texts.push_back(edit);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    m_setDeclination = buttons->addButton(QStringLiteral("确定并设置磁偏角"), QDialogButtonBox::ActionRole);
    m_setDeclination->setToolTip(QStringLiteral("保存井场，并把文件的磁偏角设为地磁模型的磁偏角"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { finish(Stored); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_setDeclination, &QPushButton::clicked, this, [this] { finish(StoredAndSetDeclination); });
    m_useLast = buttons->addButton(tr("使用上次的井场"), QDialogButtonBox::ResetRole);
    m_useLast->setEnabled(m_last.has_value());
    m_useLast->setToolTip(m_last ? tr("填入本机上次设定的井场：纬度 %1°，经度 %2°，以及报告信息（测量日期不变）")
                                       .arg(QString::number(m_last->latitude, 'f', 6),
                                            QString::number(m_last->longitude, 'f', 6))
                                 : tr("本机还没有设定过井场"));
    connect(m_useLast, &QPushButton::clicked, this, &SiteDialog::useLastSite);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(texts);
    layout->addWidget(buttons);

    for (QDoubleSpinBox *box : {m_latitude, m_longitude, m_height, m_azimuth})
        connect(box, &QDoubleSpinBox::valueChanged, this, &SiteDialog::updateModel);
    connect(m_date, &QDateEdit::dateChanged, this, &SiteDialog::updateModel);
    connect(m_hasAzimuth, &QCheckBox::toggled, m_azimuth, &QWidget::setEnabled);
    updateModel();
}

Site SiteDialog::site() const
{
    Site s = m_given;
    s.latitude = m_latitude->value();
    s.longitude = m_longitude->value();
    s.height = m_height->value();
    s.date = m_date->date();
    s.verticalSectionAzimuth.reset();
    if (m_hasAzimuth->isChecked())
        s.verticalSectionAzimuth = m_azimuth->value();
    const auto fields = siteTextFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        s.*fields[i].member = m_texts[i]->text();
    return s;
}

void SiteDialog::useLastSite()
{
    if (!m_last)
        return;
    // The place and the people; the date, the probe's start and its field scale belong to
    // this survey.
    m_latitude->setValue(m_last->latitude);
    m_longitude->setValue(m_last->longitude);
    m_height->setValue(m_last->height);
    m_hasAzimuth->setChecked(m_last->verticalSectionAzimuth.has_value());
    if (m_last->verticalSectionAzimuth)
        m_azimuth->setValue(*m_last->verticalSectionAzimuth);
    const auto fields = siteTextFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        m_texts[i]->setText((*m_last).*fields[i].member);
}

QString SiteDialog::declinationText() const
{
    return m_field ? QString::number(m_field->declination, 'f', 12) : QString();
}

void SiteDialog::updateModel()
{
    QString why;
    m_field = siteField(site(), &why);
    if (m_field) {
        m_model->setText(QStringLiteral("%1    磁偏角 %2°    磁倾角 %3°    总磁场 %4 nT")
                             .arg(QString::fromLatin1(m_field->model), QString::number(m_field->declination, 'f', 2),
                                  QString::number(m_field->inclination, 'f', 2), QString::number(m_field->total, 'f', 1)));
    } else {
        m_model->setText(why);
    }
    m_setDeclination->setEnabled(m_field.has_value());
}

void SiteDialog::finish(int result)
{
    if (const auto why = checkSite(site())) {
        ProgramMessageBox box(QMessageBox::Warning, windowTitle(), *why, QMessageBox::Ok, this);
        box.exec();
        return;
    }
    done(result);
}

} // namespace zolm::app
