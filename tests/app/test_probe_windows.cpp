// The probe windows of the desktop program, driven offscreen against the virtual probe over a
// real pty, grouped by what the field engineer does: read a survey, set the probe, look at its
// information, watch the live values, change the port, and close the program mid-operation.
#include "app/message_box.h"
#include "app/probe_dialogs.h"
#include "app/probe_ui.h"
#include "app/progress_window.h"
#include "platform/settings.h"
#include "probe/operations.h"
#include "probe/probe_settings.h"
#include "probe/texts.h"
#include "probe_model.h"
#include "virtual_probe.h"
#include "default_sim_run.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

using namespace zolm;
using namespace zolm::app;
using namespace zolm::probe;

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

constexpr int PatienceMs = 20000;

// The window that is modal now (a box the worker waits for, or a dialog of a flow).
template <typename T = QWidget>
T *waitModal()
{
    T *found = nullptr;
    if (!QTest::qWaitFor([&] { return (found = qobject_cast<T *>(QApplication::activeModalWidget())) != nullptr; },
                         PatienceMs))
        return nullptr;
    return found;
}

// The text of the read-only field that a label names (each label's buddy is its field).
QString fieldText(const QWidget *window, const QString &label)
{
    for (const QLabel *l : window->findChildren<QLabel *>()) {
        if (l->text() == label) {
            if (const auto *edit = qobject_cast<QLineEdit *>(l->buddy()))
                return edit->text();
        }
    }
    return QStringLiteral("<no field %1>").arg(label);
}

QAbstractButton *button(const QWidget *window, const QString &text)
{
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        if (b->text() == text)
            return b;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    static QPushButton none;
    return &none;
}

struct Ended {
    Operation code = Operation::LinkTest;
    Outcome outcome = Outcome::Done;
};

class ProbeWindows : public ::testing::Test {
protected:
    // A settings file of this test's own: other runs of the suite may reset the shared one.
    void SetUp() override
    {
        ASSERT_TRUE(settingsDir.isValid());
        sharedSettings = qgetenv("ZOLM_SETTINGS");
        qputenv("ZOLM_SETTINGS", settingsDir.filePath(QStringLiteral("ZOLM.ini")).toLocal8Bit());
    }
    void TearDown() override { qputenv("ZOLM_SETTINGS", sharedSettings); }

    void start(const QString &port)
    {
        controller = std::make_unique<ProbeController>(&mainWindow, port);
        QObject::connect(controller.get(), &ProbeController::surveyRead, [this](auto images) { read = images; });
        QObject::connect(controller.get(), &ProbeController::statusText, [this](const QString &t) { status << t; });
        QObject::connect(controller.get(), &ProbeController::operationEnded,
                         [this](Operation code, Outcome outcome) { ended.push_back({code, outcome}); });
    }

    // Closes the modal box the worker shows, after checking it; then its operation ends.
    // `portLine`: the line naming a port that did not open, which follows the system's text.
    void expectBox(const QString &caption, const QString &text, QMessageBox::Icon icon, const QString &portLine = {})
    {
        QMessageBox *box = waitModal<QMessageBox>();
        ASSERT_NE(box, nullptr) << "no box for " << text.toStdString();
        EXPECT_EQ(box->windowTitle(), caption);
        if (portLine.isEmpty())
            EXPECT_EQ(box->text(), text);
        else
            EXPECT_TRUE(box->text().startsWith(text + QLatin1Char('\n') + portLine)) << box->text().toStdString();
        EXPECT_EQ(box->icon(), icon);
        const std::size_t before = ended.size();
        box->button(QMessageBox::Ok)->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended.size() > before; }, PatienceMs));
    }

    bool waitEnded(Operation code, Outcome outcome)
    {
        return QTest::qWaitFor(
            [&] {
                for (const Ended &e : ended) {
                    if (e.code == code && e.outcome == outcome)
                        return true;
                }
                return false;
            },
            PatienceMs);
    }

    QTemporaryDir settingsDir;
    QByteArray sharedSettings;
    QWidget mainWindow;
    std::unique_ptr<ProbeController> controller;
    std::shared_ptr<const ProbeImages> read;
    QStringList status;
    std::vector<Ended> ended;
};

