// A cursor move with two vector diagrams and six time labels open: the diagrams read the strips'
// one-cycle sums at the new sample, taken once per move, and repaint, so the cost must not grow
// with the record's length.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "bench_record.h"
#include "gui/app/record_window.h"
#include "gui/chart/axis.h"
#include "gui/document/record_document.h"
#include "gui/views/phasor_diagram.h"
#include "gui/views/time_label_list.h"
#include "gui/views/time_line.h"
#include "gui_main.h"

namespace faultscope {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

struct OpenRecord {
    std::unique_ptr<RecordWindow> window;
    std::vector<PhasorDiagram*> diagrams;

    explicit OpenRecord(std::uint32_t samples) : window(std::make_unique<RecordWindow>(nullptr)) {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->resize(kWidth, kHeight);
        window->show();
        window->LoadRecordFile(bench::LargeRecordBase(samples) + ".cfg", TextEncoding::Windows);
        QApplication::processEvents();
        for (int i = 0; i < 6; ++i) {
            window->AddTimeLabel();
        }
        RecordDocument* doc = window->Document();
        diagrams = {doc->AddPhasorDiagram(window.get(), true),
                    doc->AddPhasorDiagram(window.get(), false)};
        QApplication::processEvents();
    }
};

void Paint(QWidget& widget, QImage& image) {
    QPainter painter(&image);
    widget.render(&painter);
}

void BM_DiagramFollowCursor(benchmark::State& state) {
    OpenRecord record(static_cast<std::uint32_t>(state.range(0)));
    RecordDocument* doc = record.window->Document();
    const Axis* axis = doc->TimeLineView()->BottomAxis();
    // Two places a fifth and four fifths into the record, visited in turn.
    const double span = axis->Maximum() - axis->Minimum();
    const double places[] = {axis->Minimum() + 0.2 * span, axis->Minimum() + 0.8 * span};
    QImage diagram(record.diagrams.front()->size(), QImage::Format_ARGB32_Premultiplied);
    QWidget* labels = doc->TimeLabels();
    QImage panel(labels->size(), QImage::Format_ARGB32_Premultiplied);
    std::size_t n = 0;
    for (auto _ : state) {
        doc->MoveCursorTo(places[n++ % 2]);
        for (PhasorDiagram* d : record.diagrams) {
            Paint(*d, diagram);
        }
        Paint(*labels, panel);
        benchmark::DoNotOptimize(diagram.constBits());
        benchmark::DoNotOptimize(panel.constBits());
    }
}
BENCHMARK(BM_DiagramFollowCursor)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace faultscope

int main(int argc, char** argv) {
    return faultscope::bench::RunWithWindows(argc, argv);
}
