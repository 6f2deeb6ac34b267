#pragma once
// The site inside the survey file: bytes 68-511 of the 512-byte survey header, which the
// file format leaves unused (the reader keeps them and the writer writes them back). A
// program that knows nothing of the block reads the survey as before; the file keeps its
// length and every other byte.
//
// The block: tag "ZOLMSITE", version, flags, the numbers little-endian, the texts GBK and
// zero-padded, and a CRC-32 (zlib's) of bytes 68-507 in 508-511. A block whose tag, version
// or checksum does not fit is no site, and its bytes are kept until a site is set.
#include "analysis/site.h"
#include "survey/survey_types.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zolm {

namespace SiteBlock {
inline constexpr std::size_t Begin = 68;
inline constexpr std::size_t ChecksumOffset = 508;
inline constexpr std::size_t End = SurveyHeaderSize;
inline constexpr std::uint16_t Version = 1;
enum Flag : std::uint16_t {
    PositionAndDate = 1u << 0,
    VerticalSectionAzimuth = 1u << 1,
    FieldScale = 1u << 2,
    ProbeStart = 1u << 3,
    DogLegLimit = 1u << 4,
};
} // namespace SiteBlock

// CRC-32 as zlib computes it (reflected polynomial 0xEDB88320, initial and final ~0).
std::uint32_t crc32(std::span<const std::uint8_t> bytes);

// The block reader's own record rather than a Result: a block may be there and hold no site (a
// cleared one), and a block's fault does not end the search, since a site file may still serve.
struct SiteBlockRead {
    // A whole block is there (tag, version and checksum fit), whether or not it holds a site:
    // a cleared site is a block without one, so that a site file beside the survey does not
    // come back.
    bool present = false;
    std::optional<Site> site;
    QString error; // a block that is damaged or holds values out of range (a message)
};
SiteBlockRead readSiteBlock(const SurveyHeader &header);
// Writes the block: the site (which checkSite accepts), or a block that holds none.
void writeSiteBlock(SurveyHeader &header, const std::optional<Site> &site);

// The site of a survey just opened from `documentPath`: its block, else the site file beside
// it (read as readSite does), which is then put into the header so that the next save moves
// it into the survey. The site file itself is left as it is. Nothing at all is no site; a
// damaged block (WrongFile) or a site file that fails is told, and the survey has no site.
Result<std::optional<Site>> takeSurveySite(SurveyHeader &header, const QString &documentPath);
// Sets or clears the survey's site. Clearing writes an empty block where a block (or a site
// taken from a site file) was, and leaves foreign bytes alone.
void setSurveySite(SurveyHeader &header, const std::optional<Site> &site);
// Before the survey is written to `path`: a survey without a block gets an empty one when a
// site file lies beside `path`, so that another survey's site file does not become its site.
// "-" (standard output) has nothing beside it.
void prepareSiteForSave(SurveyHeader &header, const QString &path);

} // namespace zolm
