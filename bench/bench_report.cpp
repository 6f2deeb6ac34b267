// Report speed: the draw list of a full multi-point report, and the 73-page PDF of it.
#include "bench_application.h"
#include "document/document.h"
#include "output/report.h"
#include "synthetic.h"
#include "table/survey_table.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zolm;

namespace {

struct FullReport {
    FullReport()
    {
        const auto survey = sim::makeSurvey(sim::CalibrationKind::Realistic, sim::defaultWellPath(MaxSurveyPoints));
        doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
        doc.survey().header.setCrewNumber("C-17");
        table.refillTable();
        table.checkAll();
        table.autoDepth(3000.0, 1.5);
        source = reportSource(table, currentPrintTime());
    }
    CNDravikDoc doc;
    SurveyTable table{doc};
    ReportSource source;
};


void BM_ReportDrawListMultiPoint73Pages(benchmark::State &state)
{
    FullReport r;
    const PageRect rect = a4PrintableRect(ReportLayout::MultiPoint, 600, 600);
    for (auto _ : state)
        for (int p = 1; p <= 73; ++p)
            benchmark::DoNotOptimize(reportPage(ReportLayout::MultiPoint, r.source, p, rect));
}

void BM_ReportPdfMultiPoint73Pages(benchmark::State &state)
{
    ensureApplication();
    FullReport r;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state)
        if (!writeReportPdf(path, ReportLayout::MultiPoint, r.source, 600, 600))
            state.SkipWithError("PDF not written");
}

} // namespace

BENCHMARK(BM_ReportDrawListMultiPoint73Pages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportPdfMultiPoint73Pages)->Unit(benchmark::kMillisecond)->Iterations(5);
