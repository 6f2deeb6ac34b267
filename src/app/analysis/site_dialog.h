#pragma once
// The site dialog: latitude, longitude, height, survey date and the vertical-section azimuth,
// with the model's declination, dip and total field for them shown as they are typed. Its
// second OK button also asks for the document's declination to be set from the model.
#include "analysis/site.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace zolm::app {

class SiteDialog : public QDialog {
    Q_OBJECT
public:
    // exec() returns one of these.
    enum Result { Cancelled = QDialog::Rejected, Stored = QDialog::Accepted, StoredAndSetDeclination = 2 };

    explicit SiteDialog(const std::optional<Site> &site, QWidget *parent = nullptr);

    // The site as entered.
    Site site() const;
    // The model's field for the entered site, when the model covers it.
    std::optional<GeomagneticField> field() const { return m_field; }
    // The model's declination as the declination edit takes it.
    QString declinationText() const;

    QDoubleSpinBox *latitudeBox() const { return m_latitude; }
    QDoubleSpinBox *longitudeBox() const { return m_longitude; }
    QDoubleSpinBox *heightBox() const { return m_height; }
    QDateEdit *dateBox() const { return m_date; }
    QPushButton *setDeclinationButton() const { return m_setDeclination; }
    QLabel *modelLabel() const { return m_model; }

private:
    void updateModel();
    void finish(int result);

    QDoubleSpinBox *m_latitude = nullptr;
    QDoubleSpinBox *m_longitude = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    QDateEdit *m_date = nullptr;
    QCheckBox *m_hasAzimuth = nullptr;
    QDoubleSpinBox *m_azimuth = nullptr;
    QLabel *m_model = nullptr;
    QPushButton *m_setDeclination = nullptr;
    std::optional<GeomagneticField> m_field;
};

} // namespace zolm::app
