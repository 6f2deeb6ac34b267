#include "analysis/geomagnetic.h"

#include <QCoreApplication>

#include <cmath>
#include <numbers>

namespace zolm {

namespace {

constexpr double Deg = std::numbers::pi / 180.0;

// WGS84 and the model's reference sphere, in km.
constexpr double SemiMajorAxis = 6378.137;
constexpr double Flattening = 1.0 / 298.257223563;
constexpr double EccentricitySquared = Flattening * (2.0 - Flattening);
constexpr double ReferenceRadius = 6371.2;

constexpr int N = GeomagneticDegree;

constexpr int termIndex(int n, int m)
{
    return n * (n + 1) / 2 + m;
}

// sqrt(2 (n-m)! / (n+m)!) for m > 0, 1 for m = 0: turns the plain associated Legendre
// functions into Schmidt semi-normalised ones.
const std::array<double, GeomagneticTerms> &schmidtFactors()
{
    static const std::array<double, GeomagneticTerms> factors = [] {
        std::array<double, GeomagneticTerms> f{};
        for (int n = 0; n <= N; ++n) {
            for (int m = 0; m <= n; ++m) {
                double ratio = 1.0; // (n-m)! / (n+m)!
                for (int k = n - m + 1; k <= n + m; ++k)
                    ratio /= k;
                f[static_cast<std::size_t>(termIndex(n, m))] = m == 0 ? 1.0 : std::sqrt(2.0 * ratio);
            }
        }
        return f;
    }();
    return factors;
}

} // namespace

double decimalYear(const QDate &date)
{
    return date.year() + static_cast<double>(date.dayOfYear() - 1) / date.daysInYear();
}

const GeomagneticCoefficients *modelFor(double t)
{
    if (!(t >= GeomagneticRange::FirstYear))
        return nullptr;
    for (const GeomagneticCoefficients *m : {&wmm2020(), &wmm2025()}) {
        if (t >= m->epoch && t < m->validUntil)
            return m;
    }
    return nullptr;
}

GeomagneticField evaluateModel(const GeomagneticCoefficients &model, const GeomagneticPosition &position,
                               double t)
{
    // Geodetic latitude and height to geocentric radius and latitude.
    const double phi = position.latitude * Deg;
    const double lambda = position.longitude * Deg;
    const double h = position.height / 1000.0;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double rc = SemiMajorAxis / std::sqrt(1.0 - EccentricitySquared * sinPhi * sinPhi);
    const double p = (rc + h) * cosPhi;
    const double z = (rc * (1.0 - EccentricitySquared) + h) * sinPhi;
    const double r = std::hypot(p, z);
    const double phiC = std::asin(z / r);

    // Associated Legendre functions of x = sin(geocentric latitude) = cos(colatitude) and
    // their derivatives by colatitude, by the plain recursions (no division by cos φ').
    const double x = std::sin(phiC);
    const double s = std::cos(phiC);
    double P[N + 1][N + 1] = {};
    double dP[N + 1][N + 1] = {};
    P[0][0] = 1.0;
    for (int m = 1; m <= N; ++m) {
        P[m][m] = (2 * m - 1) * s * P[m - 1][m - 1];
        dP[m][m] = (2 * m - 1) * (x * P[m - 1][m - 1] + s * dP[m - 1][m - 1]);
    }
    for (int m = 0; m < N; ++m) {
        P[m + 1][m] = (2 * m + 1) * x * P[m][m];
        dP[m + 1][m] = (2 * m + 1) * (x * dP[m][m] - s * P[m][m]);
        for (int n = m + 2; n <= N; ++n) {
            P[n][m] = ((2 * n - 1) * x * P[n - 1][m] - (n + m - 1) * P[n - 2][m]) / (n - m);
            dP[n][m] = ((2 * n - 1) * (x * dP[n - 1][m] - s * P[n - 1][m]) - (n + m - 1) * dP[n - 2][m]) / (n - m);
        }
    }

    double cosM[N + 1], sinM[N + 1];
    for (int m = 0; m <= N; ++m) {
        cosM[m] = std::cos(m * lambda);
        sinM[m] = std::sin(m * lambda);
    }

    const auto &schmidt = schmidtFactors();
    const double dt = t - model.epoch;
    const double ratio = ReferenceRadius / r;
    double radial = ratio * ratio; // (a/r)^(n+2), starting at n = 0
    double xc = 0, yc = 0, zc = 0; // geocentric north, east, down
    for (int n = 1; n <= N; ++n) {
        radial *= ratio;
        for (int m = 0; m <= n; ++m) {
            const auto k = static_cast<std::size_t>(termIndex(n, m));
            const double g = model.g[k] + dt * model.gDot[k];
            const double hc = model.h[k] + dt * model.hDot[k];
            const double pnm = schmidt[k] * P[n][m];
            const double dpnm = schmidt[k] * dP[n][m];
            const double along = g * cosM[m] + hc * sinM[m];
            xc += radial * along * dpnm;
            yc += radial * m * (g * sinM[m] - hc * cosM[m]) * pnm;
            zc -= (n + 1) * radial * along * pnm;
        }
    }
    yc /= s;

    // Back to the geodetic frame.
    const double psi = phiC - phi;
    GeomagneticField f;
    f.model = model.name;
    f.decimalYear = t;
    f.north = xc * std::cos(psi) - zc * std::sin(psi);
    f.east = yc;
    f.down = xc * std::sin(psi) + zc * std::cos(psi);
    f.horizontal = std::hypot(f.north, f.east);
    f.total = std::hypot(f.horizontal, f.down);
    f.declination = std::atan2(f.east, f.north) / Deg;
    f.inclination = std::atan2(f.down, f.horizontal) / Deg;
    return f;
}

Result<GeomagneticField> geomagneticField(const GeomagneticPosition &position, double t)
{
    auto refuse = [](const QString &why) -> Result<GeomagneticField> { return makeError(ErrorCode::Refused, why); };
    using namespace GeomagneticRange;
    if (!std::isfinite(position.latitude) || !std::isfinite(position.longitude) || !std::isfinite(position.height)
        || !std::isfinite(t))
        return refuse(QCoreApplication::translate("Geomagnetic", "位置、高度或日期不是数字"));
    if (std::fabs(position.latitude) > MaxLatitude)
        return refuse(QCoreApplication::translate("Geomagnetic", "纬度必须在 -89.9 到 89.9 之间（两极的磁偏角没有定义）"));
    if (position.longitude < MinLongitude || position.longitude > MaxLongitude)
        return refuse(QCoreApplication::translate("Geomagnetic", "经度必须在 -180 到 360 之间"));
    if (position.height < MinHeight || position.height > MaxHeight)
        return refuse(QCoreApplication::translate("Geomagnetic", "高度必须在 -1000 米到 850 千米之间"));
    const GeomagneticCoefficients *model = modelFor(t);
    if (!model)
        return refuse(QCoreApplication::translate("Geomagnetic", "日期超出地磁模型的有效期（2020-01-01 至 2029-12-31）"));
    return evaluateModel(*model, position, t);
}

} // namespace zolm
