#include "app/file_dialog.h"

#include <QApplication>
#include <QEvent>

namespace zolm::app {

namespace {

// The one provider of the program's dialogs: a dialog's list keeps a pointer to it and may
// outlive any one window, so it lives as long as the program.
NameOnlyIconProvider &nameOnlyIcons()
{
    static NameOnlyIconProvider provider;
    return provider;
}

class FileDialogGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Before the dialog's event loop runs, so before its list asks for any icon.
        if (event->type() == QEvent::Show) {
            if (auto *dialog = qobject_cast<QFileDialog *>(watched))
                useNameOnlyIcons(*dialog);
        }
        return false;
    }
};

} // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo &info) const
{
    if (info.isRoot())
        return icon(Drive);
    if (info.isDir())
        return icon(Folder);
    const QIcon themed = QIcon::fromTheme(m_mime.mimeTypeForFile(info, QMimeDatabase::MatchExtension).iconName());
    return themed.isNull() ? icon(File) : themed;
}

QString NameOnlyIconProvider::type(const QFileInfo &info) const
{
    // Folders, drives and links are told apart by the file system alone.
    if (!info.isFile() || info.isRoot())
        return QFileIconProvider::type(info);
    const QMimeType mime = m_mime.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

FileDialog::FileDialog(QWidget *parent, const QString &directory, const QString &filter)
    : QFileDialog(parent, QString(), directory, filter)
{
#ifndef Q_OS_WIN
    setOption(QFileDialog::DontUseNativeDialog);
#endif
    setOption(QFileDialog::DontUseCustomDirectoryIcons);
    useNameOnlyIcons(*this);
}

void useNameOnlyIcons(QFileDialog &dialog)
{
    if (dialog.iconProvider() && dialog.iconProvider() != &nameOnlyIcons())
        dialog.setIconProvider(&nameOnlyIcons());
}

QObject *guardFileDialogs(QApplication &app)
{
    auto *guard = new FileDialogGuard(&app);
    app.installEventFilter(guard);
    return guard;
}

bool listsByNameOnly(const QFileDialog &dialog)
{
    if (!dialog.iconProvider()) {
#ifdef Q_OS_WIN
        return true; // the system's own dialog: no folder there reads forever
#else
        return false;
#endif
    }
    return dynamic_cast<const NameOnlyIconProvider *>(dialog.iconProvider()) != nullptr;
}

} // namespace zolm::app
