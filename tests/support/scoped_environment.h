#pragma once
// Sets (or, for nullptr, removes) an environment variable while it lives, and puts it back as
// it was afterwards: for the language and settings variables the programs read.
#include <QByteArray>
#include <QtGlobal>

namespace zolm::testing {

class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const char *value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace zolm::testing
