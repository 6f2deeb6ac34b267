// The .ZLM file: both layouts, the writer, and refusal of damaged files.
#include "document/document.h"
#include "document/survey_file.h"
#include "synthetic.h"
#include "failure_text.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <csignal>

using namespace zolm;

namespace {

class SurveyFile : public ::testing::Test {
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // A document holding n synthetic points of the given probe kind.
    static void loadSynthetic(CNDravikDoc &doc, int n, sim::CalibrationKind kind = sim::CalibrationKind::Realistic)
    {
        const auto stations = sim::defaultWellPath(n);
        const auto survey = sim::makeSurvey(kind, stations);
        doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
    }

    static QByteArray readAll(const QString &p)
    {
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    static void writeAll(const QString &p, const QByteArray &bytes)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    static std::span<const std::uint8_t> view(const QByteArray &b)
    {
        return {reinterpret_cast<const std::uint8_t *>(b.constData()), static_cast<std::size_t>(b.size())};
    }

    static void setDepthInFile(QByteArray &file, int point, double depth)
    {
        le::putF64(reinterpret_cast<std::uint8_t *>(file.data()) + CurrentLayoutFixedSize + PointRecordSize * point + 4, depth);
    }

    QTemporaryDir m_dir;
};

// Everything a file stores, compared field by field.
void expectSameStoredSurvey(const SurveyData &a, const SurveyData &b)
{
    EXPECT_EQ(a.header.bytes, b.header.bytes);
    EXPECT_EQ(a.parameters.bytes, b.parameters.bytes);
    ASSERT_EQ(a.pointCount, b.pointCount);
    EXPECT_EQ(0, std::memcmp(a.data.bytes.data(), b.data.bytes.data(), 8 + 18 * static_cast<std::size_t>(a.pointCount)));
    EXPECT_EQ(0, std::memcmp(a.data.bytes.data() + RawDataImage::TailOffset, b.data.bytes.data() + RawDataImage::TailOffset, 36));
    for (int i = 0; i < a.pointCount; ++i) {
        EXPECT_EQ(a.flags[static_cast<std::size_t>(i)], b.flags[static_cast<std::size_t>(i)]);
        EXPECT_EQ(a.depth[static_cast<std::size_t>(i)], b.depth[static_cast<std::size_t>(i)]);
        EXPECT_EQ(a.values[static_cast<std::size_t>(i)], b.values[static_cast<std::size_t>(i)]);
    }
}

} // namespace

TEST_F(SurveyFile, SizesAndRoundTrip)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 0);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("empty.ZLM")));
    EXPECT_EQ(QFile(path("empty.ZLM")).size(), 25132);

    loadSynthetic(doc, 3);
    ASSERT_TRUE(doc.saveFile(path("three.ZLM")));
    EXPECT_EQ(QFile(path("three.ZLM")).size(), 25222);

    loadSynthetic(doc, MaxSurveyPoints);
    SurveyData &s = doc.survey();
    s.flags[7] |= PointFlag::Checked;
    s.flags[8] = 0x12345678; // bits nobody interprets travel unchanged
    s.depth[7] = 1234.5;
    s.header.setCrewNumber("\xB2\xE2\xD0\xB1-07"); // GBK bytes
    s.header.setDeclination(-4.5);
    doc.setModified(true);
    ASSERT_TRUE(doc.saveFile(path("full.ZLM")));
    EXPECT_FALSE(doc.isModified());

    CNDravikDoc back;
    ASSERT_TRUE(back.openFile(path("full.ZLM")));
    EXPECT_TRUE(back.holdsData());
    expectSameStoredSurvey(doc.survey(), back.survey());
}

