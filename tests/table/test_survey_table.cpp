// The survey table's logic: rows, display modes and order, check boxes, depth and header
// commands with the dialogs' checks.
#include "platform/gbk.h"
#include "synthetic.h"
#include "table/survey_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace zolm;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

class Table : public ::testing::Test {
protected:
    void load(int n, std::uint16_t first = 600, std::uint8_t interval = 10)
    {
        const std::vector<sim::Station> stations(static_cast<std::size_t>(n), sim::Station{10.0, 45.0, 0.0, 25.0});
        const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, stations, {}, first, interval);
        doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
        doc.setModified(false);
    }
    void check(std::initializer_list<int> points)
    {
        for (const int p : points)
            doc.survey().flags[static_cast<std::size_t>(p)] |= PointFlag::Checked;
    }
    bool checked(int p) const { return doc.survey().flags[static_cast<std::size_t>(p)] & PointFlag::Checked; }
    bool shown(int p) const { return doc.survey().flags[static_cast<std::size_t>(p)] & PointFlag::Shown; }
    double depth(int p) const { return doc.survey().depth[static_cast<std::size_t>(p)]; }

    // A point has a row exactly when it is shown; rows run in the order the table states and
    // column 1 numbers them from 0.
    void expectConsistent() const
    {
        for (int p = 0; p < doc.pointCount(); ++p)
            EXPECT_EQ(shown(p), table.rowForPoint(p) >= 0) << "point " << p;
        const auto &rows = table.rowPoints();
        if (table.orderReversed())
            EXPECT_TRUE(std::is_sorted(rows.rbegin(), rows.rend()));
        else
            EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
        for (int r = 0; r < table.rowCount(); ++r)
            EXPECT_EQ(table.cellText(r, tableColumn(Quantity::Sequence)), std::to_string(r));
    }

    CNDravikDoc doc;
    SurveyTable table{doc};
};

} // namespace

TEST(CellTexts, TimesDepthsAndWidths)
{
    EXPECT_EQ(timeText(3725), "01:02:05");
    EXPECT_EQ(timeText(90000), "25:00:00");
    EXPECT_EQ(timeText(360000), "100:00:00");
    EXPECT_EQ(depthText(0.0), "0");
    EXPECT_EQ(depthText(0.005), "0");
    EXPECT_EQ(depthText(-3.0), "0");
    EXPECT_EQ(depthText(0.01), " 0.01");
    EXPECT_EQ(depthText(1234.5), "1234.50");
    EXPECT_EQ(formatFixed(3.14159, 2), " 3.14");
    EXPECT_EQ(formatFixed(1.0, 5), "1.00000");
    EXPECT_EQ(formatFixed(-0.004, 2), "-0.00");
    // The export's "% 5.2f" and "% 3.2f" and the report's "%3.4f".
    EXPECT_EQ(formatNumber(3.25, 5, 2, true), " 3.25");
    EXPECT_EQ(formatNumber(-3.0, 5, 2, true), "-3.00");
    EXPECT_EQ(formatNumber(0.0, 3, 2, true), " 0.00");
    EXPECT_EQ(formatNumber(1.0, 3, 4), "1.0000");
    EXPECT_EQ(formatNumber(0.125, 5, 2), " 0.12"); // round half to even, as printf
    EXPECT_EQ(formatNumber(1e20, 5, 2), "100000000000000000000.00");
}

