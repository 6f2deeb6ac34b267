// The export: stored format with both readers' defaults, the format dialog's lists, the
// file's bytes, and writing it whole or not at all.
#include "output/export.h"
#include "failure_text.h"
#include "platform/gbk.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace zolm;

namespace {

class Export : public ::testing::Test {
protected:
    Export() : s(std::make_unique<SurveyData>()) {}

    // Points with values, all shown, none checked.
    void points(int n)
    {
        s->pointCount = n;
        s->data.setFirstSampleTime(600);
        s->data.setSamplingInterval(10);
        for (int i = 0; i < n; ++i) {
            auto &v = s->values[static_cast<std::size_t>(i)];
            v.fill(0.0);
            v[Inclination] = 3.25 + i;
            v[MagneticAzimuth] = 120.4 + i;
            s->flags[static_cast<std::size_t>(i)] = PointFlag::Shown;
        }
    }
    static ExportSettings columns(std::initializer_list<int> ids)
    {
        ExportSettings e;
        e.positions.fill(-1);
        std::int32_t pos = 0;
        for (const int id : ids)
            e.positions[static_cast<std::size_t>(id)] = pos++;
        return e;
    }
    // The rows of a table showing every point, ascending.
    std::string bytes(const ExportSettings &e) const
    {
        std::vector<int> rows(static_cast<std::size_t>(s->pointCount));
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = static_cast<int>(i);
        return exportBytes(*s, rows, e);
    }

    std::unique_ptr<SurveyData> s;
    QTemporaryDir dir;
};

} // namespace

TEST_F(Export, DefaultFormatRowsAndZeroRow)
{
    points(1);
    s->depth[0] = 1234.5;
    const ExportSettings e = columns({itemOf(Quantity::Depth), itemOf(Quantity::Inclination), itemOf(Quantity::MagneticAzimuth)});
    EXPECT_EQ(bytes(e), "0.0 0.0 0.0\r\n 1234.50  3.25  120.40\r\n");
    ExportSettings comma = e;
    comma.spaceSeparator = false;
    EXPECT_EQ(bytes(comma), "0.0,0.0,0.0\r\n 1234.50, 3.25, 120.40\r\n");
}

TEST_F(Export, NothingChosenGivesEmptyLines)
{
    points(2);
    ExportSettings e = columns({});
    e.title = true;
    EXPECT_EQ(bytes(e), "\r\n\r\n\r\n\r\n");
}

TEST_F(Export, EmptyOrHiddenSurveyGivesTitleAndZeroRow)
{
    ExportSettings e = columns({itemOf(Quantity::Sequence), itemOf(Quantity::Time), itemOf(Quantity::Crew)});
    e.title = true;
    const std::string expected = toGbk(QStringLiteral("序号 时间 井队号\r\n")) + "0.0 0.0 0.0\r\n";
    EXPECT_EQ(bytes(e), expected);
    points(3);
    EXPECT_EQ(exportBytes(*s, {}, e), expected); // every point hidden: the table has no row
}

TEST_F(Export, FieldFormats)
{
    points(3);
    s->depth[0] = 0.0;
    s->depth[1] = -2.0;
    s->depth[2] = 0.01;
    s->data.setFirstSampleTime(65535);
    s->data.setSamplingInterval(255);
    s->values[1][MagneticAzimuth] = 355.0;
    s->values[2][MagneticAzimuth] = 2.0;
    s->values[2][TotalGravity] = 1.0;
    s->values[2][TotalField] = -0.5;
    s->values[2][Temperature] = 105.125;
    s->header.setDeclination(10.0);
    const ExportSettings e = columns({itemOf(Quantity::Sequence), itemOf(Quantity::Time), itemOf(Quantity::Depth), itemOf(Quantity::TrueAzimuth), itemOf(Quantity::Declination),
                                      itemOf(Quantity::TotalGravity), itemOf(Quantity::TotalField), itemOf(Quantity::Temperature)});
    const std::string out = bytes(e);
    EXPECT_EQ(out,
              "0.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\r\n"
              "   0 18:12:15  0.00  130.40  10.00  0.00000  0.00000  0.00\r\n"
              "   1 18:16:30  0.00  365.00  10.00  0.00000  0.00000  0.00\r\n"
              "   2 18:20:45  0.01  12.00  10.00  1.00000 -0.50000  105.12\r\n");
    s->header.setDeclination(-5.0);
    EXPECT_NE(bytes(e).find(" 0.01 -3.00 -5.00 "), std::string::npos);
}

