// The main window through a field engineer's day: the real widgets offscreen, the real worker
// against the built-in virtual probe, printing onto PDF. Boxes and dialogs the program shows
// are answered from the event loop, as a user would.
#include "analysis/site_block.h"
#include "analysis/stops.h"
#include "app/about_dialog.h"
#include "app/analysis/site_dialog.h"
#include "app/analysis/trajectory_window.h"
#include "app/export_dialogs.h"
#include "app/file_dialog.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/printing.h"
#include "app/probe_dialogs.h"
#include "app/probe_ui.h"
#include "app/progress_window.h"
#include "app/survey_view.h"
#include "app/table_dialogs.h"
#include "output/export.h"
#include "platform/fonts.h"
#include "platform/gbk.h"
#include "platform/settings.h"
#include "probe/port_choice.h"
#include "probe/serial_link.h"
#include "default_sim_run.h"
#include "run_program.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace zolm;
using namespace zolm::app;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString data(const char *name)
{
    return QStringLiteral(ZOLM_TEST_DATA_DIR "/") + QString::fromLatin1(name);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Acts on the next modal window of type T to appear, from the event loop. The answer is
// recorded, so a test can look at what the program showed after the command returned.
template <typename T>
void whenModal(std::function<void(T *)> act)
{
    // The pending timer holds the poll; the poll only refers back to itself weakly, so it is
    // freed once it stops rescheduling.
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

// Closes the next message box with `button`, keeping its text in *text.
void answerBox(QString *text, QMessageBox::StandardButton button = QMessageBox::Ok)
{
    whenModal<QMessageBox>([text, button](QMessageBox *box) {
        if (text)
            *text = box->text();
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
    });
}

// Closes every message box while it lives, keeping its text and, when asked, what else the
// window showed at that moment.
class MessageWatch {
public:
    explicit MessageWatch(std::function<QString()> note = {})
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, note] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts << box->text();
            if (note)
                boxShowed << note();
            box->done(QMessageBox::Ok);
        });
        m_timer.start(10);
    }
    QStringList texts;
    QStringList boxShowed;

private:
    QTimer m_timer;
};

// Fills the fields of the next table dialog and presses its OK button.
void fillDialog(const QStringList &texts, QString *title = nullptr)
{
    whenModal<FieldDialog>([texts, title](FieldDialog *d) {
        if (title)
            *title = d->windowTitle();
        for (int i = 0; i < texts.size(); ++i)
            d->field(i)->setText(texts[i]);
        d->accept();
    });
}

void acceptFile(const QString &path)
{
    whenModal<QFileDialog>([path](QFileDialog *d) {
        d->selectFile(path);
        static_cast<QDialog *>(d)->accept(); // the file dialog's own checks run
    });
}

// Notes whether a window was ever shown.
class ShowSpy : public QObject {
public:
    explicit ShowSpy(QWidget *w) { w->installEventFilter(this); }
    bool shown = false;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        shown = shown || e->type() == QEvent::Show;
        return false;
    }
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A settings file of the test's own: ctest may run tests of this suite side by side.
        qputenv("ZOLM_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toUtf8());
        SettingsStore(SettingsStore::defaultIniPath()).writeString(QStringLiteral("comport"), QStringLiteral("SIM"));
        frame = std::make_unique<CMainFrame>();
        frame->resize(1200, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        frame->document().setModified(false);
        frame.reset();
        qputenv("ZOLM_SETTINGS", ZOLM_TEST_SETTINGS);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    CNDravikView &view() { return *frame->view(); }
    SurveyTable &table() { return frame->table(); }
    QString cell(int row, int column) { return view().model()->index(row, column).data().toString(); }
    bool shown(int templateId) { return frame->bar(templateId) && !frame->bar(templateId)->isHidden(); }
    QString buttonText(int id)
    {
        return frame->findChild<QToolButton *>(QStringLiteral("button%1").arg(id))->text();
    }
    void run(int command) { frame->command(command)->trigger(); }
    void open(const char *name = "small.ZLM") { ASSERT_TRUE(frame->openDocument(data(name), false)); }
    bool pointChecked(int p) const
    {
        return (frame->document().survey().flags[static_cast<std::size_t>(p)] & PointFlag::Checked) != 0;
    }
    // 40 synthetic points as a probe read gives them, checked, 10 m apart; point 5's total
    // field reads 0.01 high.
    void loadSurvey()
    {
        const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(40));
        frame->document().loadFromProbe(s.parameters.bytes, s.data.bytes);
        for (std::size_t i = 0; i < 40; ++i) {
            frame->document().survey().flags[i] |= PointFlag::Checked;
            frame->document().survey().depth[i] = 10.0 * static_cast<double>(i + 1);
        }
        frame->document().survey().values[5][TotalField] += 0.01;
        view().refillTable();
    }
    QVariant rowData(int point, int role) { return view().model()->index(table().rowForPoint(point), tableColumn(Quantity::Time)).data(role); }
    // The site dialog's answer: the site, then OK or the button that also sets the declination.
    void enterSite(bool setDeclination)
    {
        whenModal<SiteDialog>([setDeclination](SiteDialog *d) {
            d->latitudeBox()->setValue(36.5);
            d->longitudeBox()->setValue(117.0);
            d->heightBox()->setValue(50);
            d->dateBox()->setDate(QDate(2026, 3, 14));
            QAbstractButton *ok = d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            (setDeclination ? d->setDeclinationButton() : ok)->click();
        });
        run(CMainFrame::CmdSite);
    }

    QTemporaryDir dir;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(MainWindow, StartsWithoutDataThenOpensAFileWithItsCaptionsAndBars)
{
    EXPECT_EQ(view().model()->rowCount(), 0);
    for (const int bar : {128, 135, 131, 130, 134})
        EXPECT_TRUE(shown(bar)) << bar;
    for (const int bar : {137, 139, 138, 150})
        EXPECT_FALSE(shown(bar)) << bar;
    EXPECT_EQ(frame->bar(162), nullptr); // no trajectory program here
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("无标题")));
    EXPECT_EQ(frame->portBox()->currentText(), QStringLiteral("SIM"));

    open();
    const int n = frame->document().pointCount();
    ASSERT_GT(n, 0);
    EXPECT_EQ(view().model()->rowCount(), n);
    for (const int bar : {137, 139, 138, 150})
        EXPECT_TRUE(shown(bar)) << bar;
    EXPECT_EQ(view().model()->headerData(tableColumn(Quantity::Depth), Qt::Horizontal).toString(), QStringLiteral("测  深"));
    EXPECT_EQ(view().columnWidth(CheckColumn), 21);
    EXPECT_EQ(view().columnWidth(tableColumn(Quantity::Temperature)), 100);
    EXPECT_TRUE(view().font().families().contains(QStringLiteral("WenQuanYi Micro Hei")));
    // The model shows the table logic's texts and checks, row by row.
    for (int r = 0; r < n; ++r) {
        EXPECT_EQ(cell(r, tableColumn(Quantity::Time)).toStdString(), table().cellText(r, tableColumn(Quantity::Time)));
        EXPECT_EQ(cell(r, tableColumn(Quantity::TotalField)).toStdString(), table().cellText(r, tableColumn(Quantity::TotalField)));
        EXPECT_EQ(view().model()->index(r, CheckColumn).data(Qt::CheckStateRole).toInt() == Qt::Checked,
                  table().isRowChecked(r));
    }
    EXPECT_EQ(view().currentIndex().row(), 0);
    EXPECT_EQ(buttonText(CMainFrame::CmdCrew), crewCaption(table().crewText()));
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("small.ZLM")));
    EXPECT_EQ(frame->recentFiles().value(0), QFileInfo(data("small.ZLM")).absoluteFilePath());

    // A new document has no rows left over from the survey before it.
    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(view().model()->rowCount(), 0);
    EXPECT_TRUE(frame->documentPath().isEmpty());
}

TEST_F(MainWindow, ReadsASurveyFromTheVirtualProbe)
{
    open(); // a saved file is open: the survey read must not be saved over it
    // Changes not saved: Cancel in the question aborts the read.
    run(CMainFrame::CmdCheckAll);
    QString question;
    answerBox(&question, QMessageBox::Cancel);
    run(CMainFrame::CmdReadProbe);
    EXPECT_FALSE(question.isEmpty());
    EXPECT_FALSE(frame->probe()->busy());
    answerBox(nullptr, QMessageBox::No);

    QString result;
    answerBox(&result);
    ShowSpy progress(frame->probe()->progressWindow());
    run(CMainFrame::CmdReadProbe);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !result.isEmpty(); }, 20000));
    EXPECT_EQ(result, QStringLiteral("探管中的数据已成功读出到表格中。"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().model()->rowCount() == zolm::testing::defaultSimRunShots(); }, 5000));
    EXPECT_TRUE(shown(139));
    EXPECT_TRUE(progress.shown);
    // A survey just read is new and unsaved: closing asks, and saving asks for a name.
    EXPECT_TRUE(frame->document().isModified());
    EXPECT_TRUE(frame->documentPath().isEmpty());
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("无标题[*]")));
}

