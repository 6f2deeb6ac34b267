#pragma once
// The World Magnetic Model: the main field and its secular variation as Schmidt
// semi-normalised spherical harmonics to degree and order 12, evaluated at a geodetic
// position (WGS84) and a decimal year. The coefficients of each five-year model are data
// files compiled into the library.
#include "platform/result.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace zolm {

inline constexpr int GeomagneticDegree = 12;
inline constexpr int GeomagneticTerms = (GeomagneticDegree + 1) * (GeomagneticDegree + 2) / 2;

// Coefficients in nT and nT/year, index n(n+1)/2 + m.
struct GeomagneticCoefficients {
    const char *name;  // "WMM2020"
    double epoch;      // decimal year t0
    double validUntil; // first decimal year no longer covered
    std::array<double, GeomagneticTerms> g, h, gDot, hDot;
};

// The shipped models, oldest first.
const GeomagneticCoefficients &wmm2020();
const GeomagneticCoefficients &wmm2025();

struct GeomagneticPosition {
    double latitude = 0;  // geodetic degrees, north positive
    double longitude = 0; // degrees, east positive
    double height = 0;    // metres above the ellipsoid
};

struct GeomagneticField {
    const char *model = "";
    double decimalYear = 0;
    double north = 0, east = 0, down = 0; // X, Y, Z in nT
    double horizontal = 0, total = 0;     // H, F in nT
    double declination = 0;               // degrees, east positive
    double inclination = 0;               // degrees, down positive
};

// Ranges the model and its users accept.
namespace GeomagneticRange {
inline constexpr double MaxLatitude = 89.9; // declination is undefined at the poles
inline constexpr double MinLongitude = -180.0, MaxLongitude = 360.0;
inline constexpr double MinHeight = -1000.0, MaxHeight = 850000.0; // metres
inline constexpr double FirstYear = 2020.0, EndYear = 2030.0;
} // namespace GeomagneticRange

// year + (day of year - 1) / (days in that year).
double decimalYear(const QDate &date);

// The model covering t, or null when none does.
const GeomagneticCoefficients *modelFor(double decimalYear);

// The field with the model that covers t. Refused outside the models' years, beyond ±89.9°
// latitude, outside the longitude and height ranges, or for values that are not numbers.
Result<GeomagneticField> geomagneticField(const GeomagneticPosition &position, double decimalYear);

// The field of one given model, with no range checks (the caller has made them).
GeomagneticField evaluateModel(const GeomagneticCoefficients &model, const GeomagneticPosition &position,
                               double decimalYear);

} // namespace zolm
