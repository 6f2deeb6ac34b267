// The site inside the survey header: its bytes, what counts as no site, and how a survey's
// site is taken on opening and written on saving.
#include "analysis/site_block.h"
#include "document/document.h"
#include "failure_text.h"
#include "survey/le_bytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace zolm;
using zolm::test::failureText;

namespace {

// Every field set, each text at its byte limit (Chinese characters take two bytes).
Site fullSite()
{
    Site s{38.71, 116.1, 12.5, QDate(2026, 5, 20), 271.25};
    s.fieldScale = 0.9876;
    s.dogLegLimit = 4.5;
    s.probeStart = QDateTime(QDate(2026, 5, 19), QTime(23, 59, 58), QTimeZone::utc());
    s.client = QStringLiteral("第一采油厂第一采油厂第一采油厂第一采油A"); // 39 bytes
    s.company = QString(39, QLatin1Char('c'));
    s.rig = QStringLiteral("井队钻机井队钻机井队钻x");                     // 23 bytes
    s.oilField = QStringLiteral("油田区块油田区块油田区x");
    s.location = QStringLiteral("河北省某县某乡");
    s.serviceCompany = QStringLiteral("测井服务");
    s.uwi = QStringLiteral("00-123-45678-00-00-0001");                    // 23 bytes
    s.surveyor = QStringLiteral("张三李四王五赵x");                         // 15 bytes
    s.checkedBy = QStringLiteral("李四");
    s.approvedBy = QStringLiteral("王五");
    return s;
}

void expectSameSite(const Site &a, const Site &b)
{
    EXPECT_EQ(a.latitude, b.latitude);
    EXPECT_EQ(a.longitude, b.longitude);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.date, b.date);
    EXPECT_EQ(a.verticalSectionAzimuth, b.verticalSectionAzimuth);
    EXPECT_EQ(a.fieldScale, b.fieldScale);
    EXPECT_EQ(a.dogLegLimit, b.dogLegLimit);
    EXPECT_EQ(a.probeStart, b.probeStart);
    for (const SiteTextField &f : siteTextFields())
        EXPECT_EQ(a.*f.member, b.*f.member) << f.key;
}

// The site a survey was opened with; nothing when taking it failed.
std::optional<Site> siteOf(const Result<std::optional<Site>> &taken)
{
    return taken ? *taken : std::nullopt;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SurveySite : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    // The small survey, opened.
    void open(CNDravikDoc &doc, const QString &file = QStringLiteral(ZOLM_TEST_DATA_DIR "/small.ZLM"))
    {
        QString error;
        ASSERT_TRUE(doc.openFile(file));
    }
    QTemporaryDir dir;
};

} // namespace

TEST(SiteBlock, RoundTripsEveryFieldInTheUnusedHeaderBytes)
{
    EXPECT_EQ(crc32(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>("123456789"), 9)),
              0xCBF43926u); // zlib's check value

    SurveyHeader header;
    header.setCrewNumber("crew");
    header.setWellNumber("well");
    header.setDeclination(-6.25);
    const SurveyHeader before = header;
    const Site site = fullSite();
    ASSERT_TRUE(checkSite(site)) << failureText(checkSite(site)).toStdString();
    writeSiteBlock(header, site);

    EXPECT_TRUE(std::equal(header.bytes.begin(), header.bytes.begin() + 68, before.bytes.begin()));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(header.bytes.data() + 68), 8), "ZOLMSITE");
    EXPECT_EQ(le::u16(header.bytes.data() + 76), 1);
    EXPECT_EQ(le::u16(header.bytes.data() + 78), 0x1F);
    EXPECT_EQ(le::f64(header.bytes.data() + 80), 38.71);
    EXPECT_EQ(le::u32(header.bytes.data() + 104), 20260520u);
    EXPECT_EQ(le::u32(header.bytes.data() + 108), 20260519u);
    EXPECT_EQ(le::u32(header.bytes.data() + 112), 86398u);
    EXPECT_EQ(le::f64(header.bytes.data() + 128), 0.9876);
    EXPECT_EQ(le::f64(header.bytes.data() + 136), 4.5);
    // The texts end with a zero even at their limits; the room for later versions stays zero.
    for (const SiteTextField &f : siteTextFields())
        EXPECT_EQ(header.bytes[f.offset + f.size - 1], 0) << f.key;
    EXPECT_TRUE(std::all_of(header.bytes.begin() + 424, header.bytes.begin() + 508, [](auto b) { return b == 0; }));

    const SiteBlockRead read = readSiteBlock(header);
    EXPECT_TRUE(read.present);
    EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    ASSERT_TRUE(read.site);
    expectSameSite(*read.site, site);

    // Only what is set is set.
    writeSiteBlock(header, Site{-33.9, 151.2, 0, QDate(2024, 12, 31)});
    EXPECT_EQ(le::u16(header.bytes.data() + 78), 1);
    const auto plain = readSiteBlock(header).site;
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->verticalSectionAzimuth || plain->fieldScale || plain->dogLegLimit || plain->probeStart);
    EXPECT_TRUE(plain->client.isEmpty());
}