TEST_F(ProbeWindows, ReadingASurveyShowsProgressHandsOverTheImagesThenTheResultBox)
{
    start(QStringLiteral("SIM"));
    controller->readData();
    ProgressWindow *progress = controller->progressWindow();
    ASSERT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->caption(), text::captionReadData());
    EXPECT_TRUE(controller->busy());
    // Cancel only hides the window: the read goes on to its end and its box.
    progress->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(progress->isVisible());

    QMessageBox *box = waitModal<QMessageBox>();
    ASSERT_NE(box, nullptr);
    // The table is filled before the box is read: the images came first.
    ASSERT_TRUE(read);
    const auto expected = sim::readAsThePcWould(zolm::testing::defaultSimRun().memory);
    ASSERT_TRUE(expected);
    EXPECT_EQ(read->parameters.bytes, expected->parameters.bytes);
    EXPECT_EQ(read->data.bytes, expected->data.bytes);
    EXPECT_TRUE(controller->busy()); // the worker waits for the box
    EXPECT_EQ(box->parentWidget(), nullptr);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    expectBox(text::captionResult(), text::dataRead(), QMessageBox::Information);
    EXPECT_TRUE(waitEnded(Operation::ReadData, Outcome::Done));
    EXPECT_FALSE(controller->busy());
    EXPECT_FALSE(progress->isVisible());
}

// Over a line that corrupts answers the window says when the comparing pass runs and the time
// left over both passes; the result box counts the blocks read again. With VerifyRead off the
// read is one pass.
TEST_F(ProbeWindows, AReadOverABadLineShowsTheComparingPassAndTheBlocksReadAgain)
{
    qputenv("ZOLM_SIM_FAULTS", "stale-block:2,short:G:7");
    start(QStringLiteral("SIM"));
    controller->readData();
    ProgressWindow *progress = controller->progressWindow();
    QMessageBox *box = waitModal<QMessageBox>();
    ASSERT_NE(box, nullptr);
    qunsetenv("ZOLM_SIM_FAULTS");
    EXPECT_EQ(progress->caption(), text::captionVerifyData());
    EXPECT_EQ(progress->timeLeftText(), text::timeLeft(0));
    expectBox(text::captionResult(), text::dataRead() + QStringLiteral("\n\n") + text::rereads(2),
              QMessageBox::Information);
    ASSERT_TRUE(read);
    const auto verified = read;

    // The faults are spent: a single pass of the same probe reads the clean survey.
    SettingsStore store;
    storeVerifyRead(store, false);
    read.reset();
    controller->readData();
    ASSERT_NE(waitModal<QMessageBox>(), nullptr);
    EXPECT_EQ(progress->caption(), text::captionReadData());
    expectBox(text::captionResult(), text::dataRead(), QMessageBox::Information);
    ASSERT_TRUE(read);
    EXPECT_EQ(verified->data.bytes, read->data.bytes);
    EXPECT_EQ(verified->parameters.bytes, read->parameters.bytes);
}

