#pragma once
// A survey's site: where and when it was run, kept beside the document in "FILE.site" (JSON),
// so the .ZLM format stays as it is. A site file that cannot be read is reported and ignored.
#include "analysis/geomagnetic.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

namespace zolm {

struct Site {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    double height = 0;    // metres
    QDate date;
    std::optional<double> verticalSectionAzimuth; // degrees
};

namespace SiteRange {
inline constexpr double MinHeight = -1000.0, MaxHeight = 10000.0;
} // namespace SiteRange

// The document's path with ".site" appended.
QString siteFilePath(const QString &documentPath);

// Why a site cannot be used (a value out of range, a date no model covers), or nothing.
std::optional<QString> checkSite(const Site &site);
// The model's field at the site on its date (checked first).
std::optional<GeomagneticField> siteField(const Site &site, QString *error = nullptr);

// {"latitude","longitude","height","date":"YYYY-MM-DD","verticalSectionAzimuth"?}
QByteArray siteJson(const Site &site);
// Parses and checks a site file's bytes; unknown keys are ignored, height 0 when absent.
std::optional<Site> parseSite(const QByteArray &json, QString *error);

struct SiteRead {
    std::optional<Site> site;
    QString error; // not empty: the file is there but broken (a message for the user)
};
// No file: no site and no error.
SiteRead readSite(const QString &documentPath);
// Atomic: on failure an existing site file keeps its bytes.
bool writeSite(const QString &documentPath, const Site &site, QString *error);
// Removing a site that is not there succeeds.
bool removeSite(const QString &documentPath, QString *error);
// Gives `to` the site of `from` (none, when it has none or it is broken; then *warning says
// why when it is broken).
bool copySite(const QString &fromDocument, const QString &toDocument, QString *error, QString *warning = nullptr);

} // namespace zolm
