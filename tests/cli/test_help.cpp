// zolm-cli's help, version and manual page, and zolm-probe-sim's.
#include "cli/cli.h"
#include "document/document.h"
#include "output/trajectory_formats.h"
#include "run_program.h"
#include "survey/quantities.h"
#include "synthetic.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace {

QString out(const QString &program, const QStringList &args, int expectedExit = 0)
{
    const ProgramRun r = runProgram(program, args);
    EXPECT_EQ(r.exitCode, expectedExit) << args.join(QLatin1Char(' ')).toStdString() << "\n" << r.err.constData();
    return QString::fromUtf8(r.out);
}

const QString cliPath = QStringLiteral(ZOLM_CLI_PATH);

const QStringList commands{QStringLiteral("show"),      QStringLiteral("export"),   QStringLiteral("export-format"),
                           QStringLiteral("report"),    QStringLiteral("edit"),     QStringLiteral("link-test"),
                           QStringLiteral("info"),      QStringLiteral("read"),     QStringLiteral("setup"),
                           QStringLiteral("live"),      QStringLiteral("ports"),    QStringLiteral("set-port"),
                           QStringLiteral("geomag"),    QStringLiteral("site"),     QStringLiteral("qc"),
                           QStringLiteral("trajectory"), QStringLiteral("stations")};

} // namespace

TEST(Help, EveryCommandHasItsOwnWithAnExample)
{
    const QString overview = out(cliPath, {QStringLiteral("--help")});
    for (const QString &c : commands) {
        EXPECT_TRUE(overview.contains(QRegularExpression(QStringLiteral("\n  %1[ \n]").arg(c)))) << c.toStdString();
        // Help comes before the command runs: no file, no probe, no settings needed.
        const QString help = out(cliPath, {c, QStringLiteral("--help")});
        EXPECT_TRUE(help.startsWith(QStringLiteral("用法：zolm-cli [--settings FILE] ") + c)) << help.toStdString();
        EXPECT_TRUE(help.contains(QStringLiteral("示例：zolm-cli ") + c)) << c.toStdString();
    }
    // What the commands assume, where people trip.
    const QString edit = out(cliPath, {QStringLiteral("edit"), QStringLiteral("x.ZLM"), QStringLiteral("--help")});
    EXPECT_TRUE(edit.contains(QStringLiteral("递减"))) << edit.toStdString();
    EXPECT_TRUE(edit.contains(QStringLiteral("不是 'show' 的行号"))) << edit.toStdString();
    const QString format = out(cliPath, {QStringLiteral("--settings"), QStringLiteral("s.ini"),
                                         QStringLiteral("export-format"), QStringLiteral("--help")});
    for (const char *name : {"index", "time", "depth", "inclination", "azimuth", "gravity-toolface", "magnetic-toolface",
                             "dip", "temperature", "total-gravity", "total-field", "crew", "well", "true-azimuth",
                             "declination"})
        EXPECT_TRUE(format.contains(QString::fromLatin1(name))) << name;
    out(cliPath, {QStringLiteral("nonsense"), QStringLiteral("--help")}, 2);
}

TEST(Help, VersionAndManualPageComeFromTheSameSource)
{
    const QRegularExpression version(QStringLiteral("^zolm-cli (\\d+\\.\\d+(\\.\\d+)*)\n$"));
    const auto m = version.match(out(cliPath, {QStringLiteral("--version")}));
    ASSERT_TRUE(m.hasMatch());
#ifdef ZOLM_PROBE_SIM_PATH // the virtual probe program serves a pty: not built for Windows
    EXPECT_EQ(out(QStringLiteral(ZOLM_PROBE_SIM_PATH), {QStringLiteral("--version")}),
              QStringLiteral("zolm-probe-sim %1\n").arg(m.captured(1)));
    EXPECT_TRUE(out(QStringLiteral(ZOLM_PROBE_SIM_PATH), {QStringLiteral("--help")}).contains(QStringLiteral("--fault")));
#endif

    const QString man = out(cliPath, {QStringLiteral("--man")});
    EXPECT_TRUE(man.startsWith(QStringLiteral(".TH ZOLM\\-CLI 1 ")));
    EXPECT_TRUE(man.contains(m.captured(1)));
    for (const QString &c : commands)
        EXPECT_TRUE(man.contains(QStringLiteral("\n.SS ") + QString(c).replace(QLatin1Char('-'), QStringLiteral("\\-")) + QLatin1Char('\n'))) << c.toStdString();
    // No line of text may start a roff request by accident.
    for (const QString &line : man.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('.'))) {
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\.(TH|SH|SS|nf|fi) ?")).match(line).hasMatch())
                << line.toStdString();
        }
    }
}

