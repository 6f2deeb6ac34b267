// The site file older versions kept beside a survey: written atomically, read back, and
// refused whole when broken.
#include "analysis/site.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace zolm;

namespace {

class SiteFile : public ::testing::Test {
protected:
    QString document() const { return dir.filePath(QStringLiteral("w.ZLM")); }
    void writeRaw(const QByteArray &bytes) const
    {
        QFile f(siteFilePath(document()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SiteFile, WrittenAndReadBack)
{
    EXPECT_EQ(siteFilePath(QStringLiteral("/a/b.ZLM")), QStringLiteral("/a/b.ZLM.site"));
    EXPECT_FALSE(readSite(document()).site);
    EXPECT_TRUE(readSite(document()).error.isEmpty()); // no file is not an error

    const Site site{36.125, -117.5, 812.25, QDate(2026, 3, 14), 271.5};
    QString error;
    ASSERT_TRUE(writeSite(document(), site, &error)) << error.toStdString();
    const SiteRead read = readSite(document());
    ASSERT_TRUE(read.site) << read.error.toStdString();
    EXPECT_EQ(read.site->latitude, 36.125);
    EXPECT_EQ(read.site->longitude, -117.5);
    EXPECT_EQ(read.site->height, 812.25);
    EXPECT_EQ(read.site->date, QDate(2026, 3, 14));
    EXPECT_EQ(read.site->verticalSectionAzimuth, 271.5);

    // Height absent is 0, unknown keys are ignored, the azimuth is optional.
    writeRaw(R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "note": "鉆台"})");
    const SiteRead minimal = readSite(document());
    ASSERT_TRUE(minimal.site) << minimal.error.toStdString();
    EXPECT_EQ(minimal.site->height, 0.0);
    EXPECT_FALSE(minimal.site->verticalSectionAzimuth);

    // The fields beyond the first ones have keys of their own.
    Site full = site;
    full.fieldScale = 1.02;
    full.dogLegLimit = 3;
    full.probeStart = parseProbeStart(QStringLiteral("2026-03-14 07:30:05"));
    full.client = QStringLiteral("第一采油厂");
    full.approvedBy = QStringLiteral("王五");
    ASSERT_TRUE(writeSite(document(), full, &error)) << error.toStdString();
    const std::optional<Site> back = readSite(document()).site;
    ASSERT_TRUE(back);
    EXPECT_EQ(back->fieldScale, 1.02);
    EXPECT_EQ(back->dogLegLimit, 3.0);
    ASSERT_TRUE(back->probeStart);
    EXPECT_EQ(probeStartText(*back->probeStart), QStringLiteral("2026-03-14 07:30:05"));
    EXPECT_EQ(back->client, QStringLiteral("第一采油厂"));
    EXPECT_EQ(back->approvedBy, QStringLiteral("王五"));
    EXPECT_TRUE(back->surveyor.isEmpty());
    EXPECT_TRUE(siteJson(full).contains("\"approvedBy\""));
    EXPECT_FALSE(siteJson(full).contains("\"surveyor\""));
}

TEST_F(SiteFile, BrokenFilesAreReportedAndIgnored)
{
    const QByteArray broken[] = {
        "",                                                                  // empty
        "{\"latitude\": 10, \"longitude\": 20, \"date\": \"2025-01-01\"",    // cut short
        "[1, 2, 3]",                                                         // not an object
        R"({"latitude": "10", "longitude": 20, "date": "2025-01-01"})",      // text for a number
        R"({"latitude": 10, "longitude": 20})",                              // no date
        R"({"latitude": 10, "longitude": 20, "date": "2025-02-30"})",        // no such day
        R"({"latitude": 10, "longitude": 20, "date": "2025-1-01"})",         // not YYYY-MM-DD
        R"({"latitude": 90, "longitude": 20, "date": "2025-01-01"})",        // a pole
        R"({"latitude": 10, "longitude": 20, "date": "2019-12-31"})",        // no model
        R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "height": 20000})",
        R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "verticalSectionAzimuth": -1})",
        R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "probeStart": "2025-01-01 25:00:00"})",
        R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "fieldScale": "1"})",
        R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "surveyor": "张三李四王五赵六"})", // 16 bytes
    };
    for (const QByteArray &bytes : broken) {
        SCOPED_TRACE(bytes.toStdString());
        writeRaw(bytes);
        const SiteRead r = readSite(document());
        EXPECT_FALSE(r.site);
        EXPECT_TRUE(r.error.contains(QStringLiteral("井场文件"))) << r.error.toStdString();
    }

    // A folder where the file should be.
    QFile::remove(siteFilePath(document()));
    ASSERT_TRUE(QDir().mkdir(siteFilePath(document())));
    EXPECT_FALSE(readSite(document()).site);
    EXPECT_FALSE(readSite(document()).error.isEmpty());
    QString error;
    EXPECT_FALSE(writeSite(document(), {1, 2, 0, QDate(2026, 1, 1), {}}, &error));
    EXPECT_TRUE(QFileInfo(siteFilePath(document())).isDir());
}

TEST_F(SiteFile, UnreadableFileAndMissingFolder)
{
    QString error;
    // A refused site is not written, and an existing one keeps its bytes.
    ASSERT_TRUE(writeSite(document(), {1, 2, 0, QDate(2026, 1, 1), {}}, &error));
    const QByteArray before = [&] {
        QFile f(siteFilePath(document()));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_FALSE(writeSite(document(), {95, 2, 0, QDate(2026, 1, 1), {}}, &error));
    QFile f(siteFilePath(document()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();

    EXPECT_FALSE(writeSite(dir.filePath(QStringLiteral("missing/w.ZLM")), {1, 2, 0, QDate(2026, 1, 1), {}}, &error));
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());

    // Unreadable: a link that leads to itself (unreadable for root too), and a file without
    // read permission.
    const QString other = dir.filePath(QStringLiteral("loop.ZLM"));
    ASSERT_TRUE(QFile::link(QStringLiteral("loop.ZLM.site"), siteFilePath(other)));
    const SiteRead loop = readSite(other);
    EXPECT_FALSE(loop.site);
    EXPECT_TRUE(loop.error.contains(QStringLiteral("井场文件")));
}

TEST_F(SiteFile, FileWithoutReadPermission)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no owner read bit for QFile::setPermissions to take away";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
#endif
    QString error;
    ASSERT_TRUE(writeSite(document(), {1, 2, 0, QDate(2026, 1, 1), {}}, &error));
    QFile::setPermissions(siteFilePath(document()), QFileDevice::WriteOwner);
    const SiteRead r = readSite(document());
    EXPECT_FALSE(r.site);
    EXPECT_FALSE(r.error.isEmpty());
}
