#pragma once
// A survey's site: where and when it was run, who it was run for and by whom. It travels in
// the survey file's header (analysis/site_block.h); "FILE.site" (JSON) beside an older file is
// still read, and a site file that cannot be read is reported and ignored.
#include "analysis/geomagnetic.h"
#include "platform/result.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstddef>
#include <optional>
#include <span>

namespace zolm {

class SettingsStore;

struct Site {
    Site() = default;
    Site(double lat, double lon, double h, QDate d, std::optional<double> vsAzimuth = {})
        : latitude(lat), longitude(lon), height(h), date(d), verticalSectionAzimuth(vsAzimuth)
    {
    }

    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    double height = 0;    // metres
    QDate date;
    std::optional<double> verticalSectionAzimuth; // degrees
    std::optional<double> fieldScale;             // the probe's field units per gauss (QC)
    std::optional<double> dogLegLimit;            // degrees per 30 m; above it a warning
    // The probe's clock when it started: a wall-clock time held with Qt::UTC, so that no
    // daylight-saving rule moves it when seconds are added.
    std::optional<QDateTime> probeStart;
    // Texts for reports and LAS files, stored as GBK within the byte limits of siteTextFields().
    QString client, company, rig, oilField, location, serviceCompany, uwi, surveyor, checkedBy, approvedBy;
};

namespace SiteRange {
inline constexpr double MinHeight = -1000.0, MaxHeight = 10000.0;
inline constexpr double MaxFieldScale = 1000000.0; // above 0
inline constexpr double MaxDogLegLimit = 180.0;    // above 0
} // namespace SiteRange

// The site's texts, in the order the survey header holds them.
struct SiteTextField {
    QString Site::*member;
    const char *key;         // JSON key and the name `zolm-cli site` prints
    const char *option;      // zolm-cli site's option
    const char *label;       // for messages and dialogs (translation context "Site")
    std::size_t offset;      // in the survey header
    std::size_t size;        // bytes there, the terminating zero included
    std::size_t maxBytes() const { return size - 1; }
};
std::span<const SiteTextField> siteTextFields();
// The label of a text field in the user's language.
QString siteTextLabel(const SiteTextField &field);
// Refused when a text cannot be stored in that field (a character GBK lacks, a control
// character, too many bytes).
Done checkSiteText(const SiteTextField &field, const QString &text);

// "YYYY-MM-DD HH:MM:SS", the probe start time as files and the command line write it.
QString probeStartText(const QDateTime &start);
std::optional<QDateTime> parseProbeStart(const QString &text);

// The document's path with ".site" appended.
QString siteFilePath(const QString &documentPath);

// Refused when a site cannot be used (a value out of range, a date no model covers).
Done checkSite(const Site &site);
// The model's field at the site on its date (checked first).
Result<GeomagneticField> siteField(const Site &site);
// The same for a survey's site, when it has one and the model covers it; else nothing.
std::optional<GeomagneticField> siteModelField(const std::optional<Site> &site);

// {"latitude","longitude","height","date":"YYYY-MM-DD","verticalSectionAzimuth"?}, then the
// keys of the fields that are set: "fieldScale", "dogLegLimit", "probeStart" and the texts.
QByteArray siteJson(const Site &site, bool compact = false);
// Parses and checks a site file's bytes (WrongFile when they are no usable site); unknown keys
// are ignored, height 0 when absent.
Result<Site> parseSite(const QByteArray &json);

// The site file beside the document. No file is no site and no error; a file that is there but
// cannot be read (ReadFailed: a folder, a FIFO or device, no permission) or is broken (WrongFile)
// fails with a message that names it.
Result<std::optional<Site>> readSite(const QString &documentPath);
// The site file older versions kept beside the survey (the programs now keep the site in the
// survey itself). Atomic: on failure an existing site file keeps its bytes.
Done writeSite(const QString &documentPath, const Site &site);

// The last site entered on this computer ("LastSite", its JSON), for the site dialog.
std::optional<Site> lastSite(SettingsStore &store);
bool storeLastSite(SettingsStore &store, const Site &site);

} // namespace zolm
