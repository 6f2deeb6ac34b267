#pragma once
// The byte link to the probe. The protocol and the operations see only this interface, so
// tests hand them a scripted fake or a real pseudo-terminal, and the product a serial port.
// Every byte that passes through here can be logged under the category zolm.probe.link
// (off by default; QT_LOGGING_RULES="zolm.probe.link.debug=true" turns it on).
#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

Q_DECLARE_LOGGING_CATEGORY(zolmProbeLink)

namespace zolm::probe {

class Link {
public:
    virtual ~Link() = default;

    // Opens the link with the probe's line settings; false leaves it closed. A closed link
    // reads nothing at once and writes nothing, so every exchange on it times out at once.
    bool open();
    void close();
    virtual bool isOpen() const = 0;
    virtual QString name() const = 0;
    // Why the last open failed, in the user's words; empty when it did not fail or the link
    // cannot tell.
    virtual QString openError() const { return {}; }
    // Why the last write failed, in the user's words; empty when the link cannot tell.
    virtual QString writeError() const { return {}; }

    // Discards everything pending in both directions.
    void purge();
    // One blocking write of the whole request; false when it did not go out whole.
    bool write(const QByteArray &bytes);
    // Returns at once with up to buffer.size() waiting bytes; when none are waiting, waits up
    // to waitMs for the first one. Returns the number of bytes stored, 0 after a silent wait
    // (or at once on a closed or failed link).
    std::size_t read(std::span<std::uint8_t> buffer, int waitMs);

    // Set by the owner: once the check says true, a waiting read ends early with nothing, so
    // that a shutdown need not sit out a wait of seconds. Called on the reading thread.
    void setAbortCheck(std::function<bool()> check) { m_abort = std::move(check); }

protected:
    bool aborted() const { return m_abort && m_abort(); }

    virtual bool doOpen() = 0;
    virtual void doClose() = 0;
    virtual void doPurge() = 0;
    virtual bool doWrite(const QByteArray &bytes) = 0;
    virtual std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) = 0;

private:
    std::function<bool()> m_abort;
};

} // namespace zolm::probe
