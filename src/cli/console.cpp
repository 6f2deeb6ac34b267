// Text in and out on both systems. Linux passes UTF-8 through. Windows hands a program its
// arguments in the ANSI code page, which cannot hold every file name ("平1-2H井.ZLM" on a
// Western system): they are taken from the wide command line instead. Text to a console is
// written with the wide console call, so Chinese reads right whatever the console's code page;
// to a pipe or a file it is UTF-8 with LF line ends, byte for byte what Linux writes.
#include "cli/cli.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace zolm::cli {

#ifdef _WIN32
namespace {

HANDLE consoleOf(std::FILE *stream)
{
    const HANDLE h = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return h != INVALID_HANDLE_VALUE && h != nullptr && GetConsoleMode(h, &mode) ? h : nullptr;
}

} // namespace
#endif

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
#ifdef _WIN32
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    std::vector<std::string> args;
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(QString::fromWCharArray(wide[i]).toStdString());
    LocalFree(wide);
    return args;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

void prepareStandardStreams()
{
#ifdef _WIN32
    // No CR added before LF: a survey on `-o -` must arrive unchanged, and text equal Linux's.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

void writeText(std::FILE *stream, const QString &text)
{
#ifdef _WIN32
    if (const HANDLE console = consoleOf(stream)) {
        std::fflush(stream); // bytes written before come first
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
#endif
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

} // namespace zolm::cli
