#include "app/analysis/site_dialog.h"

#include "analysis/field_scale.h"
#include "analysis/survey_warnings.h"
#include "app/message_box.h"
#include "platform/gbk.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QTimeZone>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
    setWindowTitle(tr("井场与地磁参考"));
    m_latitude = numberBox(-GeomagneticRange::MaxLatitude, GeomagneticRange::MaxLatitude, 6, QStringLiteral(" °"), this);
    m_longitude = numberBox(GeomagneticRange::MinLongitude, GeomagneticRange::MaxLongitude, 6, QStringLiteral(" °"), this);
    m_height = numberBox(SiteRange::MinHeight, SiteRange::MaxHeight, 1, QStringLiteral(" m"), this);
    m_date = new QDateEdit(this);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setDateRange(QDate(2020, 1, 1), QDate(2029, 12, 31));
    m_date->setCalendarPopup(true);
    m_hasAzimuth = new QCheckBox(tr("指定视平移方位"), this);
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
    form->addRow(tr("纬度（北为正）:"), m_latitude);
    form->addRow(tr("经度（东为正）:"), m_longitude);
    form->addRow(tr("海拔高度:"), m_height);
    form->addRow(tr("测量日期:"), m_date);
    form->addRow(m_hasAzimuth, m_azimuth);
    form->addRow(tr("地磁模型:"), m_model);
    addStartAndDogLegRows(form, s);

    // The probe's field scale: set, typed or calibrated; unset, QC takes the one this computer
    // remembers for the probe, else 1.
    m_hasScale = new QCheckBox(tr("指定磁场标定系数"), this);
    m_scale = numberBox(0.000001, SiteRange::MaxFieldScale, 6, QString(), this);
    m_scale->setToolTip(tr("探管磁场单位与高斯之比：质量检查以地磁模型总磁场乘以它作为总磁场的参考值"));
    m_calibrate = new QPushButton(tr("按本次测量标定"), this);
    m_calibrate->setToolTip(tr("以打勾测点（没有打勾时为全部测点）的总磁场中值与井场地磁模型之比作为标定系数"));
    m_calibrate->setEnabled(false);
    m_scaleNote = new QLabel(this);
    m_scaleNote->setTextFormat(Qt::PlainText);
    m_scaleNote->setWordWrap(true);
    auto *scaleRow = new QHBoxLayout;
    scaleRow->addWidget(m_scale, 1);
    scaleRow->addWidget(m_calibrate);
    form->addRow(m_hasScale, scaleRow);
    form->addRow(QString(), m_scaleNote);
    m_hasScale->setChecked(s.fieldScale.has_value());
    m_scale->setEnabled(s.fieldScale.has_value());
    setFieldScale(s.fieldScale.value_or(DefaultFieldScale));
    connect(m_hasScale, &QCheckBox::toggled, this, [this](bool on) {
        m_scale->setEnabled(on);
        updateScaleNote();
    });
    connect(m_scale, &QDoubleSpinBox::valueChanged, this, [this] {
        m_scaleExact.reset();
        m_calibrated.clear();
        updateScaleNote();
    });
    connect(m_calibrate, &QPushButton::clicked, this, &SiteDialog::calibrate);
    updateScaleNote();

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
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    m_setDeclination = buttons->addButton(tr("确定并设置磁偏角"), QDialogButtonBox::ActionRole);
    m_setDeclination->setToolTip(tr("保存井场，并把文件的磁偏角设为地磁模型的磁偏角"));
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

