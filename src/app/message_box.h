#pragma once
// The program's message boxes. A window manager draws the title in its own bar and cuts what
// does not fit, while a message box sizes itself to its text; every box of the program is made
// here, wide enough for its whole title.
#include "platform/result.h"

#include <QMessageBox>

namespace zolm::app {

class ProgramMessageBox : public QMessageBox {
    Q_OBJECT
public:
    ProgramMessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons = NoButton,
                      QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // True when the box had to be made wider.
    bool widenForTitle();
};

// The width a window needs for `title` to show whole in a window manager's title bar: the title
// in a bold face of the window's font, plus room for the bar's icon and buttons.
int widthForTitle(const QWidget *window, const QString &title);

// A dialog at least as wide as its title needs (the dialog's own layout does the rest).
void fitTitle(QWidget *window);

// The icon of the box that tells a failure, chosen from its code here and nowhere else: the
// probe's failures keep the question mark its boxes have always had, a probe without data is
// information, everything else a warning.
QMessageBox::Icon iconFor(ErrorCode code);
// The failure's message in a box of its own (OK only); nothing for a cancelled operation.
void showError(QWidget *parent, const QString &title, const Error &error);

} // namespace zolm::app