TEST_F(Export, CrewAndWellAreCopiedLiterally)
{
    points(1);
    s->header.setCrewNumber("%s%n%%");
    const ExportSettings e = columns({itemOf(Quantity::Crew), itemOf(Quantity::Well)});
    EXPECT_EQ(bytes(e), "0.0 0.0\r\n\"%s%n%%\" \"\"\r\n");
    s->header.setWellNumber(toGbk(QStringLiteral("井-1")));
    EXPECT_EQ(bytes(e), "0.0 0.0\r\n\"%s%n%%\" \"" + toGbk(QStringLiteral("井-1")) + "\"\r\n");
}

TEST_F(Export, CollisionsAndPositionsAbove14)
{
    points(1);
    ExportSettings e = columns({});
    e.positions[itemOf(Quantity::MagneticAzimuth)] = 0;
    e.positions[itemOf(Quantity::Inclination)] = 0; // lower id wins place 0
    e.positions[itemOf(Quantity::Depth)] = 2;       // top; place 1 is empty
    EXPECT_EQ(bytes(e), "0.0 0.0\r\n 3.25  0.00\r\n");
    e.positions[itemOf(Quantity::Time)] = 15; // never written, but now nothing holds the top place
    EXPECT_EQ(bytes(e), "0.0 0.0 \r\n 3.25  0.00 \r\n");
    e.positions[itemOf(Quantity::Time)] = -7; // any negative value is "not exported"
    e.positions[itemOf(Quantity::Depth)] = -1;
    EXPECT_EQ(bytes(e), "0.0\r\n 3.25\r\n");
}

TEST_F(Export, TheTablesRowsInTheirOrder)
{
    points(4);
    const ExportSettings e = columns({itemOf(Quantity::Sequence), itemOf(Quantity::Inclination)});
    // The rows decide, not the flags: a row list that leaves out point 1 and runs backwards.
    EXPECT_EQ(exportBytes(*s, {0, 2, 3}, e), "0.0 0.0\r\n   0  3.25\r\n   1  5.25\r\n   2  6.25\r\n");
    EXPECT_EQ(exportBytes(*s, {3, 2, 0}, e), "0.0 0.0\r\n   0  6.25\r\n   1  5.25\r\n   2  3.25\r\n");
    EXPECT_EQ(exportBytes(*s, {}, e), "0.0 0.0\r\n");
}

TEST_F(Export, ReadersWriteTheirDefaultsBack)
{
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    {
        SettingsStore store(path);
        const ExportSettings e = ExportSettings::readForExport(store);
        EXPECT_FALSE(e.title);
        EXPECT_TRUE(e.spaceSeparator);
        EXPECT_EQ(e.positions[itemOf(Quantity::Depth)], 1);
        EXPECT_EQ(e.positions[itemOf(Quantity::Inclination)], 2);
        EXPECT_EQ(e.positions[itemOf(Quantity::MagneticAzimuth)], 3);
        EXPECT_EQ(e.positions[itemOf(Quantity::Sequence)], -1);
        EXPECT_EQ(e.columns(), (std::vector<int>{itemOf(Quantity::Depth), itemOf(Quantity::Inclination), itemOf(Quantity::MagneticAzimuth)}));
        EXPECT_EQ(e.top(), 3);
    }
    SettingsStore store(path);
    EXPECT_EQ(store.readInt(QStringLiteral("export/磁方位"), 0), 3);
    EXPECT_EQ(store.readInt(QStringLiteral("export/SeperatorRadio"), 0), 1);
    // Once stored, the dialog reads the same values; on a fresh store it numbers from 0.
    EXPECT_EQ(ExportSettings::readForDialog(store).positions[itemOf(Quantity::Depth)], 1);
    SettingsStore fresh(dir.filePath(QStringLiteral("t.ini")));
    const ExportSettings d = ExportSettings::readForDialog(fresh);
    EXPECT_EQ(d.positions[itemOf(Quantity::Depth)], 0);
    EXPECT_EQ(d.positions[itemOf(Quantity::MagneticAzimuth)], 2);
}