TEST_F(SurveyFile, TypeStringOnSave)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 2, sim::CalibrationKind::Type120);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("t120.ZLM")));
    EXPECT_EQ(readAll(path("t120.ZLM")).mid(512, 8), QByteArray("ZOLM120", 8));

    loadSynthetic(doc, 2, sim::CalibrationKind::Ideal);
    ASSERT_TRUE(doc.saveFile(path("t60.ZLM")));
    EXPECT_EQ(readAll(path("t60.ZLM")).mid(512, 7), QByteArray("ZOLM60", 7));

    // Any other type becomes ZOLM60 and its terminator; the other 9 bytes stay, in memory too.
    std::memcpy(doc.survey().parameters.bytes.data(), "XYZW1234ABCDEFGH", 16);
    ASSERT_TRUE(doc.saveFile(path("other.ZLM")));
    EXPECT_EQ(readAll(path("other.ZLM")).mid(512, 16), QByteArray("ZOLM60\0" "4ABCDEFGH", 16));
    EXPECT_TRUE(doc.survey().parameters.typeIs("ZOLM60"));

    // Serializing alone writes the saved form into the bytes, not into the survey; the
    // save's own step then makes the open document describe the file.
    std::memcpy(doc.survey().parameters.bytes.data(), "XYZW", 4);
    doc.survey().pointCount = 1;
    const auto serialized = serializeSurvey(doc.survey());
    ASSERT_TRUE(serialized.ok());
    const QByteArray &bytes = *serialized;
    EXPECT_EQ(bytes.mid(512, 7), QByteArray("ZOLM60", 7));
    EXPECT_EQ(bytes.size(), 25132 + 2 * 30); // the data header's count decides
    EXPECT_EQ(doc.survey().parameters.typeString(), "XYZW60");
    EXPECT_EQ(doc.survey().pointCount, 1);
    adoptSavedForm(doc.survey());
    EXPECT_TRUE(doc.survey().parameters.typeIs("ZOLM60"));
    EXPECT_EQ(doc.survey().pointCount, 2);
}

TEST_F(SurveyFile, OlderLayout)
{
    // Build an older-layout file by hand from a current one: header, calibration area only.
    CNDravikDoc doc;
    loadSynthetic(doc, 4, sim::CalibrationKind::Realistic);
    doc.survey().header.setWellNumber("W-9");
    QString error;
    ASSERT_TRUE(doc.saveFile(path("cur.ZLM")));
    const QByteArray cur = readAll(path("cur.ZLM"));
    QByteArray old = cur.left(512);
    old += cur.mid(512 + ProbeParameterBlock::CalibrationOffset, ProbeParameterBlock::CalibrationSize);
    old += cur.mid(512 + ParameterBlockSize);
    ASSERT_EQ(old.size(), static_cast<qsizetype>(OlderLayoutFixedSize + 4 * PointRecordSize));
    writeAll(path("old.ZLM"), old);

    CNDravikDoc back;
    ASSERT_TRUE(back.openFile(path("old.ZLM")));
    const SurveyData &b = back.survey();
    EXPECT_EQ(b.pointCount, 4);
    EXPECT_EQ(b.parameters.typeString(), "");
    EXPECT_EQ(b.header.wellNumber(), "W-9");
    // The identity is back at the start of the calibration area, everything else outside it zero.
    EXPECT_EQ(0, std::memcmp(b.parameters.bytes.data() + ProbeParameterBlock::CalibrationOffset, "ZL-2217", 8));
    EXPECT_TRUE(std::all_of(b.parameters.bytes.begin(), b.parameters.bytes.begin() + ProbeParameterBlock::CalibrationOffset,
                            [](std::uint8_t x) { return x == 0; }));
    // Same calibration, standard path: the same values as the current file gave.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b.values[static_cast<std::size_t>(i)], doc.survey().values[static_cast<std::size_t>(i)]);

    // Saved back in the current layout, as ZOLM60 followed by the 9 bytes that were there.
    ASSERT_TRUE(back.saveFile(path("resaved.ZLM")));
    const QByteArray resaved = readAll(path("resaved.ZLM"));
    EXPECT_EQ(resaved.size(), 25132 + 4 * 30);
    EXPECT_EQ(resaved.mid(512, 16), QByteArray("ZOLM60\0\0\0\0\0\0\0\0\0\0", 16));

    // Lookalike type strings are the older layout.
    for (const char *type : {"ZOLM1200", "zolm120", "ZOLM6"}) {
        QByteArray f = cur;
        std::memset(f.data() + 512, 0, 16);
        std::memcpy(f.data() + 512, type, std::strlen(type));
        EXPECT_EQ(detectLayout(view(f)), SurveyLayout::Older) << type;
    }
}

TEST_F(SurveyFile, DepthsOutsideTheRangeReadAsZero)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 6);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("d.ZLM")));
    QByteArray f = readAll(path("d.ZLM"));
    const double depths[6] = {-0.5, 9999.99, 10000.0, std::numeric_limits<double>::quiet_NaN(), 0.0, 512.25};
    const double expected[6] = {0.0, 9999.99, 0.0, 0.0, 0.0, 512.25};
    for (int i = 0; i < 6; ++i)
        setDepthInFile(f, i, depths[i]);
    writeAll(path("d.ZLM"), f);
    ASSERT_TRUE(doc.openFile(path("d.ZLM")));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(doc.survey().depth[static_cast<std::size_t>(i)], expected[i]) << i;
}

