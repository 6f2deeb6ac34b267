// zolm-cli export, export-format, report and edit: the desktop's document commands without
// their windows, with the same texts and checks.
#include "cli/cli.h"
#include "cli/opened_table.h"

#include "output/export.h"
#include "output/report.h"
#include "platform/settings.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <limits>

namespace zolm::cli {

namespace {

std::optional<int> parseInt(const std::string &text)
{
    long long v = 0;
    const char *b = text.data();
    const char *e = b + text.size();
    if (b != e && *b == '+')
        ++b;
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e || b == e || v < std::numeric_limits<std::int32_t>::min()
        || v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

} // namespace

int runExport(Args &args, const Context &ctx)
{
    const auto out = args.value("-o");
    const auto view = takeViewOptions(args, "export");
    if (!view)
        return ExitUsage;
    const auto file = args.positional();
    if (args.reportUsageError("export"))
        return ExitUsage;
    if (!file || !out)
        return usageError(QStringLiteral("export: FILE and -o OUT are needed"));

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    applyView(opened, *view);
    SettingsStore store(ctx.settingsFile);
    const ExportSettings settings = ExportSettings::readForExport(store);
    const std::string bytes = exportBytes(opened.doc.survey(), opened.table.orderReversed(), settings);
    QString error;
    if (!writeExportFile(fileArg(*out), bytes, &error)) {
        printErr(error + QLatin1Char('\n'));
        return ExitFailed;
    }
    return ExitOk;
}

int runExportFormat(Args &args, const Context &ctx)
{
    const bool title = args.flag("--title");
    const bool noTitle = args.flag("--no-title");
    const bool space = args.flag("--space");
    const bool comma = args.flag("--comma");
    const auto columns = args.value("--columns");
    const std::vector<std::string> sets = args.values("--set");
    if (args.reportUsageError("export-format"))
        return ExitUsage;
    if ((title && noTitle) || (space && comma))
        return usageError(QStringLiteral("export-format: --title/--no-title and --space/--comma each take one"));

    // Everything is checked before anything is stored.
    std::optional<std::vector<int>> chosen;
    if (columns) {
        chosen.emplace();
        const QString list = fromArg(*columns);
        if (!list.isEmpty()) {
            for (const QString &item : list.split(QLatin1Char(','))) {
                const QString label = item.trimmed();
                const int id = exportItemId(label);
                if (id < 0)
                    return usageError(QStringLiteral("export-format: no export item '%1'").arg(label));
                if (std::find(chosen->begin(), chosen->end(), id) != chosen->end())
                    return usageError(QStringLiteral("export-format: '%1' is chosen twice").arg(label));
                chosen->push_back(id);
            }
        }
    }
    std::vector<std::pair<int, std::int32_t>> positions;
    for (const std::string &s : sets) {
        const QString set = fromArg(s);
        const qsizetype eq = set.lastIndexOf(QLatin1Char('='));
        const int id = eq > 0 ? exportItemId(set.left(eq)) : -1;
        const auto pos = eq > 0 ? parseInt(set.mid(eq + 1).toStdString()) : std::nullopt;
        if (id < 0 || !pos)
            return usageError(QStringLiteral("export-format: --set takes LABEL=POS with a 32-bit POS, not '%1'").arg(set));
        positions.emplace_back(id, *pos);
    }

    SettingsStore store(ctx.settingsFile);
    // Opening the dialog: absent values get the dialog's defaults.
    ExportFormatLists lists(ExportSettings::readForDialog(store));
    const bool change = title || noTitle || space || comma || columns || !sets.empty();
    if (!change) {
        const ExportSettings s = ExportSettings::readForDialog(store);
        QString out = QStringLiteral("title: %1\nseparator: %2\n")
                          .arg(s.title ? QStringLiteral("yes") : QStringLiteral("no"),
                               s.spaceSeparator ? QStringLiteral("space") : QStringLiteral("comma"));
        for (int id = 0; id < ExportItemCount; ++id)
            out += QStringLiteral("%1 %2\n").arg(exportItemLabel(id)).arg(s.positions[static_cast<std::size_t>(id)]);
        printOut(out);
        return ExitOk;
    }
    if (title || noTitle)
        lists.title = title;
    if (space || comma)
        lists.spaceSeparator = space;
    if (chosen)
        lists.setChosen(*chosen);
    lists.store(store);
    for (const auto &[id, pos] : positions)
        store.writeInt(exportItemKey(id), pos);
    return ExitOk;
}

int runReport(Args &args, const Context &)
{
    const auto layoutName = args.value("--layout");
    const auto rowText = args.value("--row");
    const auto out = args.value("-o");
    const bool ops = args.flag("--ops");
    const auto dpiText = args.value("--dpi");
    const auto pageText = args.value("--page");
    const auto view = takeViewOptions(args, "report");
    if (!view)
        return ExitUsage;
    const auto file = args.positional();
    if (args.reportUsageError("report"))
        return ExitUsage;
    if (!file)
        return usageError(QStringLiteral("report: a .ZLM file is needed"));
    if (ops == out.has_value())
        return usageError(QStringLiteral("report: either -o OUT.pdf or --ops"));
    if (!ops && (dpiText || pageText))
        return usageError(QStringLiteral("report: --dpi and --page go with --ops"));

    ReportLayout layout = ReportLayout::MultiPoint;
    if (layoutName) {
        if (*layoutName == "multi")
            layout = ReportLayout::MultiPoint;
        else if (*layoutName == "single")
            layout = ReportLayout::SinglePoint;
        else if (*layoutName == "economy")
            layout = ReportLayout::Economy;
        else
            return usageError(QStringLiteral("report: --layout takes multi, single or economy"));
    }
    int dpiX = 600, dpiY = 600;
    if (dpiText) {
        const QStringList parts = fromArg(*dpiText).split(QLatin1Char(','));
        const auto x = parts.size() <= 2 ? parseInt(parts[0].toStdString()) : std::nullopt;
        const auto y = parts.size() == 2 ? parseInt(parts[1].toStdString()) : x;
        if (!x || !y || *x < 1 || *y < 1 || *x > 100000 || *y > 100000)
            return usageError(QStringLiteral("report: --dpi takes X or X,Y (1 to 100000)"));
        dpiX = *x;
        dpiY = *y;
    }
    std::optional<int> row;
    if (rowText) {
        row = parseInt(*rowText);
        if (!row)
            return usageError(QStringLiteral("report: --row takes a row number"));
    }
    std::optional<int> page;
    if (pageText) {
        page = parseInt(*pageText);
        if (!page)
            return usageError(QStringLiteral("report: --page takes a page number"));
    }

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    applyView(opened, *view);
    ReportSource source = reportSource(opened.table, currentPrintTime());
    source.singleRow = 0;
    if (row) {
        if (*row < 0 || *row >= opened.table.rowCount()) {
            printErr(QStringLiteral("report: the table has no row %1 (rows: %2)\n").arg(*row).arg(opened.table.rowCount()));
            return ExitFailed;
        }
        source.singleRow = *row;
    }
    const int pages = reportPageCount(layout, opened.table.rowCount());

    if (ops) {
        if (page && (*page < 1 || *page > pages)) {
            printErr(QStringLiteral("report: no page %1 (pages: %2)\n").arg(*page).arg(pages));
            return ExitFailed;
        }
        const PageRect rect = a4PageRect(layout, dpiX, dpiY);
        QString text = QStringLiteral("pages %1\n").arg(pages);
        for (int p = 1; p <= pages; ++p) {
            if (page && p != *page)
                continue;
            text += QStringLiteral("page %1\n").arg(p);
            text += formatDrawOps(reportPage(layout, source, p, rect));
        }
        printOut(text);
        return ExitOk;
    }
    QString error;
    if (!writeReportPdf(fileArg(*out), layout, source, dpiX, dpiY, &error)) {
        printErr(error + QLatin1Char('\n'));
        return ExitFailed;
    }
    return ExitOk;
}

int runEdit(Args &args, const Context &)
{
    // The edits apply in the order given, so they are read in order from what is left.
    const auto out = args.value("-o");
    std::vector<std::string> rest = args.rest();
    std::optional<std::string> file;
    struct Edit {
        std::string option;
        std::vector<std::string> values;
    };
    std::vector<Edit> edits;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string &a = rest[i];
        std::string name = a;
        std::optional<std::string> inlineValue;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            inlineValue = a.substr(eq + 1);
        }
        const int count = (name == "--auto-depth") ? 2
            : (name == "--crew" || name == "--well" || name == "--declination" || name == "--check" || name == "--depth")
            ? 1
            : 0;
        if (a == "--declination-from-site") {
            edits.push_back({a, {}});
            continue;
        }
        if (count == 0) {
            if (a.size() > 1 && a[0] == '-')
                return usageError(QStringLiteral("edit: unexpected argument '%1'").arg(fromArg(a)));
            if (file)
                return usageError(QStringLiteral("edit: unexpected argument '%1'").arg(fromArg(a)));
            file = a;
            continue;
        }
        Edit e{name, {}};
        if (inlineValue && count == 1) {
            e.values.push_back(*inlineValue);
        } else {
            if (inlineValue || i + static_cast<std::size_t>(count) >= rest.size())
                return usageError(QStringLiteral("edit: %1 needs %2 value(s)").arg(fromArg(name)).arg(count));
            for (int k = 1; k <= count; ++k)
                e.values.push_back(rest[i + static_cast<std::size_t>(k)]);
            i += static_cast<std::size_t>(count);
        }
        edits.push_back(std::move(e));
    }
    if (args.error())
        return usageError(QStringLiteral("edit: ") + QString::fromStdString(args.errorText()));
    if (!file)
        return usageError(QStringLiteral("edit: a .ZLM file is needed"));
    for (const Edit &e : edits) {
        if (e.option == "--check" && e.values[0] != "all" && e.values[0] != "none" && e.values[0] != "invert")
            return usageError(QStringLiteral("edit: --check takes all, none or invert"));
        if (e.option == "--depth" && e.values[0].find('=') == std::string::npos)
            return usageError(QStringLiteral("edit: --depth takes POINT=METRES"));
    }

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    SurveyTable &t = opened.table;
    auto refused = [](const TableChange &c) {
        if (c.refused || (c.message && !c.markedModified)) {
            printErr(*c.message + QLatin1Char('\n'));
            return true;
        }
        return false;
    };
    for (const Edit &e : edits) {
        const QString v0 = e.values.empty() ? QString() : fromArg(e.values[0]);
        TableChange c;
        if (e.option == "--declination-from-site") {
            const auto fromSite = declinationFromSite(*file, t);
            if (!fromSite)
                return ExitFailed;
            c = *fromSite;
        } else if (e.option == "--crew") {
            c = t.editCrew(v0);
        } else if (e.option == "--well") {
            c = t.editWell(v0);
        } else if (e.option == "--declination") {
            c = t.editDeclination(v0);
        } else if (e.option == "--check") {
            c = e.values[0] == "all" ? t.checkAll() : e.values[0] == "none" ? t.checkNone() : t.invertChecks();
        } else if (e.option == "--auto-depth") {
            c = t.autoDepth(v0, fromArg(e.values[1]));
        } else if (e.option == "--depth") {
            const std::string &d = e.values[0];
            const auto eq = d.find('=');
            const auto point = parseInt(d.substr(0, eq));
            const int n = opened.doc.survey().usablePointCount();
            if (!point || *point < 0 || *point >= n) {
                printErr(QStringLiteral("edit: no point %1 in this document (points 0 to %2)\n")
                             .arg(fromArg(d.substr(0, eq)))
                             .arg(n - 1));
                return ExitFailed;
            }
            const int row = t.rowForPoint(*point);
            c = t.enterDepth(row, fromArg(d.substr(eq + 1)));
        }
        if (refused(c))
            return ExitFailed;
    }
    QString error;
    if (!opened.doc.saveFile(fileArg(out ? *out : *file), &error)) {
        printErr(error + QLatin1Char('\n'));
        return ExitFailed;
    }
    if (out && !copySiteAlong(*file, *out))
        return ExitFailed;
    return ExitOk;
}

} // namespace zolm::cli

#include <QGuiApplication>

namespace zolm::cli {

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    // The command is the first argument that is not a global option (--settings takes a value).
    bool draws = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--settings") {
            ++i;
            continue;
        }
        if (a.rfind("--", 0) == 0)
            continue;
        draws = a == "report" || (a == "trajectory" && std::find(argv + i, argv + argc, std::string("--pdf")) != argv + argc);
        break;
    }
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A GUI application takes its own options (-reverse, -platform, ...) out of argv, which
    // would swallow ours: it gets the program name only.
    static int guiArgc = 1;
    static char *guiArgv[] = {argv[0], nullptr};
    return std::make_unique<QGuiApplication>(guiArgc, guiArgv);
}

} // namespace zolm::cli
