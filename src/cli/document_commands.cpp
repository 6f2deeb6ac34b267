// zolm-cli export, export-format, report and edit: the desktop's document commands without
// their windows, with the same texts and checks.
#include "cli/cli.h"
#include "cli/opened_table.h"

#include "analysis/depth_tally.h"
#include "output/export.h"
#include "output/report.h"
#include "output/trajectory_formats.h"
#include "platform/number_text.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

namespace zolm::cli {

namespace {

std::optional<int> parseInt(const std::string &text)
{
    const auto v = parseInteger(text);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() || *v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<int>(*v);
}

int unknownItem(const QString &name)
{
    QStringList labels;
    for (int id = 0; id < ExportItemCount; ++id)
        labels << exportItemLabel(id);
    return usageError(QCoreApplication::translate("zolm-cli", "export-format：没有导出项“%1”；导出项为 %2，或用名称 %3")
                          .arg(name, labels.join(QLatin1Char(',')), exportItemNames()));
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
        return usageError(QCoreApplication::translate("zolm-cli", "export：需要 FILE 和 -o OUT"));

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    applyView(opened, *view);
    SettingsStore store(ctx.settingsFile);
    const ExportSettings settings = ExportSettings::readForExport(store);
    const std::string bytes = exportBytes(opened.doc.survey(), opened.table.rowPoints(), settings);
    if (const Done written = writeExportFile(fileArg(*out), bytes); !written)
        return fail(written.error());
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
        return usageError(QCoreApplication::translate("zolm-cli", "export-format：--title 与 --no-title、--space 与 --comma 各只能选一个"));

    // Everything is checked before anything is stored.
    std::optional<std::vector<int>> chosen;
    if (columns) {
        chosen.emplace();
        const QString list = fromArg(*columns);
        if (!list.isEmpty()) {
            for (const QString &item : list.split(QLatin1Char(','))) {
                const QString label = item.trimmed();
                const int id = exportItemIdByName(label);
                if (id < 0)
                    return unknownItem(label);
                if (std::find(chosen->begin(), chosen->end(), id) != chosen->end())
                    return usageError(QCoreApplication::translate("zolm-cli", "export-format：“%1”选了两次").arg(label));
                chosen->push_back(id);
            }
        }
    }
    std::vector<std::pair<int, std::int32_t>> positions;
    for (const std::string &s : sets) {
        const QString set = fromArg(s);
        const qsizetype eq = set.lastIndexOf(QLatin1Char('='));
        const int id = eq > 0 ? exportItemIdByName(set.left(eq)) : -1;
        const auto pos = eq > 0 ? parseInt(set.mid(eq + 1).toStdString()) : std::nullopt;
        if (eq > 0 && id < 0)
            return unknownItem(set.left(eq));
        if (id < 0 || !pos)
            return usageError(QCoreApplication::translate("zolm-cli", "export-format：--set 应为 LABEL=POS，POS 为 32 位整数，而不是“%1”").arg(set));
        positions.emplace_back(id, *pos);
    }

    SettingsStore store(ctx.settingsFile);
    // Opening the dialog: absent values get the dialog's defaults.
    ExportFormatLists lists(ExportSettings::readForDialog(store));
    const bool change = title || noTitle || space || comma || columns || !sets.empty();
    if (!change) {
        const ExportSettings s = ExportSettings::readForDialog(store);
        // The stored format as data (labels are settings keys): not translated.
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
    if (store.writeFailed()) {
        return fail(makeError(ErrorCode::WriteFailed, QCoreApplication::translate("zolm-cli", "无法保存导出格式：设置文件 %1 无法写入。")
                                                          .arg(QDir::toNativeSeparators(store.path()))));
    }
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
    const auto file = args.lastPositional("report");
    if (!file)
        return ExitUsage;
    if (ops == out.has_value())
        return usageError(QCoreApplication::translate("zolm-cli", "report：需要 -o OUT.pdf 或 --ops 之一"));
    if (!ops && (dpiText || pageText))
        return usageError(QCoreApplication::translate("zolm-cli", "report：--dpi 和 --page 只用于 --ops"));

    ReportLayout layout = ReportLayout::MultiPoint;
    if (layoutName) {
        if (*layoutName == "multi")
            layout = ReportLayout::MultiPoint;
        else if (*layoutName == "single")
            layout = ReportLayout::SinglePoint;
        else if (*layoutName == "economy")
            layout = ReportLayout::Economy;
        else
            return usageError(QCoreApplication::translate("zolm-cli", "report：--layout 应为 multi、single 或 economy"));
    }
    int dpiX = 600, dpiY = 600;
    if (dpiText) {
        const QStringList parts = fromArg(*dpiText).split(QLatin1Char(','));
        const auto x = parts.size() <= 2 ? parseInt(parts[0].toStdString()) : std::nullopt;
        const auto y = parts.size() == 2 ? parseInt(parts[1].toStdString()) : x;
        if (!x || !y || *x < 1 || *y < 1 || *x > 100000 || *y > 100000)
            return usageError(QCoreApplication::translate("zolm-cli", "report：--dpi 应为 X 或 X,Y（1 到 100000）"));
        dpiX = *x;
        dpiY = *y;
    }
    std::optional<int> row;
    if (rowText) {
        row = parseInt(*rowText);
        if (!row)
            return usageError(QCoreApplication::translate("zolm-cli", "report：--row 应为一个行号"));
    }
    std::optional<int> page;
    if (pageText) {
        page = parseInt(*pageText);
        if (!page)
            return usageError(QCoreApplication::translate("zolm-cli", "report：--page 应为一个页码"));
    }

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    applyView(opened, *view);
    ReportSource source = reportSource(opened.table, currentPrintTime());
    source.singleRow = 0;
    if (row) {
        if (*row < 0 || *row >= opened.table.rowCount()) {
            return fail(makeError(ErrorCode::Missing, QCoreApplication::translate("zolm-cli", "report：表格中没有第 %1 行（共 %2 行）")
                                                          .arg(*row)
                                                          .arg(opened.table.rowCount())));
        }
        source.singleRow = *row;
    }
    const int pages = reportPageCount(layout, opened.table.rowCount());

    if (ops) {
        if (page && (*page < 1 || *page > pages)) {
            return fail(makeError(ErrorCode::Missing,
                                  QCoreApplication::translate("zolm-cli", "report：没有第 %1 页（共 %2 页）").arg(*page).arg(pages)));
        }
        const PageRect rect = a4PrintableRect(layout, dpiX, dpiY);
        // The draw list is data for tests and tools: not translated.
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
    // The PDF goes out as every -o does (a FIFO, a device or "-" written in place).
    if (const Done written = writeReportPdf(fileArg(*out), layout, source, dpiX, dpiY); !written)
        return fail(written.error());
    return ExitOk;
}

namespace {

// A list of point numbers and ranges ("3,5,10-20"), each 0 <= point < count; nothing on a
// bad list, with the message in *error.
std::optional<std::vector<int>> pointList(const std::string &text, int count, QString *error)
{
    std::vector<int> points;
    const QString list = fromArg(text);
    for (const QString &item : list.split(QLatin1Char(','))) {
        const QString t = item.trimmed();
        const qsizetype dash = t.indexOf(QLatin1Char('-'), 1);
        const auto first = parseInt((dash < 0 ? t : t.left(dash)).trimmed().toStdString());
        const auto last = dash < 0 ? first : parseInt(t.mid(dash + 1).trimmed().toStdString());
        if (!first || !last || *first > *last) {
            *error = QCoreApplication::translate("zolm-cli", "edit：“%1”不是测点列表，应如 3,5,10-20").arg(list);
            return std::nullopt;
        }
        if (*first < 0 || *last >= count) {
            *error = QCoreApplication::translate("zolm-cli", "edit：文件中没有测点 %1（测点为 0 到 %2）")
                         .arg(*first < 0 ? *first : *last)
                         .arg(count - 1);
            return std::nullopt;
        }
        for (int p = *first; p <= *last; ++p)
            points.push_back(p);
    }
    return points;
}

} // namespace

int runEdit(Args &args, const Context &)
{
    // The edits apply in the order given.
    const auto edits = args.inOrder({{"--crew", 1}, {"--well", 1}, {"--declination", 1}, {"--check", 1},
                                     {"--tick", 1}, {"--untick", 1}, {"--auto-depth", 2}, {"--depth", 1},
                                     {"--declination-from-site", 0}, {"--tally", 1}});
    const auto out = args.value("-o");
    const bool force = args.flag("--force");
    // The direction of every automatic depth of the command: up for a survey run into the hole.
    const DepthDirection direction = args.flag("--up") ? DepthDirection::Up : DepthDirection::Down;
    const auto windowText = args.value("--tally-window");
    const auto file = args.lastPositional("edit");
    if (!file)
        return ExitUsage;
    const auto given = [&edits](const char *name) {
        return std::any_of(edits.begin(), edits.end(), [name](const auto &e) { return e.first == name; });
    };
    if (direction == DepthDirection::Up && !given("--auto-depth"))
        return usageError(QCoreApplication::translate("zolm-cli", "edit：--up 只与 --auto-depth 一起用"));
    int tallyWindow = DefaultTallyWindow;
    if (windowText) {
        if (!given("--tally"))
            return usageError(QCoreApplication::translate("zolm-cli", "edit：--tally-window 只与 --tally 一起用"));
        const auto w = parseInt(*windowText);
        if (!w)
            return usageError(QCoreApplication::translate("zolm-cli", "edit：--tally-window 应为整秒数，而不是“%1”").arg(fromArg(*windowText)));
        if (*w < 0 || *w > MaxTallyWindow) {
            return fail(makeError(ErrorCode::Refused,
                                  QCoreApplication::translate("zolm-cli", "edit：--tally-window 必须在 0 到 %1 秒之间").arg(MaxTallyWindow)));
        }
        tallyWindow = *w;
    }
    for (const auto &[option, values] : edits) {
        if (option == "--check" && values[0] != "all" && values[0] != "none" && values[0] != "invert")
            return usageError(QCoreApplication::translate("zolm-cli", "edit：--check 应为 all、none 或 invert"));
        if (option == "--depth" && values[0].find('=') == std::string::npos)
            return usageError(QCoreApplication::translate("zolm-cli", "edit：--depth 应为 POINT=METRES"));
    }

    OpenedTable opened;
    if (!openTable(*file, opened))
        return ExitFailed;
    if (refuseOverwrite(opened, *file, out.has_value(), force))
        return ExitFailed;
    // A site file beside an older survey moves into it with this save.
    const std::optional<Site> site = openedSite(opened);
    SurveyTable &t = opened.table;
    const int n = opened.doc.survey().usablePointCount();
    for (const auto &[option, values] : edits) {
        const QString v0 = values.empty() ? QString() : fromArg(values[0]);
        TableChange c;
        if (option == "--declination-from-site") {
            const auto fromSite = declinationFromSite(site, *file, t);
            if (!fromSite)
                return ExitFailed;
            c = *fromSite;
        } else if (option == "--crew") {
            c = t.editCrew(v0);
        } else if (option == "--well") {
            c = t.editWell(v0);
        } else if (option == "--declination") {
            c = t.editDeclination(v0);
        } else if (option == "--check") {
            c = values[0] == "all" ? t.checkAll() : values[0] == "none" ? t.checkNone() : t.invertChecks();
        } else if (option == "--tick" || option == "--untick") {
            QString error;
            const auto points = pointList(values[0], n, &error);
            if (!points)
                return fail(makeError(ErrorCode::Refused, error));
            for (const int p : *points)
                t.setPointChecked(p, option == "--tick");
        } else if (option == "--auto-depth") {
            const auto depths = autoDepthEdit(t, v0, fromArg(values[1]), direction, force);
            if (!depths)
                return ExitFailed;
            c = *depths;
        } else if (option == "--tally") {
            if (!tallyEdit(t, site, values[0], tallyWindow, force))
                return ExitFailed;
        } else if (option == "--depth") {
            const std::string &d = values[0];
            const auto eq = d.find('=');
            const auto point = parseInt(d.substr(0, eq));
            if (!point || *point < 0 || *point >= n) {
                return fail(makeError(ErrorCode::Missing, QCoreApplication::translate("zolm-cli", "edit：文件中没有测点 %1（测点为 0 到 %2）")
                                                              .arg(fromArg(d.substr(0, eq)))
                                                              .arg(n - 1)));
            }
            const int row = t.rowForPoint(*point);
            c = t.enterDepth(row, fromArg(d.substr(eq + 1)));
        }
        // A refused value or a message instead of the command: nothing is written.
        if (c.refused() || c.informed())
            return fail(makeError(c.refused() ? ErrorCode::Refused : ErrorCode::Missing, c.message));
    }
    // The site travels in the survey's bytes, to OUT as well.
    return saveOpened(opened, out ? *out : *file) ? ExitOk : ExitFailed;
}

} // namespace zolm::cli

#include <QGuiApplication>

namespace zolm::cli {

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    // The command is the first argument that is not a global option (--settings and --lang take
    // a value).
    bool draws = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--settings" || a == "--lang") {
            ++i;
            continue;
        }
        if (a.rfind("--", 0) == 0)
            continue;
        const auto chosen = [&](const TrajectoryFormat &f) {
            return f.draws && std::find(argv + i, argv + argc, std::string("--") + f.name) != argv + argc;
        };
        draws = a == "report" || (a == "trajectory" && std::ranges::any_of(trajectoryFormats(), chosen));
        break;
    }
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
#ifndef _WIN32
    // Windows draws without a display through its own platform plugin. (Under Wine, setting
    // the platform from inside the program left Qt without its fonts.)
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A GUI application looks in the user's runtime folder and warns when none is set (a
    // service, a cron job, ssh without a session): a private one for this run keeps it quiet.
    static std::unique_ptr<QTemporaryDir> runtimeDir;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        runtimeDir = std::make_unique<QTemporaryDir>();
        if (runtimeDir->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    }
#endif
    // A GUI application takes its own options (-reverse, -platform, ...) out of argv, which
    // would swallow ours: it gets the program name only.
    static int guiArgc = 1;
    static char *guiArgv[] = {argv[0], nullptr};
    return std::make_unique<QGuiApplication>(guiArgc, guiArgv);
}

} // namespace zolm::cli
