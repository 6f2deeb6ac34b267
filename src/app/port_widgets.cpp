#include "app/port_widgets.h"

#include "probe/port_choice.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace zolm::app {

namespace {

#ifdef Q_OS_WIN
constexpr int PortNameLimit = 19; // bytes the stored name may hold, terminator included
#endif

// The port box's text: a name too long for it (a /dev/serial/by-id/... path) shows elided in
// the middle, so that both its start and its distinctive end show, while the box does not have
// the focus; typing shows it whole.
class PortNameEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    bool nameFits() const { return fontMetrics().horizontalAdvance(text()) <= textRect().width(); }
    QString shownText() const
    {
        if (hasFocus() || nameFits())
            return text();
        return fontMetrics().elidedText(text(), Qt::ElideMiddle, textRect().width());
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QString shown = shownText();
        if (shown == text()) {
            QLineEdit::paintEvent(event);
            return;
        }
        QPainter painter(this);
        QStyleOptionFrame option;
        initStyleOption(&option);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::Text));
        painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
    }

private:
    // Where QLineEdit draws its text: its contents less the text margins and its own 2 pixels a side.
    QRect textRect() const
    {
        QStyleOptionFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins())
            .adjusted(2, 0, -2, 0);
    }
};

} // namespace

QStringList availablePortNames()
{
    // On Windows COM1 to COM9, the ports the system registered beyond them, then SIM.
    QStringList names;
    for (const auto &[name, description] : probe::availablePorts())
        names << name;
    return names;
}

PortBox::PortBox(QWidget *parent) : QComboBox(parent)
{
    setLineEdit(new PortNameEdit(this));
    setInsertPolicy(QComboBox::NoInsert);
    addItems(availablePortNames());
    // The whole name, when the box shows it elided.
    connect(this, &QComboBox::currentTextChanged, this, &PortBox::updateToolTip);
#ifdef Q_OS_WIN
    // "COMn" names: the length the original stored. A device path elsewhere may be as long as
    // the system allows.
    lineEdit()->setMaxLength(PortNameLimit - 1);
    // Windows port names are typed in capitals, as they always were.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        const int at = lineEdit()->cursorPosition();
        lineEdit()->setText(text.toUpper());
        lineEdit()->setCursorPosition(at);
    });
#endif
}

QString PortBox::shownText() const
{
    return static_cast<const PortNameEdit *>(lineEdit())->shownText();
}

void PortBox::updateToolTip()
{
    setToolTip(static_cast<const PortNameEdit *>(lineEdit())->nameFits() ? QString() : currentText());
}

void PortBox::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    updateToolTip();
}

void PortBox::showPopup()
{
    // A USB adapter plugged in after the start is offered too.
    const QString current = currentText();
    const QStringList names = availablePortNames();
    QStringList shown;
    for (int i = 0; i < count(); ++i)
        shown << itemText(i);
    if (names != shown) {
        QSignalBlocker block(this);
        clear();
        addItems(names);
        const int i = findText(current);
        if (i >= 0)
            setCurrentIndex(i);
        else
            setCurrentText(current);
    }
    QComboBox::showPopup();
}

CPortSelectDlg::CPortSelectDlg(const QString &current, bool verifyRead, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("选择通讯口"));
    m_box = new PortBox(this);
    const int i = m_box->findText(current);
    if (i >= 0)
        m_box->setCurrentIndex(i);
    else
        m_box->setCurrentText(current);
    m_box->setMinimumWidth(200);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("选择电脑与探管连接的通讯口"), this));
    layout->addWidget(m_box);
    m_verify = new QCheckBox(tr("读取时校验数据"), this);
    m_verify->setObjectName(QStringLiteral("verifyRead"));
    m_verify->setChecked(verifyRead);
    layout->addWidget(m_verify);
    layout->addWidget(buttons);
    setTabOrder(m_box, m_verify); // made after the buttons, shown before them
}

QString CPortSelectDlg::port() const
{
    return m_box->currentText().trimmed();
}

bool CPortSelectDlg::verifyRead() const
{
    return m_verify->isChecked();
}

} // namespace zolm::app
