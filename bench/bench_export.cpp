// Export speed: a full 1818-point survey with every column, to bytes and to a file.
#include "document/document.h"
#include "output/export.h"
#include "synthetic.h"
#include "table/survey_table.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zolm;

namespace {

struct FullTable {
    FullTable()
    {
        const auto survey = sim::makeSurvey(sim::CalibrationKind::Realistic, sim::defaultWellPath(MaxSurveyPoints));
        doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
        doc.survey().header.setCrewNumber("C-17");
        doc.survey().header.setWellNumber("W-3");
        table.refillTable();
        table.checkAll();
        table.autoDepth(3000.0, 1.5);
        settings.title = true;
        for (int id = 0; id < ExportItemCount; ++id)
            settings.positions[static_cast<std::size_t>(id)] = id;
    }
    CNDravikDoc doc;
    SurveyTable table{doc};
    ExportSettings settings;
};

void BM_ExportBytesAllColumns(benchmark::State &state)
{
    FullTable t;
    for (auto _ : state)
        benchmark::DoNotOptimize(exportBytes(t.doc.survey(), t.table.rowPoints(), t.settings));
}

// What the export command does after the file dialog: bytes, then the file written atomically.
void BM_ExportFileAllColumns(benchmark::State &state)
{
    FullTable t;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DDData.txt"));
    for (auto _ : state) {
        const std::string bytes = exportBytes(t.doc.survey(), t.table.rowPoints(), t.settings);
        if (!writeExportFile(path, bytes))
            state.SkipWithError("export file not written");
    }
}

} // namespace

BENCHMARK(BM_ExportBytesAllColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFileAllColumns)->Unit(benchmark::kMillisecond);