TEST_F(MainWindow, TicksHidesReversesAndFillsDepthsOfTickedPoints)
{
    open();
    const int n = frame->document().pointCount();
    ASSERT_GE(n, 5);
    run(CMainFrame::CmdCheckNone);
    // A click on a check box ticks the row's point.
    for (const int r : {0, 2, 3}) {
        const QRect box = view().visualRect(view().model()->index(r, CheckColumn));
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, box.center());
    }
    EXPECT_TRUE(pointChecked(0) && pointChecked(2) && pointChecked(3));
    EXPECT_FALSE(pointChecked(1));
    EXPECT_TRUE(frame->document().isModified());

    // A refused start depth keeps the dialog open; the corrected one fills 100, 70, 40.
    QString refusal;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        d->field(0)->setText(QStringLiteral("29.9"));
        answerBox(&refusal);
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->field(0)->setText(QStringLiteral("100"));
        // Point 3 holds a depth typed before: replacing it is asked.
        answerBox(nullptr, QMessageBox::Yes);
        d->accept();
    });
    run(CMainFrame::CmdAutoDepth);
    EXPECT_EQ(refusal, rangeMessage(Range::StartDepth));
    const auto &depth = frame->document().survey().depth;
    EXPECT_EQ(depth[0], 100.0);
    EXPECT_EQ(depth[2], 70.0);
    EXPECT_EQ(depth[3], 40.0);
    EXPECT_EQ(cell(2, tableColumn(Quantity::Depth)), QStringLiteral("70.00"));

    run(CMainFrame::CmdHideChecked);
    EXPECT_EQ(view().model()->rowCount(), n - 3);
    run(CMainFrame::CmdOnlyChecked);
    EXPECT_EQ(view().model()->rowCount(), 3);
    run(CMainFrame::CmdReverse);
    EXPECT_EQ(cell(0, tableColumn(Quantity::Depth)), QStringLiteral("40.00"));
    EXPECT_EQ(cell(0, tableColumn(Quantity::Sequence)), QStringLiteral("0"));
    run(CMainFrame::CmdShowAll);
    EXPECT_EQ(view().model()->rowCount(), n);
    EXPECT_EQ(table().pointForRow(0), n - 1); // still reversed
    run(CMainFrame::CmdInvert);
    EXPECT_FALSE(pointChecked(0));
    EXPECT_TRUE(pointChecked(1));

    // Without a ticked point the command only says so.
    run(CMainFrame::CmdCheckNone);
    QString message;
    answerBox(&message);
    run(CMainFrame::CmdAutoDepth);
    EXPECT_EQ(message, autoDepthNothingCheckedMessage());
}

// "自动选点" on the virtual probe's run: one tick per stop, where the finder puts it, every
// other tick gone, and a message; without a stop nothing changes.
TEST_F(MainWindow, PickStationsTicksOneShotOfEachStopAndSaysWhatItFound)
{
    const sim::MultiShotRun &simRun = zolm::testing::defaultSimRun();
    frame->document().loadFromProbe(simRun.memory.parameters.bytes, simRun.memory.data.bytes);
    view().refillTable();
    run(CMainFrame::CmdCheckAll);
    frame->document().setModified(false);

    QString message;
    answerBox(&message);
    frame->findChild<QToolButton *>(QStringLiteral("button%1").arg(CMainFrame::CmdPickStations))->click();
    const std::vector<Stop> stops = findStops(frame->document().survey());
    ASSERT_EQ(stops.size(), simRun.stations.size());
    std::vector<int> ticked;
    for (int p = 0; p < frame->document().pointCount(); ++p)
        if (pointChecked(p))
            ticked.push_back(p);
    ASSERT_EQ(ticked.size(), stops.size());
    for (std::size_t k = 0; k < stops.size(); ++k) {
        EXPECT_EQ(ticked[k], stops[k].representative);
        EXPECT_EQ(simRun.shots[static_cast<std::size_t>(ticked[k])].station, static_cast<int>(k));
    }
    EXPECT_TRUE(frame->document().isModified());
    EXPECT_TRUE(message.contains(QStringLiteral("找到 %1 个测站").arg(stops.size()))) << message.toStdString();
    // The table shows the new ticks.
    const auto checkState = [this](int point) {
        return view().model()->index(table().rowForPoint(point), CheckColumn).data(Qt::CheckStateRole).toInt();
    };
    EXPECT_EQ(checkState(ticked[0]), Qt::Checked);
    EXPECT_EQ(checkState(stops[0].lastPoint + 1), Qt::Unchecked);

    // Synthetic points, each at another attitude: no stop, the ticks stay, and the menu's
    // item says so.
    loadSurvey();
    ASSERT_TRUE(findStops(frame->document().survey()).empty());
    frame->document().setModified(false);
    answerBox(&message);
    run(CMainFrame::CmdPickStations);
    EXPECT_TRUE(message.startsWith(QStringLiteral("没有找到测站"))) << message.toStdString();
    for (int p = 0; p < 40; ++p)
        EXPECT_TRUE(pointChecked(p)) << p;
    EXPECT_FALSE(frame->document().isModified());
}

// Automatic depth counts up when told so, and asks before depths entered earlier go: No
// leaves the dialog open, Yes fills them.
TEST_F(MainWindow, AutoDepthCountsUpAndAsksBeforeReplacingEnteredDepths)
{
    loadSurvey(); // 40 ticked points, 10 m apart
    QString question;
    bool stayedOpen = false;
    whenModal<AutoDepthDialog>([&](AutoDepthDialog *d) {
        EXPECT_TRUE(d->downButton()->isChecked()); // the original's way first
        d->upButton()->click();
        d->field(0)->setText(QStringLiteral("30"));
        d->field(1)->setText(QStringLiteral("10"));
        answerBox(&question, QMessageBox::No);
        d->accept();
        stayedOpen = d->isVisible();
        answerBox(nullptr, QMessageBox::Yes);
        d->accept();
    });
    run(CMainFrame::CmdAutoDepth);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(question, depthOverwriteQuestion(40));
    const auto &depth = frame->document().survey().depth;
    EXPECT_EQ(depth[0], 30.0);
    EXPECT_EQ(depth[1], 40.0);
    EXPECT_EQ(depth[39], 420.0);
}

// The tally through the Edit menu: the stops take their depths, a line that finds no stop is
// named, and the status bar's warning of ticked shots without depth goes.
TEST_F(MainWindow, TallyImportFillsTheStopsAndTheWarningsFollow)
{
    const sim::MultiShotRun &simRun = zolm::testing::defaultSimRun();
    frame->document().loadFromProbe(simRun.memory.parameters.bytes, simRun.memory.data.bytes);
    view().refillTable();
    answerBox(nullptr);
    run(CMainFrame::CmdPickStations);
    EXPECT_TRUE(frame->warningLabel()->toolTip().contains(QStringLiteral("已选择但没有井深")))
        << frame->warningLabel()->toolTip().toStdString();

    QFile tally(path("tally.txt"));
    ASSERT_TRUE(tally.open(QIODevice::WriteOnly));
    const QByteArray text = sim::tallyText(sim::RunOptions{}, simRun);
    tally.write(text + "00:00:05 12.5\n");
    tally.close();
    QString message;
    acceptFile(path("tally.txt"));
    answerBox(&message);
    // In the Edit menu, beside automatic depth.
    QMenu *editMenu = nullptr;
    for (QAction *a : frame->menuBar()->actions()) {
        if (a->text() == QStringLiteral("编辑(&E)"))
            editMenu = a->menu();
    }
    ASSERT_TRUE(editMenu);
    EXPECT_TRUE(editMenu->actions().contains(frame->command(CMainFrame::CmdImportTally)));
    run(CMainFrame::CmdImportTally);
    EXPECT_TRUE(message.contains(QStringLiteral("填入 %1 个测点的井深").arg(simRun.stations.size()))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("第 %1 行（00:00:05 12.50）").arg(text.count('\n') + 1))) << message.toStdString();
    int withDepth = 0;
    for (int p = 0; p < frame->document().pointCount(); ++p)
        withDepth += pointChecked(p) && frame->document().survey().depth[static_cast<std::size_t>(p)] >= 0.01 ? 1 : 0;
    EXPECT_EQ(withDepth, static_cast<int>(simRun.stations.size()));
    EXPECT_TRUE(frame->document().isModified());
    EXPECT_FALSE(frame->warningLabel()->toolTip().contains(QStringLiteral("没有井深")))
        << frame->warningLabel()->toolTip().toStdString();
}

