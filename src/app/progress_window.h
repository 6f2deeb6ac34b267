#pragma once
// The window shown while the probe works: the operation's caption and two bars, "超时" (silent
// read periods of the current exchange) and "完成" (blocks done), and the time the operation
// has left. OK and Cancel only hide it; the running operation goes on and ends with its own box.
#include "probe/time_left.h"
#include "probe/view.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace zolm::app {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    // Shown, caption set, both bars at 0.
    void begin(const QString &caption);
    void setCaption(const QString &caption);
    void setBar(probe::Bar bar, int step, int max);
    // Exchanges done of all the operation makes (a read's both passes): the time left.
    void setTransfers(int done, int total);

    QString caption() const;
    int barValue(probe::Bar bar) const;
    QString timeLeftText() const;

private:
    probe::TimeLeft m_left;
    QLabel *m_timeLeft;
    QLabel *m_caption;
    QProgressBar *m_timeout;
    QProgressBar *m_completion;
};

} // namespace zolm::app
