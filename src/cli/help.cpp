#include "cli/help.h"

#include "cli/cli.h"

#include "survey/quantities.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

#ifndef ZOLM_VERSION
#error "ZOLM_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace zolm::cli {

namespace {

// The paragraphs several commands share, each translated once: a command's text names one by
// its marker where it stands (helpText puts it in). Shared options are declared with theirs.
struct SharedText {
    const char *marker;
    const char *text;
};

constexpr SharedText sharedTexts[] = {
    {"@out-rule@",
     QT_TRANSLATE_NOOP("zolm-cli", "-o OUT：普通文件（或新文件）整体替换，写入失败时保留原来的内容；已有的目标\n"
      "若不是普通文件（FIFO、设备、/dev/stdout），则同 cp 一样直接写入；'-' 写到\n"
      "标准输出。写入出错时退出状态为 1。\n")},
    {"@warnings-rule@",
     QT_TRANSLATE_NOOP("zolm-cli", "警告写到 stderr，每条一行，以“警告：”开头：井深与测量时间顺序不符的打勾测点\n"
      "（如把 90 输成 900），未参与轨迹计算的打勾测点及原因（没有井深等），井场地磁\n"
      "模型给出磁偏角而文件中磁偏角为 0，以及狗腿度超过限值的测点。警告不影响退出\n"
      "状态。\n")},
    {"@open-rule@",
     QT_TRANSLATE_NOOP("zolm-cli", "文件按桌面程序的方式打开：显示全部测点，按升序排列；然后依次应用 --mode 和\n"
      "--reverse。不是完整测量数据的文件（长度不是 25132 + 30*N 字节，旧格式不是\n"
      "5220 + 30*N 字节，N 为 0 到 1818）仍会打开，并在 stderr 上给出警告。\n")},
};

QString synopsisLine(const CommandHelp &help)
{
    QString line = QStringLiteral("zolm-cli [--settings FILE] ") + QString::fromUtf8(help.name);
    if (*help.synopsis)
        line += QLatin1Char(' ') + commandSynopsis(help);
    return line;
}

// Roff treats a leading '.' or '\'' as a request and '\' as an escape.
QString roffText(const QString &text)
{
    QString out;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString l = line;
        l.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
        l.replace(QLatin1Char('-'), QStringLiteral("\\-"));
        if (l.startsWith(QLatin1Char('.')) || l.startsWith(QLatin1Char('\'')))
            l.prepend(QStringLiteral("\\&"));
        out += l + QLatin1Char('\n');
    }
    return out;
}

