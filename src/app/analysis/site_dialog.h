#pragma once
// The site dialog: latitude, longitude, height, survey date and the vertical-section azimuth,
// with the model's declination, dip and total field for them shown as they are typed, and the
// report's texts (client, company, ..., approved by) within their GBK byte limits. Its second
// OK button also asks for the document's declination to be set from the model; another fills
// in the last site entered on this computer.
#include "analysis/site.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QDateEdit;
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

    QDoubleSpinBox *latitudeBox() const { return m_latitude; }
    QDoubleSpinBox *longitudeBox() const { return m_longitude; }
    QDoubleSpinBox *heightBox() const { return m_height; }
    QDateEdit *dateBox() const { return m_date; }
    QPushButton *setDeclinationButton() const { return m_setDeclination; }
    QPushButton *lastSiteButton() const { return m_useLast; }
    QLabel *modelLabel() const { return m_model; }
    // The edit of siteTextFields()[index].
    QLineEdit *textBox(std::size_t index) const { return m_texts.at(index); }

private:
    void updateModel();
    void finish(int result);
    void useLastSite();

    QDoubleSpinBox *m_latitude = nullptr;
    QDoubleSpinBox *m_longitude = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    QDateEdit *m_date = nullptr;
    QCheckBox *m_hasAzimuth = nullptr;
    QDoubleSpinBox *m_azimuth = nullptr;
    QLabel *m_model = nullptr;
    QPushButton *m_setDeclination = nullptr;
    QPushButton *m_useLast = nullptr;
    std::vector<QLineEdit *> m_texts;
    Site m_given;
    std::optional<Site> m_last;
    std::optional<GeomagneticField> m_field;
};

} // namespace zolm::app
