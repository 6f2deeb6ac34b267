#include "app/probe_ui.h"

#include "app/message_box.h"
#include "app/probe_dialogs.h"
#include "app/progress_window.h"
#include "app/table_dialogs.h"
#include "platform/settings.h"
#include "probe/operations.h"
#include "probe/probe_settings.h"
#include "probe/serial_link.h"
#include "probe/ui_wait.h"
#include "probe/texts.h"
#include "sim_link.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QThread>

#include <algorithm>
#include <optional>
#include <vector>

namespace zolm::app {

using namespace zolm::probe;

namespace {

// The table of a main window, else the window itself: what takes the keyboard focus back.
void focusView(QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    QWidget *target = mainWindow;
    if (auto *frame = qobject_cast<QMainWindow *>(mainWindow); frame && frame->centralWidget())
        target = frame->centralWidget();
    target->setFocus();
}

} // namespace

QString portOpenFailedText(const QString &portName, const QString &reason)
{
    return text::portRefused(portName, reason);
}

// The worker's view of the desktop. Every call from the worker becomes a queued call on the
// user-interface thread; boxes and dialogs are shown there while the worker waits in UiWait.
class DesktopProbeView final : public QObject, public ProbeView {
public:
    explicit DesktopProbeView(ProbeController &controller) : m_c(controller) {}

    ~DesktopProbeView() override
    {
        m_wait.abandon();
        for (const QPointer<QWidget> &w : m_windows)
            delete w.data();
    }

    void showProgress(const QString &caption) override
    {
        onUi([this, caption] {
            if (m_c.m_progress)
                m_c.m_progress->begin(caption);
        });
    }
    void setCaption(const QString &caption) override
    {
        onUi([this, caption] {
            if (m_c.m_progress)
                m_c.m_progress->setCaption(caption);
        });
    }
    void setProgress(Bar bar, int step, int max) override
    {
        onUi([this, bar, step, max] {
            if (m_c.m_progress)
                m_c.m_progress->setBar(bar, step, max);
        });
    }
    void hideProgress() override
    {
        onUi([this] {
            if (m_c.m_progress)
                m_c.m_progress->hide();
        });
    }
    void transferProgress(int done, int total) override
    {
        onUi([this, done, total] {
            if (m_c.m_progress)
                m_c.m_progress->setTransfers(done, total);
        });
    }

    void showBox(const ProbeBox &box) override
    {
        waitForWindow([box] {
            // No owner and modal to the whole program, as the worker's boxes always were.
            auto *b = new ProgramMessageBox(iconFor(box.code), box.caption, box.text, QMessageBox::Ok);
            return b;
        });
    }
    void showProbeInfo(const ProbeInfo &info) override
    {
        waitForWindow([this, info] { return new ProbeInfoDialog(info, m_c.m_mainWindow); });
    }

    void dataRead(std::shared_ptr<const ProbeImages> images) override
    {
        onUi([this, images = std::move(images)] { emit m_c.surveyRead(images); });
    }
    void realTimeSample(const RawSample &, const SurveyValues &values) override
    {
        onUi([this, values] {
            if (m_c.m_realTime)
                m_c.m_realTime->showValues(values);
        });
    }
    void realTimeStarted() override
    {
        onUi([this] {
            if (m_c.m_realTime) {
                m_c.m_realTime->show();
                m_c.m_realTime->raise();
            }
        });
    }
    void realTimeFailed() override
    {
        onUi([this] {
            if (m_c.m_realTime)
                m_c.m_realTime->hide();
        });
    }
    void historyResult(int storedCount) override
    {
        onUi([this, storedCount] { m_c.runSettingsFlow(storedCount); });
    }
    void restoreFocus() override
    {
        onUi([this] { focusView(m_c.m_mainWindow); });
    }
    void operationFinished(const Request &request, const probe::Result &result) override
    {
        onUi([this, request, result] { m_c.finished(request, result.outcome); });
    }
    void portOpened(const QString &portName, const QString &failureReason) override
    {
        if (!failureReason.isEmpty())
            reportStatus(portOpenFailedText(portName, failureReason).simplified());
    }
    void abandonWaits() override { m_wait.abandon(); }

    // From any thread: the text reaches the status bar.
    void reportStatus(const QString &text)
    {
        onUi([this, text] { emit m_c.statusText(text); });
    }

private:
    template <typename F>
    void onUi(F &&f)
    {
        // The starters call on the user-interface thread itself: shown at once, in order.
        if (QThread::currentThread() == thread())
            f();
        else
            QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::QueuedConnection);
    }

