#include "table/edit_texts.h"

#include "platform/gbk.h"
#include "platform/number_text.h"

#include <QCoreApplication>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zolm {

QString numberFieldText(double v)
{
    return QString::fromStdString(formatGeneral15(v));
}

QString notANumberMessage()
{
    return QCoreApplication::translate("EditTexts", "请键入一个数。");
}

QString rangeMessage(NumberRange r)
{
    return QCoreApplication::translate("EditTexts", "“请填入一个在%1和%2之间的数字。”").arg(numberFieldText(r.min), numberFieldText(r.max));
}

QString tooLongMessage(int limit)
{
    return QCoreApplication::translate("EditTexts", "“请填入不多于%1个的字符。”").arg(limit);
}

QString notGbkMessage(const QString &character)
{
    return QCoreApplication::translate("EditTexts", "字符“%1”无法保存在文件中，请换用其他字符。").arg(character);
}

std::optional<double> parseDecimal(const QString &text)
{
    // The dialog's field may carry blanks around the number.
    return parseNumber(QStringView(text).trimmed());
}

NumberCheck checkNumber(const QString &text, NumberRange range)
{
    const auto v = parseDecimal(text);
    if (!v)
        return {std::nullopt, notANumberMessage()};
    if (*v < range.min || *v > range.max)
        return {std::nullopt, rangeMessage(range)};
    return {v, {}};
}

TextCheck checkHeaderText(const QString &text)
{
    if (const auto bad = firstCharNotInGbk(text))
        return {std::nullopt, notGbkMessage(*bad)};
    std::string gbk = toGbk(text);
    if (gbk.size() > static_cast<std::size_t>(HeaderTextLimit))
        return {std::nullopt, tooLongMessage()};
    // A zero byte would end the stored field early; store what the field would hold.
    if (const auto z = gbk.find('\0'); z != std::string::npos)
        gbk.resize(z);
    return {std::move(gbk), {}};
}

// A field read from a file may hold any bytes. A caption is one line of printable text: each
// run of other characters (line breaks, control codes) becomes one space between the parts
// around it.
static QString printableLine(const QString &text)
{
    QStringList parts;
    QString part;
    for (const uint u : text.toUcs4()) {
        const auto c = static_cast<char32_t>(u);
        if (QChar::isPrint(c)) {
            part += QString::fromUcs4(&c, 1);
        } else if (!part.isEmpty()) {
            parts << part;
            part.clear();
        }
    }
    if (!part.isEmpty())
        parts << part;
    return parts.join(QLatin1Char(' '));
}

static QString caption(const char *label, const QString &value)
{
    QString c = QCoreApplication::translate("EditTexts", label);
    const QString shown = printableLine(value);
    if (!shown.isEmpty())
        c += QStringLiteral(": ") + shown;
    return c;
}

QString crewCaption(const QString &crew)
{
    return caption(QT_TRANSLATE_NOOP("EditTexts", "井队编号"), crew);
}

QString wellCaption(const QString &well)
{
    return caption(QT_TRANSLATE_NOOP("EditTexts", "井号"), well);
}

QString declinationCaption(double declination)
{
    return caption(QT_TRANSLATE_NOOP("EditTexts", "磁偏角"), QString::fromStdString(formatNumber(declination, 3, 2)));
}

QString autoDepthNothingCheckedMessage()
{
    return QCoreApplication::translate("EditTexts", "\"自动生成井深\"只用于选择的数据\n\n当前没有选择任何数据");
}

QString depthOverwriteQuestion(int count)
{
    return QCoreApplication::translate("EditTexts", "选择的数据中有 %1 个测点已经输入了井深，将被新的井深覆盖。\n\n是否覆盖？")
        .arg(count);
}

QString depthOverwriteRefusal(const std::vector<int> &points)
{
    // A long list is cut: the count says how many there are.
    constexpr std::size_t Shown = 10;
    QStringList listed;
    for (std::size_t i = 0; i < points.size() && i < Shown; ++i)
        listed << QString::number(points[i]);
    if (points.size() > Shown)
        listed << QStringLiteral("…");
    return QCoreApplication::translate("EditTexts", "%1 个测点已经输入了井深（测点 %2），不会覆盖；确需覆盖请加 --force")
        .arg(points.size())
        .arg(listed.join(QStringLiteral(", ")));
}

} // namespace zolm