// The table shows, after its check box, each quantity that has a width, in item order: the
// columns, headings and widths it has always had; the header's texts are not among them.
TEST(CellTexts, ColumnsAreTheQuantitiesWithAWidth)
{
    const char *const headings[] = {"",       "序号",   "时间",     "测  深",   "井  斜", "磁方位",
                                    "重力工具面", "磁性工具面", "磁倾角", "探管温度", "总加速度", "总磁场"};
    const int widths[] = {21, 50, 90, 90, 80, 90, 100, 100, 80, 100, 100, 100};
    ASSERT_EQ(TableColumnCount, 12);
    for (int c = 0; c < TableColumnCount; ++c) {
        EXPECT_STREQ(columnHeader(c), headings[c]) << c;
        EXPECT_EQ(columnWidth(c), widths[c]) << c;
    }
    EXPECT_EQ(tableColumn(Quantity::Depth), 3);
    EXPECT_EQ(columnQuantity(11), Quantity::TotalField);
    EXPECT_EQ(tableColumn(Quantity::Crew), -1);
    EXPECT_EQ(tableColumn(Quantity::TrueAzimuth), -1);

    // A quantity taken from the header as well as the point: what the export writes.
    auto s = std::make_unique<SurveyData>();
    s->values[2][MagneticAzimuth] = 120.5;
    s->header.setDeclination(-4.25);
    EXPECT_DOUBLE_EQ(quantityNumber(*s, 2, quantityInfo(Quantity::TrueAzimuth)), 116.25);
    EXPECT_DOUBLE_EQ(quantityNumber(*s, 2, quantityInfo(Quantity::Declination)), -4.25);
}

TEST(CellTexts, SameDigitsAsPrintfInTheCLocale)
{
    // formatNumber must not depend on the process's locale, yet give printf's digits exactly.
    std::uint64_t x = 88172645463325252ull;
    auto next = [&] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    };
    char buf[512];
    for (int i = 0; i < 20000; ++i) {
        const double scale = (i % 4 == 0) ? 1.0 : (i % 4 == 1) ? 1000.0 : (i % 4 == 2) ? 1e-3 : 1e7;
        double v = (static_cast<double>(next() % 2000001) - 1000000.0) / 1000.0 * scale;
        if (i % 5 == 0)
            v = std::round(v * 1000.0) / 1000.0 + 0.005; // near rounding ties
        std::snprintf(buf, sizeof buf, "% 5.2f", v);
        ASSERT_EQ(formatNumber(v, 5, 2, true), buf) << v;
        std::snprintf(buf, sizeof buf, "%5.5f", v);
        ASSERT_EQ(formatNumber(v, 5, 5), buf) << v;
        std::snprintf(buf, sizeof buf, "% 3.2f", v);
        ASSERT_EQ(formatNumber(v, 3, 2, true), buf) << v;
    }
}

TEST_F(Table, RefillShowsEveryPointAscendingAndKeepsChecks)
{
    load(6, 3725, 4);
    check({2, 5});
    doc.survey().header.setDeclination(400.0);
    const RefillResult r = table.refillTable();
    EXPECT_TRUE(r.filled);
    EXPECT_EQ(r.declinationCaption, QStringLiteral("磁偏角: 0.00"));
    EXPECT_EQ(doc.survey().header.declination(), 0.0);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(table.rowCount(), 6);
    EXPECT_EQ(table.highlightedRow(), 0);
    EXPECT_TRUE(table.isRowChecked(2));
    EXPECT_FALSE(table.isRowChecked(3));
    EXPECT_EQ(table.cellText(5, tableColumn(Quantity::Time)), "01:02:25");
    expectConsistent();
}

TEST_F(Table, RefillWithoutDataLeavesTableAsItWas)
{
    load(3);
    table.refillTable();
    doc.survey().pointCount = 0;
    const RefillResult r = table.refillTable();
    EXPECT_FALSE(r.filled);
    EXPECT_EQ(table.rowCount(), 3);
}