    // Worker thread: the window made by `make` is shown on the user-interface thread, and
    // this returns when it has been closed (or at shutdown).
    template <typename Make>
    void waitForWindow(Make make)
    {
        m_wait.run([this, make](std::function<void()> closed) {
            QMetaObject::invokeMethod(
                this,
                [this, make, closed] {
                    QDialog *w = make();
                    w->setAttribute(Qt::WA_DeleteOnClose);
                    w->setWindowModality(Qt::ApplicationModal);
                    connect(w, &QDialog::finished, w, [closed] { closed(); });
                    connect(w, &QObject::destroyed, this, [closed] { closed(); });
                    m_windows.erase(std::remove_if(m_windows.begin(), m_windows.end(),
                                                   [](const QPointer<QWidget> &p) { return p.isNull(); }),
                                    m_windows.end());
                    m_windows.emplace_back(w);
                    w->show();
                },
                Qt::QueuedConnection);
        });
    }

    ProbeController &m_c;
    UiWait m_wait;
    std::vector<QPointer<QWidget>> m_windows; // the worker's open boxes and dialogs
};

ProbeController::ProbeController(QWidget *mainWindow, QString portName)
    : m_mainWindow(mainWindow), m_progress(new ProgressWindow(mainWindow)), m_realTime(new RealTimeWindow(mainWindow)),
      m_view(std::make_unique<DesktopProbeView>(*this))
{
    connect(m_realTime, &RealTimeWindow::stopRequested, this, [this] {
        started(m_comm->stopRealTime());
    });
    m_comm = std::make_unique<ProbeComm>(*m_view, std::move(portName), sim::simLinks());
}

ProbeController::~ProbeController()
{
    // The worker first: it is let go of any box it waits for and stops between two reads.
    // Only then the windows and the view it posts to.
    m_comm.reset();
    m_view.reset();
    delete m_progress.data();
    delete m_realTime.data();
}

void ProbeController::linkTest()
{
    if (!portChosen())
        return;
    started(m_comm->startLinkTest());
}

void ProbeController::readData()
{
    if (!portChosen())
        return;
    SettingsStore store;
    started(m_comm->startReadData(storedVerifyRead(store)));
}

void ProbeController::probeSettings()
{
    if (!portChosen())
        return;
    started(m_comm->startHistoryCheck());
}

void ProbeController::historyCheck()
{
    probeSettings();
}

void ProbeController::probeInfo()
{
    if (!portChosen())
        return;
    started(m_comm->startReadInfo());
}

void ProbeController::realTime()
{
    if (!portChosen())
        return;
    started(m_comm->startRealTime());
}

void ProbeController::changePort(const QString &name)
{
    m_comm->changePort(name);
}

QString ProbeController::portName() const
{
    return m_comm->portName();
}

bool ProbeController::portChosen()
{
    if (!portName().isEmpty())
        return true;
    showProgramMessage(m_mainWindow, text::noPortChosen());
    focusView(m_mainWindow);
    return false;
}

ProgressWindow *ProbeController::progressWindow() const
{
    return m_progress;
}

RealTimeWindow *ProbeController::realTimeWindow() const
{
    return m_realTime;
}

bool ProbeController::busy() const
{
    return m_running != 0;
}

void ProbeController::started(RequestId id)
{
    m_running = id;
}

void ProbeController::finished(const Request &request, Outcome outcome)
{
    if (request.id == m_running)
        m_running = 0;
    emit operationEnded(request.operation, outcome);
}

void ProbeController::runSettingsFlow(int storedCount)
{
    if (!setupDiscardsData(storedCount)) {
        openSettingsDialog();
        return;
    }
    auto *box = new ProgramMessageBox(QMessageBox::Warning, discardWarningCaption(), discardWarningText(),
                                      QMessageBox::Yes | QMessageBox::No, m_mainWindow);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [this](int result) {
        if (result == QMessageBox::Yes)
            openSettingsDialog();
    });
    box->show();
}

void ProbeController::openSettingsDialog()
{
    SettingsStore store;
    const ProbeSetup stored = readStoredSetup(store);
    auto *dialog = new ProbeSettingsDialog(stored, m_mainWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &QDialog::finished, this, [this, dialog, stored](int result) {
        SettingsStore settings;
        if (result == QDialog::Accepted) {
            const ProbeSetup chosen = dialog->setup();
            storeSetup(settings, chosen);
            started(m_comm->startWriteSettings(chosen.delaySeconds(), chosen.interval));
        } else {
            // Cancel stores back what was read, and the table takes the focus.
            storeSetup(settings, stored);
            focusView(m_mainWindow);
        }
    });
    dialog->show();
}

} // namespace zolm::app
