#include "probe/link.h"

Q_LOGGING_CATEGORY(zolmProbeLink, "zolm.probe.link", QtInfoMsg)

namespace zolm::probe {

bool Link::open()
{
    const bool ok = doOpen();
    qCDebug(zolmProbeLink) << "open" << name() << (ok ? "ok" : "FAILED");
    return ok;
}

void Link::close()
{
    if (isOpen())
        qCDebug(zolmProbeLink) << "close" << name();
    doClose();
}

void Link::purge()
{
    qCDebug(zolmProbeLink) << "purge";
    doPurge();
}

bool Link::write(const QByteArray &bytes)
{
    const bool ok = doWrite(bytes);
    if (ok)
        qCDebug(zolmProbeLink).noquote() << "out" << bytes.toHex(' ');
    else
        qCDebug(zolmProbeLink).noquote() << "out" << bytes.toHex(' ') << "(write failed)";
    return ok;
}

std::size_t Link::read(std::span<std::uint8_t> buffer, int waitMs)
{
    const std::size_t n = doRead(buffer, waitMs);
    if (n > 0) {
        qCDebug(zolmProbeLink).noquote()
            << "in " << QByteArray::fromRawData(reinterpret_cast<const char *>(buffer.data()),
                                                 static_cast<qsizetype>(n)).toHex(' ');
    } else {
        qCDebug(zolmProbeLink) << "silent" << waitMs << "ms";
    }
    return n;
}

} // namespace zolm::probe
