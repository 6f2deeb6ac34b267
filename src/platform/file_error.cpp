#include "platform/file_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace zolm {

namespace {

enum class Cause {
    Missing,
    MissingFolder,
    Denied,
    ReadOnlyDisk,
    DiskFull,
    InUse,
    Folder,
    NotFolder,
    NameTooLong,
    TooManyOpen,
};

struct Known {
    quint32 code;
    Cause cause;
};

constexpr Known ErrnoCauses[] = {
    {ENOENT, Cause::Missing},
    {EACCES, Cause::Denied},
    {EPERM, Cause::Denied},
    {EROFS, Cause::ReadOnlyDisk},
    {ENOSPC, Cause::DiskFull},
#ifdef EDQUOT
    {EDQUOT, Cause::DiskFull},
#endif
    {EBUSY, Cause::InUse},
#ifdef ETXTBSY
    {ETXTBSY, Cause::InUse}, // a running program's file
#endif
    {EISDIR, Cause::Folder},
    {ENOTDIR, Cause::NotFolder},
    {ENAMETOOLONG, Cause::NameTooLong},
    {EMFILE, Cause::TooManyOpen},
    {ENFILE, Cause::TooManyOpen},
};

// Win32 codes as winerror.h numbers them, so that this mapping is built and tested everywhere.
constexpr Known WindowsCauses[] = {
    {2, Cause::Missing},         // ERROR_FILE_NOT_FOUND
    {3, Cause::MissingFolder},   // ERROR_PATH_NOT_FOUND
    {4, Cause::TooManyOpen},     // ERROR_TOO_MANY_OPEN_FILES
    {5, Cause::Denied},          // ERROR_ACCESS_DENIED
    {19, Cause::ReadOnlyDisk},   // ERROR_WRITE_PROTECT
    {32, Cause::InUse},          // ERROR_SHARING_VIOLATION
    {33, Cause::InUse},          // ERROR_LOCK_VIOLATION
    {39, Cause::DiskFull},       // ERROR_HANDLE_DISK_FULL
    {112, Cause::DiskFull},      // ERROR_DISK_FULL
    {206, Cause::NameTooLong},   // ERROR_FILENAME_EXCED_RANGE
    {267, Cause::NotFolder},     // ERROR_DIRECTORY
    {1224, Cause::InUse},        // ERROR_USER_MAPPED_FILE
    {1295, Cause::DiskFull},     // ERROR_DISK_QUOTA_EXCEEDED
};

template <std::size_t N>
const Known *find(const Known (&table)[N], quint32 code)
{
    for (const Known &k : table) {
        if (k.code == code)
            return &k;
    }
    return nullptr;
}

QString causeText(Cause cause, const QString &path)
{
    switch (cause) {
    case Cause::Missing:
        if (path.isEmpty())
            return QCoreApplication::translate("FileError", "文件或文件夹不存在");
        return QFileInfo(path).absoluteDir().exists() ? QCoreApplication::translate("FileError", "文件不存在")
                                                      : QCoreApplication::translate("FileError", "文件夹不存在");
    case Cause::MissingFolder: return QCoreApplication::translate("FileError", "文件夹不存在");
    case Cause::Denied: return QCoreApplication::translate("FileError", "没有访问权限");
    case Cause::ReadOnlyDisk: return QCoreApplication::translate("FileError", "磁盘是只读的");
    case Cause::DiskFull: return QCoreApplication::translate("FileError", "磁盘已满");
    case Cause::InUse: return QCoreApplication::translate("FileError", "文件已被其它程序占用");
    case Cause::Folder: return QCoreApplication::translate("FileError", "这是一个文件夹");
    case Cause::NotFolder: return QCoreApplication::translate("FileError", "路径中有一项不是文件夹");
    case Cause::NameTooLong: return QCoreApplication::translate("FileError", "文件名太长");
    case Cause::TooManyOpen: return QCoreApplication::translate("FileError", "打开的文件太多");
    }
    return {};
}

// Qt's own texts are Chinese once its translations are loaded, and a Chinese system words
// its errors in Chinese: then the reason says it already.
bool isChinese(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

QString reason(const Known *known, const QString &systemText, const QString &path)
{
    // However the system words it (Windows only denies access), a folder is a folder.
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return causeText(Cause::Folder, path);
    if (!known)
        return systemText.isEmpty() ? QCoreApplication::translate("FileError", "未知错误") : systemText;
    const QString text = causeText(known->cause, path);
    // The system's words add something only in the other language (English beside the Chinese
    // reason; a Chinese Windows' words beside the English one).
    if (systemText.isEmpty() || isChinese(systemText) == isChinese(text))
        return text;
    return QCoreApplication::translate("FileError", "%1（%2）").arg(text, systemText);
}

} // namespace

QString errnoReason(int code, const QString &systemText, const QString &path)
{
    QString system = systemText;
    if (system.isEmpty() && code != 0)
        system = QString::fromLocal8Bit(std::strerror(code)).trimmed();
    return reason(find(ErrnoCauses, static_cast<quint32>(code)), system, path);
}

QString windowsErrorReason(quint32 code, const QString &systemText, const QString &path)
{
    QString system = systemText;
#ifdef Q_OS_WIN
    if (system.isEmpty() && code != 0)
        system = qt_error_string(static_cast<int>(code));
#endif
    return reason(find(WindowsCauses, code), system, path);
}

QString fileErrorReason(const QFileDevice &file)
{
    // Qt keeps only the text it made of the system's code (qt_error_string, with errno on Linux
    // and GetLastError on Windows), so the code is found by making the same text again.
    const QString text = file.errorString();
#ifdef Q_OS_WIN
    const auto &table = WindowsCauses;
#else
    const auto &table = ErrnoCauses;
#endif
    for (const Known &k : table) {
        if (qt_error_string(static_cast<int>(k.code)) == text)
            return reason(&k, text, file.fileName());
    }
    return reason(nullptr, text, file.fileName());
}

} // namespace zolm