// Each option the command line parses with has its help, and is named in its command's help (in
// the usage line and in the text below it), in the command's entry of the list, and in its part
// of the manual page.
TEST(Help, NamesEveryOptionTheCommandsTake)
{
    const QString overview = out(cliPath, {QStringLiteral("--help")});
    const QString man = out(cliPath, {QStringLiteral("--man")});
    const auto names = [](const QString &text, const QString &option) {
        const QString name = QRegularExpression::escape(option);
        return QRegularExpression(QStringLiteral("(^|[\\s\\[(|,])%1($|[\\s\\]=|,)])").arg(name)).match(text).hasMatch();
    };
    int checked = 0;
    for (const QString &c : commands) {
        const QString help = out(cliPath, {c, QStringLiteral("--help")});
        const qsizetype body = help.indexOf(QStringLiteral("\n\n"));
        const QString usage = help.left(body);
        const QString text = help.mid(body);
        // The list: the command's line and the lines that continue it.
        const qsizetype at = overview.indexOf(QRegularExpression(QStringLiteral("\n  %1[ \n]").arg(c)));
        ASSERT_GE(at, 0) << c.toStdString();
        const qsizetype next = overview.indexOf(QRegularExpression(QStringLiteral("\n  \\S|\n\n")), at + 1);
        const QString listed = overview.mid(at, next - at);
        const QString roffName = QString(c).replace(QLatin1Char('-'), QStringLiteral("\\-"));
        const qsizetype section = man.indexOf(QStringLiteral("\n.SS ") + roffName + QLatin1Char('\n'));
        ASSERT_GE(section, 0) << c.toStdString();
        QString manText = man.mid(section + 1);
        manText = manText.left(manText.indexOf(QRegularExpression(QStringLiteral("\n\\.S[SH] "))));
        manText.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        for (const zolm::cli::OptionSpec &o : zolm::cli::commandOptions(c.toStdString())) {
            const QString option = QString::fromStdString(o.name);
            EXPECT_TRUE(o.help && *o.help) << c.toStdString() << " has no help for " << o.name;
            EXPECT_TRUE(names(usage, option)) << c.toStdString() << " usage: " << o.name;
            EXPECT_TRUE(names(text, option)) << c.toStdString() << " help: " << o.name;
            EXPECT_TRUE(names(listed, option)) << c.toStdString() << " list: " << o.name;
            EXPECT_TRUE(names(manText, option)) << c.toStdString() << " manual: " << o.name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 60); // the table is there, not empty
}

// The trajectory formats' table gives `trajectory` a switch per format: its usage line names it,
// its help gives the format's line, it writes the format, and the usage errors name it.
TEST(Help, TrajectoryTakesEachFormatOfTheTable)
{
    QTemporaryDir dir;
    const QString survey = dir.filePath(QStringLiteral("s.ZLM"));
    {
        const auto s = zolm::sim::makeSurvey(zolm::sim::CalibrationKind::Ideal, zolm::sim::defaultWellPath(5));
        zolm::CNDravikDoc doc;
        doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
        for (std::size_t i = 0; i < 5; ++i) {
            doc.survey().flags[i] |= zolm::PointFlag::Checked;
            doc.survey().depth[i] = 10.0 * static_cast<double>(i + 1);
        }
        ASSERT_TRUE(doc.saveFile(survey));
    }
    const QString help = out(cliPath, {QStringLiteral("trajectory"), QStringLiteral("--help")});
    const QString usage = help.left(help.indexOf(QStringLiteral("\n\n")));
    const QStringList optionLines = help.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^  -")));
    QStringList switches;
    for (const zolm::TrajectoryFormat &f : zolm::trajectoryFormats()) {
        if (!*f.name)
            continue;
        const QString option = QStringLiteral("--") + QLatin1String(f.name);
        switches << option;
        EXPECT_TRUE(usage.contains(QRegularExpression(QStringLiteral("(\\[|\\| )%1( |\\])").arg(option)))) << usage.toStdString();
        const QString line = QString::fromUtf8(f.cliHelp).section(QLatin1Char('\n'), 0, 0);
        EXPECT_EQ(optionLines.filter(QRegularExpression(QStringLiteral("[ ,]%1[ ,].*%2$").arg(option, QRegularExpression::escape(line)))).size(), 1)
            << option.toStdString() << "\n" << help.toStdString();
        const QString target = dir.filePath(QStringLiteral("t.") + QLatin1String(f.name));
        const ProgramRun written = runProgram(cliPath, {QStringLiteral("trajectory"), survey, option, QStringLiteral("-o"), target});
        EXPECT_EQ(written.exitCode, 0) << f.name << written.err.constData();
        EXPECT_GT(QFileInfo(target).size(), 0) << f.name;
        if (f.needsFile) {
            const ProgramRun refused = runProgram(cliPath, {QStringLiteral("trajectory"), survey, option});
            EXPECT_EQ(refused.exitCode, 2) << f.name;
            EXPECT_TRUE(QString::fromUtf8(refused.err).contains(QStringLiteral("%1 需要 -o OUT.%2").arg(option, QLatin1String(f.suffix))))
                << refused.err.constData();
        }
    }
    ASSERT_GE(switches.size(), 2);
    const ProgramRun two = runProgram(cliPath, {QStringLiteral("trajectory"), survey, switches.front(), switches.back()});
    EXPECT_EQ(two.exitCode, 2);
    for (const QString &option : switches)
        EXPECT_TRUE(QString::fromUtf8(two.err).contains(option)) << two.err.constData();
}

namespace {

QString err(const QStringList &args, int expectedExit)
{
    const ProgramRun r = runProgram(cliPath, args);
    EXPECT_EQ(r.exitCode, expectedExit) << args.join(QLatin1Char(' ')).toStdString();
    return QString::fromUtf8(r.err);
}

} // namespace

// Chinese unless English is asked for, by --lang or ZOLM_LANG; the system's locale does not
// ask. In English the texts are the command line's English ones, word for word.
TEST(Help, EnglishOnlyWhenAskedFor)
{
    const QStringList badMode{QStringLiteral("show"), QStringLiteral("x.ZLM"), QStringLiteral("--mode"), QStringLiteral("bogus")};
    const QString englishUsage = QStringLiteral(
        "zolm-cli: show: --mode takes all, hide-checked or only-checked, not 'bogus'\nTry 'zolm-cli --help'.\n");
    const QString chineseUsage =
        QStringLiteral("zolm-cli：show：--mode 应为 all、hide-checked 或 only-checked，而不是“bogus”\n用法见 zolm-cli --help。\n");
    const QStringList showHelp{QStringLiteral("show"), QStringLiteral("--help")};
    const QString englishHelpLine = QStringLiteral("  --reverse      the rows in descending point order\n");
    const QString chineseHelpLine = QStringLiteral("  --reverse      各行按测点号从大到小排列\n");
    {
        const zolm::testing::ScopedEnvironment lang("LANG", "en_US.UTF-8");
        const zolm::testing::ScopedEnvironment all("LC_ALL", "en_US.UTF-8");
        EXPECT_EQ(err(badMode, 2), chineseUsage);
        EXPECT_TRUE(out(cliPath, showHelp).contains(chineseHelpLine));
    }
    EXPECT_EQ(err(QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + badMode, 2), englishUsage);
    EXPECT_EQ(err(QStringList{QStringLiteral("--lang=en")} + badMode, 2), englishUsage);
    const QString english = out(cliPath, QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + showHelp);
    EXPECT_TRUE(english.startsWith(QStringLiteral("usage: zolm-cli [--settings FILE] show"))) << english.toStdString();
    EXPECT_TRUE(english.contains(englishHelpLine)) << english.toStdString();
    EXPECT_TRUE(english.contains(QStringLiteral("Example: zolm-cli show"))) << english.toStdString();
    {
        const zolm::testing::ScopedEnvironment lang("ZOLM_LANG", "en");
        EXPECT_EQ(err(badMode, 2), englishUsage);
        EXPECT_EQ(out(cliPath, showHelp), english);
        // The command line's choice comes first.
        EXPECT_EQ(err(QStringList{QStringLiteral("--lang"), QStringLiteral("zh")} + badMode, 2), chineseUsage);
#ifdef ZOLM_PROBE_SIM_PATH
        const QString sim = out(QStringLiteral(ZOLM_PROBE_SIM_PATH), {QStringLiteral("--help")});
        EXPECT_TRUE(sim.startsWith(QStringLiteral("usage: zolm-probe-sim "))) << sim.toStdString();
#endif
    }
#ifdef ZOLM_PROBE_SIM_PATH
    const QString sim = out(QStringLiteral(ZOLM_PROBE_SIM_PATH), {QStringLiteral("--help")});
    EXPECT_TRUE(sim.startsWith(QStringLiteral("用法：zolm-probe-sim "))) << sim.toStdString();
#endif
    // The overview names the option; a language it does not know is a usage error.
    EXPECT_TRUE(out(cliPath, {QStringLiteral("--help")}).contains(QStringLiteral("\n  --lang en|zh ")));
    EXPECT_TRUE(err({QStringLiteral("--lang"), QStringLiteral("fr"), QStringLiteral("ports")}, 2)
                    .startsWith(QStringLiteral("zolm-cli：--lang 应为 en 或 zh，而不是“fr”\n")));
}

// The help's lists of export items and table columns name every quantity there is.
TEST(Help, NamesEveryExportItemAndTableColumn)
{
    if (UnderThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer breaks QProcess";
    const QString exportFormat = out(cliPath, {QStringLiteral("export-format"), QStringLiteral("--help")});
    for (const zolm::QuantityInfo &q : zolm::Quantities)
        EXPECT_TRUE(exportFormat.contains(QLatin1String(q.english))) << q.english;
    // The Chinese help spells the columns as the export does.
    const QString show = out(cliPath, {QStringLiteral("show"), QStringLiteral("--help")});
    for (const zolm::Quantity q : zolm::TableQuantities)
        EXPECT_TRUE(show.contains(QString::fromUtf8(zolm::quantityInfo(q).label))) << zolm::quantityInfo(q).english;
}