TEST_F(SurveyFile, OpeningRecomputesValues)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 5);
    const SurveyValues truth = doc.survey().values[2];
    doc.survey().values[2].fill(-1.0);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("v.ZLM")));
    ASSERT_TRUE(doc.openFile(path("v.ZLM")));
    // Every computed value is back; the reserved slots 8..13 are never written.
    for (std::size_t k = 0; k < truth.size(); ++k)
        EXPECT_EQ(doc.survey().values[2][k], k >= 8 && k <= 13 ? -1.0 : truth[k]) << k;
}

TEST_F(SurveyFile, NegativeCountLoadsWithoutPoints)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 2);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("n.ZLM")));
    QByteArray f = readAll(path("n.ZLM")).left(25132);
    le::put16(reinterpret_cast<std::uint8_t *>(f.data()) + 25092, 0x8000);
    writeAll(path("n.ZLM"), f);
    ASSERT_TRUE(doc.openFile(path("n.ZLM")));
    EXPECT_TRUE(doc.holdsData());
    EXPECT_EQ(doc.pointCount(), -32768);
    EXPECT_EQ(doc.survey().usablePointCount(), 0);
}

// Exactly a survey: the fixed part and 30 bytes per point of its count, nothing more. Anything
// else still opens (the reader stays lenient) but says why it is not exact, until it is saved.
TEST_F(SurveyFile, OpenedExactlyOnlyForTheExactLength)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 3);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("s.ZLM")));
    const QByteArray exact = readAll(path("s.ZLM"));
    ASSERT_TRUE(doc.openFile(path("s.ZLM")));
    EXPECT_TRUE(doc.openedExactly()) << doc.inexactReason().toStdString();

    auto opensInexact = [&](const QByteArray &bytes, const char *needle) {
        writeAll(path("x.ZLM"), bytes);
        ASSERT_TRUE(doc.openFile(path("x.ZLM")));
        EXPECT_FALSE(doc.openedExactly());
        EXPECT_TRUE(doc.inexactReason().contains(QString::fromUtf8(needle))) << doc.inexactReason().toStdString();
    };
    opensInexact(exact + QByteArray(1, '\0'), "25223"); // one trailing byte
    // Longer than the largest survey: the reader stops early but still knows.
    opensInexact(exact + QByteArray(static_cast<qsizetype>(MaxSurveyFileRead), 'x'), "25222");
    QByteArray negative = exact.left(25132);
    le::put16(reinterpret_cast<std::uint8_t *>(negative.data()) + 25092, 0xFFFF);
    opensInexact(negative, "-1");

    // Saved, it is a whole survey again (the desktop offers "save as" for such files).
    ASSERT_TRUE(doc.saveFile(path("saved.ZLM")));
    EXPECT_TRUE(doc.openedExactly());

    // The older layout has its own fixed size.
    QByteArray old = exact.left(512);
    old += exact.mid(512 + ProbeParameterBlock::CalibrationOffset, ProbeParameterBlock::CalibrationSize);
    old += exact.mid(512 + ParameterBlockSize);
    EXPECT_TRUE(inexactReason(view(old), static_cast<std::uint64_t>(old.size())).isEmpty());
    EXPECT_FALSE(inexactReason(view(old), static_cast<std::uint64_t>(old.size()) + 30).isEmpty());
    EXPECT_FALSE(inexactReason(view(old.left(5219)), 5219).isEmpty());
}

// Refused files: too many points, too short for their count, too short for any layout.
// The open document stays exactly as it was.
TEST_F(SurveyFile, DamagedFilesAreRefusedAndChangeNothing)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 10);
    doc.survey().depth[4] = 77.0;
    doc.setModified(true);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("good.ZLM")));
    doc.setModified(true);
    const QByteArray good = readAll(path("good.ZLM"));
    const auto snapshot = std::make_unique<SurveyData>(doc.survey());

    auto expectRefused = [&](const QByteArray &bytes, const char *needle) {
        writeAll(path("bad.ZLM"), bytes);
        const QString why = test::failureText(doc.openFile(path("bad.ZLM")));
        EXPECT_TRUE(why.contains(QString::fromUtf8(needle))) << why.toStdString();
        EXPECT_EQ(0, std::memcmp(&doc.survey(), snapshot.get(), sizeof(SurveyData)));
        EXPECT_TRUE(doc.holdsData());
        EXPECT_TRUE(doc.isModified());
    };

    QByteArray tooMany = good;
    le::put16(reinterpret_cast<std::uint8_t *>(tooMany.data()) + 25092, 1819);
    tooMany.resize(25132 + 30 * 1819);
    expectRefused(tooMany, "1819");

    expectRefused(good.left(good.size() - 1), "25431"); // names the size it has...
    expectRefused(good.left(good.size() - 1), "25432"); // ...and the size it needs
    expectRefused(good.left(600), "25132");
    expectRefused(QByteArray(), "0");

    EXPECT_FALSE(test::failureText(doc.openFile(path("missing.ZLM"))).isEmpty());
    EXPECT_EQ(0, std::memcmp(&doc.survey(), snapshot.get(), sizeof(SurveyData)));
}

