#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolm::app {

QString programVersionLine()
{
    return QStringLiteral("ZOLM 程序版本 %1").arg(QStringLiteral(ZOLM_VERSION));
}

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("关于ZOLM电子多点测斜仪主程序"));
    auto *icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/zolm/zolm.png")).scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto *texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("nZOLM 1.01(120) 版 (200507250825)"), this));
    texts->addWidget(new QLabel(programVersionLine(), this));
    auto *row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace zolm::app