TEST_F(ProbeWindows, SettingTheProbeWarnsWhileItHoldsDataValidatesThenWritesAndStores)
{
    SettingsStore store;
    storeSetup(store, ProbeSetup{2, 30, 20});
    start(QStringLiteral("SIM")); // the virtual probe holds a survey

    // No to the warning ends the flow: no dialog, nothing written.
    controller->probeSettings();
    auto *warning = waitModal<QMessageBox>();
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->windowTitle(), discardWarningCaption());
    EXPECT_EQ(warning->text(), discardWarningText());
    EXPECT_EQ(warning->icon(), QMessageBox::Warning);
    warning->button(QMessageBox::No)->click();
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(controller->busy());

    controller->probeSettings();
    warning = waitModal<QMessageBox>();
    ASSERT_NE(warning, nullptr);
    warning->button(QMessageBox::Yes)->click();
    auto *dialog = waitModal<ProbeSettingsDialog>();
    ASSERT_NE(dialog, nullptr);
    auto *minutes = dialog->findChild<QSpinBox *>(QStringLiteral("minutes"));
    auto *seconds = dialog->findChild<QSpinBox *>(QStringLiteral("seconds"));
    ASSERT_TRUE(minutes && seconds);
    EXPECT_EQ(dialog->setup().minutes, 2);
    EXPECT_EQ(dialog->setup().interval, 20);
    // The arrows wrap within their own range.
    seconds->setValue(59);
    seconds->stepBy(1);
    EXPECT_EQ(seconds->value(), 0);

    // Too short a delay keeps the dialog open with the message.
    minutes->setValue(0);
    seconds->setValue(4);
    dialog->accept();
    auto *refusal = waitModal<QMessageBox>();
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text(), QStringLiteral("延时最小不能小于 5 秒钟!"));
    EXPECT_EQ(refusal->windowTitle(), QStringLiteral("错误输入"));
    refusal->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(dialog->isVisible());
    // A typed value beyond the arrows reaches the range check.
    minutes->findChild<QLineEdit *>()->setText(QStringLiteral("1001"));
    dialog->accept();
    refusal = waitModal<QMessageBox>();
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text(), validateSetup(ProbeSetup{1001, 4, 20})->text);
    refusal->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(dialog->isVisible());

    minutes->setValue(0);
    seconds->setValue(5);
    button(dialog, QStringLiteral("写入探管"))->click();
    EXPECT_EQ(controller->progressWindow()->caption(), text::captionWriteSettings());
    expectBox(text::captionInfo(), text::settingsWritten(), QMessageBox::Information);
    const ProbeSetup stored = readStoredSetup(store);
    EXPECT_EQ(stored.minutes, 0);
    EXPECT_EQ(stored.seconds, 5);
    EXPECT_EQ(stored.interval, 20);

    // The probe's count is 0 now: the dialog comes without the warning; its Cancel stores
    // back what it read and starts nothing.
    storeSetup(store, ProbeSetup{3, 7, 9});
    controller->probeSettings();
    dialog = waitModal<ProbeSettingsDialog>();
    ASSERT_NE(dialog, nullptr) << "a warning came although the probe holds no data";
    dialog->findChild<QSpinBox *>(QStringLiteral("minutes"))->setValue(40);
    dialog->reject();
    QTest::qWait(50);
    EXPECT_FALSE(controller->busy());
    EXPECT_EQ(readStoredSetup(store).minutes, 3);
}

TEST_F(ProbeWindows, ProbeInformationShowsTheFieldsAndTheChargeBar)
{
    start(QStringLiteral("SIM"));
    controller->probeInfo();
    auto *dialog = waitModal<ProbeInfoDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(fieldText(dialog, QStringLiteral("现存数据数量")), QString::number(zolm::testing::defaultSimRunShots()));
    EXPECT_EQ(fieldText(dialog, QStringLiteral("电池电压")), QStringLiteral("7.36伏"));
    EXPECT_EQ(fieldText(dialog, QStringLiteral("估计剩余电量")), QStringLiteral("31%"));
    EXPECT_EQ(dialog->findChild<QProgressBar *>(QStringLiteral("chargeBar"))->value(), 31);
    // The worker takes nothing else until the dialog is closed.
    EXPECT_TRUE(controller->busy());
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(waitEnded(Operation::ReadInfo, Outcome::Done));
    EXPECT_FALSE(controller->busy());
}

TEST_F(ProbeWindows, RealTimeWindowShowsValuesUntilItsExitButtonStopsTheStream)
{
    start(QStringLiteral("SIM"));
    controller->realTime();
    RealTimeWindow *window = controller->realTimeWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, PatienceMs));
    // Values come as samples do: a field changes from one sample to the next.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fieldText(window, QStringLiteral("总加速度")).isEmpty(); }, PatienceMs));
    EXPECT_NEAR(fieldText(window, QStringLiteral("总加速度")).toDouble(), 1.0, 0.05);
    const QString first = fieldText(window, QStringLiteral("方位"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fieldText(window, QStringLiteral("方位")) != first; }, PatienceMs));
    EXPECT_FALSE(controller->busy());

    window->findChild<QPushButton *>(QStringLiteral("exitRealTime"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(controller->progressWindow()->caption(), text::captionStopRealTime());
    EXPECT_TRUE(waitEnded(Operation::StopRealTime, Outcome::Done));
}

TEST_F(ProbeWindows, SwitchingThePortToSimAndBackTellsWhyAPortDoesNotOpen)
{
    const QString missing = QStringLiteral("/dev/zolm-no-such-port");
    start(missing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !status.isEmpty(); }, PatienceMs));
    // The port's text, then the system's reason.
    EXPECT_TRUE(status.last().startsWith(portOpenFailedText(missing).simplified() + QLatin1Char(' ')))
        << status.last().toStdString();
    controller->linkTest();
    expectBox(text::captionError(), text::timeout(), QMessageBox::Question,
              QStringLiteral("通讯口 %1 无法打开：").arg(missing));

    controller->changePort(QStringLiteral("SIM"));
    EXPECT_EQ(controller->portName(), QStringLiteral("SIM"));
    controller->linkTest();
    expectBox(text::captionResult(), text::linkTestPassed(), QMessageBox::Information);
    EXPECT_EQ(status.size(), 1);

    // A virtual probe that cannot start: the port's text and the reason behind it.
    const QString badSim = QStringLiteral("SIM:/nonexistent/survey.ZLM");
    controller->changePort(badSim);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status.size() == 2; }, PatienceMs));
    EXPECT_TRUE(status.last().startsWith(portOpenFailedText(badSim).simplified() + QLatin1Char(' ')))
        << status.last().toStdString();

    controller->changePort(missing);
    EXPECT_EQ(controller->portName(), missing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status.size() == 3; }, PatienceMs));
    controller->linkTest();
    expectBox(text::captionError(), text::timeout(), QMessageBox::Question,
              QStringLiteral("通讯口 %1 无法打开：").arg(missing));
}

