#include "app/message_box.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>

#include <algorithm>

namespace zolm::app {

int widthForTitle(const QWidget *window, const QString &title)
{
    QFont font = window->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // A window manager's title face is often a little larger than the program's. Its bar holds
    // the icon and up to three buttons, each about as wide as the bar is high, and to keep the
    // title centred it may leave as much room on the other side.
    return metrics.horizontalAdvance(title) * 5 / 4 + 8 * metrics.height();
}

void fitTitle(QWidget *window)
{
    // An explicit minimum replaces the layout's own: keep the larger of the two.
    window->setMinimumWidth(std::max(window->minimumSizeHint().width(), widthForTitle(window, window->windowTitle())));
}

QMessageBox::Icon iconFor(ErrorCode code)
{
    switch (code) {
    case ErrorCode::None:
    case ErrorCode::ProbeNoData:
        return QMessageBox::Information;
    case ErrorCode::ProbeTimeout:
    case ErrorCode::ProbeMismatch:
    case ErrorCode::ProbePort:
    case ErrorCode::ProbeData:
    case ErrorCode::ProbeUnverified:
        return QMessageBox::Question;
    default:
        return QMessageBox::Warning;
    }
}

void showError(QWidget *parent, const QString &title, const Error &error)
{
    if (error.code == ErrorCode::Cancelled)
        return;
    ProgramMessageBox box(iconFor(error.code), title, error.message, QMessageBox::Ok, parent);
    box.exec();
}

ProgramMessageBox::ProgramMessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons,
                                     QWidget *parent)
    : QMessageBox(icon, title, text, buttons, parent)
{
}

bool ProgramMessageBox::event(QEvent *event)
{
    // The box fixes its size again whenever its layout or font changes; widen after it.
    const bool done = QMessageBox::event(event);
    switch (event->type()) {
    case QEvent::LayoutRequest:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::WindowTitleChange:
        widenForTitle();
        break;
    default:
        break;
    }
    return done;
}

void ProgramMessageBox::showEvent(QShowEvent *event)
{
    // The box has sized itself and been placed over its parent: wider, it stays centred there.
    QMessageBox::showEvent(event);
    const QPoint centre = geometry().center();
    if (widenForTitle())
        move(centre - QPoint(width() / 2, height() / 2));
}

bool ProgramMessageBox::widenForTitle()
{
    if (!isVisible())
        return false;
    const int wanted = widthForTitle(this, windowTitle());
    if (width() >= wanted)
        return false;
    // A wider text wraps less: the height for the new width is no greater.
    int height = this->height();
    if (QLayout *l = layout(); l && l->hasHeightForWidth())
        height = std::max(l->totalHeightForWidth(wanted), l->totalMinimumSize().height());
    setFixedSize(wanted, height);
    // As the box does after its own sizing: the fixed size must not start another round.
    QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    return true;
}

} // namespace zolm::app
