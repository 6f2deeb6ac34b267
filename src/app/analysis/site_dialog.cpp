#include "app/analysis/site_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
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

} // namespace

SiteDialog::SiteDialog(const std::optional<Site> &site, QWidget *parent) : QDialog(parent)
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

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    m_setDeclination = buttons->addButton(QStringLiteral("确定并设置磁偏角"), QDialogButtonBox::ActionRole);
    m_setDeclination->setToolTip(QStringLiteral("保存井场，并把文件的磁偏角设为地磁模型的磁偏角"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { finish(Stored); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_setDeclination, &QPushButton::clicked, this, [this] { finish(StoredAndSetDeclination); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    for (QDoubleSpinBox *box : {m_latitude, m_longitude, m_height, m_azimuth})
        connect(box, &QDoubleSpinBox::valueChanged, this, &SiteDialog::updateModel);
    connect(m_date, &QDateEdit::dateChanged, this, &SiteDialog::updateModel);
    connect(m_hasAzimuth, &QCheckBox::toggled, m_azimuth, &QWidget::setEnabled);
    updateModel();
}

Site SiteDialog::site() const
{
    Site s{m_latitude->value(), m_longitude->value(), m_height->value(), m_date->date(), {}};
    if (m_hasAzimuth->isChecked())
        s.verticalSectionAzimuth = m_azimuth->value();
    return s;
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
        QMessageBox::warning(this, windowTitle(), *why);
        return;
    }
    done(result);
}

} // namespace zolm::app
