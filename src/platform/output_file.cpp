#include "platform/output_file.h"

#include "platform/file_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zolm {

namespace {

Error failed(const QFileDevice &file)
{
    return makeError(ErrorCode::WriteFailed, fileErrorReason(file), file.errorString());
}

Error failedErrno(int code, const QString &path = {})
{
    return makeError(ErrorCode::WriteFailed, errnoReason(code, {}, path),
                     QString::fromLocal8Bit(std::strerror(code)).trimmed());
}

Done writeStdout(QByteArrayView bytes)
{
    std::fflush(stdout);
    errno = 0;
    const std::size_t n = std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    if (std::fflush(stdout) != 0 || n != static_cast<std::size_t>(bytes.size()))
        return failedErrno(errno ? errno : EIO);
    return {};
}

// A device or FIFO: opened as it is and written through, so that an error such as a full
// device shows at the write, not lost in a buffer. A descriptor the caller holds is appended
// to, never truncated: the caller may have written to it before.
Done writeInPlace(const QString &path, QByteArrayView bytes, bool append)
{
    std::fflush(stdout); // what was printed before comes first, when this is our own stdout
    QFile file(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered;
    if (append)
        mode |= QIODevice::Append;
    if (!file.open(mode))
        return failed(file);
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return failed(file);
        done += n;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failed(file);
    return {};
}

// /dev/stdout, /dev/fd/N and the like name a descriptor the caller already holds open, perhaps
// on a regular file it is appending to: replacing that file would lose what the caller wrote.
bool namesOpenDescriptor(const QString &path)
{
    auto isDescriptorPath = [](const QString &p) {
        return p.startsWith(QLatin1String("/dev/fd/")) || p.startsWith(QLatin1String("/proc/self/fd/"))
            || p == QLatin1String("/dev/stdout") || p == QLatin1String("/dev/stderr");
    };
    QFileInfo link(path);
    for (int depth = 0; depth < 40; ++depth) {
        if (isDescriptorPath(link.absoluteFilePath()))
            return true;
        if (!link.isSymLink())
            return false;
        link.setFile(link.symLinkTarget());
    }
    return false;
}

} // namespace

Done writeOutput(const QString &path, QByteArrayView bytes)
{
    if (path == QLatin1String("-"))
        return writeStdout(bytes);
    const QFileInfo info(path); // follows links: /dev/stdout is what it points to
    if (info.isDir())
        return failedErrno(EISDIR, path);
    const bool descriptor = namesOpenDescriptor(path);
    if (info.exists() && (!info.isFile() || descriptor))
        return writeInPlace(path, bytes, descriptor && info.isFile());

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file);
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const Error error = failed(file);
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return failed(file);
    return {};
}

} // namespace zolm
