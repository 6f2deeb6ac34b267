#include "app/progress_window.h"

#include "probe/operations.h"
#include "probe/texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zolm::app {

namespace {

QProgressBar *makeBar(int max, QWidget *parent)
{
    auto *bar = new QProgressBar(parent);
    bar->setRange(0, max);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

} // namespace

ProgressWindow::ProgressWindow(QWidget *parent)
    : QDialog(parent), m_timeLeft(new QLabel(this)), m_caption(new QLabel(this)),
      m_timeout(makeBar(probe::TimeoutBarMax, this)),
      m_completion(makeBar(probe::CompletionBarMax, this))
{
    setWindowTitle(probe::text::progressTitle());
    setModal(false);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_timeout->setObjectName(QStringLiteral("timeoutBar"));
    m_completion->setObjectName(QStringLiteral("completionBar"));
    m_timeLeft->setObjectName(QStringLiteral("timeLeft"));
    m_caption->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);

    auto *bars = new QFormLayout;
    bars->addRow(tr("超时"), m_timeout);
    bars->addRow(tr("完成"), m_completion);

    // Both buttons hide the window (QDialog's accept and reject do just that for a window
    // shown without exec); nothing is cancelled.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addLayout(bars);
    layout->addWidget(m_timeLeft);
    layout->addWidget(buttons);
}

void ProgressWindow::begin(const QString &caption)
{
    m_caption->setText(caption);
    m_timeout->setValue(0);
    m_completion->setValue(0);
    m_timeLeft->clear();
    m_left.reset();
    show();
}

void ProgressWindow::setTransfers(int done, int total)
{
    if (const auto left = m_left.update(done, total))
        m_timeLeft->setText(probe::text::timeLeft(*left));
}

QString ProgressWindow::timeLeftText() const
{
    return m_timeLeft->text();
}

void ProgressWindow::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void ProgressWindow::setBar(probe::Bar bar, int step, int max)
{
    QProgressBar *b = bar == probe::Bar::Timeout ? m_timeout : m_completion;
    if (b->maximum() != max)
        b->setRange(0, max);
    b->setValue(step);
}

QString ProgressWindow::caption() const
{
    return m_caption->text();
}

int ProgressWindow::barValue(probe::Bar bar) const
{
    return (bar == probe::Bar::Timeout ? m_timeout : m_completion)->value();
}

} // namespace zolm::app
