// Conversion speed: one sample on each path, and opening a full 1818-point document.
#include "conversion/conversion.h"
#include "document/document.h"
#include "synthetic.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zolm;

namespace {

void convertOnPath(benchmark::State &state, sim::CalibrationKind kind)
{
    const auto stations = sim::defaultWellPath(MaxSurveyPoints);
    const auto survey = sim::makeSurvey(kind, stations);
    SurveyValues v{};
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(convertSample(survey.data.sample(i), survey.parameters, v));
        benchmark::DoNotOptimize(v);
        i = (i + 1) % MaxSurveyPoints;
    }
}

void BM_ConvertSampleStandard(benchmark::State &state) { convertOnPath(state, sim::CalibrationKind::Realistic); }
void BM_ConvertSampleType120(benchmark::State &state) { convertOnPath(state, sim::CalibrationKind::Type120Realistic); }

void openFull(benchmark::State &state, sim::CalibrationKind kind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.ZLM"));
    {
        CNDravikDoc doc;
        const auto stations = sim::defaultWellPath(MaxSurveyPoints);
        const auto survey = sim::makeSurvey(kind, stations);
        doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
        if (!doc.saveFile(path))
            state.SkipWithError("cannot write the document");
    }
    CNDravikDoc doc;
    for (auto _ : state) {
        if (!doc.openFile(path))
            state.SkipWithError("cannot open the document");
        benchmark::DoNotOptimize(doc.survey().values[MaxSurveyPoints - 1]);
    }
}

void BM_OpenAndConvert1818Standard(benchmark::State &state) { openFull(state, sim::CalibrationKind::Realistic); }
void BM_OpenAndConvert1818Type120(benchmark::State &state) { openFull(state, sim::CalibrationKind::Type120Realistic); }

} // namespace

BENCHMARK(BM_ConvertSampleStandard);
BENCHMARK(BM_ConvertSampleType120);
BENCHMARK(BM_OpenAndConvert1818Standard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndConvert1818Type120)->Unit(benchmark::kMillisecond);
