#include "cli/cli.h"

#include <algorithm>
#include <cstdio>

namespace zolm::cli {

void Args::declared(const std::string &name, int values) const
{
    for (const OptionSpec &o : m_options) {
        if (name == o.name && o.values == values)
            return;
    }
    qFatal("zolm-cli %s: the option %s with %d value(s) is not in the command's option table", m_command.c_str(),
           name.c_str(), values);
}

bool Args::flag(const std::string &name)
{
    declared(name, 0);
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (*it == name) {
            m_args.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> Args::value(const std::string &name)
{
    auto all = values(name);
    if (all.empty())
        return std::nullopt;
    return all.back();
}

std::vector<std::string> Args::values(const std::string &name)
{
    declared(name, 1);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < m_args.size();) {
        if (m_args[i] == name) {
            if (i + 1 >= m_args.size()) {
                m_error = true;
                m_errorText = QCoreApplication::translate("zolm-cli", "%1 需要一个值").arg(QString::fromStdString(name)).toStdString();
                m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            found.push_back(m_args[i + 1]);
            m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i), m_args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            continue;
        }
        if (m_args[i].rfind(name + "=", 0) == 0) {
            found.push_back(m_args[i].substr(name.size() + 1));
            m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
    return found;
}

std::vector<std::pair<std::string, std::vector<std::string>>>
Args::inOrder(const std::vector<std::pair<std::string, int>> &arities)
{
    for (const auto &[name, count] : arities)
        declared(name, count);
    std::vector<std::pair<std::string, std::vector<std::string>>> found;
    for (std::size_t i = 0; i < m_args.size();) {
        const std::string &a = m_args[i];
        const auto eq = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        const auto it = std::find_if(arities.begin(), arities.end(), [&](const auto &o) { return o.first == name; });
        if (it == arities.end()) {
            ++i;
            continue;
        }
        const auto count = static_cast<std::size_t>(it->second);
        std::vector<std::string> values;
        std::size_t taken = 1;
        if (eq != std::string::npos && count == 1) {
            values.push_back(a.substr(eq + 1));
        } else if (eq != std::string::npos || i + count >= m_args.size()) {
            m_error = true;
            m_errorText = QCoreApplication::translate("zolm-cli", "%1 需要 %2 个值").arg(QString::fromStdString(name)).arg(count).toStdString();
            m_args.erase(m_args.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        } else {
            values.assign(m_args.begin() + static_cast<std::ptrdiff_t>(i + 1),
                          m_args.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
            taken += count;
        }
        found.emplace_back(name, std::move(values));
        const auto at = m_args.begin() + static_cast<std::ptrdiff_t>(i);
        m_args.erase(at, at + static_cast<std::ptrdiff_t>(taken));
    }
    return found;
}

std::optional<std::string> Args::lastPositional(const char *command, const char *what)
{
    auto value = positional();
    if (reportUsageError(command))
        return std::nullopt;
    if (!value)
        usageError(QCoreApplication::translate("zolm-cli", "%1：需要%2").arg(QString::fromUtf8(command), what ? QString::fromUtf8(what) : QCoreApplication::translate("zolm-cli", "一个 .ZLM 文件")));
    return value;
}

std::optional<std::string> Args::positional()
{
    for (auto it = m_args.begin(); it != m_args.end(); ++it) {
        if (it->size() > 1 && (*it)[0] == '-')
            continue;
        std::string v = *it;
        m_args.erase(it);
        return v;
    }
    return std::nullopt;
}

bool Args::reportUsageError(const char *command)
{
    if (m_error) {
        usageError(QCoreApplication::translate("zolm-cli", "%1：%2").arg(QString::fromUtf8(command), QString::fromStdString(m_errorText)));
        return true;
    }
    if (!m_args.empty()) {
        usageError(QCoreApplication::translate("zolm-cli", "%1：多余的参数“%2”")
                       .arg(QString::fromUtf8(command), QString::fromStdString(m_args.front())));
        return true;
    }
    return false;
}

void printOut(const QString &text)
{
    writeText(stdout, text);
}

void printErr(const QString &text)
{
    writeText(stderr, text);
}

int usageError(const QString &text)
{
    return fail(makeError(ErrorCode::Usage, text));
}

int exitStatus(ErrorCode code)
{
    switch (code) {
    case ErrorCode::None: return ExitOk;
    case ErrorCode::Usage: return ExitUsage;
    default: return ExitFailed;
    }
}

bool toStdout(ErrorCode code)
{
    // What the command was asked to find out goes with its output, even when it is "nothing":
    // a probe without data is an answer, not a fault of the program or of the line.
    return code == ErrorCode::None || code == ErrorCode::ProbeNoData;
}

int fail(const Error &error)
{
    if (error.code == ErrorCode::Usage)
        printErr(QCoreApplication::translate("zolm-cli", "zolm-cli：%1\n用法见 zolm-cli --help。\n").arg(error.message));
    else if (error.code != ErrorCode::Cancelled && !error.message.isEmpty())
        writeText(toStdout(error.code) ? stdout : stderr, error.message + QLatin1Char('\n'));
    return exitStatus(error.code);
}

} // namespace zolm::cli