// The field day twice over: the virtual probe's run read at the desktop, its stations picked,
// its depths taken from the simulator's tally and saved is, byte for byte, the survey that
// zolm-cli's read, stations --apply and edit --tally make; the trajectory window shows the
// stations and QC verdicts that `trajectory` and `qc` print for it.
TEST_F(MainWindow, DesktopAndCommandLineMakeTheSameSurveyOfTheSimRun)
{
    QString result;
    answerBox(&result);
    run(CMainFrame::CmdReadProbe);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !result.isEmpty(); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().model()->rowCount() == zolm::testing::defaultSimRunShots(); }, 5000));
    answerBox(nullptr);
    run(CMainFrame::CmdPickStations);
    QFile tally(path("tally.txt"));
    ASSERT_TRUE(tally.open(QIODevice::WriteOnly));
    tally.write(sim::tallyText(sim::RunOptions{}, zolm::testing::defaultSimRun()));
    tally.close();
    acceptFile(path("tally.txt"));
    answerBox(nullptr);
    run(CMainFrame::CmdImportTally);
    acceptFile(path("desktop"));
    run(CMainFrame::CmdSaveAs);

    const auto cli = [](const QStringList &args) {
        const ProgramRun r = runProgram(QStringLiteral(ZOLM_CLI_PATH), args);
        EXPECT_EQ(r.exitCode, 0) << args.join(QLatin1Char(' ')).toStdString() << ": " << r.err.toStdString();
        return QString::fromUtf8(r.out);
    };
    const QString file = path("cli.ZLM");
    cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM"), QStringLiteral("-o"), file, QStringLiteral("--quiet")});
    cli({QStringLiteral("stations"), file, QStringLiteral("--apply")});
    cli({QStringLiteral("edit"), file, QStringLiteral("--tally"), path("tally.txt")});
    ASSERT_EQ(readAll(path("desktop.ZLM")), readAll(file));

    run(CMainFrame::CmdTrajectoryWindow);
    const QAbstractItemModel *stations = frame->trajectoryWindow()->table()->model();
    QStringList rows = cli({QStringLiteral("trajectory"), file}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    rows.removeFirst(); // the heading
    ASSERT_EQ(stations->rowCount(), static_cast<int>(zolm::testing::defaultSimRun().stations.size()));
    ASSERT_EQ(rows.size(), stations->rowCount());
    const QJsonArray qc = QJsonDocument::fromJson(cli({QStringLiteral("qc"), file, QStringLiteral("--json")}).toUtf8())
                              .object().value(QStringLiteral("points")).toArray();
    for (int r = 0; r < stations->rowCount(); ++r) {
        const QStringList cells = rows[r].split(QLatin1Char('\t'));
        const int point = stations->index(r, StationModel::ColPoint).data().toInt();
        EXPECT_EQ(cells[0].toInt(), point);
        EXPECT_EQ(cells[1], stations->index(r, StationModel::ColMd).data().toString()) << r;
        EXPECT_EQ(cells[2], stations->index(r, StationModel::ColInclination).data().toString()) << r;
        EXPECT_EQ(cells[3], stations->index(r, StationModel::ColAzimuth).data().toString()) << r;
        EXPECT_EQ(stations->index(r, StationModel::ColQc).data().toString() == QStringLiteral("合格"),
                  qc.at(point).toObject().value(QStringLiteral("pass")).toBool()) << r;
    }
}

TEST_F(MainWindow, HeaderFieldsSetTheirCaptions)
{
    open();
    // Eight Chinese characters are 16 bytes: refused, the dialog stays; seven are taken.
    QString refusal;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        EXPECT_EQ(d->field(0)->maxLength(), 14);
        d->field(0)->setText(QStringLiteral("一二三四五六七八"));
        answerBox(&refusal);
        d->accept();
        d->field(0)->setText(QStringLiteral("一二三四五六七"));
        d->accept();
    });
    run(CMainFrame::CmdCrew);
    EXPECT_EQ(refusal, tooLongMessage());
    EXPECT_EQ(buttonText(CMainFrame::CmdCrew), QStringLiteral("井队编号: 一二三四五六七"));

    // Text that GBK cannot hold is refused, never stored as '?'.
    QString unstorable;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        d->field(0)->setText(QStringLiteral("W-\U0001F600"));
        answerBox(&unstorable);
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->reject();
    });
    run(CMainFrame::CmdWell);
    EXPECT_EQ(unstorable, notGbkMessage(QStringLiteral("\U0001F600")));
    EXPECT_EQ(table().wellText(), QStringLiteral("W%d-1")) << "cancelled: nothing stored";

    fillDialog({QStringLiteral("W-7")});
    run(CMainFrame::CmdWell);
    EXPECT_EQ(buttonText(CMainFrame::CmdWell), QStringLiteral("井号: W-7"));

    QString title;
    fillDialog({QStringLiteral("-0.123")}, &title);
    run(CMainFrame::CmdDeclination);
    EXPECT_EQ(title, QStringLiteral("输入磁偏角"));
    EXPECT_EQ(buttonText(CMainFrame::CmdDeclination), QStringLiteral("磁偏角: -0.12"));
    EXPECT_TRUE(frame->windowTitle().contains(QStringLiteral("[*]")));
    EXPECT_TRUE(frame->isWindowModified());
}

// The crew and well edits take at most 14 GBK bytes as they are typed or pasted, so that 9
// Chinese characters cannot get in at all; a longer text given otherwise can still be shortened.
TEST_F(MainWindow, CrewAndWellEditsCountGbkBytesWhileTyping)
{
    open();
    const auto typeText = [](QLineEdit *edit, const QString &text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &release);
        }
    };
    for (const int command : {CMainFrame::CmdCrew, CMainFrame::CmdWell}) {
        QStringList seen;
        whenModal<FieldDialog>([&](FieldDialog *d) {
            QLineEdit *edit = d->field(0);
            edit->clear();
            typeText(edit, QStringLiteral("一二三四五六七八九"));
            seen << edit->text();
            edit->clear();
            typeText(edit, QStringLiteral("AB一二三四五六七X"));
            seen << edit->text();
            edit->clear();
            QApplication::clipboard()->setText(QStringLiteral("甲乙丙丁戊己庚辛"));
            edit->paste();
            seen << edit->text();
            edit->setText(QStringLiteral("一二三四五六七八"));
            edit->end(false);
            edit->backspace();
            seen << edit->text();
            d->accept();
        });
        run(command);
        EXPECT_EQ(seen, (QStringList{QStringLiteral("一二三四五六七"), QStringLiteral("AB一二三四五六"), QString(),
                                     QStringLiteral("一二三四五六七")}))
            << command;
    }
    EXPECT_EQ(buttonText(CMainFrame::CmdWell), QStringLiteral("井号: 一二三四五六七"));
}

TEST_F(MainWindow, DepthIsEnteredByEnterAndByDoubleClickOnTheDepthCell)
{
    open();
    view().setCurrentIndex(view().model()->index(2, tableColumn(Quantity::Time)));
    QString refusal;
    QString title;
    whenModal<FieldDialog>([&](FieldDialog *d) {
        title = d->windowTitle();
        d->field(0)->setText(QStringLiteral("12000"));
        answerBox(&refusal);
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->field(0)->setText(QStringLiteral("12.5"));
        d->accept();
    });
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_EQ(title, QStringLiteral("输入测深数据(单位:米)"));
    EXPECT_EQ(refusal, rangeMessage(Range::Depth));
    EXPECT_EQ(cell(2, tableColumn(Quantity::Depth)), QStringLiteral("12.50"));

    // Double click: only the depth cell opens the dialog.
    const QPoint timeCell = view().visualRect(view().model()->index(3, tableColumn(Quantity::Time))).center();
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, timeCell);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    fillDialog({QStringLiteral("0.004")});
    const QPoint depthCell = view().visualRect(view().model()->index(3, tableColumn(Quantity::Depth))).center();
    QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, depthCell);
    EXPECT_EQ(frame->document().survey().depth[static_cast<std::size_t>(table().pointForRow(3))], 0.004);
    EXPECT_EQ(cell(3, tableColumn(Quantity::Depth)), QStringLiteral("0"));
}

TEST_F(MainWindow, ExportsInTheChosenFormat)
{
    open();
    // The stored default format gives the golden file.
    acceptFile(path("default"));
    run(CMainFrame::CmdExport);
    EXPECT_EQ(readAll(path("default.txt")), readAll(data("small.export.txt")));

    // Title on, comma, "时间" added at the end and moved up to the front.
    whenModal<CExportFormatDlg>([](CExportFormatDlg *d) {
        d->titleCheck()->setChecked(true);
        d->commaRadio()->setChecked(true);
        d->availableList()->findItems(QStringLiteral("时间"), Qt::MatchExactly).value(0)->setSelected(true);
        d->add();
        ASSERT_EQ(d->chosenList()->count(), 4);
        for (int i = 0; i < 3; ++i) {
            d->chosenList()->clearSelection();
            d->chosenList()->item(3 - i)->setSelected(true);
            d->up();
        }
        d->accept();
    });
    frame->document().setModified(false);
    run(CMainFrame::CmdExportFormat);
    EXPECT_TRUE(frame->document().isModified());
    acceptFile(path("chosen.txt"));
    run(CMainFrame::CmdExport);
    const QList<QByteArray> lines = readAll(path("chosen.txt")).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0].toStdString(), toGbk(QStringLiteral("时间,测深,井斜,磁方位\r")));
    EXPECT_EQ(lines[1], QByteArray("0.0,0.0,0.0,0.0\r"));
    EXPECT_TRUE(lines[2].startsWith(QByteArray::fromStdString(table().cellText(0, tableColumn(Quantity::Time))) + ','));

    // Cancelling the save dialog writes nothing.
    whenModal<QFileDialog>([](QFileDialog *d) { d->reject(); });
    run(CMainFrame::CmdExport);
    EXPECT_FALSE(QFile::exists(path("DDData.txt")));
}