TEST(SiteBlock, TextsBeyondTheirLimitOrOutsideGbkAreRefused)
{
    Site site = fullSite();
    site.client += QLatin1Char('x'); // 40 bytes
    EXPECT_FALSE(checkSite(site));
    site = fullSite();
    site.surveyor = QStringLiteral("张三李四王五赵六"); // 16 bytes
    EXPECT_FALSE(checkSite(site));
    site = fullSite();
    site.approvedBy = QStringLiteral("王\U0001F600");
    ASSERT_FALSE(checkSite(site));
    EXPECT_TRUE(failureText(checkSite(site)).contains(QStringLiteral("审核人")));
    site = fullSite();
    site.location = QStringLiteral("一行\n两行");
    EXPECT_FALSE(checkSite(site));
    site = fullSite();
    site.fieldScale = 0;
    EXPECT_FALSE(checkSite(site));
    site = fullSite();
    site.dogLegLimit = -1;
    EXPECT_FALSE(checkSite(site));
}

TEST(SiteBlock, DamagedForeignAndClearedBlocksHoldNoSite)
{
    SurveyHeader zero;
    EXPECT_FALSE(readSiteBlock(zero).present);
    EXPECT_FALSE(readSiteBlock(zero).site);
    EXPECT_TRUE(readSiteBlock(zero).error.isEmpty());

    SurveyHeader header;
    writeSiteBlock(header, fullSite());
    const SurveyHeader good = header;
    // One bit anywhere in the checked bytes, the checksum itself, the tag, the version.
    for (const std::size_t at : {std::size_t{80}, std::size_t{150}, std::size_t{423}, std::size_t{507},
                                 std::size_t{509}, std::size_t{68}, std::size_t{76}}) {
        SCOPED_TRACE(at);
        header = good;
        header.bytes[at] ^= 0x04;
        const SiteBlockRead r = readSiteBlock(header);
        EXPECT_FALSE(r.present);
        EXPECT_FALSE(r.site);
        // A damaged block of ours is worth a word; someone else's bytes are not.
        EXPECT_EQ(r.error.isEmpty(), at == 68);
        // Clearing leaves bytes that are not a block as they are.
        const SurveyHeader damaged = header;
        setSurveySite(header, std::nullopt);
        EXPECT_EQ(header.bytes, damaged.bytes);
    }

    // A whole block with a value out of range: there, but no site.
    header = good;
    le::putF64(header.bytes.data() + 80, 95.0);
    le::put32(header.bytes.data() + 508, crc32(std::span<const std::uint8_t>(header.bytes.data() + 68, 440)));
    EXPECT_TRUE(readSiteBlock(header).present);
    EXPECT_FALSE(readSiteBlock(header).site);
    EXPECT_FALSE(readSiteBlock(header).error.isEmpty());

    // Cleared: a block without a site, not zeros.
    header = good;
    setSurveySite(header, std::nullopt);
    EXPECT_TRUE(readSiteBlock(header).present);
    EXPECT_FALSE(readSiteBlock(header).site);
    EXPECT_EQ(le::u16(header.bytes.data() + 78), 0);
    EXPECT_TRUE(std::all_of(header.bytes.begin() + 80, header.bytes.begin() + 508, [](auto b) { return b == 0; }));
}

