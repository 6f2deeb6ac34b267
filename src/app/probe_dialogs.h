#pragma once
// The probe's own windows: the settings dialog (start delay and sampling interval), the
// information dialog with its charge bar, and the real-time window. Texts, checks and
// formats come from the probe logic; these classes only lay them out.
#include "probe/probe_info.h"
#include "probe/probe_settings.h"
#include "survey/survey_types.h"

#include <QDialog>
#include <QSpinBox>

#include <vector>

class QLineEdit;

namespace zolm::app {

// A spin box whose arrows run through their own range and wrap around, while the edit takes
// any whole number, so that the dialog's check on OK sees what the user typed.
class WrapSpinBox : public QSpinBox {
    Q_OBJECT
public:
    WrapSpinBox(int arrowMin, int arrowMax, QWidget *parent = nullptr);
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

private:
    int m_arrowMin;
    int m_arrowMax;
};

class ProbeSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProbeSettingsDialog(const probe::ProbeSetup &setup, QWidget *parent = nullptr);

    // The three edits as the dialog reads them (a text that is not a number reads as 0).
    probe::ProbeSetup setup() const;

    // Closes with OK only when the values pass the checks; otherwise the refusal is shown
    // on the dialog and it stays open.
    void accept() override;

private:
    WrapSpinBox *m_minutes;
    WrapSpinBox *m_seconds;
    WrapSpinBox *m_interval;
};

class ProbeInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProbeInfoDialog(const probe::ProbeInfo &info, QWidget *parent = nullptr);
};

// Modeless; kept for the life of the controller. Its exit button and Esc hide it and ask
// for the stream to stop.
class RealTimeWindow : public QDialog {
    Q_OBJECT
public:
    explicit RealTimeWindow(QWidget *parent = nullptr);

    void showValues(const SurveyValues &values);
    void reject() override;

signals:
    void stopRequested();

private:
    std::vector<QLineEdit *> m_fields;
};

} // namespace zolm::app
