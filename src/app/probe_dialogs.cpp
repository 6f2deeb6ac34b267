#include "app/probe_dialogs.h"

#include "app/message_box.h"
#include "app/table_dialogs.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zolm::app {

namespace {

// What the edits accept while typing: wider than any accepted value, so that a value out
// of range reaches the check on OK and gets its message there.
constexpr int TypedLimit = 99999;

// A refusal without a caption of its own is titled with the program's name, as the range
// messages always were.
QString refusalCaption(const QString &caption)
{
    return caption.isEmpty() ? applicationTitle() : caption;
}

QLineEdit *readOnlyField(const QString &text, QWidget *parent)
{
    auto *field = new QLineEdit(text, parent);
    field->setReadOnly(true);
    return field;
}

// A label whose buddy is the field it names.
QLabel *labelFor(const QString &text, QWidget *field, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

} // namespace

WrapSpinBox::WrapSpinBox(int arrowMin, int arrowMax, QWidget *parent)
    : QSpinBox(parent), m_arrowMin(arrowMin), m_arrowMax(arrowMax)
{
    setRange(-TypedLimit, TypedLimit);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void WrapSpinBox::stepBy(int steps)
{
    const int span = m_arrowMax - m_arrowMin + 1;
    // A typed value outside the arrows' range starts from the nearer end.
    const int from = std::clamp(value(), m_arrowMin, m_arrowMax) - m_arrowMin;
    const int to = ((from + steps) % span + span) % span;
    setValue(m_arrowMin + to);
    selectAll();
}

ProbeSettingsDialog::ProbeSettingsDialog(const probe::ProbeSetup &setup, QWidget *parent)
    : QDialog(parent), m_minutes(new WrapSpinBox(0, 999, this)), m_seconds(new WrapSpinBox(0, 59, this)),
      m_interval(new WrapSpinBox(1, 255, this))
{
    setWindowTitle(tr("设置探管"));
    m_minutes->setObjectName(QStringLiteral("minutes"));
    m_seconds->setObjectName(QStringLiteral("seconds"));
    m_interval->setObjectName(QStringLiteral("interval"));
    m_minutes->setValue(setup.minutes);
    m_seconds->setValue(setup.seconds);
    m_interval->setValue(setup.interval);

    auto *grid = new QGridLayout;
    grid->addWidget(labelFor(tr("延时时间"), m_minutes, this), 0, 0);
    grid->addWidget(m_minutes, 0, 1);
    grid->addWidget(new QLabel(tr("分钟 ＋"), this), 0, 2);
    grid->addWidget(m_seconds, 0, 3);
    grid->addWidget(labelFor(tr("秒"), m_seconds, this), 0, 4);
    grid->addWidget(labelFor(tr("采样间隔"), m_interval, this), 1, 0);
    grid->addWidget(m_interval, 1, 1);
    grid->addWidget(new QLabel(tr("秒"), this), 1, 2);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *write = buttons->addButton(tr("写入探管"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("退出"), QDialogButtonBox::RejectRole);
    write->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("设置探管的延时时间和采样间隔时间"), this));
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

probe::ProbeSetup ProbeSettingsDialog::setup() const
{
    probe::ProbeSetup s;
    s.minutes = probe::parseSetupNumber(m_minutes->text());
    s.seconds = probe::parseSetupNumber(m_seconds->text());
    s.interval = probe::parseSetupNumber(m_interval->text());
    return s;
}

void ProbeSettingsDialog::accept()
{
    if (const auto refusal = probe::validateSetup(setup())) {
        // Not exec(): no event loop nested in the dialog's own; the dialog stays open behind
        // the box, which is modal to it.
        auto *box = new ProgramMessageBox(QMessageBox::Warning, refusalCaption(refusal->caption), refusal->text,
                                          QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    QDialog::accept();
}

ProbeInfoDialog::ProbeInfoDialog(const probe::ProbeInfo &info, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("探管信息"));
    auto *form = new QFormLayout;
    for (const auto &[label, text] : probe::infoFields(info, probe::Wording::Translated)) {
        QLineEdit *field = readOnlyField(text, this);
        form->addRow(labelFor(label, field, this), field);
    }
    auto *charge = new QProgressBar(this);
    charge->setObjectName(QStringLiteral("chargeBar"));
    charge->setRange(0, 100);
    charge->setValue(probe::batteryState(info.battery).percent);
    charge->setTextVisible(false);
    form->addRow(QString(), charge);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

RealTimeWindow::RealTimeWindow(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("实时输出数据"));
    setModal(false);
    auto *heading = new QLabel(tr("探管实时输出数据"), this);
    heading->setAlignment(Qt::AlignCenter);

    auto *form = new QFormLayout;
    for (const auto &field : probe::realTimeFields(SurveyValues{})) {
        QLineEdit *edit = readOnlyField(QString(), this);
        m_fields.push_back(edit);
        // The labels are `zolm-cli live`'s too, where they stay as they are; here they are translated.
        const QString label = QCoreApplication::translate("Quantity", field.first.toUtf8().constData());
        form->addRow(labelFor(label, edit, this), edit);
    }

    auto *exit = new QPushButton(tr("退出实时数据"), this);
    exit->setObjectName(QStringLiteral("exitRealTime"));
    connect(exit, &QPushButton::clicked, this, &RealTimeWindow::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(exit, 0, Qt::AlignHCenter);
}

void RealTimeWindow::showValues(const SurveyValues &values)
{
    const auto fields = probe::realTimeFields(values);
    for (std::size_t i = 0; i < fields.size() && i < m_fields.size(); ++i)
        m_fields[i]->setText(fields[i].second);
}

void RealTimeWindow::reject()
{
    // Esc and the exit button: hide, then the stream is stopped by whoever listens.
    hide();
    emit stopRequested();
}

} // namespace zolm::app
