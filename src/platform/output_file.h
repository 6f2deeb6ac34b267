#pragma once
// The one way a survey, an export or a report is written. A regular file, or a new one, is
// replaced atomically, so a failed write leaves the old bytes; an existing target that is not a
// regular file (a FIFO, a device, /dev/stdout) is written in place, as cp does, because
// replacing it would leave a regular file where the device was; "-" is standard output.
#include "platform/result.h"

#include <QByteArrayView>
#include <QString>

namespace zolm {

// A failure is WriteFailed: its message the reason in the user's words, its detail the system's.
Done writeOutput(const QString &path, QByteArrayView bytes);

} // namespace zolm