TEST_F(MainWindow, PrintLayoutsGiveTheirPagesAndOrientation)
{
    const std::vector<sim::Station> stations(60, sim::Station{10.0, 45.0, 0.0, 25.0});
    const auto survey = sim::makeSurvey(sim::CalibrationKind::Ideal, stations, {}, 600, 10);
    frame->document().loadFromProbe(survey.parameters.bytes, survey.data.bytes);
    view().refillTable();
    const int rows = table().rowCount();
    struct Case {
        const char *radio;
        int pages;
        QPageLayout::Orientation orientation;
    };
    const Case cases[] = {{"radio1031", (rows + 24) / 25, QPageLayout::Landscape},
                          {"radio1032", 1, QPageLayout::Landscape},
                          {"radio1470", (rows + 137) / 138, QPageLayout::Portrait}};
    for (const Case &c : cases) {
        auto *radio = frame->findChild<QRadioButton *>(QString::fromLatin1(c.radio));
        QTest::mouseClick(radio, Qt::LeftButton);
        EXPECT_EQ(frame->printing().printer().pageLayout().orientation(), c.orientation) << c.radio;
        int pages = -1;
        whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
            auto *preview = d->findChild<QPrintPreviewWidget *>();
            EXPECT_TRUE(QTest::qWaitFor([&] { return preview->pageCount() > 0; }, 5000));
            pages = preview->pageCount();
            d->reject();
        });
        run(CMainFrame::CmdBarPreview);
        EXPECT_EQ(pages, c.pages) << c.radio;
    }
    EXPECT_TRUE(frame->command(CMainFrame::CmdLayoutEconomy)->isChecked());
    EXPECT_FALSE(frame->command(CMainFrame::CmdLayoutMulti)->isChecked());

    // Print without a dialog, onto a PDF.
    QPrinter &printer = frame->printing().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("report.pdf"));
    run(CMainFrame::CmdPrintDirect);
    EXPECT_TRUE(readAll(path("report.pdf")).startsWith("%PDF"));
}

TEST_F(MainWindow, PortChangesOnTheBarAndInTheDialog)
{
    SettingsStore store(SettingsStore::defaultIniPath());
    // A device that cannot be opened: the reason is shown and nothing changes.
    QString message;
    answerBox(&message);
    frame->portChosenOnBar(QStringLiteral("/dev/zolm-no-such-port"));
    EXPECT_TRUE(message.contains(QStringLiteral("/dev/zolm-no-such-port")));
    EXPECT_EQ(frame->portBox()->currentText(), QStringLiteral("SIM"));
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), QStringLiteral("SIM"));
    EXPECT_EQ(frame->probe()->portName(), QStringLiteral("SIM"));

    // The dialog also holds whether a read compares a second pass; OK stores it.
    EXPECT_TRUE(storedVerifyRead(store));
    whenModal<CPortSelectDlg>([&](CPortSelectDlg *d) {
        auto *verify = d->findChild<QCheckBox *>(QStringLiteral("verifyRead"));
        ASSERT_NE(verify, nullptr);
        EXPECT_EQ(verify->text(), QStringLiteral("读取时校验数据"));
        EXPECT_TRUE(verify->isChecked());
        verify->setChecked(false);
        d->accept();
    });
    run(CMainFrame::CmdSelectPort);
    EXPECT_FALSE(storedVerifyRead(store));

    // A pseudo-terminal opens: it becomes the port everywhere, and SIM comes back the same way.
#ifdef _WIN32
    GTEST_SKIP() << "the rest needs a port that opens: a pseudo-terminal, which Windows does not have";
#else
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString pty = QString::fromLatin1(ptsname(master));
    whenModal<CPortSelectDlg>([&](CPortSelectDlg *d) {
        EXPECT_EQ(d->port(), QStringLiteral("SIM"));
        d->portBox()->setCurrentText(pty);
        d->accept();
    });
    run(CMainFrame::CmdSelectPort);
    EXPECT_EQ(frame->portBox()->currentText(), pty);
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), pty);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->probe()->portName() == pty; }, 5000));
    frame->portChosenOnBar(QStringLiteral("SIM"));
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), QStringLiteral("SIM"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->probe()->portName() == QStringLiteral("SIM"); }, 5000));
    ::close(master);
#endif
}

// A port typed into the bar's box is tried as a chosen one is, on Enter and on leaving the box;
// a failed one is taken back before its message shows. Any length of name is kept whole.
TEST_F(MainWindow, PortTypedIntoTheBarIsTriedAndKeptWhole)
{
    SettingsStore store(SettingsStore::defaultIniPath());
    PortBox *box = frame->portBox();
    QLineEdit *edit = box->lineEdit();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
#ifdef _WIN32
    const QString missing = QStringLiteral("COM250"); // typed in capitals, at most 18 characters
#else
    const QString missing = QStringLiteral("/dev/zolm-no-such-port");
#endif
    const auto type = [&](const QString &name) {
        frame->activateWindow(); // the message boxes took it
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, name);
    };
    {
        MessageWatch boxes([&] { return box->currentText(); });
        type(missing);
        QTest::keyClick(edit, Qt::Key_Return);
        view().setFocus(); // leaving the box afterwards tries nothing more
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts[0].contains(missing)) << boxes.texts[0].toStdString();
        EXPECT_EQ(boxes.boxShowed, QStringList{QStringLiteral("SIM")}); // already back when the message showed
        EXPECT_EQ(box->currentText(), QStringLiteral("SIM"));
        EXPECT_EQ(frame->probe()->portName(), QStringLiteral("SIM"));

        // The dialog compares its choice with the port in use, not with what the box shows.
        edit->setText(missing);
        whenModal<CPortSelectDlg>([&](CPortSelectDlg *d) {
            EXPECT_EQ(d->port(), QStringLiteral("SIM"));
            d->portBox()->setCurrentText(missing);
            d->accept();
        });
        run(CMainFrame::CmdSelectPort);
        ASSERT_EQ(boxes.texts.size(), 2);
        EXPECT_TRUE(boxes.texts[1].contains(missing));
        EXPECT_EQ(box->currentText(), QStringLiteral("SIM"));
    }
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), QStringLiteral("SIM"));

#ifdef _WIN32
    GTEST_SKIP() << "the rest needs a port that opens: a pseudo-terminal, which Windows does not have";
#else
    // A name as long as /dev/serial/by-id gives them, typed and left: taken whole, shown
    // elided in the middle with the whole name as tooltip.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString longName = dir.filePath(QStringLiteral("usb-ZOLM_Probe_Link_A50285BI-if00-port0"));
    ASSERT_TRUE(QFile::link(QString::fromLatin1(ptsname(master)), longName));
    {
        MessageWatch boxes;
        type(longName);
        view().setFocus();
        EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(store.readString(QStringLiteral("comport"), {}), longName);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->probe()->portName() == longName; }, 5000));
    EXPECT_EQ(box->currentText(), longName);
    EXPECT_EQ(box->toolTip(), longName);
    const QString shown = box->shownText();
    EXPECT_TRUE(shown.startsWith(longName.left(3)) && shown.endsWith(QStringLiteral("port0"))
                && shown.contains(QChar(0x2026)))
        << shown.toStdString();
    ::close(master);
#endif
}

// Until a port is chosen, Linux takes the first USB serial adapter, and with none every probe
// command asks for a port; nothing is stored meanwhile.
TEST_F(MainWindow, WithoutAPortTheProbeCommandsAskForOne)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows starts with COM1, as the original did";
#else
    QStringList system;
    for (const auto &[name, description] : probe::SerialLink::systemPorts())
        system << name;
    if (!probe::firstUsbAdapter(system).isEmpty())
        GTEST_SKIP() << "this machine has a USB serial adapter, which would be the port";
    frame.reset();
    ASSERT_TRUE(QFile::remove(SettingsStore::defaultIniPath()));
    frame = std::make_unique<CMainFrame>();
    frame->show();
    EXPECT_EQ(frame->portBox()->currentText(), QString());
    EXPECT_EQ(frame->probe()->portName(), QString());
    frame->document().setModified(true); // a read asks for the port before "save changes?"
    for (const int command : {CMainFrame::CmdLinkTest, CMainFrame::CmdProbeInfo, CMainFrame::CmdReadProbe,
                              CMainFrame::CmdRealTime, CMainFrame::CmdProbeSettings}) {
        QString text;
        answerBox(&text);
        run(command);
        EXPECT_EQ(text, QStringLiteral("请选择通讯口")) << command;
    }
    EXPECT_FALSE(SettingsStore(SettingsStore::defaultIniPath()).contains(QStringLiteral("comport")));
#endif
}