TEST_F(SurveySite, FileKeepsItsLengthAndEveryOtherByteAndCarriesItsSite)
{
    CNDravikDoc doc;
    open(doc);
    QString error;
    ASSERT_TRUE(doc.saveFile(path(QStringLiteral("plain.ZLM"))));
    setSurveySite(doc.survey().header, fullSite());
    ASSERT_TRUE(doc.saveFile(path(QStringLiteral("site.ZLM"))));
    const QByteArray plain = bytesOf(path(QStringLiteral("plain.ZLM")));
    const QByteArray sited = bytesOf(path(QStringLiteral("site.ZLM")));
    ASSERT_EQ(plain.size(), sited.size());
    EXPECT_EQ(plain.left(68), sited.left(68));
    EXPECT_EQ(plain.mid(512), sited.mid(512));
    EXPECT_NE(plain.mid(68, 444), sited.mid(68, 444));

    // Copied and renamed, the survey still has its site: nothing lies beside it.
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("site.ZLM")), path(QStringLiteral("copy.ZLM"))));
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("copy.ZLM")), path(QStringLiteral("renamed.ZLM"))));
    CNDravikDoc again;
    open(again, path(QStringLiteral("renamed.ZLM")));
    const auto read = takeSurveySite(again.survey().header, path(QStringLiteral("renamed.ZLM")));
    ASSERT_TRUE(siteOf(read)) << failureText(read).toStdString();
    expectSameSite(*siteOf(read), fullSite());
}

TEST_F(SurveySite, SiteFileBesideAnOlderSurveyMovesInAndTheBlockWins)
{
    const QString file = path(QStringLiteral("old.ZLM"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZOLM_TEST_DATA_DIR "/small.ZLM"), file));
    ASSERT_TRUE(writeSite(file, fullSite()));
    const QByteArray siteFile = bytesOf(siteFilePath(file));

    CNDravikDoc doc;
    open(doc, file);
    const std::optional<Site> taken = siteOf(takeSurveySite(doc.survey().header, file));
    ASSERT_TRUE(taken);
    expectSameSite(*taken, fullSite());
    ASSERT_TRUE(doc.saveFile(file));
    EXPECT_EQ(bytesOf(siteFilePath(file)), siteFile); // left as it was

    // Now the survey's own site wins over whatever the site file says.
    ASSERT_TRUE(writeSite(file, Site{1, 2, 0, QDate(2025, 1, 1)}));
    CNDravikDoc reopened;
    open(reopened, file);
    EXPECT_EQ(siteOf(takeSurveySite(reopened.survey().header, file)).value_or(Site{}).latitude, 38.71);

    // Cleared, it stays cleared: the site file is not taken again.
    setSurveySite(reopened.survey().header, std::nullopt);
    ASSERT_TRUE(reopened.saveFile(file));
    CNDravikDoc cleared;
    open(cleared, file);
    EXPECT_FALSE(siteOf(takeSurveySite(cleared.survey().header, file)));
}

TEST_F(SurveySite, SavingWithoutASiteBesideAnotherSurveysSiteFileMarksTheSurveySiteless)
{
    CNDravikDoc doc;
    open(doc);
    const QString target = path(QStringLiteral("t.ZLM"));
    SurveyHeader header = doc.survey().header;
    prepareSiteForSave(header, target);
    EXPECT_EQ(header.bytes, doc.survey().header.bytes); // nothing beside it: untouched
    prepareSiteForSave(header, QStringLiteral("-"));
    EXPECT_EQ(header.bytes, doc.survey().header.bytes);

    ASSERT_TRUE(writeSite(target, fullSite()));
    prepareSiteForSave(doc.survey().header, target);
    ASSERT_TRUE(doc.saveFile(target));
    CNDravikDoc saved;
    open(saved, target);
    const auto read = takeSurveySite(saved.survey().header, target);
    ASSERT_TRUE(read) << failureText(read).toStdString();
    EXPECT_FALSE(*read);

    // A survey with a site keeps it whatever lies beside the target.
    setSurveySite(saved.survey().header, fullSite());
    const SurveyHeader sited = saved.survey().header;
    prepareSiteForSave(saved.survey().header, target);
    EXPECT_EQ(saved.survey().header.bytes, sited.bytes);
}
