// The manual built into the program: F1 and 帮助主题 open it from the program's resources, F1
// in a dialog or a message box opens it where that window or message is explained, and every
// message the program's message tables can give is named in it.
#include "failure_text.h"
#include "analysis/depth_tally.h"
#include "analysis/field_scale.h"
#include "analysis/geomagnetic.h"
#include "analysis/site.h"
#include "analysis/site_block.h"
#include "analysis/survey_warnings.h"
#include "analysis/trajectory.h"
#include "app/analysis/qc_highlight.h"
#include "app/main_frame.h"
#include "app/manual_window.h"
#include "document/document.h"
#include "document/survey_file.h"
#include "platform/file_error.h"
#include "platform/settings.h"
#include "probe/probe_settings.h"
#include "probe/texts.h"
#include "probe/view.h"
#include "survey/le_bytes.h"
#include "run_program.h"
#include "synthetic.h"
#include "table/edit_texts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <set>

using namespace zolm;
using namespace zolm::app;

namespace {

// Acts on the next modal window of type T once it is up.
template <typename T>
void whenModal(std::function<void(T *)> act)
{
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [act, tries, self] {
        if (auto *w = qobject_cast<T *>(QApplication::activeModalWidget()); w && w->isVisible()) {
            act(w);
            return;
        }
        if (++*tries < 1500) {
            if (auto again = self.lock())
                QTimer::singleShot(10, [again] { (*again)(); });
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

class Manual : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("ZOLM_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toUtf8());
        SettingsStore(SettingsStore::defaultIniPath()).writeString(QStringLiteral("comport"), QStringLiteral("SIM"));
        frame = std::make_unique<CMainFrame>();
        frame->resize(1200, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        frame.reset();
        qputenv("ZOLM_SETTINGS", ZOLM_TEST_SETTINGS);
    }
    ManualWindow *shownManual() const
    {
        auto *m = frame->findChild<ManualWindow *>(QString(), Qt::FindDirectChildrenOnly);
        return m && m->isVisible() ? m : nullptr;
    }

    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
};

QString rendered(const QString &markdown)
{
    QTextDocument doc;
    doc.setMarkdown(markdown);
    return doc.toPlainText();
}

} // namespace

TEST_F(Manual, F1AndHelpTopicsOpenTheManualFromTheProgramsResources)
{
    const QString text = manualText();
    ASSERT_FALSE(text.isEmpty()) << "the manual is not in the resources";

    QTest::keyClick(frame.get(), Qt::Key_F1);
    ManualWindow *manual = shownManual();
    ASSERT_NE(manual, nullptr) << "F1 opened no manual";
    EXPECT_EQ(manual->windowTitle(), QStringLiteral("ZOLM 使用手册"));
    EXPECT_EQ(manual->browser()->toPlainText(), rendered(text));
    // The contents list the chapters, the field day first and the messages among them.
    QStringList chapters;
    for (int i = 0; i < manual->contents()->topLevelItemCount(); ++i)
        chapters << manual->contents()->topLevelItem(i)->text(0);
    ASSERT_GE(chapters.size(), 5);
    EXPECT_TRUE(chapters.first().contains(QStringLiteral("野外作业")));
    EXPECT_TRUE(chapters.contains(ManualWindow::messagesChapter()));
    // A chapter chosen in the contents is where the text goes.
    QTreeWidgetItem *messages = manual->contents()->findItems(ManualWindow::messagesChapter(), Qt::MatchExactly).value(0);
    ASSERT_NE(messages, nullptr);
    emit manual->contents()->itemClicked(messages, 0);
    EXPECT_EQ(manual->currentSection(), ManualWindow::messagesChapter());

    // Searching goes from place to place and says when there is nothing.
    EXPECT_TRUE(manual->findNext(QStringLiteral("dialout")));
    EXPECT_EQ(manual->browser()->textCursor().selectedText(), QStringLiteral("dialout"));
    EXPECT_FALSE(manual->findNext(QStringLiteral("手册里没有这句话")));
    EXPECT_TRUE(manual->searchResult()->text().contains(QStringLiteral("找不到")));

    manual->close();
    QAction *topics = nullptr;
    for (QAction *menu : frame->menuBar()->actions()) {
        if (menu->text() == QStringLiteral("帮助(&H)"))
            for (QAction *a : menu->menu()->actions())
                if (a->text() == QStringLiteral("帮助主题(&H)"))
                    topics = a;
    }
    ASSERT_NE(topics, nullptr);
    topics->trigger();
    EXPECT_EQ(shownManual(), manual) << "帮助主题 brings the same manual back";
}

TEST_F(Manual, F1InADialogOrAMessageBoxOpensTheManualWhereItIsExplained)
{
    ManualWindow probe;
    for (const QString &section : manualWindowSections())
        EXPECT_TRUE(probe.showSection(section)) << section.toStdString() << " is no heading of the manual";

    // The port dialog is modal: its manual is a window of its own, which it does not block.
    QString section;
    bool ownWindow = false;
    whenModal<CPortSelectDlg>([&](CPortSelectDlg *d) {
        QTest::keyClick(d, Qt::Key_F1);
        if (auto *m = d->findChild<ManualWindow *>(); m && m->isVisible()) {
            section = m->currentSection();
            ownWindow = m->parentWidget() == d;
        }
        d->reject();
    });
    frame->command(CMainFrame::CmdSelectPort)->trigger();
    EXPECT_EQ(section, QStringLiteral("选择通讯口对话框"));
    EXPECT_TRUE(ownWindow);

    QString line;
    section.clear();
    whenModal<QMessageBox>([&](QMessageBox *box) {
        QTest::keyClick(box, Qt::Key_F1);
        if (auto *m = box->findChild<ManualWindow *>(); m && m->isVisible()) {
            section = m->currentSection();
            line = m->browser()->textCursor().block().text();
        }
        box->accept();
    });
    EXPECT_FALSE(frame->openDocument(dir.filePath(QStringLiteral("没有这个文件.ZLM")), false));
    EXPECT_EQ(section, QStringLiteral("打开和保存文件"));
    EXPECT_TRUE(line.startsWith(QStringLiteral("无法打开文件"))) << line.toStdString();
}

TEST(ManualCommands, NamesEveryCommandOfTheCommandLine)
{
    if (UnderThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer breaks QProcess";
    const ProgramRun help = runProgram(QStringLiteral(ZOLM_CLI_PATH), {QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    const QString manual = rendered(manualText());
    // The commands: the lines after "Commands:", each starting with two blanks and a name.
    static const QRegularExpression command(QStringLiteral("^  ([a-z][a-z-]*)( |$)"));
    int found = 0;
    for (const QString &line : text.mid(text.indexOf(QStringLiteral("Commands:"))).split(QLatin1Char('\n'))) {
        const auto m = command.match(line);
        if (!m.hasMatch())
            continue;
        ++found;
        EXPECT_TRUE(manual.contains(QStringLiteral("zolm-cli ") + m.captured(1) + QLatin1Char('\n'))
                    || manual.contains(QStringLiteral("zolm-cli ") + m.captured(1) + QLatin1Char(' ')))
            << "the manual's command list lacks " << m.captured(1).toStdString();
    }
    EXPECT_GE(found, 16);
}

// ---- Every message of the message tables is in the manual ----------------------------------

namespace {

// Stands for a part of a message that changes (a name, a reason): any text in the manual.
const QString Any = QStringLiteral("\u2062");

// Numbers differ from message to message; the manual gives examples.
QString withoutNumbers(QString s)
{
    static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
    return s.replace(number, QStringLiteral("#"));
}

class MessageCheck {
public:
    MessageCheck()
    {
        for (const QString &line : rendered(manualText()).split(QLatin1Char('\n')))
            m_lines << withoutNumbers(line);
    }
    // Each line of the message is in one line of the manual; the `varying` parts (a file's
    // name, a reason named on its own) may be anything there.
    void expectNamed(QString message, const char *from, const QStringList &varying = {})
    {
        for (const QString &v : varying) {
            if (!v.isEmpty())
                message.replace(v, Any);
        }
        for (QString line : message.split(QLatin1Char('\n'))) {
            line = line.trimmed();
            if (line.isEmpty() || line == Any || m_seen.contains(line))
                continue;
            m_seen.insert(line);
            QStringList parts;
            for (const QString &part : withoutNumbers(line).split(Any))
                parts << QRegularExpression::escape(part);
            const QRegularExpression pattern(parts.join(QStringLiteral(".+")));
            const bool found = std::any_of(m_lines.cbegin(), m_lines.cend(),
                                           [&](const QString &l) { return pattern.match(l).hasMatch(); });
            EXPECT_TRUE(found) << "the manual does not name \"" << line.toStdString() << "\" (" << from << ")";
        }
    }

private:
    QStringList m_lines;
    QSet<QString> m_seen;
};

// What a message holds in full-width brackets, the last such part.
QString bracketed(const QString &message)
{
    const qsizetype open = message.lastIndexOf(QChar(0xFF08));
    const qsizetype close = message.lastIndexOf(QChar(0xFF09));
    return open >= 0 && close > open ? message.mid(open + 1, close - open - 1) : QString();
}

// What follows the last full-width colon: the reason a message gives.
QString reasonOf(const QString &message)
{
    return message.mid(message.lastIndexOf(QChar(0xFF1A)) + 1);
}

} // namespace

TEST(ManualMessages, NamesEveryMessageOfTheProbeAndTheTable)
{
    MessageCheck manual;
    using namespace zolm::probe;
    for (int op = 0; op <= static_cast<int>(Operation::ReadData); ++op) {
        for (int f = 0; f <= static_cast<int>(ErrorCode::ProbeUnverified); ++f) {
            for (const Step step : {Step{}, Step{2, -1}, Step{3, 5}, Step{4, 17}}) {
                for (const bool write : {false, true}) {
                    for (const QString &reason : {QString(), Any}) {
                        probe::Result r;
                        r.code = static_cast<ErrorCode>(f);
                        r.step = step;
                        r.portName = Any;
                        r.portReason = reason;
                        r.portWrite = write;
                        r.rereads = 3;
                        if (const auto box = resultBox(static_cast<Operation>(op), r))
                            manual.expectNamed(box->text, "probe result box");
                    }
                }
            }
        }
    }
    manual.expectNamed(text::noPortChosen(), "no port");
    manual.expectNamed(text::portRefused(Any, {}), "port choice");
    manual.expectNamed(text::portRefused(Any, Any), "port choice");
    manual.expectNamed(discardWarningText(), "probe settings");
    // The settings' checks over the edges of every range.
    for (const int minutes : {-1, 0, 1, 1000, 1001})
        for (const int seconds : {-1, 0, 4, 59, 60})
            for (const int interval : {-1, 0, 1, 255, 256})
                if (const auto refusal = validateSetup({minutes, seconds, interval}))
                    manual.expectNamed(refusal->text, "probe settings check");

    manual.expectNamed(checkNumber(QStringLiteral("x"), Range::Depth).message, "number field");
    for (const NumberRange range : {Range::Declination, Range::StartDepth, Range::CourseLength, Range::Depth})
        manual.expectNamed(rangeMessage(range), "number range");
    manual.expectNamed(tooLongMessage(), "header text");
    manual.expectNamed(notGbkMessage(Any), "header text");
    manual.expectNamed(autoDepthNothingCheckedMessage(), "automatic depth");
}

TEST(ManualMessages, NamesEveryMessageOfFilesAndTheirReasons)
{
    MessageCheck manual;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missingFile = dir.filePath(QStringLiteral("missing.ZLM"));
    const QString missingFolder = dir.filePath(QStringLiteral("no/missing.ZLM"));
    // A Chinese system text is left out of the reason: what remains is the program's own.
    const QString system = QStringLiteral("系统的说明");
    for (int code = 0; code < 2000; ++code) {
        for (const QString &path : {QString(), missingFile, missingFolder, dir.path()}) {
            for (const QString &reason : {code < 200 ? errnoReason(code, system, path) : QString(),
                                          windowsErrorReason(static_cast<quint32>(code), system, path)}) {
                if (!reason.isEmpty() && reason != system)
                    manual.expectNamed(reason, "file error reason");
            }
        }
    }
    manual.expectNamed(errnoReason(0), "file error reason");

    // The survey file's checks, on a whole survey and on what is left of it.
    const auto images = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(20));
    CNDravikDoc doc;
    doc.loadFromProbe(images.parameters.bytes, images.data.bytes);
    const auto saved = serializeSurvey(doc.survey());
    ASSERT_TRUE(saved.ok());
    const QByteArray whole = *saved;
    const auto span = [](const QByteArray &b) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(b.constData()),
                                             static_cast<std::size_t>(b.size()));
    };
    QByteArray tooMany = whole;
    le::put16(reinterpret_cast<std::uint8_t *>(tooMany.data()) + CurrentLayoutFixedSize - 44 + 4, 2000);
    QByteArray negative = whole;
    le::put16(reinterpret_cast<std::uint8_t *>(negative.data()) + CurrentLayoutFixedSize - 44 + 4, 0xFFFF);
    for (const QByteArray &bytes : {QByteArray(), QByteArray(100, 'x'), whole.left(whole.size() - 1), tooMany}) {
        SurveyData survey;
        if (const QString error = test::failureText(parseSurveyFile(span(bytes), survey)); !error.isEmpty())
            manual.expectNamed(error, "survey file");
    }
    for (const QByteArray &bytes : {whole.left(1000), whole + "x", negative})
        manual.expectNamed(inexactReason(span(bytes), static_cast<std::uint64_t>(bytes.size())), "inexact file");
    SurveyData full = doc.survey();
    full.data.setStoredCount(2000);
    QString error = test::failureText(serializeSurvey(full));
    ASSERT_FALSE(error.isEmpty());
    manual.expectNamed(error, "survey file");
    error = test::failureText(doc.openFile(missingFile));
    ASSERT_FALSE(error.isEmpty());
    manual.expectNamed(error, "open", {missingFile, reasonOf(error)});
    error = test::failureText(doc.saveFile(dir.path()));
    ASSERT_FALSE(error.isEmpty());
    manual.expectNamed(error, "save", {dir.path(), reasonOf(error)});

    QFile inexact(dir.filePath(QStringLiteral("inexact.ZLM")));
    ASSERT_TRUE(inexact.open(QIODevice::WriteOnly));
    inexact.write(whole.left(CurrentLayoutFixedSize + 30 * 20) + "x");
    inexact.close();
    ASSERT_TRUE(doc.openFile(inexact.fileName()));
    manual.expectNamed(notExactlySurveyWarning(inexact.fileName(), doc).value_or(QString()), "inexact file warning",
                       {QDir::toNativeSeparators(inexact.fileName())});
}

TEST(ManualMessages, NamesEveryMessageOfTheSiteTheModelAndTheTrajectory)
{
    MessageCheck manual;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double lat : {nan, 0.0, 95.0})
        for (const double lon : {0.0, 400.0})
            for (const double height : {0.0, 1e7})
                for (const double t : {2026.0, 2040.0}) {
                    if (const auto field = geomagneticField({lat, lon, height}, t); !field)
                        manual.expectNamed(field.error().message, "geomagnetic model");
                }

    const Site good(38.71, 116.10, 0, QDate(2026, 5, 20));
    const std::vector<std::function<void(Site &)>> spoil{
        [](Site &s) { s.height = 20000; },
        [](Site &s) { s.verticalSectionAzimuth = 400; },
        [](Site &s) { s.date = QDate(); },
        [](Site &s) { s.fieldScale = 0; },
        [](Site &s) { s.dogLegLimit = 0; },
        [](Site &s) { s.probeStart = QDateTime(); },
        [](Site &s) { s.latitude = 95; },
    };
    for (const auto &change : spoil) {
        Site s = good;
        change(s);
        manual.expectNamed(test::failureText(checkSite(s)), "site check");
    }
    const char32_t notGbk = U'\U0001F600';
    for (const SiteTextField &field : siteTextFields()) {
        for (const QString &text : {QStringLiteral("a\nb"), QString::fromUcs4(&notGbk, 1),
                                    QString(static_cast<qsizetype>(field.size), QLatin1Char('x'))})
            manual.expectNamed(test::failureText(checkSiteText(field, text)), "site text",
                               {siteTextLabel(field), QString::fromUcs4(&notGbk, 1)});
    }

    // The site inside the survey: another version, a damaged block, values out of range.
    SurveyHeader header;
    writeSiteBlock(header, good);
    auto *p = header.bytes.data();
    const auto resum = [&] {
        le::put32(p + SiteBlock::ChecksumOffset,
                  crc32(std::span<const std::uint8_t>(p + SiteBlock::Begin, SiteBlock::ChecksumOffset - SiteBlock::Begin)));
    };
    SurveyHeader newer = header;
    le::put16(newer.bytes.data() + 76, 2);
    manual.expectNamed(readSiteBlock(newer).error, "site block");
    SurveyHeader damaged = header;
    damaged.bytes[150] ^= 1;
    manual.expectNamed(readSiteBlock(damaged).error, "site block");
    le::putF64(p + 96, 20000);
    resum();
    const QString invalid = readSiteBlock(header).error;
    manual.expectNamed(invalid, "site block", {reasonOf(invalid)});

    // A site file beside an older survey.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString survey = dir.filePath(QStringLiteral("a.ZLM"));
    for (const QByteArray &json : {QByteArray(), QByteArray("x"), QByteArray("[]"), QByteArray("{\"latitude\":\"a\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"2026-05-20\",\"height\":\"a\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"2026-05-20\",\"verticalSectionAzimuth\":\"a\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"20.5.2026\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"2026-05-20\",\"fieldScale\":\"a\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"2026-05-20\",\"dogLegLimit\":\"a\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"2026-05-20\",\"probeStart\":\"x\"}"),
                                   QByteArray("{\"latitude\":1,\"longitude\":2,\"date\":\"2026-05-20\",\"client\":1}")}) {
        QFile file(siteFilePath(survey));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(json);
        file.close();
        const QString error = test::failureText(readSite(survey));
        // The reason on its own; a JSON parser's words and the value refused may be anything.
        static const QRegularExpression parserWords(QStringLiteral("（[^）]*）$"));
        QString reason = reasonOf(error);
        manual.expectNamed(error, "site file", {QDir::toNativeSeparators(siteFilePath(survey)), reason});
        manual.expectNamed(reason.replace(parserWords, QStringLiteral("（\u2062）")), "site file",
                           {QStringLiteral("\"20.5.2026\""), QStringLiteral("\"x\"")});
    }
    const QString unwritable = dir.filePath(QStringLiteral("no/a.ZLM"));
    const Done written = writeSite(unwritable, good);
    ASSERT_FALSE(written);
    const QString error = test::failureText(written);
    manual.expectNamed(error, "site file", {QDir::toNativeSeparators(siteFilePath(unwritable)), reasonOf(error)});

    // The QC switch's tooltip of a shot that fails everything, against the model and the medians.
    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    QcPoint shot;
    shot.gravity = notANumber;
    shot.field = 0.55312;
    shot.dField = 0.00412;
    shot.failed = QcGravity | QcField | QcDip;
    for (const auto source : {QcReference::Source::Site, QcReference::Source::Median}) {
        QcReference reference;
        reference.source = source;
        reference.fieldScale = 1.01;
        reference.dip = notANumber;
        manual.expectNamed(qcToolTip(shot, reference, {}), "QC tooltip");
    }

    for (const SkipReason reason : {SkipReason::NotANumber, SkipReason::NoDepth, SkipReason::NotBelowTieIn,
                                    SkipReason::SameDepth, SkipReason::OppositeDirection})
        manual.expectNamed(skipReasonText({0, reason, 12}), "skipped station");
}

TEST(ManualMessages, NamesEveryMessageOfDepthsTheTallyTheFieldScaleAndTheWarnings)
{
    MessageCheck manual;
    manual.expectNamed(depthOverwriteQuestion(3), "depth overwrite");
    manual.expectNamed(depthOverwriteRefusal({5, 6, 7}), "depth overwrite", {QStringLiteral("5, 6, 7")});

    // A tally line of each kind that is refused, with the text it holds.
    const std::pair<const char *, const char *> badLines[]{
        {"10:42 1500 x", "10:42 1500 x"}, {"10.42 1500", "10.42"}, {"10:75 1500", "10:75"},
        {"10:42 15OO", "15OO"},           {"10:42 12000", ""},     {"# 只有注释", ""}};
    for (const auto &[line, quoted] : badLines) {
        const auto parsed = parseTally(QByteArray(line), std::nullopt);
        ASSERT_FALSE(parsed) << line;
        manual.expectNamed(test::failureText(parsed), "tally line", {QString::fromUtf8(quoted)});
    }
    manual.expectNamed(tallyClockNote(), "tally");
    const std::vector<TallyLine> lines{{1, QStringLiteral("00:30:00"), 1800, 100}, {2, QStringLiteral("00:02:00"), 120, 50},
                                       {3, QStringLiteral("00:02:30"), 150, 60}};
    const TallyAssignment assigned = assignTally(lines, std::vector<TallyStop>{{100, 200, 3}});
    ASSERT_EQ(assigned.problems.size(), 3);
    for (const QString &problem : assigned.problems)
        manual.expectNamed(problem, "tally assignment");

    // The field scale: refused calibrations, and the names of where a scale comes from.
    CNDravikDoc doc;
    const auto images = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(40), {0.6, 58.0});
    doc.loadFromProbe(images.parameters.bytes, images.data.bytes);
    SurveyData &survey = doc.survey();
    for (std::size_t i = 0; i < 40; ++i) {
        survey.flags[i] |= PointFlag::Checked;
        survey.depth[i] = 30.0 * static_cast<double>(i + 1);
    }
    const Site site(38.71, 116.10, 0, QDate(2026, 5, 20));
    auto refused = calibrateFieldScale(survey, site);
    ASSERT_FALSE(refused);
    manual.expectNamed(test::failureText(refused), "field scale");
    refused = calibrateFieldScale(survey, Site(95, 0, 0, QDate(2026, 5, 20)));
    ASSERT_FALSE(refused);
    manual.expectNamed(test::failureText(refused), "field scale", {reasonOf(test::failureText(refused))});
    SurveyData empty;
    refused = calibrateFieldScale(empty, site);
    ASSERT_FALSE(refused);
    manual.expectNamed(test::failureText(refused), "field scale");
    SurveyData noField = survey;
    for (std::size_t i = 0; i < 40; ++i)
        noField.values[i][TotalField] = std::numeric_limits<double>::quiet_NaN();
    refused = calibrateFieldScale(noField, site);
    ASSERT_FALSE(refused);
    manual.expectNamed(test::failureText(refused), "field scale");
    for (const auto source : {FieldScaleChoice::Source::Given, FieldScaleChoice::Source::Site,
                              FieldScaleChoice::Source::Probe, FieldScaleChoice::Source::Default}) {
        const QString text = fieldScaleText({1.01, source, QStringLiteral("ZL-2217")});
        manual.expectNamed(text, "field scale source", {bracketed(text)});
        manual.expectNamed(bracketed(text), "field scale source", {QStringLiteral("ZL-2217")});
    }

    // Warnings of every kind: depths out of time order at the start, the middle and the end, a
    // ticked shot without depth, each reason a shot is left out, a zero declination at a site
    // with a model, and dog-legs above a limit from the first station on.
    survey.depth[0] = 5000;
    survey.depth[5] = 900;
    survey.depth[39] = 1;
    survey.depth[10] = 0;
    Trajectory path = computeTrajectory(survey, {});
    for (const SkipReason reason : {SkipReason::NotANumber, SkipReason::NotBelowTieIn, SkipReason::SameDepth,
                                    SkipReason::OppositeDirection})
        path.skipped.push_back({20, reason, 19});
    std::set<SurveyWarningKind> kinds;
    for (const SurveyWarning &w : surveyWarnings(survey, path, site, 0.001)) {
        kinds.insert(w.kind);
        // The part in brackets on its own: where the depth belongs, or what a steep first
        // station means.
        const bool note = w.kind == SurveyWarningKind::DogLeg && w.text.endsWith(QChar(0xFF09));
        const QString detail = w.kind == SurveyWarningKind::DepthOrder || note ? bracketed(w.text) : QString();
        manual.expectNamed(note ? w.text.left(w.text.lastIndexOf(QChar(0xFF08))) : w.text, "warning", {detail});
        manual.expectNamed(detail, "warning");
    }
    EXPECT_EQ(kinds.size(), 4) << "a kind of warning was not made";
}
