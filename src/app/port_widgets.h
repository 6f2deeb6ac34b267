#pragma once
// Choosing the probe's port: the bar's and the dialog's box of port names, and the dialog.
#include <QComboBox>
#include <QDialog>
#include <QStringList>

class QCheckBox;

namespace zolm::app {

// The port names as an editable list; opening the list looks for the system's ports again.
// A name too long for the box shows elided in the middle, with the whole name as tooltip.
class PortBox : public QComboBox {
    Q_OBJECT
public:
    explicit PortBox(QWidget *parent = nullptr);
    void showPopup() override;
    // The text as the box draws it.
    QString shownText() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateToolTip();
};

// The port choice dialog: an editable list of the system's ports and SIM, preset to `current`,
// and whether a probe read checks its data with a second pass.
class CPortSelectDlg : public QDialog {
    Q_OBJECT
public:
    CPortSelectDlg(const QString &current, bool verifyRead, QWidget *parent = nullptr);
    PortBox *portBox() const { return m_box; }
    QString port() const;
    bool verifyRead() const;

private:
    PortBox *m_box;
    QCheckBox *m_verify;
};

// The port names the program offers: the system's serial ports, then "SIM".
QStringList availablePortNames();

} // namespace zolm::app