void SiteDialog::addStartAndDogLegRows(QFormLayout *form, const Site &s)
{
    // The probe's clock at its start, a wall-clock time: shown and kept as UTC so that no
    // daylight-saving rule of this computer moves it.
    m_hasStart = new QCheckBox(tr("探管启动时间"), this);
    m_hasStart->setToolTip(tr("探管开始计时（写入设置）时的钟表时间：井深记录可按钟表时间导入，轨迹和报告显示各测点的钟表时间"));
    m_start = new QDateTimeEdit(this);
    m_start->setTimeSpec(Qt::UTC);
    m_start->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    m_start->setCalendarPopup(true);
    m_start->setDateTime(s.probeStart.value_or(QDateTime(s.date.isValid() ? s.date : QDate::currentDate(), QTime(0, 0),
                                                         QTimeZone::utc())));
    m_hasStart->setChecked(s.probeStart.has_value());
    m_start->setEnabled(s.probeStart.has_value());
    connect(m_hasStart, &QCheckBox::toggled, m_start, &QWidget::setEnabled);
    form->addRow(m_hasStart, m_start);

    m_hasDogLeg = new QCheckBox(tr("狗腿度限值"), this);
    m_hasDogLeg->setToolTip(tr("狗腿度超过此值的测点给出警告；不指定时为 3 °/30m"));
    m_dogLeg = numberBox(0.01, SiteRange::MaxDogLegLimit, 2, QStringLiteral(" °/30m"), this);
    m_dogLeg->setValue(s.dogLegLimit.value_or(DefaultDogLegLimit));
    m_hasDogLeg->setChecked(s.dogLegLimit.has_value());
    m_dogLeg->setEnabled(s.dogLegLimit.has_value());
    connect(m_hasDogLeg, &QCheckBox::toggled, m_dogLeg, &QWidget::setEnabled);
    form->addRow(m_hasDogLeg, m_dogLeg);
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
    s.probeStart.reset();
    if (m_hasStart->isChecked())
        s.probeStart = m_start->dateTime().toUTC();
    s.dogLegLimit.reset();
    if (m_hasDogLeg->isChecked())
        s.dogLegLimit = m_dogLeg->value();
    s.fieldScale.reset();
    if (m_hasScale->isChecked())
        s.fieldScale = m_scaleExact.value_or(m_scale->value());
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

void SiteDialog::setCalibrationSurvey(const SurveyData *survey, const QString &probeNumber,
                                      std::optional<double> remembered)
{
    m_survey = survey;
    m_probeNumber = probeNumber;
    m_remembered = remembered;
    updateModel();
    updateScaleNote();
}

void SiteDialog::setFieldScale(double scale)
{
    m_scale->setValue(scale);
    m_scaleExact = scale; // after setValue, whose change signal forgets it
}

void SiteDialog::calibrate()
{
    if (!m_survey)
        return;
    const auto c = calibrateFieldScale(*m_survey, site());
    if (!c) {
        showError(this, windowTitle(), c.error());
        return;
    }
    setFieldScale(c->scale);
    m_hasScale->setChecked(true);
    m_calibrated = (c->fromChecked ? tr("由 %1 个打勾测点标定") : tr("由 %1 个测点标定")).arg(c->shots)
                   + tr("：实测总磁场中值 %1，地磁模型 %2 高斯").arg(QString::number(c->measured, 'f', 5),
                                                                  QString::number(c->model, 'f', 5));
    updateScaleNote();
}

void SiteDialog::updateScaleNote()
{
    QString text;
    if (m_hasScale->isChecked()) {
        text = m_calibrated;
    } else if (m_remembered) {
        text = tr("未指定：质量检查使用本机记录的探管 %1 标定值 %2")
                   .arg(m_probeNumber, QString::number(*m_remembered, 'f', 4));
    } else {
        text = tr("未指定：质量检查按 1 计算");
    }
    m_scaleNote->setText(text);
}

QString SiteDialog::declinationText() const
{
    return m_field ? QString::number(m_field->declination, 'f', 12) : QString();
}

void SiteDialog::updateModel()
{
    const zolm::Result<GeomagneticField> field = siteField(site());
    m_field = field ? std::optional(*field) : std::nullopt;
    if (m_field) {
        m_model->setText(tr("%1    磁偏角 %2°    磁倾角 %3°    总磁场 %4 nT")
                             .arg(QString::fromLatin1(m_field->model), QString::number(m_field->declination, 'f', 2),
                                  QString::number(m_field->inclination, 'f', 2), QString::number(m_field->total, 'f', 1)));
    } else {
        m_model->setText(field.error().message);
    }
    m_setDeclination->setEnabled(m_field.has_value());
    m_calibrate->setEnabled(m_field.has_value() && m_survey);
}

void SiteDialog::finish(int result)
{
    if (const Done checked = checkSite(site()); !checked) {
        showError(this, windowTitle(), checked.error());
        return;
    }
    done(result);
}

} // namespace zolm::app
