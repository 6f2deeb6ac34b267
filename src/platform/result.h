#pragma once
// How an operation that can fail says so: a code the front ends act on, the message the user
// reads, and the system's own words where it gave some. zolm-cli chooses its exit status and
// stream from the code in one place (cli/args.cpp), the desktop its box and icon in another
// (app/message_box.cpp), so a new kind of failure is a new code, not a new convention.
#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace zolm {

enum class ErrorCode {
    None,
    Usage,      // the command line is wrong
    Refused,    // a value or text the checks refuse; nothing was changed
    Missing,    // what the command needs is not there (no point, no station, no site, no data)
    ReadFailed, // a file could not be read
    WrongFile,  // a file was read but is not what it must be (damaged, another kind)
    WriteFailed, // a file could not be written; the old bytes stay
    Cancelled,  // stopped on purpose (shutdown, a newer request); nothing to tell
    // The probe's failure kinds.
    ProbeTimeout,    // the probe stayed silent
    ProbeMismatch,   // the settings read back differ from those written
    ProbeNoData,     // the probe holds no survey a read accepts
    ProbePort,       // the port is not open, or a request could not be written to it
    ProbeData,       // the answers to one request kept failing their checks
    ProbeUnverified, // a piece of the probe's memory never read the same twice
};

struct Error {
    ErrorCode code = ErrorCode::None;
    QString message; // the whole text for the user, in the UI language
    QString detail;  // the system's reason alone (errno's, Qt's), when there was one

    // The same failure told in a caller's sentence (which names the file, say).
    Error retold(const QString &newMessage) const { return {code, newMessage, detail}; }
};

inline Error makeError(ErrorCode code, QString message, QString detail = {})
{
    return {code, std::move(message), std::move(detail)};
}

// A value or the error that kept it from being made.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_value(std::move(error)) {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    T &operator*() { return std::get<0>(m_value); }
    const T &operator*() const { return std::get<0>(m_value); }
    T *operator->() { return &std::get<0>(m_value); }
    const T *operator->() const { return &std::get<0>(m_value); }
    const Error &error() const { return std::get<1>(m_value); }

private:
    std::variant<T, Error> m_value;
};

// Done, or the error.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

using Done = Result<void>;

} // namespace zolm