// Qt's own file dialog reads each listed file's first bytes to guess its type, and a read in
// /proc may never return: every file dialog of the program goes by the names alone.
TEST_F(MainWindow, FileDialogsTellTypesFromNamesWithoutReadingFiles)
{
    loadSurvey();
    frame->document().setModified(false);
    std::vector<bool> byName;
    const auto expectDialog = [&] {
        whenModal<QFileDialog>([&](QFileDialog *d) {
            byName.push_back(qobject_cast<FileDialog *>(d) && listsByNameOnly(*d));
            d->reject();
        });
    };
    expectDialog();
    run(CMainFrame::CmdOpen);
    expectDialog();
    run(CMainFrame::CmdSaveAs);
    expectDialog();
    run(CMainFrame::CmdExport);
    frame->showTrajectoryWindow();
    ASSERT_TRUE(frame->trajectoryWindow()->formatButton("csv")->isEnabled());
    expectDialog();
    frame->trajectoryWindow()->formatButton("csv")->click();
    EXPECT_EQ(byName, std::vector<bool>(4, true));

    // A PDF without its extension: Qt's own provider reads it, the dialogs' does not.
    QFile pdf(path("report"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n");
    pdf.close();
    const QFileInfo info(pdf.fileName());
    const QString byNameOnly = NameOnlyIconProvider().type(info);
    EXPECT_EQ(byNameOnly, QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream")).comment());
    if (QMimeDatabase().mimeTypeForFile(info).name() == QLatin1String("application/pdf")) { // its bytes tell
        EXPECT_NE(QFileIconProvider().type(info), byNameOnly);
    }

    // Dialogs Qt makes by itself (print to file) get the same once they show.
    QObject *guard = guardFileDialogs(*qApp);
    QFileDialog plain;
    plain.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_FALSE(listsByNameOnly(plain));
    plain.show();
    EXPECT_TRUE(listsByNameOnly(plain));
    plain.hide();
    delete guard;
}

TEST_F(MainWindow, SavedSurveyReopensToTheSameBytesAndClosingAsks)
{
    ASSERT_TRUE(QFile::copy(data("small.ZLM"), path("a.ZLM")));
    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    run(CMainFrame::CmdCheckAll);
    run(CMainFrame::CmdSave); // an opened survey is saved in place, without a dialog
    EXPECT_FALSE(frame->document().isModified());
    EXPECT_NE(readAll(path("a.ZLM")), readAll(data("small.ZLM")));

    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    acceptFile(path("b"));
    run(CMainFrame::CmdSaveAs);
    EXPECT_EQ(readAll(path("b.ZLM")), readAll(path("a.ZLM")));
    EXPECT_EQ(frame->documentPath(), QFileInfo(path("b.ZLM")).absoluteFilePath());

    // Unsaved changes: Cancel keeps the window, No closes it without saving.
    run(CMainFrame::CmdInvert);
    QString question;
    answerBox(&question, QMessageBox::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(question.contains(QStringLiteral("b.ZLM")));
    answerBox(nullptr, QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(readAll(path("b.ZLM")), readAll(path("a.ZLM")));
}

TEST_F(MainWindow, AFileThatIsNotExactlyASurveyIsOnlySavedUnderAnotherName)
{
    QByteArray bytes = readAll(data("small.ZLM"));
    bytes.append("trailing");
    QFile f(path("odd.ZLM"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    // Dropped on the window, it opens with the warning.
    QString warning;
    answerBox(&warning);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("odd.ZLM"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view().viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view().viewport(), &drop);
    EXPECT_TRUE(warning.contains(QStringLiteral("odd.ZLM"))) << warning.toStdString();
    EXPECT_GT(view().model()->rowCount(), 0);

    // Save goes to "save as"; the same name is refused, another one is taken.
    QString refusal;
    whenModal<QFileDialog>([&](QFileDialog *d) {
        d->selectFile(path("odd.ZLM"));
        answerBox(&refusal);
        acceptFile(path("fixed.ZLM"));
        static_cast<QDialog *>(d)->accept();
    });
    EXPECT_TRUE(frame->save());
    EXPECT_FALSE(refusal.isEmpty());
    EXPECT_EQ(readAll(path("odd.ZLM")), bytes);
    EXPECT_EQ(QFileInfo(path("fixed.ZLM")).size(), bytes.size() - 8);
}

TEST_F(MainWindow, TrajectoryProgramFoundAtStartIsLaunchedFromThere)
{
#ifdef _WIN32
    GTEST_SKIP() << "its stand-in program is a shell script whose execute bit is taken away and given";
#endif
    // The program is looked for in the current directory when the window is made.
    QFile program(path("caculate.exe"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\necho \"$0 $*\" > \"$(dirname \"$0\")/launched\"\n");
    program.close();
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    frame = std::make_unique<CMainFrame>();
    QDir::setCurrent(before); // later directory changes do not matter
    ASSERT_NE(frame->bar(162), nullptr);
    EXPECT_TRUE(frame->bar(162)->isHidden());
    open();
    EXPECT_FALSE(frame->bar(162)->isHidden());

    // Not executable: the launch fails with the program's message.
    QString message;
    answerBox(&message);
    run(CMainFrame::CmdTrajectory);
    EXPECT_EQ(message, QStringLiteral("没有找到轨迹计算程序"));

    program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    run(CMainFrame::CmdTrajectory);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path("launched")); }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(readAll(path("launched")).trimmed(), (path("caculate.exe") + QStringLiteral(" 5038216")).toUtf8());
}

TEST_F(MainWindow, SiteIsSavedInsideTheSurveyAndSetsTheDeclinationThroughItsEdit)
{
    ASSERT_TRUE(QFile::copy(data("small.ZLM"), path("a.ZLM")));
    const QByteArray before = readAll(path("a.ZLM"));
    ASSERT_TRUE(frame->openDocument(path("a.ZLM")));
    enterSite(true);
    const auto field = siteField(*frame->site());
    ASSERT_TRUE(field);
    EXPECT_NEAR(frame->document().survey().header.declination(), field->declination, 1e-9);
    EXPECT_EQ(buttonText(CMainFrame::CmdDeclination), declinationCaption(field->declination));
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(readAll(path("a.ZLM")), before); // the document's until it is saved
    ASSERT_TRUE(frame->save());
    EXPECT_FALSE(QFile::exists(path("a.ZLM.site")));
    const QByteArray saved = readAll(path("a.ZLM"));
    EXPECT_EQ(saved.size(), before.size());
    EXPECT_EQ(saved.mid(512), before.mid(512));

    // Opened again, under another name, with its site.
    ASSERT_TRUE(QFile::rename(path("a.ZLM"), path("b.ZLM")));
    ASSERT_TRUE(frame->openDocument(path("b.ZLM"), false));
    EXPECT_EQ(frame->site().value_or(Site{}).latitude, 36.5);
    EXPECT_EQ(frame->site().value_or(Site{}).height, 50.0);

    // A broken site file beside an older survey is reported in the status bar and ignored.
    ASSERT_TRUE(QFile::copy(data("small.ZLM"), path("c.ZLM")));
    QFile broken(path("c.ZLM.site"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\"lat");
    broken.close();
    ASSERT_TRUE(frame->openDocument(path("c.ZLM")));
    EXPECT_FALSE(frame->site());
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("井场文件")));
}

TEST_F(MainWindow, SiteFileBesideAnOlderSurveyMovesInOnSaveAndTheLastSiteIsOneClickAway)
{
    ASSERT_TRUE(QFile::copy(data("small.ZLM"), path("old.ZLM")));
    Site old{38.71, 116.1, 12, QDate(2026, 5, 20)};
    old.client = QStringLiteral("第一采油厂");
    ASSERT_TRUE(writeSite(path("old.ZLM"), old));
    const QByteArray siteFile = readAll(path("old.ZLM.site"));
    ASSERT_TRUE(frame->openDocument(path("old.ZLM")));
    EXPECT_EQ(frame->site().value_or(Site{}).client, QStringLiteral("第一采油厂"));
    ASSERT_TRUE(frame->save());
    EXPECT_EQ(readAll(path("old.ZLM.site")), siteFile); // left as it was
    ASSERT_TRUE(QFile::remove(path("old.ZLM.site")));
    ASSERT_TRUE(frame->openDocument(path("old.ZLM"), false));
    EXPECT_EQ(frame->site().value_or(Site{}).client, QStringLiteral("第一采油厂"));

    // Entered in the dialog, the site is remembered on this computer...
    whenModal<SiteDialog>([](SiteDialog *d) {
        d->textBox(7)->setText(QStringLiteral("张三")); // surveyor
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    run(CMainFrame::CmdSite);
    frame->document().setModified(false);
    // ...and offered in one click for a survey without one.
    open();
    EXPECT_FALSE(frame->site());
    bool offered = false;
    whenModal<SiteDialog>([&offered](SiteDialog *d) {
        offered = d->lastSiteButton()->isEnabled();
        d->lastSiteButton()->click();
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    run(CMainFrame::CmdSite);
    EXPECT_TRUE(offered);
    EXPECT_EQ(frame->site().value_or(Site{}).latitude, 38.71);
    EXPECT_EQ(frame->site().value_or(Site{}).client, QStringLiteral("第一采油厂"));
    EXPECT_EQ(frame->site().value_or(Site{}).surveyor, QStringLiteral("张三"));
}

TEST_F(MainWindow, QcSwitchColoursFailingRowsAndTheSiteOfAnUnsavedSurveyIsSavedInIt)
{
    loadSurvey();
    const QString fieldText = cell(table().rowForPoint(5), tableColumn(Quantity::TotalField));
    run(CMainFrame::CmdReverse); // the colour goes with the point, not the row
    run(CMainFrame::CmdQc);
    EXPECT_EQ(rowData(5, Qt::BackgroundRole).value<QColor>(), qcFailColour());
    const QString tip = rowData(5, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("总磁场")) && tip.contains(QStringLiteral("偏差 +0.01"))) << tip.toStdString();
    EXPECT_FALSE(rowData(4, Qt::BackgroundRole).isValid());
    EXPECT_EQ(cell(table().rowForPoint(5), tableColumn(Quantity::TotalField)), fieldText);

    // With a site its model is the reference (this survey's field is not the model's). The
    // site is saved inside the survey; a site file found beside its name stays out of it.
    enterSite(false);
    EXPECT_TRUE(rowData(4, Qt::ToolTipRole).toString().contains(QStringLiteral("井场地磁模型")));
    EXPECT_TRUE(frame->isWindowModified());
    ASSERT_TRUE(writeSite(path("c.ZLM"), Site{10, 20, 0, QDate(2025, 1, 1), {}}));
    acceptFile(path("c"));
    run(CMainFrame::CmdSaveAs);
    ASSERT_TRUE(frame->openDocument(path("c.ZLM"), false));
    EXPECT_EQ(frame->site().value_or(Site{}).latitude, 36.5);
    run(CMainFrame::CmdQc);
    EXPECT_FALSE(rowData(5, Qt::BackgroundRole).isValid());
}

TEST_F(MainWindow, TrajectoryWindowFollowsDepthEditsAndNewSurveys)
{
    loadSurvey();
    run(CMainFrame::CmdTrajectoryWindow);
    ASSERT_TRUE(frame->trajectoryWindow() && frame->trajectoryWindow()->isVisible());
    QAbstractItemModel *stations = frame->trajectoryWindow()->table()->model();
    ASSERT_EQ(stations->rowCount(), 40);
    view().setCurrentIndex(view().model()->index(table().rowForPoint(39), tableColumn(Quantity::Time)));
    fillDialog({QStringLiteral("455")});
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_EQ(stations->index(39, StationModel::ColMd).data().toString(), QStringLiteral("455.00"));
    frame->document().setModified(false);
    run(CMainFrame::CmdNew);
    EXPECT_EQ(stations->rowCount(), 0);
}

// The survey report from the File menu: saved as PDF it is the page for page what `zolm-cli
// trajectory --pdf` makes of the saved survey (but for the print time), with the site's names,
// the warnings and the signature block; printed, it is the same text again, and the preview
// shows its pages in portrait while the table's printer stays landscape.
TEST_F(MainWindow, SurveyReportFromTheFileMenuIsTheCommandLinesPages)
{
    // pdftotext (poppler-utils) reads the PDFs' text where it is installed (not on Windows).
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    // Each page's text, the line with the print time left out.
    const auto pages = [&](const QString &pdf) {
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        p.waitForFinished(30000);
        QStringList texts = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!texts.isEmpty() && texts.last().trimmed().isEmpty())
            texts.removeLast();
        for (QString &t : texts) {
            QStringList lines = t.split(QLatin1Char('\n'));
            lines.removeIf([](const QString &l) { return l.contains(QStringLiteral("打印时间")); });
            t = lines.join(QLatin1Char('\n'));
        }
        return texts;
    };

    loadSurvey();
    frame->document().survey().depth[7] = 0; // ticked without a depth: a warning
    view().refillTable();
    whenModal<SiteDialog>([](SiteDialog *d) {
        d->latitudeBox()->setValue(38.71);
        d->longitudeBox()->setValue(116.10);
        d->dateBox()->setDate(QDate(2026, 5, 20));
        d->textBox(0)->setText(QStringLiteral("第一采油厂"));
        d->textBox(2)->setText(QStringLiteral("钻机40号"));
        d->textBox(7)->setText(QStringLiteral("张三"));
        d->textBox(9)->setText(QStringLiteral("王五"));
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    run(CMainFrame::CmdSite);
    acceptFile(path("r"));
    run(CMainFrame::CmdSaveAs);
    ASSERT_TRUE(QFile::exists(path("r.ZLM")));

    acceptFile(path("desktop"));
    run(CMainFrame::CmdReportPdf);
    const ProgramRun cli = runProgram(QStringLiteral(ZOLM_CLI_PATH),
                                      {QStringLiteral("trajectory"), path("r.ZLM"), QStringLiteral("--pdf"),
                                       QStringLiteral("-o"), path("cli.pdf")});
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    EXPECT_TRUE(readAll(path("desktop.pdf")).startsWith("%PDF"));
    EXPECT_FALSE(frame->trajectoryWindow()->isVisible()); // the report came without the window
    // Printed: the same pages, wherever the printer's margins are.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("printed.pdf"));
    printer.setPageMargins(QMarginsF(12, 9, 7, 11), QPageLayout::Millimeter);
    ASSERT_TRUE(ReportPrinting::paintSurveyReport(printer, frame->trajectoryWindow()->data()));
    if (!pdftotext.isEmpty()) {
        const QStringList desktop = pages(path("desktop.pdf"));
        const QStringList expected = pages(path("cli.pdf"));
        ASSERT_EQ(desktop.size(), 3); // the summary, the 39 stations, the warnings and signatures
        EXPECT_EQ(desktop, expected);
        const QString all = desktop.join(QLatin1Char('\n'));
        for (const QString &text : {QStringLiteral("测斜报告"), QStringLiteral("第一采油厂"), QStringLiteral("钻机40号"),
                                    QStringLiteral("张三"), QStringLiteral("王五"), QStringLiteral("磁场标定系数"),
                                    QStringLiteral("测点 7 已选择但没有井深"), QStringLiteral("审核人")})
            EXPECT_TRUE(all.contains(text)) << text.toStdString();
        EXPECT_EQ(pages(path("printed.pdf")), expected);
    }

    int previewed = 0;
    QPageLayout::Orientation previewOrientation = QPageLayout::Landscape;
    whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
        auto *preview = d->findChild<QPrintPreviewWidget *>();
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview->pageCount() > 0; }, 5000));
        previewed = preview->pageCount();
        previewOrientation = preview->orientation();
        d->reject();
    });
    run(CMainFrame::CmdReportPreview);
    EXPECT_EQ(previewed, 3);
    EXPECT_EQ(previewOrientation, QPageLayout::Portrait);
    EXPECT_EQ(frame->printing().printer().pageLayout().orientation(), QPageLayout::Landscape);
}

TEST_F(MainWindow, SpaceTicksTheCurrentRowAndTheKeyboardReachesTheBars)
{
    open();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    view().setFocus();
    // The current cell is not the check box's: Space still ticks the row.
    view().setCurrentIndex(view().model()->index(2, tableColumn(Quantity::Time)));
    const int point = table().pointForRow(2);
    const bool before = pointChecked(point);
    frame->document().setModified(false);
    QTest::keyClick(&view(), Qt::Key_Space);
    EXPECT_NE(pointChecked(point), before);
    EXPECT_NE(view().model()->index(2, CheckColumn).data(Qt::CheckStateRole).toInt() == Qt::Checked, before);
    EXPECT_TRUE(frame->document().isModified());
    QTest::keyClick(&view(), Qt::Key_Space);
    EXPECT_EQ(pointChecked(point), before);

    // Tab leaves the table for the first control of the bars; F6 goes back and forth, Shift+F6
    // to the bars' last control.
    const auto focused = [] { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); };
    const QString first = QStringLiteral("button%1").arg(CMainFrame::CmdOpen);
    QTest::keyClick(&view(), Qt::Key_Tab);
    EXPECT_EQ(focused(), first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), &view());
    QTest::keyClick(&view(), Qt::Key_F6);
    EXPECT_EQ(focused(), first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QTest::keyClick(&view(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(focused(), QStringLiteral("button%1").arg(CMainFrame::CmdTrajectoryWindow));
}

TEST_F(MainWindow, StatusBarPromptsForAnItemAndIsReadyOnceItIsLeft)
{
    open();
    QMenu *edit = nullptr;
    for (QMenu *m : frame->menuBar()->findChildren<QMenu *>())
        if (m->actions().contains(frame->command(CMainFrame::CmdReverse)))
            edit = m;
    ASSERT_NE(edit, nullptr);
    const QString ready = QStringLiteral("就绪");
    EXPECT_EQ(frame->statusBar()->currentMessage(), ready);
    const struct {
        int id;
        const char *prompt;
    } items[] = {{CMainFrame::CmdReverse, "颠倒顺序"},
                 {CMainFrame::CmdHideChecked, "隐藏选择的数据"},
                 {CMainFrame::CmdOnlyChecked, "只显示选择的数据(隐藏未选择的数据)"},
                 {CMainFrame::CmdShowAll, "显示全部数据"},
                 {CMainFrame::CmdCheckAll, "选择全部数据"},
                 {CMainFrame::CmdPickStations, "找出探管停留的测站，每个测站勾选一个代表测点，其余测点取消勾选"}};
    MessageWatch boxes; // what 自动选点 found
    for (const auto &item : items) {
        // Over the menu item: its prompt; chosen, the menu closes and the bar is ready.
        edit->popup(frame->mapToGlobal(QPoint(20, 20)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
        edit->setActiveAction(frame->command(item.id));
        EXPECT_EQ(frame->statusBar()->currentMessage(), QString::fromUtf8(item.prompt));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_FALSE(edit->isVisible());
        EXPECT_EQ(frame->statusBar()->currentMessage(), ready) << item.prompt;

        // Over the bar's button, and off it again.
        auto *button = frame->findChild<QToolButton *>(QStringLiteral("button%1").arg(item.id));
        ASSERT_NE(button, nullptr);
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(button, &enter);
        EXPECT_EQ(frame->statusBar()->currentMessage(), QString::fromUtf8(item.prompt));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_EQ(frame->statusBar()->currentMessage(), ready);
    }
}

TEST_F(MainWindow, NewDocumentHasItsOwnCaptionsAndNoQc)
{
    loadSurvey();
    fillDialog({QStringLiteral("-4.47")});
    run(CMainFrame::CmdDeclination);
    fillDialog({QStringLiteral("W-7")});
    run(CMainFrame::CmdWell);
    run(CMainFrame::CmdQc);
    ASSERT_EQ(buttonText(CMainFrame::CmdDeclination), QStringLiteral("磁偏角: -4.47"));
    ASSERT_TRUE(frame->command(CMainFrame::CmdQc)->isChecked());

    frame->document().setModified(false);
    run(CMainFrame::CmdNew);
    EXPECT_EQ(buttonText(CMainFrame::CmdCrew), QStringLiteral("井队编号"));
    EXPECT_EQ(buttonText(CMainFrame::CmdWell), QStringLiteral("井号"));
    EXPECT_EQ(buttonText(CMainFrame::CmdDeclination), QStringLiteral("磁偏角: 0.00"));
    EXPECT_FALSE(frame->command(CMainFrame::CmdQc)->isChecked());
    EXPECT_EQ(view().surveyModel()->highlight(), nullptr);
}

TEST_F(MainWindow, CaptionsShowOneLineOfPrintableText)
{
    loadSurvey();
    // Bytes of a file that is not quite a survey: line breaks, control codes, an '&'.
    frame->document().survey().header.setCrewNumber("A\r\nB\x01\tC&D\n");
    view().refillTable();
    auto *crew = frame->findChild<QToolButton *>(QStringLiteral("button%1").arg(CMainFrame::CmdCrew));
    auto *well = frame->findChild<QToolButton *>(QStringLiteral("button%1").arg(CMainFrame::CmdWell));
    EXPECT_EQ(crew->text(), QStringLiteral("井队编号: A B C&&D")); // "&&" shows one '&'
    EXPECT_EQ(crew->sizeHint().height(), well->sizeHint().height());
}

TEST_F(MainWindow, TrajectoryWindowComesBackFromMinimisedWithCompactRows)
{
    loadSurvey();
    run(CMainFrame::CmdTrajectoryWindow);
    TrajectoryWindow *w = frame->trajectoryWindow();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_LE(w->table()->rowHeight(0), w->table()->fontMetrics().height() + 6);
    w->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isMinimized(); }, 5000));
    run(CMainFrame::CmdTrajectoryWindow);
    EXPECT_FALSE(w->isMinimized());
    EXPECT_TRUE(w->isVisible());
}

namespace {

// Where a control lies in its dialog.
QRect placeIn(QWidget *dialog, QWidget *w)
{
    return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

// Reading order: above first, then from left to right along a row.
bool readsBefore(const QRect &a, const QRect &b)
{
    if (a.bottom() < b.top())
        return true;
    if (b.bottom() < a.top())
        return false;
    return a.left() < b.left();
}

// The controls Tab visits in a dialog, starting from the one seen first.
QList<QWidget *> tabWalk(QDialog *dialog)
{
    dialog->show();
    dialog->activateWindow();
    // (A dialog counts as active while its main window is: wait for the dialog itself.)
    if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 5000))
        return {};
    if (!QApplication::focusWidget() || !dialog->isAncestorOf(QApplication::focusWidget()))
        QTest::keyClick(dialog, Qt::Key_Tab);
    QList<QWidget *> seen;
    for (int i = 0; i < 60; ++i) {
        QWidget *w = QApplication::focusWidget();
        // A spin box's or an editable list's own line edit stands for it.
        if (w && (qobject_cast<QAbstractSpinBox *>(w->parentWidget()) || qobject_cast<QComboBox *>(w->parentWidget())))
            w = w->parentWidget();
        if (!w || !dialog->isAncestorOf(w))
            break;
        // (Tab goes through a date's fields before it leaves the date.)
        if (seen.isEmpty() || seen.last() != w) {
            if (seen.contains(w))
                break;
            seen << w;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const auto first = std::min_element(seen.begin(), seen.end(), [&](QWidget *a, QWidget *b) {
        return readsBefore(placeIn(dialog, a), placeIn(dialog, b));
    });
    std::rotate(seen.begin(), first, seen.end());
    return seen;
}

} // namespace

TEST_F(MainWindow, TabVisitsEveryDialogsControlsInTheOrderTheyAreSeen)
{
    CExportFormatDlg exportFormat(frame->settings(), frame.get());
    AutoDepthDialog autoDepth(frame.get(), frame->table());
    CPortSelectDlg port(QStringLiteral("SIM"), true, frame.get());
    ProbeSettingsDialog probeSettings(probe::ProbeSetup{}, frame.get());
    SiteDialog site(std::nullopt, std::nullopt, frame.get());
    for (QDialog *dialog : std::initializer_list<QDialog *>{&exportFormat, &autoDepth, &port, &probeSettings, &site}) {
        const QList<QWidget *> order = tabWalk(dialog);
        ASSERT_GE(order.size(), 3) << dialog->windowTitle().toStdString();
        for (int i = 1; i < order.size(); ++i)
            EXPECT_TRUE(readsBefore(placeIn(dialog, order[i - 1]), placeIn(dialog, order[i])))
                << dialog->windowTitle().toStdString() << ": " << order[i - 1]->metaObject()->className() << " "
                << order[i - 1]->objectName().toStdString() << " before " << order[i]->metaObject()->className();
        dialog->hide();
    }
}

namespace {

// What a window manager does is seen only on Qt's X11 platform, where
// tests/app/run_under_window_manager.sh runs these cases on a virtual display with openbox.
bool underWindowManager()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

const char *const NeedsWindowManager = "needs a window manager: ctest -R test_app_window_manager runs it under Xvfb with openbox";

QString x11Tool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(10000);
    return QString::fromLatin1(p.readAllStandardOutput());
}

// The windows from bottom to top, as the window manager stacks them.
QList<WId> stackingOrder()
{
    // "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x400006, 0x400015"
    const QString list = x11Tool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    QList<WId> ids;
    for (const QString &id : list.section(QLatin1Char('#'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << id.trimmed().toULongLong(nullptr, 16);
    return ids;
}

bool isActive(QWidget *w)
{
    return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 5000);
}

// Pixels of the title bar the window manager draws that stand out from the bar around them:
// the letters of the title, and the same icon and buttons for windows of one kind. Darker or
// lighter, so a bar the window manager has not yet drawn as active counts the same letters.
qint64 titleInk(const QImage &bar)
{
    qint64 ink = 0;
    for (int y = 0; y < bar.height(); ++y) {
        // The bar's own shade on this row: its most common one.
        std::array<int, 256> shades{};
        for (int x = 0; x < bar.width(); ++x)
            ++shades[static_cast<std::size_t>(qGray(bar.pixel(x, y)))];
        const auto background = static_cast<int>(std::max_element(shades.begin(), shades.end()) - shades.begin());
        for (int x = 0; x < bar.width(); ++x)
            ink += std::abs(qGray(bar.pixel(x, y)) - background) > 60 ? 1 : 0;
    }
    return ink;
}

// The window manager's frame around a window: left, right, top and bottom widths (Qt may not
// have read them yet when a window has just appeared).
QMargins frameExtents(QWidget *w)
{
    // "_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 5"
    const QStringList widths = x11Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w->winId()),
                                                                 QStringLiteral("_NET_FRAME_EXTENTS")})
                                   .section(QLatin1Char('='), 1)
                                   .split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (widths.size() != 4)
        return {};
    return {widths[0].trimmed().toInt(), widths[2].trimmed().toInt(), widths[1].trimmed().toInt(), widths[3].trimmed().toInt()};
}

qint64 titleInk(QWidget *w)
{
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowExposed(w) || !isActive(w))
        return -1;
    // Qt may call a window active before the window manager has given it the focus and drawn it so.
    const QString id = QString::number(w->winId(), 16);
    (void)QTest::qWaitFor([&] {
        return x11Tool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")})
            .contains(QStringLiteral("0x") + id);
    }, 5000);
    // Once the window manager has drawn the bar as active: two grabs in a row agree.
    qint64 ink = 0;
    QImage before;
    for (int i = 0; i < 100; ++i) {
        QTest::qWait(50);
        const QRect client = w->geometry();
        const QMargins frame = frameExtents(w);
        const QImage image = frame.top() > 0
            ? w->screen()->grabWindow(0, client.left() - frame.left(), client.top() - frame.top(),
                                      client.width() + frame.left() + frame.right(), frame.top()).toImage()
            : QImage();
        ink = image.isNull() ? 0 : titleInk(image);
        if (ink > 0 && image == before)
            break;
        before = image;
    }
    w->hide();
    return ink;
}

} // namespace

TEST_F(MainWindow, WindowManagerKeepsTheTrajectoryWindowAboveAndBringsItBackWithEveryColumn)
{
    if (!underWindowManager())
        GTEST_SKIP() << NeedsWindowManager;
    frame->showMaximized();
    loadSurvey();
    run(CMainFrame::CmdTrajectoryWindow);
    TrajectoryWindow *w = frame->trajectoryWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_TRUE(isActive(w));
    // At its default size every column shows, the QC verdict's included.
    QHeaderView *header = w->table()->horizontalHeader();
    for (int c = 0; c < StationModel::ColumnCount; ++c)
        EXPECT_LE(header->sectionViewportPosition(c) + header->sectionSize(c), header->viewport()->width()) << c;

    // A click on the main window, where the trajectory window does not cover it.
    const auto above = [&] {
        const QList<WId> order = stackingOrder();
        return order.contains(frame->winId()) && order.indexOf(w->winId()) > order.indexOf(frame->winId());
    };
    const QPoint corner = frame->statusBar()->mapToGlobal(QPoint(8, frame->statusBar()->height() / 2));
    ASSERT_FALSE(w->frameGeometry().contains(corner));
    x11Tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(corner.x()), QString::number(corner.y()),
                                        QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(isActive(frame.get()));
    EXPECT_TRUE(QTest::qWaitFor(above, 3000));

    // Minimised, then chosen again: back in front and active.
    w->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isMinimized(); }, 5000));
    run(CMainFrame::CmdTrajectoryWindow);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isMinimized() && QApplication::activeWindow() == w; }, 5000));
    EXPECT_TRUE(above());
}

