#include "app/about_dialog.h"

#include "app/message_box.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

// The icon lives in the static library's resources, which the linker keeps only when asked.
static void initResources()
{
    Q_INIT_RESOURCE(zolm);
}

namespace zolm::app {

QIcon programIcon()
{
    initResources();
    return QIcon(QStringLiteral(":/zolm/zolm.png"));
}

QString programVersionLine()
{
    return QCoreApplication::translate("zolm::app::CAboutDlg", "ZOLM 程序版本 %1").arg(QStringLiteral(ZOLM_VERSION));
}

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QCoreApplication::translate("zolm::app::CAboutDlg", "关于ZOLM电子多点测斜仪主程序"));
    auto *icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(48, 48));
    auto *texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QCoreApplication::translate("zolm::app::CAboutDlg", "nZOLM 1.01(120) 版 (200507250825)"), this));
    texts->addWidget(new QLabel(programVersionLine(), this));
    auto *row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1); // a title wider than the texts leaves its room after them
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    fitTitle(this);
}

} // namespace zolm::app
