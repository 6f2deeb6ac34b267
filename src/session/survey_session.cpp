#include "session/survey_session.h"

#include "analysis/site_block.h"
#include "document/survey_file.h"

#include <QFileInfo>

#include <cmath>

namespace zolm {

namespace {

// Within [low, high]; a value that is not a number is not.
bool within(double v, double low, double high)
{
    return v >= low && v <= high;
}

} // namespace

QcReference qcReference(const SurveyData &survey, const std::optional<GeomagneticField> &siteModel, double fieldScale)
{
    return siteModel ? siteReference(*siteModel, fieldScale) : medianReference(survey);
}

QcReference qcReference(const SurveyData &survey, const std::optional<Site> &site, double fieldScale)
{
    return qcReference(survey, siteModelField(site), fieldScale);
}

void judgeSurvey(const SurveyData &survey, const std::optional<Site> &site, double fieldScale,
                 const QcTolerance &tolerance, QcResult &out)
{
    // runQc judges the shown points only: a hidden point is one the user set aside.
    runQc(survey, qcReference(survey, site, fieldScale), tolerance, out);
}

TrajectoryOptions trajectoryOptions(const std::optional<Site> &site, const std::optional<double> &verticalSectionAzimuth,
                                    const TieIn &tieIn)
{
    TrajectoryOptions options;
    options.tieIn = tieIn;
    options.verticalSectionAzimuth = verticalSectionAzimuth;
    if (!options.verticalSectionAzimuth && site)
        options.verticalSectionAzimuth = site->verticalSectionAzimuth;
    return options;
}

std::optional<TieInValue> tieInOutOfRange(const TieIn &t)
{
    using namespace AnalysisRange;
    if (!within(t.md, 0, MaxTieInDepth))
        return TieInValue::Md;
    if (!within(t.inclination, 0, MaxInclination))
        return TieInValue::Inclination;
    if (!azimuthInRange(t.azimuth))
        return TieInValue::Azimuth;
    for (const double v : {t.tvd, t.north, t.east}) {
        if (!within(v, -MaxTieInDepth, MaxTieInDepth))
            return TieInValue::Position;
    }
    return std::nullopt;
}

std::optional<ToleranceValue> toleranceOutOfRange(const QcTolerance &t)
{
    using namespace AnalysisRange;
    if (!within(t.gravity, 0, MaxGravityTolerance))
        return ToleranceValue::Gravity;
    if (!within(t.field, 0, MaxFieldTolerance))
        return ToleranceValue::Field;
    if (!within(t.dip, 0, MaxDipTolerance))
        return ToleranceValue::Dip;
    return std::nullopt;
}

bool azimuthInRange(double degrees)
{
    return within(degrees, 0, AnalysisRange::MaxAzimuth);
}

bool SurveySession::keepsOriginal(const QString &path) const
{
    return m_saveAsOnly && QFileInfo(path).absoluteFilePath() == m_path;
}

void SurveySession::newDocument()
{
    m_doc.clear();
    // The store's clear keeps the header (a probe read zeroes it itself); a new document has
    // its own: no crew, no well, no declination.
    m_doc.survey().header.bytes.fill(0);
    m_doc.setModified(false);
    m_path.clear();
    m_saveAsOnly = false;
    m_site.reset();
    m_siteError.clear();
}

Done SurveySession::open(const QString &path)
{
    if (Done opened = m_doc.openFile(path); !opened)
        return opened;
    m_doc.setModified(false);
    m_path = QFileInfo(path).absoluteFilePath();
    m_saveAsOnly = !m_doc.openedExactly();
    // A broken site does not stop the survey: it is reported and left alone.
    const Result<std::optional<Site>> site = takeSurveySite(m_doc.survey().header, path);
    m_site = site ? *site : std::nullopt;
    m_siteError = site ? QString() : site.error().message;
    return {};
}

void SurveySession::takeProbeRead(std::span<const std::uint8_t, ParameterBlockSize> parameters,
                                  std::span<const std::uint8_t, DataImageSize> image)
{
    m_doc.loadFromProbe(parameters, image);
    m_path.clear();
    m_saveAsOnly = false;
    // The header went with the survey; its site goes with it.
    m_site.reset();
    m_siteError.clear();
    m_doc.setModified(true);
}

void SurveySession::prepareFor(const QString &path)
{
    // The site is in the survey's header; a site file left there by another survey must not
    // become this one's.
    prepareSiteForSave(m_doc.survey().header, path);
}

void SurveySession::adoptPath(const QString &path)
{
    // Standard output is no file to save to again.
    if (path == QLatin1String("-"))
        return;
    m_path = QFileInfo(path).absoluteFilePath();
    m_saveAsOnly = false;
}

Done SurveySession::saveTo(const QString &path)
{
    prepareFor(path);
    if (Done saved = m_doc.saveFile(path); !saved)
        return saved;
    m_doc.setModified(false);
    adoptPath(path);
    return {};
}

Result<QByteArray> SurveySession::bytesFor(const QString &path)
{
    prepareFor(path);
    return serializeSurvey(m_doc.survey());
}

void SurveySession::setSite(const std::optional<Site> &site)
{
    m_site = site;
    setSurveySite(m_doc.survey().header, site);
    m_doc.setModified(true);
}

FieldScaleChoice SurveySession::fieldScale(SettingsStore *store, const std::optional<double> &given) const
{
    return chooseFieldScale(given, m_site, m_doc.survey(), store);
}

QcReference SurveySession::qcReference(double fieldScale) const
{
    return zolm::qcReference(m_doc.survey(), m_site, fieldScale);
}

TrajectoryOptions SurveySession::trajectoryOptions(const std::optional<double> &verticalSectionAzimuth,
                                                   const TieIn &tieIn) const
{
    return zolm::trajectoryOptions(m_site, verticalSectionAzimuth, tieIn);
}

} // namespace zolm
