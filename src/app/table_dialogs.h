#pragma once
// The table's dialogs: crew number, well number, declination, automatic depth and depth. Each
// checks its fields on OK through the table logic; a refused value keeps the dialog open with
// the message and the offending field focused.
#include "platform/result.h"
#include "table/survey_table.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace zolm::app {

// The program's title: caption of its message boxes.
QString applicationTitle(); // "ZOLM多点程序"

// Box of a refused dialog value or a command's message: OK only, the program's title.
void showProgramMessage(QWidget *parent, const QString &text);
// A failure in the program's box, its icon chosen from its code.
void showProgramError(QWidget *parent, const Error &error);

class FieldDialog : public QDialog {
    Q_OBJECT
public:
    struct Field {
        QString label;   // static text above the field (may be empty)
        QString text;    // initial text
        int maxGbkBytes = 0; // input limit in GBK bytes, as the document stores the text; 0: none
    };
    // What OK does with the fields' texts: the outcome, refused or not, and which field a
    // refusal concerns. A cancelled outcome (a question answered No) leaves the dialog open.
    using Check = std::function<TableChange(const QStringList &texts, int *badField)>;

    FieldDialog(QWidget *parent, const DialogTexts &texts, const QList<Field> &fields, Check check,
                const QString &okText = QStringLiteral("OK"), const QString &cancelText = QStringLiteral("Cancel"));

    QLineEdit *field(int i) const { return m_edits.value(i); }
    // The outcome of the OK that closed the dialog.
    const TableChange &outcome() const { return m_outcome; }

    void accept() override;

private:
    QList<QLineEdit *> m_edits;
    Check m_check;
    TableChange m_outcome;
};

// Automatic depth: start and course length, and which way to count (down, the original's way,
// for a survey taken while pulling out; up for one taken while running in). OK asks before
// depths entered earlier are replaced; No leaves the dialog open.
class AutoDepthDialog : public FieldDialog {
    Q_OBJECT
public:
    AutoDepthDialog(QWidget *parent, SurveyTable &table);
    QRadioButton *downButton() const { return m_down; }
    QRadioButton *upButton() const { return m_up; }
    DepthDirection direction() const;

private:
    TableChange check(SurveyTable &table, const QStringList &texts, int *badField);

    QRadioButton *m_down = nullptr;
    QRadioButton *m_up = nullptr;
};

// Asks whether `count` entered depths may be replaced (是/否, 否 the default).
bool confirmDepthOverwrite(QWidget *parent, int count);

// Each runs its dialog modally and returns the outcome of OK, or nothing when cancelled.
// A header dialog's new caption goes to *caption.
std::optional<TableChange> runCrewDialog(QWidget *parent, SurveyTable &table, QString *caption);
std::optional<TableChange> runWellDialog(QWidget *parent, SurveyTable &table, QString *caption);
std::optional<TableChange> runDeclinationDialog(QWidget *parent, SurveyTable &table, QString *caption);
std::optional<TableChange> runAutoDepthDialog(QWidget *parent, SurveyTable &table);
std::optional<TableChange> runDepthDialog(QWidget *parent, SurveyTable &table, int row);


} // namespace zolm::app
