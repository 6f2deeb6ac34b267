#pragma once
// One survey as both programs hold it: the document and its table, the file it belongs to,
// whether that file may be written over, and its site; and the answers every screen and file
// of the analysis takes from it (what QC compares with, how the path is computed, which values
// of a tie-in and a tolerance can be used), so that the desktop, zolm-cli and the reports
// never disagree. No widgets, no messages: the callers say things their own way.
#include "analysis/field_scale.h"
#include "analysis/geomagnetic.h"
#include "analysis/qc.h"
#include "analysis/site.h"
#include "analysis/trajectory.h"
#include "document/document.h"
#include "survey/survey_types.h"
#include "table/survey_table.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace zolm {

class SettingsStore;

// --- the analysis' rules, for a survey and a site held anywhere --------------------------------

// What QC compares every shot with: the site's model at the field scale when the site has a
// model, else the medians of the survey itself.
QcReference qcReference(const SurveyData &survey, const std::optional<GeomagneticField> &siteModel,
                        double fieldScale);
QcReference qcReference(const SurveyData &survey, const std::optional<Site> &site, double fieldScale);
// QC over the points the table shows, against qcReference. `out` keeps its capacity.
void judgeSurvey(const SurveyData &survey, const std::optional<Site> &site, double fieldScale,
                 const QcTolerance &tolerance, QcResult &out);

// How the path is computed: the tie-in, and the vertical section's azimuth given for this run,
// else the site's, else none (the path then takes its last station's closure azimuth).
TrajectoryOptions trajectoryOptions(const std::optional<Site> &site,
                                    const std::optional<double> &verticalSectionAzimuth = std::nullopt,
                                    const TieIn &tieIn = {});

// The values a tie-in and QC tolerances may take (a value that is not a number is outside).
namespace AnalysisRange {
inline constexpr double MaxTieInDepth = 100000.0;  // MD, 0 up to it; TVD, N, E within ± it
inline constexpr double MaxInclination = 180.0;
inline constexpr double MaxAzimuth = 360.0;
inline constexpr double MaxGravityTolerance = 1.0;
inline constexpr double MaxFieldTolerance = 1000000.0;
inline constexpr double MaxDipTolerance = 90.0;
} // namespace AnalysisRange
// The first value of a tie-in outside its range, in this order.
enum class TieInValue { Md, Inclination, Azimuth, Position };
std::optional<TieInValue> tieInOutOfRange(const TieIn &tieIn);
// The first tolerance outside its range, in this order.
enum class ToleranceValue { Gravity, Field, Dip };
std::optional<ToleranceValue> toleranceOutOfRange(const QcTolerance &tolerance);
// An azimuth the commands accept, 0 to 360.
bool azimuthInRange(double degrees);

// --- the session -----------------------------------------------------------------------------

class SurveySession {
public:
    SurveySession() = default;
    SurveySession(const SurveySession &) = delete;
    SurveySession &operator=(const SurveySession &) = delete;

    CNDravikDoc &document() { return m_doc; }
    const CNDravikDoc &document() const { return m_doc; }
    SurveyTable &table() { return m_table; }
    const SurveyData &survey() const { return m_doc.survey(); }

    // The document's file, absolute; empty while it has none (new, or read from the probe).
    const QString &path() const { return m_path; }
    // Opened from a file that is not exactly a survey: saving over it could destroy something
    // else, so it is saved under another name only.
    bool saveAsOnly() const { return m_saveAsOnly; }
    // A save needs a name first: the document has no file, or only "save as" is allowed.
    bool needsName() const { return m_path.isEmpty() || m_saveAsOnly; }
    // `path` is the file kept from being written over (the save-as-only file itself).
    bool keepsOriginal(const QString &path) const;
    bool isModified() const { return m_doc.isModified(); }

    // --- the document's life ---
    // An empty survey with a header of its own (no crew, well or declination), no file, no
    // site, unmodified. The table is the caller's to refill.
    void newDocument();
    // Opens `path`. On failure the session is as it was. The site is
    // taken (its block, else the site file beside the file as named); a site that cannot be
    // used is left out and siteError() says why.
    Done open(const QString &path);
    const QString &siteError() const { return m_siteError; }
    // A finished probe read replaces the survey: a new document that exists nowhere else, so it
    // has no file and no site and is modified (closing asks, a save never overwrites the file
    // that was open before). A read that did not finish is not given here and changes nothing.
    void takeProbeRead(std::span<const std::uint8_t, ParameterBlockSize> parameters,
                       std::span<const std::uint8_t, DataImageSize> image);
    // Saves to `path` (a file, or "-" for standard output); the document then belongs to that
    // file, which it may be saved over again. On failure the document keeps its file.
    Done saveTo(const QString &path);
    // The survey's bytes as they would be saved to `path`, for a caller that writes them itself.
    Result<QByteArray> bytesFor(const QString &path);

    // --- the site ---
    // The survey's own site (or the one taken from the site file beside an older survey).
    const std::optional<Site> &site() const { return m_site; }
    // Sets or clears it: part of the survey from now on, so the document is modified.
    void setSite(const std::optional<Site> &site);

    // --- the analysis of this survey ---
    // The scale QC judges the total field with: `given`, else the site's, else the one `store`
    // remembers for the survey's probe, else 1.
    FieldScaleChoice fieldScale(SettingsStore *store, const std::optional<double> &given = std::nullopt) const;
    QcReference qcReference(double fieldScale) const;
    TrajectoryOptions trajectoryOptions(const std::optional<double> &verticalSectionAzimuth = std::nullopt,
                                        const TieIn &tieIn = {}) const;

private:
    // The site follows the file: a survey without a block gets an empty one when another
    // survey's site file lies beside `path`.
    void prepareFor(const QString &path);
    void adoptPath(const QString &path);

    CNDravikDoc m_doc;
    SurveyTable m_table{m_doc};
    QString m_path;
    bool m_saveAsOnly = false;
    std::optional<Site> m_site;
    QString m_siteError;
};

} // namespace zolm
