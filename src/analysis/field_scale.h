#pragma once
// The magnetometer's field scale (its field units per gauss): calibrated from a survey against
// the site's model, kept with the survey's site and remembered on this computer for the probe
// that made it, and the one rule that says which scale a QC judgement uses.
#include "analysis/qc.h"
#include "analysis/site.h"
#include "document/survey_data.h"

#include <QString>

#include <optional>

namespace zolm {

class SettingsStore;

// A calibration further than this from 1 is refused: a probe's full scale is close to one
// gauss, so more points at the site, the date or the shots rather than at the probe.
inline constexpr double MaxFieldScaleDeviation = 0.05;

struct FieldScaleCalibration {
    double scale = DefaultFieldScale; // measured / model
    double measured = 0;              // the shots' median total field, probe units
    double model = 0;                 // the site model's total field, gauss
    int shots = 0;                    // shots the median was taken over
    bool fromChecked = false;         // the checked shots (else every shown shot)
};

// The scale that makes the site model's total field the median total field of the survey's
// checked shots (shown or not; every shown shot when none is checked), as QC compares them.
// Refused when the site has no model or the scale is more than MaxFieldScaleDeviation from 1;
// Missing when no shot has a field value.
Result<FieldScaleCalibration> calibrateFieldScale(const SurveyData &survey, const Site &site);

// The probe's number as its calibration area holds it (bytes 0-13 up to the first zero, GBK),
// trimmed; empty when the survey carries none.
QString surveyProbeNumber(const SurveyData &survey);

// The scale remembered on this computer for a probe ("FieldScale/NUMBER", the number's
// characters other than letters, digits, '-', '_' and '.' percent-encoded as UTF-8). Nothing
// for an empty number, a missing key or a value that is not a usable scale.
QString fieldScaleKey(const QString &probeNumber);
std::optional<double> rememberedFieldScale(SettingsStore &store, const QString &probeNumber);
// False when the number is empty, the scale is not usable or the store could not write it.
bool rememberFieldScale(SettingsStore &store, const QString &probeNumber, double scale);

// Which scale a judgement uses: the one given to the command, else the survey site's, else the
// one remembered for the survey's probe, else 1.
struct FieldScaleChoice {
    enum class Source { Given, Site, Probe, Default };
    double scale = DefaultFieldScale;
    Source source = Source::Default;
    QString probeNumber; // the survey's probe, looked up or not
};
FieldScaleChoice chooseFieldScale(const std::optional<double> &given, const std::optional<Site> &site,
                                  const SurveyData &survey, SettingsStore *store);

// "option", "site", "probe", "default": for the command line and JSON.
const char *fieldScaleSourceName(FieldScaleChoice::Source source);
// "磁场标定系数 1.0100（本次测量的井场）" and the like, for windows and reports.
QString fieldScaleText(const FieldScaleChoice &choice);

} // namespace zolm