TEST_F(Table, CrewOfSixteenBytesAndEmptyCaptions)
{
    load(2);
    auto &h = doc.survey().header.bytes;
    for (std::size_t i = 0; i < 16; ++i)
        h[SurveyHeader::CrewOffset + i] = static_cast<std::uint8_t>('A' + i);
    h[SurveyHeader::CrewOffset + 16] = 'Z'; // the byte after the field is not part of it
    const RefillResult r = table.refillTable();
    EXPECT_EQ(r.crewCaption, QStringLiteral("井队编号: ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(r.wellCaption, QStringLiteral("井号"));
    // Showing the fields puts a zero after each, as a save then stores.
    EXPECT_EQ(h[SurveyHeader::CrewOffset + 16], 0);
    h[SurveyHeader::WellOffset + 16] = 'Y';
    table.editWell(QStringLiteral("W2"));
    EXPECT_EQ(h[SurveyHeader::WellOffset + 16], 0);
}

TEST_F(Table, DisplayModesKeepRowsAndShownFlagsTogether)
{
    load(10);
    check({1, 4, 5, 9});
    table.refillTable();
    for (const DisplayMode m : {DisplayMode::HideChecked, DisplayMode::OnlyChecked, DisplayMode::AllPoints}) {
        for (const bool reverse : {false, true}) {
            table.showPoints(m);
            if (reverse != table.orderReversed())
                table.reverseOrder();
            SCOPED_TRACE(static_cast<int>(m) * 10 + reverse);
            expectConsistent();
            EXPECT_EQ(table.rowCount(), m == DisplayMode::AllPoints ? 10 : m == DisplayMode::OnlyChecked ? 4 : 6);
            EXPECT_EQ(table.highlightedRow(), -1);
        }
    }
    // Modes never touch the checked flags and never mark the document modified.
    for (int p = 0; p < 10; ++p)
        EXPECT_EQ(checked(p), p == 1 || p == 4 || p == 5 || p == 9);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Table, EmptyModesClearEveryShownFlag)
{
    load(4);
    table.refillTable();
    table.showPoints(DisplayMode::OnlyChecked);
    EXPECT_EQ(table.rowCount(), 0);
    for (int p = 0; p < 4; ++p)
        EXPECT_FALSE(shown(p));
    check({0, 1, 2, 3});
    table.showPoints(DisplayMode::HideChecked);
    EXPECT_EQ(table.rowCount(), 0);
    table.showPoints(DisplayMode::AllPoints);
    EXPECT_EQ(table.rowCount(), 4);
    expectConsistent();
}

TEST_F(Table, ReverseOrder)
{
    load(5, 600, 10);
    table.refillTable();
    table.setHighlightedRow(1);
    table.reverseOrder();
    EXPECT_TRUE(table.orderReversed());
    EXPECT_EQ(table.pointForRow(0), 4);
    EXPECT_EQ(table.cellText(0, tableColumn(Quantity::Sequence)), "0");
    EXPECT_EQ(table.cellText(0, tableColumn(Quantity::Time)), "00:10:40"); // the point's own time
    EXPECT_EQ(table.pointForRow(table.highlightedRow()), 1); // the highlight stays on its point
    table.reverseOrder();
    EXPECT_EQ(table.rowPoints(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(table.highlightedRow(), 1);
    EXPECT_FALSE(doc.isModified());

    table.showPoints(DisplayMode::OnlyChecked); // empty
    table.reverseOrder();
    EXPECT_TRUE(table.orderReversed());
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.pointForRow(0), -1);
}

TEST_F(Table, CheckBoxesMarkModifiedOnlyOnARealChange)
{
    load(3);
    table.refillTable();
    table.setHighlightedRow(2);
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(table.setRowChecked(1, false).markedModified); // already clear
    EXPECT_FALSE(doc.isModified());
    const TableChange c = table.setRowChecked(1, true);
    EXPECT_TRUE(c.markedModified);
    EXPECT_EQ(c.changedRows, std::vector<int>{1});
    EXPECT_TRUE(checked(1));
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(table.setRowChecked(7, true).markedModified); // no such row

    // A single point by its number, also one without a row: the reversed table shows point 2
    // in row 0, and a hidden point changes no row.
    table.reverseOrder();
    doc.setModified(false);
    const TableChange byPoint = table.setPointChecked(2, true);
    EXPECT_EQ(byPoint.changedRows, std::vector<int>{0});
    EXPECT_TRUE(byPoint.applied() && byPoint.markedModified);
    table.showPoints(DisplayMode::HideChecked);
    const TableChange hidden = table.setPointChecked(1, false);
    EXPECT_TRUE(hidden.changedRows.empty());
    EXPECT_TRUE(hidden.markedModified);
    EXPECT_FALSE(checked(1));
    EXPECT_FALSE(table.setPointChecked(3, true).markedModified); // no such point
}

TEST_F(Table, CheckCommandsActOnRowsOnly)
{
    load(6);
    check({0, 3});
    table.refillTable();
    table.showPoints(DisplayMode::HideChecked); // rows: 1 2 4 5
    table.checkAll();
    EXPECT_TRUE(doc.isModified());
    for (int p = 0; p < 6; ++p)
        EXPECT_TRUE(checked(p)) << p;
    EXPECT_EQ(table.rowCount(), 4); // not rebuilt
    table.showPoints(DisplayMode::OnlyChecked);
    table.checkNone();
    for (int p = 0; p < 6; ++p)
        EXPECT_FALSE(checked(p)) << p;

    check({0, 3});
    table.showPoints(DisplayMode::OnlyChecked); // rows: 0 3
    table.invertChecks();
    EXPECT_FALSE(checked(0));
    EXPECT_FALSE(checked(3));
    EXPECT_FALSE(checked(1)); // hidden points keep their flags
    table.showPoints(DisplayMode::AllPoints);
    check({2});
    table.invertChecks();
    table.invertChecks();
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(checked(p), p == 2) << p;

    doc.setModified(false);
    table.showPoints(DisplayMode::HideChecked);
    check({0, 1, 3, 4, 5});
    table.showPoints(DisplayMode::HideChecked); // no rows at all
    EXPECT_TRUE(table.checkAll().markedModified);
}

TEST_F(Table, AutoDepthFallsFromTheFirstCheckedPoint)
{
    load(8);
    check({1, 2, 4, 6, 7});
    doc.survey().depth[7] = 55.5;
    table.refillTable();
    const TableChange c = table.autoDepth(QStringLiteral("100"), QStringLiteral("30"));
    EXPECT_TRUE(c.markedModified);
    EXPECT_TRUE(c.rowsRebuilt);
    EXPECT_EQ(depth(0), 0.0);
    EXPECT_EQ(depth(1), 100.0);
    EXPECT_EQ(depth(2), 70.0);
    EXPECT_EQ(depth(3), 0.0);
    EXPECT_EQ(depth(4), 40.0);
    EXPECT_EQ(depth(6), 10.0);
    EXPECT_EQ(depth(7), 55.5); // the walk stopped below 0
}

TEST_F(Table, AutoDepthCases)
{
    load(5);
    check({0, 3});
    table.refillTable();
    table.autoDepth(30.0, 500.0);
    EXPECT_EQ(depth(0), 30.0);
    EXPECT_EQ(depth(3), 0.0);
    table.autoDepth(2000.0, 30.0);
    EXPECT_EQ(depth(0), 2000.0);
    EXPECT_EQ(depth(3), 1970.0);

    // Hidden checked points still get depths; the rebuild keeps them hidden and the order.
    table.showPoints(DisplayMode::HideChecked);
    table.reverseOrder();
    table.setHighlightedRow(1);
    table.autoDepth(500.0, 100.0);
    EXPECT_EQ(depth(0), 500.0);
    EXPECT_EQ(depth(3), 400.0);
    EXPECT_EQ(table.rowPoints(), (std::vector<int>{4, 2, 1}));
    EXPECT_TRUE(table.orderReversed());
    EXPECT_EQ(table.highlightedRow(), 1);
    expectConsistent();
}

// Up counts the other way along the points' time order, whatever the rows show; both ways say
// which entered depths they would replace.
TEST_F(Table, AutoDepthCountsUpAndNamesTheDepthsItWouldReplace)
{
    load(7);
    check({1, 2, 4, 6});
    doc.survey().depth[4] = 40.0;
    doc.survey().depth[5] = 12.0; // not checked: never replaced
    table.refillTable();
    table.reverseOrder();
    EXPECT_TRUE(table.autoDepthOverwrites(100.0, 30.0, DepthDirection::Down).empty()); // 40 stays 40
    EXPECT_EQ(table.autoDepthOverwrites(100.0, 30.0, DepthDirection::Up), std::vector<int>{4});

    const TableChange c = table.autoDepth(QStringLiteral("100"), QStringLiteral("30"), DepthDirection::Up);
    EXPECT_TRUE(c.applied());
    EXPECT_EQ(depth(1), 100.0);
    EXPECT_EQ(depth(2), 130.0);
    EXPECT_EQ(depth(4), 160.0);
    EXPECT_EQ(depth(6), 190.0);
    EXPECT_EQ(depth(5), 12.0);
    EXPECT_TRUE(table.orderReversed());
    EXPECT_TRUE(table.autoDepthOverwrites(100.0, 30.0, DepthDirection::Up).empty());

    // Up stops past the largest depth a file holds; later points keep theirs.
    table.autoDepth(9990.0, 5.0, DepthDirection::Up);
    EXPECT_EQ(depth(1), 9990.0);
    EXPECT_EQ(depth(2), 9995.0);
    EXPECT_EQ(depth(4), 160.0);
    EXPECT_EQ(table.autoDepthOverwrites(9990.0, 5.0, DepthDirection::Up), std::vector<int>{});
    EXPECT_TRUE(table.depthWouldChange(4, 160.01));
    EXPECT_FALSE(table.depthWouldChange(4, 160.004));
    EXPECT_FALSE(table.depthWouldChange(0, 50.0)); // no depth entered
}

TEST_F(Table, AutoDepthRefusalsAndCancel)
{
    load(4);
    table.refillTable();
    const TableChange none = table.autoDepth(QStringLiteral("100"), QStringLiteral("30"));
    EXPECT_TRUE(none.informed());
    EXPECT_EQ(none.message, QStringLiteral("\"自动生成井深\"只用于选择的数据\n\n当前没有选择任何数据"));
    EXPECT_FALSE(none.markedModified);
    EXPECT_FALSE(doc.isModified());

    check({1});
    const TableChange lowStart = table.autoDepth(QStringLiteral("29.9"), QStringLiteral("30"));
    EXPECT_TRUE(lowStart.refused());
    EXPECT_FALSE(lowStart.markedModified);
    EXPECT_EQ(lowStart.message, QStringLiteral("“请填入一个在30和9999之间的数字。”"));
    const TableChange shortLength = table.autoDepth(QStringLiteral("100"), QStringLiteral("0.05"));
    EXPECT_EQ(shortLength.message, QStringLiteral("“请填入一个在0.1和500之间的数字。”"));
    EXPECT_EQ(table.autoDepth(QStringLiteral(""), QStringLiteral("30")).message, QStringLiteral("请键入一个数。"));
    EXPECT_EQ(depth(1), 0.0);
    EXPECT_FALSE(doc.isModified());

    const TableChange cancelled = table.autoDepthCancelled();
    EXPECT_TRUE(cancelled.cancelled());
    EXPECT_TRUE(cancelled.markedModified);
    EXPECT_FALSE(cancelled.rowsRebuilt);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(Table, DepthEntry)
{
    load(3);
    table.refillTable();
    table.reverseOrder();
    const TableChange c = table.enterDepth(0, QStringLiteral("0.004"));
    EXPECT_EQ(c.changedRows, std::vector<int>{0});
    EXPECT_EQ(depth(2), 0.004);
    EXPECT_EQ(table.cellText(0, tableColumn(Quantity::Depth)), "0");
    table.enterDepth(1, QStringLiteral("9999.99"));
    EXPECT_EQ(table.cellText(1, tableColumn(Quantity::Depth)), "9999.99");
    // What the document file keeps is the limit: a larger depth would read back as 0.
    const TableChange refused = table.enterDepth(1, QStringLiteral("10000"));
    EXPECT_TRUE(refused.refused());
    EXPECT_EQ(refused.message, QStringLiteral("“请填入一个在0和9999.99之间的数字。”"));
    EXPECT_EQ(depth(1), 9999.99);
    EXPECT_EQ(table.depthForDialog(1), 9999.99);
    EXPECT_FALSE(table.depthForDialog(3));
    table.setHighlightedRow(2);
    EXPECT_EQ(table.depthEntryRow(), 2);
    doc.setModified(false);
    EXPECT_FALSE(table.enterDepth(5, QStringLiteral("10")).markedModified); // no such row
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Table, HeaderFields)
{
    load(1);
    table.refillTable();
    QString caption;
    EXPECT_TRUE(table.editCrew(QStringLiteral("ABCDEFGHIJKLMN"), &caption).markedModified);
    EXPECT_EQ(caption, QStringLiteral("井队编号: ABCDEFGHIJKLMN"));
    EXPECT_EQ(doc.survey().header.bytes[SurveyHeader::CrewOffset + 14], 0);
    EXPECT_TRUE(table.editWell(QStringLiteral("测斜测斜测斜井"), &caption).markedModified); // 14 GBK bytes
    EXPECT_EQ(toGbk(table.wellText()).size(), 14u);
    const TableChange tooLong = table.editCrew(QStringLiteral("测斜测斜测斜井A"));
    EXPECT_TRUE(tooLong.refused());
    EXPECT_EQ(tooLong.message, QStringLiteral("“请填入不多于14个的字符。”"));
    EXPECT_EQ(table.crewText(), QStringLiteral("ABCDEFGHIJKLMN"));
    // A '%' is text like any other.
    table.editCrew(QStringLiteral("%s%n%d"), &caption);
    EXPECT_EQ(caption, QStringLiteral("井队编号: %s%n%d"));
    table.editCrew(QString(), &caption);
    EXPECT_EQ(caption, QStringLiteral("井队编号"));

    table.editDeclination(QStringLiteral("2.5"), &caption);
    EXPECT_EQ(caption, QStringLiteral("磁偏角: 2.50"));
    table.editDeclination(QStringLiteral("-0.123"), &caption);
    EXPECT_EQ(caption, QStringLiteral("磁偏角: -0.12"));
    EXPECT_EQ(table.editDeclination(QStringLiteral("360.5")).message, QStringLiteral("“请填入一个在-360和360之间的数字。”"));
    EXPECT_EQ(doc.survey().header.declination(), -0.123);
    // The dialog shows 0 for a value beyond the range; only opening the dialog (or its OK)
    // stores the 0, and a refused OK keeps the dialog open with the 0 stored.
    doc.survey().header.setDeclination(-361.0);
    EXPECT_EQ(table.declinationForDialog(), 0.0);
    EXPECT_EQ(doc.survey().header.declination(), -361.0);
    EXPECT_TRUE(table.editDeclination(QStringLiteral("x")).refused());
    EXPECT_EQ(doc.survey().header.declination(), 0.0);

    // Text that GBK cannot hold is refused by name, not stored as '?'.
    const TableChange emoji = table.editWell(QStringLiteral("井😀"));
    EXPECT_TRUE(emoji.refused());
    EXPECT_FALSE(emoji.markedModified);
    EXPECT_TRUE(emoji.message.contains(QStringLiteral("😀"))) << emoji.message.toStdString();
    EXPECT_EQ(table.wellText(), QStringLiteral("测斜测斜测斜井"));
    EXPECT_TRUE(table.editCrew(QStringLiteral("?队")).applied()); // a real '?' is fine
}

TEST(EditTexts, NumbersAsTheDialogsReadAndShowThem)
{
    EXPECT_EQ(numberFieldText(AutoDepthDefaultStart), QStringLiteral("2000"));
    EXPECT_EQ(numberFieldText(AutoDepthDefaultLength), QStringLiteral("30"));
    EXPECT_EQ(numberFieldText(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(numberFieldText(99999.99), QStringLiteral("99999.99"));
    EXPECT_EQ(numberFieldText(Range::Depth.max), QStringLiteral("9999.99"));
    EXPECT_EQ(numberFieldText(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(parseDecimal(QStringLiteral(" 2.5 ")), 2.5);
    EXPECT_EQ(parseDecimal(QStringLiteral("+1e2")), 100.0);
    EXPECT_EQ(parseDecimal(QStringLiteral("-.5")), -0.5);
    // NaN would slip through every range check; it and its kin are not numbers here.
    for (const char *bad : {"", "  ", "nan", "inf", "-inf", "0x10", "1,5", "1.2.3", "2 3", "+-1", "1e999", "１"})
        EXPECT_FALSE(parseDecimal(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(checkNumber(QStringLiteral("9999"), Range::StartDepth).value, 9999.0);
    EXPECT_EQ(checkNumber(QStringLiteral("9999.0001"), Range::StartDepth).message,
              QStringLiteral("“请填入一个在30和9999之间的数字。”"));
    EXPECT_EQ(checkNumber(QStringLiteral("-0"), Range::Depth).value, 0.0);
}
