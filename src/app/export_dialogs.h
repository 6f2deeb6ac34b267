#pragma once
// The export-format dialog and the export command's save-file dialog.
#include "output/export.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QListWidget;
class QRadioButton;

namespace zolm {
class SettingsStore;
class SurveyTable;
}

namespace zolm::app {

class CExportFormatDlg : public QDialog {
    Q_OBJECT
public:
    // Reads the stored format (missing values get the dialog's defaults, written back).
    CExportFormatDlg(SettingsStore &store, QWidget *parent = nullptr);

    QListWidget *availableList() const { return m_available; }
    QListWidget *chosenList() const { return m_chosen; }
    QCheckBox *titleCheck() const { return m_title; }
    QRadioButton *spaceRadio() const { return m_space; }
    QRadioButton *commaRadio() const { return m_comma; }

    void add();
    void remove();
    void up();
    void down();
    // OK stores the format.
    void accept() override;

private:
    void fillLists(int selectChosen = -1);
    static std::vector<int> selectedRows(const QListWidget *list);

    SettingsStore &m_store;
    ExportFormatLists m_lists;
    QListWidget *m_available;
    QListWidget *m_chosen;
    QCheckBox *m_title;
    QRadioButton *m_space;
    QRadioButton *m_comma;
};

// The export command: reads the stored format, asks for the file and writes the shown points
// in the table's order. A file that cannot be written is reported and nothing is written.
// Returns true when a file was written.
bool exportData(QWidget *parent, const SurveyTable &table, SettingsStore &store);

// The export command's save-file dialog; empty when cancelled.
QString askExportFileName(QWidget *parent);

} // namespace zolm::app
