#pragma once
// The desktop side of the probe: the communication worker and the probe windows, owned by the
// main window. Whatever the worker "shows" reaches the user-interface thread as a queued call;
// a box or dialog it waits for is shown there, and the worker waits until it is closed.
#include "probe/comm.h"
#include "probe/view.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace zolm::app {

class DesktopProbeView;
class ProgressWindow;
class RealTimeWindow;

// The port names of the program: "SIM" (and "SIM:FILE.ZLM") start the built-in virtual probe
// on a pseudo-terminal, anything else is a serial device. `openFailed` is called on the
// worker thread with the text for the user when a port cannot be opened.
probe::ProbeComm::LinkFactory desktopLinks(std::function<void(const QString &text)> openFailed);

// The message for a port that cannot be opened; `reason`, when known, follows it.
QString portOpenFailedText(const QString &portName, const QString &reason = {});

// Owns the ProbeComm worker and the probe windows; lives in the main window.
class ProbeController : public QObject {
    Q_OBJECT
public:
    // portName: the stored "comport".
    ProbeController(QWidget *mainWindow, QString portName);
    // Stops the worker within a bounded time, also while it waits for a box to be closed.
    ~ProbeController() override;

    void linkTest();
    void readData();
    // The settings command: checks the probe for stored data, then runs the settings flow.
    void probeSettings();
    void probeInfo();
    void realTime();
    // The same request as probeSettings(): its result starts the settings flow.
    void historyCheck();

    // "SIM" or a device; the worker reopens after any running operation.
    void changePort(const QString &name);
    // Empty while no port is chosen (none stored and no USB serial adapter found).
    QString portName() const;
    // False, after telling the user to choose one, while there is no port; every probe
    // command asks this first.
    bool portChosen();

    // An operation is running (or waiting to run).
    bool busy() const;

    ProgressWindow *progressWindow() const;
    RealTimeWindow *realTimeWindow() const;

signals:
    // The images of a complete probe read: load them into the document and refill the table.
    void surveyRead(std::shared_ptr<const zolm::ProbeImages> images);
    // Status bar prompts and port failure reasons.
    void statusText(const QString &text);
    // An operation ended (after its box or dialog was closed).
    void operationEnded(zolm::probe::Operation operation, zolm::probe::Outcome outcome);

private:
    friend class DesktopProbeView;

    void started(probe::RequestId id);
    void finished(const probe::Request &request, probe::Outcome outcome);
    void runSettingsFlow(int storedCount);
    void openSettingsDialog();

    QPointer<QWidget> m_mainWindow;
    QPointer<ProgressWindow> m_progress;
    QPointer<RealTimeWindow> m_realTime;
    std::unique_ptr<DesktopProbeView> m_view;
    std::unique_ptr<probe::ProbeComm> m_comm;
    probe::RequestId m_running = 0; // the newest request started and not yet finished
};

} // namespace zolm::app
