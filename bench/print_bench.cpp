// Printing: laying out and rendering every page of a record at 300 dpi costs what its pages and
// pixels cost, whatever the record's length.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "bench_record.h"
#include "gui/app/record_window.h"
#include "gui/document/record_document.h"
#include "gui/print/page_painter.h"
#include "gui/print/print_source.h"
#include "gui_main.h"

namespace faultscope {
namespace {

constexpr QSize kA4At300Dpi(2480, 3507);

std::unique_ptr<RecordWindow> OpenWindow(const QString& path) {
    auto window = std::make_unique<RecordWindow>(nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(1600, 1000);
    window->show();
    window->LoadRecordFile(path, TextEncoding::Windows);
    QApplication::processEvents();
    return window;
}

// Lays the record out on A4 pages with 10 mm margins and renders each page into the image.
int LayoutAndRender(const PrintSource& source, QImage& page) {
    PageSetup setup;
    setup.printable = PrintableRect(kA4At300Dpi, 300, QMargins(10, 10, 10, 10));
    setup.caption = true;
    const std::vector<PagePlan> pages = LayoutRecord(source, setup);
    const QFont font = PageCaptionFont(setup.captionFont, setup.dpi);
    for (const PagePlan& plan : pages) {
        page.fill(Qt::white);
        QPainter painter(&page);
        PaintPage(painter, plan, source, font);
    }
    return static_cast<int>(pages.size());
}

void BM_LayoutAndRenderPages(benchmark::State& state) {
    const auto samples = static_cast<std::uint32_t>(state.range(0));
    const auto window = OpenWindow(bench::LargeRecordBase(samples) + ".cfg");
    const PrintSource source = PrintSourceOf(*window->Document());
    QImage page(kA4At300Dpi, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(11811);  // 300 dpi
    page.setDotsPerMeterY(11811);
    int pages = LayoutAndRender(source, page);  // the envelopes are built on the first paint
    for (auto _ : state) {
        pages = LayoutAndRender(source, page);
        benchmark::DoNotOptimize(page.constBits());
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LayoutAndRenderPages)->Arg(10'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope

int main(int argc, char** argv) {
    return faultscope::bench::RunWithWindows(argc, argv);
}