// A file of another kind opened as a survey (a PDF) is named as such before what failed; a
// survey of this program that is damaged is not.
TEST_F(SurveyFile, AFileOfAnotherKindSaysSoBeforeTheDetail)
{
    const QString foreign = QStringLiteral("这不是本程序的测斜数据文件（文件的长度和格式都不相符）。");
    CNDravikDoc doc;
    QString why;
    QByteArray pdf("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    pdf.append(QByteArray(60001, 'x')); // its "count" reads as 0x7878 = 30840
    writeAll(path("manual.pdf"), pdf);
    why = test::failureText(doc.openFile(path("manual.pdf")));
    EXPECT_TRUE(why.contains(foreign + QStringLiteral("\n\n文件中的测点数 30840 超过了最多 1818 个测点")))
        << why.toStdString();

    writeAll(path("note.txt"), "hello");
    why = test::failureText(doc.openFile(path("note.txt")));
    EXPECT_TRUE(why.contains(foreign + QStringLiteral("\n\n文件不完整"))) << why.toStdString();

    loadSynthetic(doc, 3);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("ours.ZLM")));
    QByteArray damaged = readAll(path("ours.ZLM"));
    le::put16(reinterpret_cast<std::uint8_t *>(damaged.data()) + 25092, 1819);
    writeAll(path("ours.ZLM"), damaged);
    why = test::failureText(doc.openFile(path("ours.ZLM")));
    EXPECT_TRUE(why.contains(QStringLiteral("1819"))) << why.toStdString();
    EXPECT_FALSE(why.contains(foreign)) << why.toStdString();
}

// Random and truncated inputs: refused or read, never out of bounds (the sanitizer build and
// the fuzz target run the same reader).
TEST_F(SurveyFile, ArbitraryBytes)
{
    std::mt19937 rng(20261208);
    auto survey = std::make_unique<SurveyData>();
    CNDravikDoc doc;
    loadSynthetic(doc, 40);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("g.ZLM")));
    const QByteArray good = readAll(path("g.ZLM"));

    for (qsizetype cut = 0; cut <= good.size(); cut += 97) {
        EXPECT_FALSE(parseSurveyFile(view(good.left(cut)), *survey)) << cut;
    }
    EXPECT_TRUE(parseSurveyFile(view(good), *survey));

    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = round % 2 ? good : QByteArray();
        const qsizetype size = static_cast<qsizetype>(rng() % 90000);
        bytes.resize(size);
        for (qsizetype i = round % 2 ? static_cast<qsizetype>(rng() % 25200) : 0; i < size; i += 1 + static_cast<qsizetype>(rng() % 50))
            bytes[i] = static_cast<char>(rng());
        if (parseSurveyFile(view(bytes), *survey)) {
            EXPECT_LE(survey->pointCount, MaxSurveyPoints);
        }
    }
}

// A save that fails half-way leaves the previous file intact and is reported.
TEST_F(SurveyFile, FailedSaveKeepsThePreviousFile)
{
    CNDravikDoc doc;
    loadSynthetic(doc, 3);
    QString error;
    ASSERT_TRUE(doc.saveFile(path("keep.ZLM")));
    const QByteArray before = readAll(path("keep.ZLM"));

    loadSynthetic(doc, 200);
    doc.setModified(true);
#ifndef _WIN32
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files may not grow past 20000 bytes: the write of 31132 bytes fails.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20000, 20000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString why = test::failureText(doc.saveFile(path("keep.ZLM")));
        _exit(!why.isEmpty() && doc.isModified() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readAll(path("keep.ZLM")), before);
#endif

    // A header count beyond the store is refused before anything is written.
    doc.survey().data.setStoredCount(1819);
    const QString why = test::failureText(doc.saveFile(path("keep.ZLM")));
    EXPECT_TRUE(why.contains(QStringLiteral("1819")));
    EXPECT_EQ(readAll(path("keep.ZLM")), before);
}