// The export items' English names, as export-format takes them, in lines under its option.
QString exportItemNameLines()
{
    constexpr qsizetype Indent = 24, Width = 90; // export-format's help column
    QStringList lines;
    QString line;
    for (std::size_t i = 0; i < Quantities.size(); ++i) {
        const QString word = QLatin1String(Quantities[i].english) + (i + 1 < Quantities.size() ? QStringLiteral(",") : QString());
        if (!line.isEmpty() && Indent + line.size() + 1 + word.size() > Width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return (lines << line).join(QLatin1Char('\n'));
}

bool sameHelp(const OptionSpec &a, const OptionSpec &b)
{
    return a.help && b.help && std::strcmp(a.help, b.help) == 0;
}

// The options' lines: the names with their placeholders, then the help from the command's help
// column (three spaces after a longer name), its later lines under it. Options next to each
// other with the same help share its lines.
QString optionLines(const CommandHelp &help)
{
    const std::vector<OptionSpec> options = commandOptions(help.name);
    const QString indent(help.column, QLatin1Char(' '));
    QString lines;
    for (std::size_t i = 0; i < options.size();) {
        std::size_t end = i + 1;
        while (end < options.size() && sameHelp(options[i], options[end]))
            ++end;
        QStringList names;
        for (std::size_t k = i; k < end; ++k) {
            const char *placeholder = options[k].placeholder;
            names << QString::fromStdString(options[k].name)
                    + (placeholder ? QLatin1Char(' ') + QString::fromUtf8(placeholder) : QString());
        }
        const QString head = QStringLiteral("  ") + names.join(QStringLiteral(", "));
        QString text = QCoreApplication::translate("zolm-cli", options[i].help);
        if (options[end - 1].more)
            text += QLatin1Char('\n') + QCoreApplication::translate("zolm-cli", options[end - 1].more);
        // Made from the table of quantities, so that a new export item is named here too.
        text.replace(QLatin1String("@export-item-names@"), exportItemNameLines());
        QStringList helpLines = text.split(QLatin1Char('\n'));
        const QString first = helpLines.takeFirst();
        if (first.isEmpty()) // the help starts under a long name
            lines += head + QLatin1Char('\n');
        else
            lines += head + QString(head.size() + 2 <= help.column ? help.column - head.size() : 3, QLatin1Char(' ')) + first
                + QLatin1Char('\n');
        for (const QString &line : helpLines)
            lines += indent + line + QLatin1Char('\n');
        i = end;
    }
    return lines;
}

// A command's text in the chosen language, with the shared paragraphs in their places.
QString helpText(const CommandHelp &help)
{
    QString text = QCoreApplication::translate("zolm-cli", help.intro) + QLatin1Char('\n');
    if (!help.options.empty())
        text += optionLines(help) + QLatin1Char('\n');
    text += QCoreApplication::translate("zolm-cli", help.closing);
    for (const SharedText &shared : sharedTexts)
        text.replace(QLatin1String(shared.marker), QCoreApplication::translate("zolm-cli", shared.text));
    return text;
}

} // namespace

// The overview's paragraphs between its usage lines and its list of commands (the manual's
// description too).
QString overviewIntro()
{
    return QCoreApplication::translate("zolm-cli",
                                       "ZOLM 的测量数据和探管功能，不带窗口。退出状态：0 完成，1 操作失败，2 用法错误。\n"
                                       "\n"
                                       "  --settings FILE   使用该设置文件（也可用 ZOLM_SETTINGS=FILE）\n"
                                       "  --lang en|zh      文字的语言：en 英文，zh 中文（也可用 ZOLM_LANG=en；默认中文，\n"
                                       "                    与系统的语言设置无关）\n");
}

QString overviewHelp()
{
    QString text = QCoreApplication::translate("zolm-cli", "用法：zolm-cli [--settings FILE] [--lang en|zh] COMMAND [ARGS]\n"
                                                           "      zolm-cli --version | --help | COMMAND --help\n")
        + QLatin1Char('\n') + overviewIntro() + QLatin1Char('\n') + QCoreApplication::translate("zolm-cli", "命令：\n");
    for (const CommandHelp &h : commandHelps()) {
        const QString name = QString::fromUtf8(h.name);
        QString synopsis = commandSynopsis(h);
        synopsis.replace(QStringLiteral("\n       "), QStringLiteral("\n") + QString(17, QLatin1Char(' ')));
        text += (QStringLiteral("  %1 %2").arg(name, -14).arg(synopsis)).trimmed().prepend(QStringLiteral("  "))
            + QLatin1Char('\n');
    }
    text += QCoreApplication::translate("zolm-cli", "\n'zolm-cli COMMAND --help' 给出各命令的详细说明。\n");
    return text;
}

QString commandHelp(const CommandHelp &help)
{
    const QString usage = QCoreApplication::translate("zolm-cli", "用法：%1\n\n");
    // The synopsis' later lines line up under its first, after "usage: " (7 columns) or its
    // translation, whose Chinese characters take two columns each.
    int columns = 0;
    for (const QChar c : usage.left(usage.indexOf(QStringLiteral("%1"))))
        columns += c.unicode() >= 0x2e80 ? 2 : 1;
    QString synopsis = synopsisLine(help);
    synopsis.replace(QStringLiteral("\n       "), QLatin1Char('\n') + QString(columns, QLatin1Char(' ')));
    return usage.arg(synopsis) + helpText(help);
}

QString manualPage()
{
    QString page = QStringLiteral(".TH ZOLM\\-CLI 1 \"\" \"zolm-cli %1\" \"User Commands\"\n"
                                  ".SH NAME\n"
                                  "zolm\\-cli \\- %2\n"
                                  ".SH SYNOPSIS\n"
                                  ".nf\n")
                       .arg(QStringLiteral(ZOLM_VERSION), roffText(QCoreApplication::translate("zolm-cli", "不带窗口处理测量数据和探管")).trimmed());
    for (const CommandHelp &h : commandHelps())
        page += roffText(synopsisLine(h));
    page += QStringLiteral(".fi\n.SH DESCRIPTION\n.nf\n");
    page += roffText(overviewIntro());
    page += QStringLiteral(".fi\n.SH COMMANDS\n");
    for (const CommandHelp &h : commandHelps()) {
        page += QStringLiteral(".SS %1\n.nf\n").arg(roffText(QString::fromUtf8(h.name)).trimmed());
        page += roffText(synopsisLine(h) + QStringLiteral("\n\n") + helpText(h).trimmed());
        page += QStringLiteral(".fi\n");
    }
    page += QStringLiteral(".SH FILES\n.nf\n"
                           "$XDG_CONFIG_HOME/Vexmoor/ZOLM.ini   %1\n"
                           ".fi\n")
                .arg(roffText(QCoreApplication::translate("zolm-cli", "设置（通讯口、探管设置、导出格式）")).trimmed());
    return page;
}

QString versionText(const char *program)
{
    return QStringLiteral("%1 %2\n").arg(QString::fromUtf8(program), QStringLiteral(ZOLM_VERSION));
}

} // namespace zolm::cli
