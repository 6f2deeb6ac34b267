#include "analysis/site_block.h"

#include "platform/gbk.h"
#include "survey/le_bytes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cstring>

namespace zolm {

namespace {

constexpr char Tag[] = "ZOLMSITE"; // 8 bytes, no terminator in the block
constexpr std::size_t TagSize = 8;
constexpr std::size_t VersionAt = 76, FlagsAt = 78, LatitudeAt = 80, LongitudeAt = 88, HeightAt = 96,
                      DateAt = 104, StartDateAt = 108, StartTimeAt = 112, AzimuthAt = 120, ScaleAt = 128,
                      DogLegAt = 136;

std::uint32_t dateNumber(QDate d)
{
    return static_cast<std::uint32_t>(d.year() * 10000 + d.month() * 100 + d.day());
}

QDate dateOf(std::uint32_t n)
{
    return QDate(static_cast<int>(n / 10000), static_cast<int>(n / 100 % 100), static_cast<int>(n % 100));
}

std::uint32_t checksumOf(const SurveyHeader &header)
{
    return crc32(std::span<const std::uint8_t>(header.bytes.data() + SiteBlock::Begin,
                                               SiteBlock::ChecksumOffset - SiteBlock::Begin));
}

bool tagFits(const SurveyHeader &header)
{
    return std::memcmp(header.bytes.data() + SiteBlock::Begin, Tag, TagSize) == 0;
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes)
{
    static constexpr auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes)
        c = table[(c ^ b) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

SiteBlockRead readSiteBlock(const SurveyHeader &header)
{
    SiteBlockRead r;
    if (!tagFits(header))
        return r; // no block: zeros, or bytes some other program left
    const std::uint8_t *p = header.bytes.data();
    const std::uint16_t version = le::u16(p + VersionAt);
    if (version != SiteBlock::Version) {
        r.error = QCoreApplication::translate("Site", "文件中的井场数据版本为 %1，本程序无法识别，已忽略").arg(version);
        return r;
    }
    if (le::u32(p + SiteBlock::ChecksumOffset) != checksumOf(header)) {
        r.error = QCoreApplication::translate("Site", "文件中的井场数据已损坏（校验不符），已忽略");
        return r;
    }
    r.present = true;
    const std::uint16_t flags = le::u16(p + FlagsAt);
    if (!(flags & SiteBlock::PositionAndDate))
        return r; // a cleared site
    Site s;
    s.latitude = le::f64(p + LatitudeAt);
    s.longitude = le::f64(p + LongitudeAt);
    s.height = le::f64(p + HeightAt);
    s.date = dateOf(le::u32(p + DateAt));
    if (flags & SiteBlock::VerticalSectionAzimuth)
        s.verticalSectionAzimuth = le::f64(p + AzimuthAt);
    if (flags & SiteBlock::FieldScale)
        s.fieldScale = le::f64(p + ScaleAt);
    if (flags & SiteBlock::DogLegLimit)
        s.dogLegLimit = le::f64(p + DogLegAt);
    if (flags & SiteBlock::ProbeStart) {
        const std::uint32_t seconds = le::u32(p + StartTimeAt);
        const QDate d = dateOf(le::u32(p + StartDateAt));
        // An impossible date or time is left invalid for checkSite to refuse.
        s.probeStart = QDateTime(d, seconds < 86400 ? QTime(0, 0).addSecs(static_cast<int>(seconds)) : QTime(),
                                 QTimeZone::utc());
    }
    for (const SiteTextField &f : siteTextFields()) {
        const auto *begin = reinterpret_cast<const char *>(p + f.offset);
        const std::size_t n = std::find(begin, begin + f.size, '\0') - begin;
        s.*f.member = fromGbk(std::string_view(begin, n));
    }
    if (Done checked = checkSite(s); !checked) {
        r.error = QCoreApplication::translate("Site", "文件中的井场无效，已忽略：%1").arg(checked.error().message);
        return r;
    }
    r.site = std::move(s);
    return r;
}

void writeSiteBlock(SurveyHeader &header, const std::optional<Site> &site)
{
    std::uint8_t *p = header.bytes.data();
    std::fill(p + SiteBlock::Begin, p + SiteBlock::End, std::uint8_t{0});
    std::memcpy(p + SiteBlock::Begin, Tag, TagSize);
    le::put16(p + VersionAt, SiteBlock::Version);
    std::uint16_t flags = 0;
    if (site) {
        const Site &s = *site;
        flags |= SiteBlock::PositionAndDate;
        le::putF64(p + LatitudeAt, s.latitude);
        le::putF64(p + LongitudeAt, s.longitude);
        le::putF64(p + HeightAt, s.height);
        le::put32(p + DateAt, dateNumber(s.date));
        if (s.verticalSectionAzimuth) {
            flags |= SiteBlock::VerticalSectionAzimuth;
            le::putF64(p + AzimuthAt, *s.verticalSectionAzimuth);
        }
        if (s.fieldScale) {
            flags |= SiteBlock::FieldScale;
            le::putF64(p + ScaleAt, *s.fieldScale);
        }
        if (s.dogLegLimit) {
            flags |= SiteBlock::DogLegLimit;
            le::putF64(p + DogLegAt, *s.dogLegLimit);
        }
        if (s.probeStart && s.probeStart->isValid()) {
            flags |= SiteBlock::ProbeStart;
            le::put32(p + StartDateAt, dateNumber(s.probeStart->date()));
            le::put32(p + StartTimeAt, static_cast<std::uint32_t>(s.probeStart->time().msecsSinceStartOfDay() / 1000));
        }
        for (const SiteTextField &f : siteTextFields()) {
            std::string gbk = toGbk(s.*f.member);
            gbk.resize(std::min({gbk.size(), gbk.find('\0'), f.maxBytes()}));
            std::memcpy(p + f.offset, gbk.data(), gbk.size());
        }
    }
    le::put16(p + FlagsAt, flags);
    le::put32(p + SiteBlock::ChecksumOffset, checksumOf(header));
}

Result<std::optional<Site>> takeSurveySite(SurveyHeader &header, const QString &documentPath)
{
    const SiteBlockRead block = readSiteBlock(header);
    const Error damaged = makeError(ErrorCode::WrongFile, block.error);
    if (block.present) {
        if (!block.error.isEmpty())
            return damaged;
        return block.site;
    }
    const Result<std::optional<Site>> file = readSite(documentPath);
    if (file && *file)
        writeSiteBlock(header, *file);
    else if (!block.error.isEmpty())
        return file ? damaged : file.error().retold(block.error + QStringLiteral("；") + file.error().message);
    return file;
}

void setSurveySite(SurveyHeader &header, const std::optional<Site> &site)
{
    if (site || readSiteBlock(header).present)
        writeSiteBlock(header, site);
}

void prepareSiteForSave(SurveyHeader &header, const QString &path)
{
    if (path == QLatin1String("-") || readSiteBlock(header).present)
        return;
    const QFileInfo beside(siteFilePath(path));
    if (beside.exists() || beside.isSymLink())
        writeSiteBlock(header, std::nullopt);
}

} // namespace zolm
