// Analysis speed: the trajectory of a full survey (1818 stations), one evaluation of the
// geomagnetic model, and QC of 1818 points.
#include "analysis/geomagnetic.h"
#include "analysis/qc.h"
#include "analysis/trajectory.h"
#include "document/document.h"
#include "synthetic.h"

#include <benchmark/benchmark.h>

using namespace zolm;

namespace {

// A full synthetic survey, every point checked, 1.5 m apart.
struct FullSurvey {
    FullSurvey()
    {
        const auto s = sim::makeSurvey(sim::CalibrationKind::Realistic, sim::defaultWellPath(MaxSurveyPoints));
        doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
        for (int i = 0; i < MaxSurveyPoints; ++i) {
            doc.survey().flags[static_cast<std::size_t>(i)] |= PointFlag::Checked;
            doc.survey().depth[static_cast<std::size_t>(i)] = 10.0 + 1.5 * i;
        }
        doc.survey().header.setDeclination(-6.5);
    }
    CNDravikDoc doc;
};

const FullSurvey &fullSurvey()
{
    static const FullSurvey s;
    return s;
}

void BM_Trajectory1818(benchmark::State &state)
{
    const SurveyData &survey = fullSurvey().doc.survey();
    Trajectory t;
    for (auto _ : state) {
        computeTrajectory(survey, {}, t);
        benchmark::DoNotOptimize(t.stations.back().tvd);
    }
    state.counters["stations"] = static_cast<double>(t.stations.size());
}
BENCHMARK(BM_Trajectory1818)->Unit(benchmark::kMicrosecond);

void BM_GeomagneticModel(benchmark::State &state)
{
    double lat = 36.5;
    for (auto _ : state) {
        const auto f = geomagneticField({lat, 117.0, 1200.0}, 2026.2);
        benchmark::DoNotOptimize(f->declination);
        lat = lat > 60 ? -60 : lat + 0.37; // a new place each time
    }
}
BENCHMARK(BM_GeomagneticModel)->Unit(benchmark::kMicrosecond);

void BM_Qc1818(benchmark::State &state)
{
    const SurveyData &survey = fullSurvey().doc.survey();
    QcResult r;
    for (auto _ : state) {
        // The medians are part of the job when there is no site.
        runQc(survey, medianReference(survey), QcTolerance{}, r);
        benchmark::DoNotOptimize(r.passed);
    }
    state.counters["points"] = static_cast<double>(r.points.size());
}
BENCHMARK(BM_Qc1818)->Unit(benchmark::kMicrosecond);

} // namespace
