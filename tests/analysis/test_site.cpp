// The site file older versions kept beside a survey: written atomically, read back, and
// refused whole when broken.
#include "analysis/site.h"
#include "failure_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace zolm;
using zolm::test::failureText;

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
    const auto none = readSite(document());
    ASSERT_TRUE(none) << failureText(none).toStdString(); // no file is not an error
    EXPECT_FALSE(*none);

    const Site site{36.125, -117.5, 812.25, QDate(2026, 3, 14), 271.5};
    const Done written = writeSite(document(), site);
    ASSERT_TRUE(written) << failureText(written).toStdString();
    const auto read = readSite(document());
    ASSERT_TRUE(read && *read) << failureText(read).toStdString();
    const Site &back0 = **read;
    EXPECT_EQ(back0.latitude, 36.125);
    EXPECT_EQ(back0.longitude, -117.5);
    EXPECT_EQ(back0.height, 812.25);
    EXPECT_EQ(back0.date, QDate(2026, 3, 14));
    EXPECT_EQ(back0.verticalSectionAzimuth, 271.5);

    // Height absent is 0, unknown keys are ignored, the azimuth is optional.
    writeRaw(R"({"latitude": 10, "longitude": 20, "date": "2025-01-01", "note": "鉆台"})");
    const auto minimal = readSite(document());
    ASSERT_TRUE(minimal && *minimal) << failureText(minimal).toStdString();
    EXPECT_EQ((*minimal)->height, 0.0);
    EXPECT_FALSE((*minimal)->verticalSectionAzimuth);

    // The fields beyond the first ones have keys of their own.
    Site full = site;
    full.fieldScale = 1.02;
    full.dogLegLimit = 3;
    full.probeStart = parseProbeStart(QStringLiteral("2026-03-14 07:30:05"));
    full.client = QStringLiteral("第一采油厂");
    full.approvedBy = QStringLiteral("王五");
    ASSERT_TRUE(writeSite(document(), full));
    const auto reread = readSite(document());
    ASSERT_TRUE(reread && *reread);
    const std::optional<Site> back = *reread;
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
        const auto r = readSite(document());
        EXPECT_FALSE(r);
        EXPECT_EQ(r.error().code, ErrorCode::WrongFile);
        EXPECT_TRUE(failureText(r).contains(QStringLiteral("井场文件"))) << failureText(r).toStdString();
    }

    // A folder where the file should be.
    QFile::remove(siteFilePath(document()));
    ASSERT_TRUE(QDir().mkdir(siteFilePath(document())));
    EXPECT_FALSE(readSite(document()));
    EXPECT_FALSE(failureText(readSite(document())).isEmpty());
    EXPECT_FALSE(writeSite(document(), {1, 2, 0, QDate(2026, 1, 1), {}}));
    EXPECT_TRUE(QFileInfo(siteFilePath(document())).isDir());
}

TEST_F(SiteFile, UnreadableFileAndMissingFolder)
{
    // A refused site is not written, and an existing one keeps its bytes.
    ASSERT_TRUE(writeSite(document(), {1, 2, 0, QDate(2026, 1, 1), {}}));
    const QByteArray before = [&] {
        QFile f(siteFilePath(document()));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_FALSE(writeSite(document(), {95, 2, 0, QDate(2026, 1, 1), {}}));
    QFile f(siteFilePath(document()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();

    const Done missing = writeSite(dir.filePath(QStringLiteral("missing/w.ZLM")), {1, 2, 0, QDate(2026, 1, 1), {}});
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::WriteFailed);
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());

    // Unreadable: a link that leads to itself (unreadable for root too), and a file without
    // read permission.
    const QString other = dir.filePath(QStringLiteral("loop.ZLM"));
    ASSERT_TRUE(QFile::link(QStringLiteral("loop.ZLM.site"), siteFilePath(other)));
    const auto loop = readSite(other);
    EXPECT_FALSE(loop);
    EXPECT_TRUE(failureText(loop).contains(QStringLiteral("井场文件")));
}

TEST_F(SiteFile, FileWithoutReadPermission)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no owner read bit for QFile::setPermissions to take away";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
#endif
    ASSERT_TRUE(writeSite(document(), {1, 2, 0, QDate(2026, 1, 1), {}}));
    QFile::setPermissions(siteFilePath(document()), QFileDevice::WriteOwner);
    const auto r = readSite(document());
    EXPECT_FALSE(r);
    EXPECT_FALSE(failureText(r).isEmpty());
}

TEST_F(SiteFile, FifoOrDeviceWhereTheFileShouldBeIsRefusedUnread)
{
#if defined(_WIN32) || !defined(F_SETPIPE_SZ)
    GTEST_SKIP() << "needs FIFOs whose buffer can be enlarged";
#else
    const QByteArray fifo = QFile::encodeName(siteFilePath(document()));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    // More than a site file may hold waits in the pipe: a reader that opened it would come back
    // ("too large") instead of waiting for a writer forever, so this fails rather than hangs.
    const int fd = ::open(fifo.constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    const QByteArray filler(64 * 1024 + 1, ' ');
    ASSERT_GE(fcntl(fd, F_SETPIPE_SZ, 2 * filler.size()), filler.size());
    ASSERT_EQ(::write(fd, filler.constData(), static_cast<std::size_t>(filler.size())), filler.size());
    const auto r = readSite(document());
    ::close(fd);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, ErrorCode::ReadFailed);
    EXPECT_TRUE(failureText(r).contains(QStringLiteral("这不是普通文件"))) << failureText(r).toStdString();

    // A device likewise, reached through a link.
    ASSERT_TRUE(QFile::remove(siteFilePath(document())));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), siteFilePath(document())));
    EXPECT_EQ(readSite(document()).error().code, ErrorCode::ReadFailed);
#endif
}
