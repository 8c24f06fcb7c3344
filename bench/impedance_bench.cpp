// The R-X plane following the cursor: a cursor move repaints only the point at the cursor over
// the picture kept of the trajectory, so its cost must not grow with the record's length.
// Target: the 1 000 000-sample record within 1.2 times the 10 000-sample one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <memory>

#include "bench_record.h"
#include "gui/app/record_window.h"
#include "gui/chart/axis.h"
#include "gui/dialogs/impedance_window.h"
#include "gui/document/record_document.h"
#include "gui/views/time_line.h"
#include "gui_main.h"

namespace faultscope {
namespace {

struct OpenRecord {
    std::unique_ptr<RecordWindow> window;
    ImpedanceWindow* plane = nullptr;

    explicit OpenRecord(std::uint32_t samples) : window(std::make_unique<RecordWindow>(nullptr)) {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->resize(1600, 1000);
        window->show();
        window->LoadRecordFile(bench::LineRecordBase(samples) + ".cfg", TextEncoding::Windows);
        QApplication::processEvents();
        window->ShowImpedance();
        plane = window->ImpedanceView();
        plane->Loop()->setCurrentIndex(plane->Loop()->findText("AN"));
        QApplication::processEvents();
    }
};

void BM_ImpedancePlaneFollowCursor(benchmark::State& state) {
    OpenRecord record(static_cast<std::uint32_t>(state.range(0)));
    RecordDocument* doc = record.window->Document();
    const Axis* axis = doc->TimeLineView()->BottomAxis();
    // Two places in the fault, visited in turn.
    const double span = axis->Maximum() - axis->Minimum();
    const double places[] = {axis->Minimum() + 0.6 * span, axis->Minimum() + 0.8 * span};
    ImpedancePlane* plane = record.plane->Plane();
    QImage image(plane->size(), QImage::Format_ARGB32_Premultiplied);
    std::size_t n = 0;
    for (auto _ : state) {
        doc->MoveCursorTo(places[n++ % 2]);
        QPainter painter(&image);
        plane->render(&painter);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["path_points"] = static_cast<double>(plane->Trajectory().path.size());
}
BENCHMARK(BM_ImpedancePlaneFollowCursor)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace faultscope

int main(int argc, char** argv) {
    return faultscope::bench::RunWithWindows(argc, argv);
}
