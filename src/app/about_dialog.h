#pragma once
// The about box: the original version line, and this program's own version below it.
#include <QDialog>
#include <QIcon>

namespace zolm::app {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

// The program's icon.
QIcon programIcon();

// "版本 <PROJECT_VERSION>": the line under the original's.
QString programVersionLine();

} // namespace zolm::app