TEST_F(MainWindow, WindowManagerShowsTheWarningOfAnInexactFileOverTheWindowOnceItIsUp)
{
    if (!underWindowManager())
        GTEST_SKIP() << NeedsWindowManager;
    QFile f(path("odd.ZLM"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(readAll(data("small.ZLM")) + "trailing");
    f.close();

    // As at start-up: the file named on the command line opens before the window is shown.
    frame = std::make_unique<CMainFrame>();
    bool windowWasUp = false;
    QRect box;
    QString warning;
    whenModal<QMessageBox>([&](QMessageBox *b) {
        windowWasUp = frame->isVisible() && frame->isMaximized();
        (void)QTest::qWaitForWindowExposed(b);
        box = b->frameGeometry();
        warning = b->text();
        b->accept();
    });
    ASSERT_TRUE(frame->openDocument(path("odd.ZLM"), false));
    frame->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !warning.isEmpty(); }, 10000));
    EXPECT_TRUE(warning.contains(QStringLiteral("odd.ZLM")));
    EXPECT_TRUE(windowWasUp);
    const QRect window = frame->frameGeometry();
    EXPECT_TRUE(window.contains(box));
    // Over its middle, as a dialog is placed over its parent.
    EXPECT_LE(std::abs(box.center().x() - window.center().x()), window.width() / 10);
    EXPECT_LE(std::abs(box.center().y() - window.center().y()), window.height() / 10);
}

