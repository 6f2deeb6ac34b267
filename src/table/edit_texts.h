#pragma once
// What the editing dialogs check and say, shared by the desktop dialogs and zolm-cli: the
// fields' ranges, the framework's refusal texts, the header-bar captions, the dialogs' texts.
#include "document/survey_file.h"

#include <QCoreApplication>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace zolm {

struct NumberRange {
    double min;
    double max;
};

namespace Range {
inline constexpr NumberRange Declination{-360.0, 360.0};
inline constexpr NumberRange StartDepth{30.0, 9999.0};
inline constexpr NumberRange CourseLength{0.1, 500.0};
// An accepted depth must survive saving and opening.
inline constexpr NumberRange Depth{0.0, MaxStoredDepth};
} // namespace Range

// Crew and well numbers: bytes of GBK text, also the edit controls' input limit.
inline constexpr int HeaderTextLimit = 14;
inline constexpr double AutoDepthDefaultStart = 2000.0;
inline constexpr double AutoDepthDefaultLength = 30.0;

// A number the way it shows in a dialog field and in the range message: shortest form, up to
// 15 significant digits ("2000", "30", "0.1", "99999.99").
QString numberFieldText(double v);

// The framework's refusal texts.
QString notANumberMessage();                    // "请键入一个数。"
QString rangeMessage(NumberRange r);            // "“请填入一个在0.1和500之间的数字。”"
QString tooLongMessage(int limit = HeaderTextLimit); // "“请填入不多于14个的字符。”"
// A character that the document's GBK text cannot hold (it would be stored as '?').
QString notGbkMessage(const QString &character);

// Outcome of checking one field when OK is pressed: the value, or the message to show.
struct NumberCheck {
    std::optional<double> value;
    QString message;
};
struct TextCheck {
    std::optional<std::string> gbk; // the text as it will be stored
    QString message;
};

// Decimal numbers only (sign, digits, point, exponent; blanks around allowed). Infinities,
// NaN and hexadecimal forms are refused as "not a number": a NaN would pass every range check.
std::optional<double> parseDecimal(const QString &text);
NumberCheck checkNumber(const QString &text, NumberRange range);
// Refuses a character that GBK cannot hold, then a text longer than the field.
TextCheck checkHeaderText(const QString &text);

// Header-bar captions: the label alone for an empty value, else label + ": " + value, the
// value as one line of its printable characters.
QString crewCaption(const QString &crew);
QString wellCaption(const QString &well);
QString declinationCaption(double declination); // value as "%3.2f"

// Message box of automatic depth when no point is checked.
QString autoDepthNothingCheckedMessage();
// Before depths entered earlier are replaced: the desktop's question, and zolm-cli's refusal
// (which names the points and --force).
QString depthOverwriteQuestion(int count);
QString depthOverwriteRefusal(const std::vector<int> &points);

// Texts of the editing dialogs, marked for translation in the context "EditTexts" (the dialogs
// translate them when they show them).
struct DialogTexts {
    const char *title;     // UTF-8
    const char *prompt;    // first static text, UTF-8 (may be empty)
    const char *secondary; // further static text, UTF-8 (may be empty)
};
namespace Dialog {
inline constexpr DialogTexts Crew{QT_TRANSLATE_NOOP("EditTexts", "输入井队号"), QT_TRANSLATE_NOOP("EditTexts", "请输入井队号"), ""};
inline constexpr DialogTexts Well{QT_TRANSLATE_NOOP("EditTexts", "输入井号"), QT_TRANSLATE_NOOP("EditTexts", "请输入井号"), ""};
inline constexpr DialogTexts Declination{QT_TRANSLATE_NOOP("EditTexts", "输入磁偏角"), QT_TRANSLATE_NOOP("EditTexts", "请输入磁偏角"),
                                         QT_TRANSLATE_NOOP("EditTexts", "提示：真方位 = 磁方位 + 磁偏角")};
inline constexpr DialogTexts AutoDepth{QT_TRANSLATE_NOOP("EditTexts", "自动生成井深"), QT_TRANSLATE_NOOP("EditTexts", "在选择的数据点中自动填入测深数据"), ""};
inline constexpr const char *AutoDepthStartLabel = QT_TRANSLATE_NOOP("EditTexts", "请输入起始测深");
inline constexpr const char *AutoDepthLengthLabel = QT_TRANSLATE_NOOP("EditTexts", "请输入段长");
inline constexpr DialogTexts Depth{QT_TRANSLATE_NOOP("EditTexts", "输入测深数据(单位:米)"), "", ""};
inline constexpr const char *DepthOk = QT_TRANSLATE_NOOP("EditTexts", "确认");
inline constexpr const char *DepthCancel = QT_TRANSLATE_NOOP("EditTexts", "取消");
} // namespace Dialog

} // namespace zolm
