#pragma once
// Why reading or writing a file failed, in the user's words. The failures a user can act on (a
// missing file or folder, no permission, a full disk, a file another program holds, a folder
// where a file was meant) get a reason in the UI language; the system's own text follows in
// brackets when it is in the other language, for whoever has to look further. Anything else keeps
// the system's text.
#include <QString>

class QFileDevice;

namespace zolm {

// From errno's value. systemText is the system's own words for it (strerror's when empty); path,
// when known, tells a missing file from a missing folder and recognises a folder.
QString errnoReason(int code, const QString &systemText = {}, const QString &path = {});

// From a Win32 error code (GetLastError()), with the same arguments.
QString windowsErrorReason(quint32 code, const QString &systemText = {}, const QString &path = {});

// A QFile or QSaveFile whose last call failed.
QString fileErrorReason(const QFileDevice &file);

} // namespace zolm
