#pragma once
// The site dialog: latitude, longitude, height, survey date and the vertical-section azimuth,
// with the model's declination, dip and total field for them shown as they are typed, and the
// report's texts (client, company, ..., approved by) within their GBK byte limits. Its second
// OK button also asks for the document's declination to be set from the model; another fills
// in the last site entered on this computer. The probe's field scale is shown and edited, and
// calibrated from the survey against the entered site.
#include "analysis/site.h"
#include "document/survey_data.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QDateEdit;
class QDateTimeEdit;
class QFormLayout;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zolm::app {

class SiteDialog : public QDialog {
    Q_OBJECT
public:
    // exec() returns one of these.
    enum Result { Cancelled = QDialog::Rejected, Stored = QDialog::Accepted, StoredAndSetDeclination = 2 };

    // `last`: the last site entered on this computer, offered in one click.
    explicit SiteDialog(const std::optional<Site> &site, const std::optional<Site> &last = std::nullopt,
                        QWidget *parent = nullptr);

    // The site as entered; the fields the dialog does not show are the given site's.
    Site site() const;
    // The model's field for the entered site, when the model covers it.
    std::optional<GeomagneticField> field() const { return m_field; }
    // The model's declination as the declination edit takes it.
    QString declinationText() const;
    // The survey "按本次测量标定" calibrates from (none: the button is off), its probe's number
    // and the scale this computer remembers for that probe (shown while the site sets none).
    void setCalibrationSurvey(const SurveyData *survey, const QString &probeNumber, std::optional<double> remembered);

    QDoubleSpinBox *latitudeBox() const { return m_latitude; }
    QDoubleSpinBox *longitudeBox() const { return m_longitude; }
    QDoubleSpinBox *heightBox() const { return m_height; }
    QDateEdit *dateBox() const { return m_date; }
    QPushButton *setDeclinationButton() const { return m_setDeclination; }
    QPushButton *lastSiteButton() const { return m_useLast; }
    QLabel *modelLabel() const { return m_model; }
    // The probe's start clock time and the dog-leg limit, each set only while its box is ticked.
    QCheckBox *probeStartCheck() const { return m_hasStart; }
    QDateTimeEdit *probeStartBox() const { return m_start; }
    QCheckBox *dogLegLimitCheck() const { return m_hasDogLeg; }
    QDoubleSpinBox *dogLegLimitBox() const { return m_dogLeg; }
    QCheckBox *fieldScaleCheck() const { return m_hasScale; }
    QDoubleSpinBox *fieldScaleBox() const { return m_scale; }
    QPushButton *calibrateButton() const { return m_calibrate; }
    QLabel *fieldScaleNote() const { return m_scaleNote; }
    // The edit of siteTextFields()[index].
    QLineEdit *textBox(std::size_t index) const { return m_texts.at(index); }

private:
    void updateModel();
    void addStartAndDogLegRows(QFormLayout *form, const Site &site);
    void finish(int result);
    void useLastSite();
    void calibrate();
    void setFieldScale(double scale);
    void updateScaleNote();

    QDoubleSpinBox *m_latitude = nullptr;
    QDoubleSpinBox *m_longitude = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    QDateEdit *m_date = nullptr;
    QCheckBox *m_hasAzimuth = nullptr;
    QDoubleSpinBox *m_azimuth = nullptr;
    QLabel *m_model = nullptr;
    QCheckBox *m_hasStart = nullptr;
    QDateTimeEdit *m_start = nullptr;
    QCheckBox *m_hasDogLeg = nullptr;
    QDoubleSpinBox *m_dogLeg = nullptr;
    QPushButton *m_setDeclination = nullptr;
    QPushButton *m_useLast = nullptr;
    QCheckBox *m_hasScale = nullptr;
    QDoubleSpinBox *m_scale = nullptr;
    QPushButton *m_calibrate = nullptr;
    QLabel *m_scaleNote = nullptr;
    std::optional<double> m_scaleExact; // the scale as set, until it is typed over (the box rounds)
    QString m_calibrated;               // how the shown scale was calibrated
    const SurveyData *m_survey = nullptr;
    QString m_probeNumber;
    std::optional<double> m_remembered;
    std::vector<QLineEdit *> m_texts;
    Site m_given;
    std::optional<Site> m_last;
    std::optional<GeomagneticField> m_field;
};

} // namespace zolm::app