TEST(TitleBars, WindowManagerShowsTheWholeTitleOfMessageBoxesAndTheAboutBox)
{
    if (!underWindowManager())
        GTEST_SKIP() << NeedsWindowManager;
    // The program's font, as it sets it at start-up.
    const QFont before = QApplication::font();
    QFont font = before;
    font.setFamilies(zolm::tahomaWithChineseFallback());
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&] { QApplication::setFont(before); });
    // Each beside a window of its kind wide enough for any title: the same letters are drawn.
    const QString title = CAboutDlg().windowTitle();
    ProgramMessageBox box(QMessageBox::Information, title, QStringLiteral("好"), QMessageBox::Ok);
    ProgramMessageBox wideBox(QMessageBox::Information, title, QString(110, QLatin1Char('x')), QMessageBox::Ok);
    CAboutDlg about;
    CAboutDlg wideAbout;
    wideAbout.resize(1000, wideAbout.sizeHint().height());
    const qint64 boxInk = titleInk(&box);
    const qint64 wideBoxInk = titleInk(&wideBox);
    const qint64 aboutInk = titleInk(&about);
    const qint64 wideAboutInk = titleInk(&wideAbout);
    ASSERT_GT(wideBoxInk, 0);
    ASSERT_GT(wideAboutInk, 0);
    EXPECT_GE(boxInk, wideBoxInk * 97 / 100) << boxInk << " of " << wideBoxInk;
    EXPECT_GE(aboutInk, wideAboutInk * 97 / 100) << aboutInk << " of " << wideAboutInk;
}

