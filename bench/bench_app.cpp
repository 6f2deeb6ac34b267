// The desktop program's open command for a full 1818-point survey: the document read and
// converted, the table model reset and the view's first paint done (offscreen).
#include "bench_application.h"
#include "app/main_frame.h"
#include "app/survey_view.h"
#include "document/document.h"
#include "synthetic.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zolm;

namespace {


void BM_OpenFullSurveyToTableShown(benchmark::State &state)
{
    if (!ensureApplication()) {
        state.SkipWithError("the widgets need a QApplication");
        return;
    }
    QTemporaryDir dir;
    qputenv("ZOLM_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toUtf8());
    const QString path = dir.filePath(QStringLiteral("full.ZLM"));
    {
        const auto survey = sim::makeSurvey(sim::CalibrationKind::Realistic, sim::defaultWellPath(MaxSurveyPoints));
        CNDravikDoc doc;
        doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
        if (const Done saved = doc.saveFile(path); !saved) {
            state.SkipWithError(saved.error().message.toStdString().c_str());
            return;
        }
    }
    app::CMainFrame frame;
    frame.resize(1400, 900);
    frame.show();
    QApplication::processEvents();
    for (auto _ : state) {
        if (!frame.openDocument(path, false)) {
            state.SkipWithError("open failed");
            return;
        }
        frame.view()->viewport()->repaint();
    }
    state.counters["rows"] = frame.view()->model()->rowCount();
}
BENCHMARK(BM_OpenFullSurveyToTableShown)->Unit(benchmark::kMillisecond);

} // namespace
