#include "app/table_dialogs.h"

#include "app/message_box.h"
#include "platform/gbk.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

namespace zolm::app {

QString applicationTitle()
{
    return QCoreApplication::translate("zolm::app::FieldDialog", "ZOLM多点程序");
}

void showProgramMessage(QWidget *parent, const QString &text)
{
    ProgramMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

void showProgramError(QWidget *parent, const Error &error)
{
    showError(parent, applicationTitle(), error);
}

namespace {

// The input limit of a text the document keeps in GBK: a Chinese character takes two bytes, so
// a count of characters would let 9 of them (18 bytes) be typed or pasted and only be refused at
// OK. A longer text given at the start may still be shortened; OK checks it with its message.
class GbkLengthValidator : public QValidator {
public:
    GbkLengthValidator(QLineEdit *edit, int limit)
        : QValidator(edit), m_limit(static_cast<std::size_t>(limit)), m_bytes(toGbk(edit->text()).size())
    {
        // The edit has already changed its text when it asks; what it held before is kept here.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_bytes = toGbk(text).size(); });
    }

    State validate(QString &input, int &) const override
    {
        const std::size_t bytes = toGbk(input).size();
        if (bytes <= m_limit)
            return Acceptable;
        return bytes < m_bytes ? Intermediate : Invalid;
    }

private:
    std::size_t m_limit;
    std::size_t m_bytes; // the text's length before the change asked about
};

} // namespace

FieldDialog::FieldDialog(QWidget *parent, const DialogTexts &texts, const QList<Field> &fields, Check check,
                         const QString &okText, const QString &cancelText)
    : QDialog(parent), m_check(std::move(check))
{
    setWindowTitle(QCoreApplication::translate("EditTexts", texts.title));
    auto *layout = new QVBoxLayout(this);
    if (*texts.prompt)
        layout->addWidget(new QLabel(QCoreApplication::translate("EditTexts", texts.prompt), this));
    for (const Field &f : fields) {
        if (!f.label.isEmpty())
            layout->addWidget(new QLabel(f.label, this));
        auto *edit = new QLineEdit(f.text, this);
        if (f.maxGbkBytes > 0) {
            edit->setMaxLength(f.maxGbkBytes); // no character takes less than a byte
            edit->setValidator(new GbkLengthValidator(edit, f.maxGbkBytes));
        }
        edit->setMinimumWidth(220);
        layout->addWidget(edit);
        m_edits.append(edit);
    }
    if (*texts.secondary)
        layout->addWidget(new QLabel(QCoreApplication::translate("EditTexts", texts.secondary), this));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(okText, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(cancelText, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FieldDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FieldDialog::reject);
    layout->addWidget(buttons);
    fitTitle(this);
    if (!m_edits.isEmpty()) {
        m_edits.first()->setFocus();
        m_edits.first()->selectAll();
    }
}

void FieldDialog::accept()
{
    QStringList texts;
    for (const QLineEdit *e : m_edits)
        texts << e->text();
    int bad = 0;
    m_outcome = m_check(texts, &bad);
    if (m_outcome.cancelled())
        return;
    if (m_outcome.refused()) {
        showProgramMessage(this, m_outcome.message);
        if (QLineEdit *e = field(bad)) {
            e->setFocus();
            e->selectAll();
        }
        return;
    }
    QDialog::accept();
}

namespace {

std::optional<TableChange> run(FieldDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.outcome();
}

std::optional<TableChange> runHeaderText(QWidget *parent, SurveyTable &table, bool crew, QString *caption)
{
    const QString initial = crew ? table.crewText() : table.wellText();
    FieldDialog dialog(parent, crew ? Dialog::Crew : Dialog::Well, {{QString(), initial, HeaderTextLimit}},
                       [&](const QStringList &texts, int *) {
                           return crew ? table.editCrew(texts[0], caption) : table.editWell(texts[0], caption);
                       });
    return run(dialog);
}

} // namespace

std::optional<TableChange> runCrewDialog(QWidget *parent, SurveyTable &table, QString *caption)
{
    return runHeaderText(parent, table, true, caption);
}

std::optional<TableChange> runWellDialog(QWidget *parent, SurveyTable &table, QString *caption)
{
    return runHeaderText(parent, table, false, caption);
}

std::optional<TableChange> runDeclinationDialog(QWidget *parent, SurveyTable &table, QString *caption)
{
    const double initial = table.declinationForDialog();
    FieldDialog dialog(parent, Dialog::Declination, {{QString(), numberFieldText(initial)}},
                       [&](const QStringList &texts, int *) { return table.editDeclination(texts[0], caption); });
    return run(dialog);
}

AutoDepthDialog::AutoDepthDialog(QWidget *parent, SurveyTable &table)
    : FieldDialog(parent, Dialog::AutoDepth,
                  {{QCoreApplication::translate("EditTexts", Dialog::AutoDepthStartLabel), numberFieldText(AutoDepthDefaultStart)},
                   {QCoreApplication::translate("EditTexts", Dialog::AutoDepthLengthLabel), numberFieldText(AutoDepthDefaultLength)}},
                  [this, &table](const QStringList &texts, int *bad) { return check(table, texts, bad); })
{
    // Points follow the probe's clock: the direction says how the depth went with time.
    auto *group = new QGroupBox(tr("井深方向（按测量时间顺序）"), this);
    m_down = new QRadioButton(tr("逐点递减：起钻时测量"), group);
    m_up = new QRadioButton(tr("逐点递增：下钻时测量"), group);
    m_down->setToolTip(tr("第一个选择的测点为起始测深，以后每个选择的测点减少一个段长，直到小于 0"));
    m_up->setToolTip(tr("第一个选择的测点为起始测深，以后每个选择的测点增加一个段长"));
    m_down->setChecked(true);
    auto *radios = new QVBoxLayout(group);
    radios->addWidget(m_down);
    radios->addWidget(m_up);
    // Above the buttons, below the fields.
    auto *box = static_cast<QVBoxLayout *>(layout());
    box->insertWidget(box->count() - 1, group);
    // Tab goes through them where they are seen: after the fields, before the buttons.
    setTabOrder(field(1), m_down);
    setTabOrder(m_down, m_up);
}

DepthDirection AutoDepthDialog::direction() const
{
    return m_up->isChecked() ? DepthDirection::Up : DepthDirection::Down;
}

TableChange AutoDepthDialog::check(SurveyTable &table, const QStringList &texts, int *bad)
{
    // The start is checked first; a refusal focuses the field it concerns.
    const NumberCheck start = checkNumber(texts[0], Range::StartDepth);
    const NumberCheck length = checkNumber(texts[1], Range::CourseLength);
    *bad = start.value ? 1 : 0;
    if (start.value && length.value && table.autoDepthRefusal()) {
        const auto replaced = table.autoDepthOverwrites(*start.value, *length.value, direction());
        if (!replaced.empty() && !confirmDepthOverwrite(this, static_cast<int>(replaced.size()))) {
            TableChange declined;
            declined.outcome = CommandOutcome::Cancelled;
            return declined;
        }
    }
    return table.autoDepth(texts[0], texts[1], direction());
}

bool confirmDepthOverwrite(QWidget *parent, int count)
{
    ProgramMessageBox box(QMessageBox::Question, applicationTitle(), depthOverwriteQuestion(count),
                          QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("zolm::app::FieldDialog", "是(&Y)"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("zolm::app::FieldDialog", "否(&N)"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<TableChange> runAutoDepthDialog(QWidget *parent, SurveyTable &table)
{
    AutoDepthDialog dialog(parent, table);
    return run(dialog);
}

std::optional<TableChange> runDepthDialog(QWidget *parent, SurveyTable &table, int row)
{
    const auto initial = table.depthForDialog(row);
    if (!initial)
        return std::nullopt;
    FieldDialog dialog(parent, Dialog::Depth, {{QString(), numberFieldText(*initial)}},
                       [&](const QStringList &texts, int *) { return table.enterDepth(row, texts[0]); },
                       QCoreApplication::translate("EditTexts", Dialog::DepthOk), QCoreApplication::translate("EditTexts", Dialog::DepthCancel));
    return run(dialog);
}

} // namespace zolm::app
