#pragma once
// The program's file dialogs. Qt's own file dialog guesses the type of each file it lists by
// reading the file's first bytes; in a folder such as /proc a read may never return
// (/proc/kmsg waits for the next kernel message), and the program hangs for good with its
// unsaved work. So every file dialog tells icons and types from the names alone.
#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>

class QApplication;

namespace zolm::app {

// File icons and type names from the file names: no file is opened.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;

private:
    QMimeDatabase m_mime;
};

// A file dialog of the program. Outside Windows it is always Qt's own dialog, whose icons can
// be chosen (a system dialog may read the files itself).
class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit FileDialog(QWidget *parent, const QString &directory = {}, const QString &filter = {});
};

// Gives any file dialog the name-only icons: the program's own, and those Qt makes by itself
// (the print dialog's "print to file") as they appear, through a filter on the application
// (returned; the application owns it).
void useNameOnlyIcons(QFileDialog &dialog);
QObject *guardFileDialogs(QApplication &app);

// Whether the dialog lists files without reading them (a Windows system dialog has no Qt list).
bool listsByNameOnly(const QFileDialog &dialog);

} // namespace zolm::app