TEST(ExportLists, AddRemoveUpDown)
{
    ExportSettings e;
    e.positions.fill(-1);
    e.positions[itemOf(Quantity::MagneticAzimuth)] = 0;
    e.positions[itemOf(Quantity::Depth)] = 5;
    ExportFormatLists l(e);
    EXPECT_EQ(l.chosen(), (std::vector<int>{itemOf(Quantity::MagneticAzimuth), itemOf(Quantity::Depth)}));
    ASSERT_EQ(l.available().size(), 13u);
    EXPECT_EQ(l.available()[2], itemOf(Quantity::Inclination));

    l.add({3, 0}); // selected: 重力工具面 and 序号, appended in the list's order
    EXPECT_EQ(l.chosen(), (std::vector<int>{itemOf(Quantity::MagneticAzimuth), itemOf(Quantity::Depth), itemOf(Quantity::Sequence), itemOf(Quantity::GravityToolface)}));
    l.remove({0, 2});
    EXPECT_EQ(l.chosen(), (std::vector<int>{itemOf(Quantity::Depth), itemOf(Quantity::GravityToolface)}));
    EXPECT_EQ(l.available().front(), itemOf(Quantity::Sequence)); // back in id order

    EXPECT_FALSE(l.up({0}));       // already first
    EXPECT_FALSE(l.up({0, 1}));    // two selected
    EXPECT_EQ(l.up({1}), 0);
    EXPECT_EQ(l.chosen().front(), itemOf(Quantity::GravityToolface));
    EXPECT_FALSE(l.down({1}));     // already last
    EXPECT_EQ(l.down({0}), 1);
    EXPECT_EQ(l.chosen().front(), itemOf(Quantity::Depth));

    const ExportSettings r = l.result();
    EXPECT_EQ(r.positions[itemOf(Quantity::Depth)], 0);
    EXPECT_EQ(r.positions[itemOf(Quantity::GravityToolface)], 1);
    EXPECT_EQ(r.positions[itemOf(Quantity::MagneticAzimuth)], -1);
}

TEST(ExportLists, OkStoresPositionsFromZero)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    store.writeInt(exportItemKey(itemOf(Quantity::Crew)), 9);
    ExportSettings e = ExportSettings::readForDialog(store);
    ExportFormatLists l(e);
    l.title = true;
    l.spaceSeparator = false;
    l.setChosen({itemOf(Quantity::Well), itemOf(Quantity::Time)});
    l.store(store);
    const ExportSettings back = ExportSettings::readForExport(store);
    EXPECT_TRUE(back.title);
    EXPECT_FALSE(back.spaceSeparator);
    EXPECT_EQ(back.positions[itemOf(Quantity::Well)], 0);
    EXPECT_EQ(back.positions[itemOf(Quantity::Time)], 1);
    EXPECT_EQ(back.positions[itemOf(Quantity::Crew)], -1);
    EXPECT_EQ(back.positions[itemOf(Quantity::Depth)], -1);
}

TEST(ExportFile, WrittenWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DDData.txt"));
    ASSERT_TRUE(writeExportFile(path, "0.0\r\n"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("0.0\r\n"));
    f.close();

    // A folder of that name cannot be written: a message, and nothing left behind.
    const QString folder = dir.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_TRUE(test::failureText(writeExportFile(folder, "x")).contains(QStringLiteral("无法写入导出文件")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("DDData.txt")});
    EXPECT_FALSE(writeExportFile(dir.filePath(QStringLiteral("DDData.txt/x.txt")), "x"));
}

// What is stored and what scripts type are contracts: an item's number, its settings key and
// its English name stay as they are, and a new quantity only adds to them.
TEST(ExportItems, NumbersKeysAndNamesAsStored)
{
    const char *const labels[] = {"序号",     "时间",     "测深",   "井斜",   "磁方位", "重力工具面", "磁性工具面", "磁倾角",
                                  "探管温度", "总加速度", "总磁场", "井队号", "井号",   "真方位",     "磁偏角"};
    const char *const names[] = {"index",       "time",        "depth",         "inclination", "azimuth",
                                 "gravity-toolface", "magnetic-toolface", "dip", "temperature", "total-gravity",
                                 "total-field", "crew",        "well",          "true-azimuth", "declination"};
    ASSERT_GE(ExportItemCount, 15);
    for (int id = 0; id < 15; ++id) {
        EXPECT_EQ(exportItemKey(id), QStringLiteral("export/") + QString::fromUtf8(labels[id])) << id;
        EXPECT_EQ(exportItemId(QString::fromUtf8(labels[id])), id);
        EXPECT_EQ(exportItemIdByName(QString::fromLatin1(names[id])), id);
    }
}