// Every box an operation can end with keeps the icon it has always had: a success and a probe
// without data inform, every failure asks (the question mark); the icon follows the box's code.
TEST(ProbeBoxIcons, EveryOperationsBoxKeepsItsIcon)
{
    const std::pair<ErrorCode, QMessageBox::Icon> icons[] = {
        {ErrorCode::None, QMessageBox::Information},          {ErrorCode::ProbeNoData, QMessageBox::Information},
        {ErrorCode::ProbeTimeout, QMessageBox::Question},     {ErrorCode::ProbeMismatch, QMessageBox::Question},
        {ErrorCode::ProbePort, QMessageBox::Question},        {ErrorCode::ProbeData, QMessageBox::Question},
        {ErrorCode::ProbeUnverified, QMessageBox::Question},
    };
    for (const auto &[code, icon] : icons) {
        SCOPED_TRACE(static_cast<int>(code));
        EXPECT_EQ(iconFor(code), icon);
        for (int op = 0; op <= static_cast<int>(Operation::ReadData); ++op) {
            probe::Result r;
            r.code = code;
            if (const auto box = resultBox(static_cast<Operation>(op), r)) {
                EXPECT_EQ(iconFor(box->code), icon) << box->text.toStdString();
            }
        }
    }
    // No box for a request that was cancelled; other failures of the program warn.
    probe::Result cancelled;
    cancelled.code = ErrorCode::Cancelled;
    EXPECT_FALSE(resultBox(Operation::ReadData, cancelled));
    EXPECT_EQ(iconFor(ErrorCode::WriteFailed), QMessageBox::Warning);
}

TEST_F(ProbeWindows, ClosingDuringAReadOrWhileItsBoxIsOpenReturnsPromptly)
{
    // A probe on a slow line: the read takes many seconds, so it is surely running.
#ifdef _WIN32
    // No pty here: the built-in probe answering a byte a millisecond is as slow.
    qputenv("ZOLM_SIM_FAULTS", "split");
    start(QStringLiteral("SIM"));
    controller->readData();
    QTest::qWait(200);
    qunsetenv("ZOLM_SIM_FAULTS");
#else
    sim::VirtualProbeOptions options;
    options.lineRate = 9600;
    sim::VirtualProbe slow(options);
    QString error;
    ASSERT_TRUE(slow.start(&error)) << error.toStdString();
    start(slow.devicePath());
    controller->readData();
#endif
    ProgressWindow *progress = controller->progressWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->barValue(Bar::Completion) >= 2; }, PatienceMs));
    QElapsedTimer clock;
    clock.start();
    controller.reset();
    EXPECT_LT(clock.elapsed(), 2000);
    QTest::qWait(50);
    EXPECT_FALSE(read);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The worker waiting for its result box is let go, and the box goes with the program.
    start(QStringLiteral("SIM"));
    controller->readData();
    QPointer<QMessageBox> box = waitModal<QMessageBox>();
    ASSERT_TRUE(box);
    clock.restart();
    controller.reset();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(box.isNull());
}

} // namespace
