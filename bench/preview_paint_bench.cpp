// The print preview repainting one page, as it does on every page turn,
// zoom and scroll: the sheet, its shadow and the job's page under the
// mapping, on a canvas of fixed metrics, for a highlighted script of 10,000
// lines. The figure is the engine's share of a repaint; the screen's own
// drawing comes on top.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "highlighters/OstHighlighterFactory.h"
#include "platform/RecordingCanvas.h"
#include "print/OstEditPrint.h"
#include "print/OstEditPrintPreview.h"

using namespace ostrel;

namespace {

std::vector<std::string> Script(int lines)
{
    std::vector<std::string> text;
    for (int i = 0; i < lines; ++i)
        text.push_back("  $total_" + std::to_string(i) + " = count($rows) + " + std::to_string(i) +
                       "; // line " + std::to_string(i) + " of the report");
    return text;
}

void BM_PreviewPaintPage(benchmark::State& state)
{
    const auto highlighter = CreateHighlighter("php");
    TOstEditPrint job;
    job.SetHighlighter(highlighter.get());
    job.LineNumbers = true;
    job.Header().Add("Strona $PAGENUM$ z $PAGECOUNT$", nullptr, taLeftJustify, 1);
    job.SetLines(Script(10000));
    FixedMetricsCanvas canvas;
    TOstEditPrintPreview preview;
    preview.SetLayoutCanvas(&canvas);
    preview.SetClientSize(1000, 800);
    preview.SetOstEditPrint(&job);
    preview.SetScaleMode(static_cast<TOstPreviewScale>(state.range(0)));
    preview.Relayout();
    for (int i = 0; i < preview.PageCount() / 2; ++i)
        preview.GoNextPage();
    for (auto _ : state)
        preview.Paint(canvas, {0, 0, 1000, 800});
    state.counters["pages"] = preview.PageCount();
}
BENCHMARK(BM_PreviewPaintPage)->Arg(pscWholePage)->Arg(pscUserScaled)->Unit(benchmark::kMillisecond);

void BM_PreviewRelayout(benchmark::State& state)
{
    const auto highlighter = CreateHighlighter("php");
    TOstEditPrint job;
    job.SetHighlighter(highlighter.get());
    job.SetLines(Script(10000));
    FixedMetricsCanvas canvas;
    TOstEditPrintPreview preview;
    preview.SetLayoutCanvas(&canvas);
    preview.SetOstEditPrint(&job);
    preview.Relayout();  // the line states once, as the first showing does
    for (auto _ : state)
        preview.Relayout();
}
BENCHMARK(BM_PreviewRelayout)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