TEST(AboutBox, KeepsTheOriginalVersionLineAndAddsTheProgramsOwn)
{
    CAboutDlg about;
    QStringList lines;
    for (const QLabel *l : about.findChildren<QLabel *>())
        lines << l->text();
    EXPECT_TRUE(lines.contains(QStringLiteral("nZOLM 1.01(120) 版 (200507250825)")));
    EXPECT_TRUE(lines.contains(programVersionLine()));
    EXPECT_FALSE(programIcon().isNull());
    EXPECT_TRUE(programVersionLine().endsWith(QStringLiteral(ZOLM_VERSION)));
}

// "按本次测量标定" in the site dialog: a scale far from 1 is refused with its reason; a good one
// goes into the survey's site and is remembered for the probe, so QC passes where the model
// alone fails, and the probe's next survey starts with it.
TEST_F(MainWindow, SiteDialogCalibratesTheFieldScaleAndTheProbeKeepsIt)
{
    loadSurvey();
    run(CMainFrame::CmdQc);
    const auto place = [](SiteDialog *d, double lat, double lon) {
        d->latitudeBox()->setValue(lat);
        d->longitudeBox()->setValue(lon);
        d->dateBox()->setDate(QDate(2026, 5, 20));
    };
    QString refusal, note;
    bool taken = true;
    whenModal<SiteDialog>([&](SiteDialog *d) {
        place(d, -25, -45); // the field there is far weaker than this probe reads
        answerBox(&refusal);
        d->calibrateButton()->click();
        taken = d->fieldScaleCheck()->isChecked();
        d->reject();
    });
    run(CMainFrame::CmdSite);
    EXPECT_TRUE(refusal.contains(QStringLiteral("5%"))) << refusal.toStdString();
    EXPECT_FALSE(taken);
    EXPECT_FALSE(frame->site());

    whenModal<SiteDialog>([&](SiteDialog *d) {
        place(d, 38.71, 116.10);
        note = d->fieldScaleNote()->text();
        d->calibrateButton()->click();
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    run(CMainFrame::CmdSite);
    EXPECT_EQ(note, QStringLiteral("未指定：质量检查按 1 计算"));
    ASSERT_TRUE(frame->site() && frame->site()->fieldScale);
    const auto expected = calibrateFieldScale(frame->document().survey(), *frame->site());
    ASSERT_TRUE(expected);
    EXPECT_EQ(*frame->site()->fieldScale, expected->scale);
    EXPECT_EQ(rememberedFieldScale(frame->settings(), QStringLiteral("ZL-2217")), expected->scale);
    EXPECT_FALSE(rowData(4, Qt::BackgroundRole).isValid());
    EXPECT_TRUE(rowData(5, Qt::ToolTipRole).toString().contains(QStringLiteral("磁场标定系数 1.01")));

    // The probe's next survey, with a site that sets no scale, takes the remembered one.
    CNDravikDoc next;
    const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(20));
    next.loadFromProbe(s.parameters.bytes, s.data.bytes);
    for (std::size_t i = 0; i < 20; ++i) {
        next.survey().flags[i] |= PointFlag::Checked;
        next.survey().depth[i] = 10.0 * static_cast<double>(i + 1);
    }
    setSurveySite(next.survey().header, Site{38.71, 116.10, 0, QDate(2026, 5, 20)});
    QString error;
    ASSERT_TRUE(next.saveFile(path("next.ZLM")));
    frame->document().setModified(false);
    ASSERT_TRUE(frame->openDocument(path("next.ZLM"), false));
    EXPECT_EQ(frame->fieldScale().source, FieldScaleChoice::Source::Probe);
    EXPECT_EQ(frame->fieldScale().scale, expected->scale);
    QString remembered;
    whenModal<SiteDialog>([&](SiteDialog *d) {
        remembered = d->fieldScaleNote()->text();
        EXPECT_FALSE(d->fieldScaleCheck()->isChecked());
        d->reject();
    });
    run(CMainFrame::CmdSite);
    EXPECT_TRUE(remembered.contains(QStringLiteral("ZL-2217"))) << remembered.toStdString();
    run(CMainFrame::CmdTrajectoryWindow);
    EXPECT_TRUE(frame->trajectoryWindow()->summary()->text().contains(QStringLiteral("本机记录的探管 ZL-2217")));
}
