// The record window: repainting a whole window costs the same whatever the record's length, and
// opening a record costs little more than reading it.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "bench_record.h"
#include "core/session/record_loader.h"
#include "gui/app/record_window.h"
#include "gui_main.h"

namespace faultscope {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

std::unique_ptr<RecordWindow> OpenWindow(const QString& path) {
    auto window = std::make_unique<RecordWindow>(nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(kWidth, kHeight);
    window->show();
    window->LoadRecordFile(path, TextEncoding::Windows);
    QApplication::processEvents();
    return window;
}

void Paint(QWidget& window, QImage& image) {
    QPainter painter(&image);
    window.render(&painter);
}

void BM_RepaintRecord(benchmark::State& state) {
    const auto samples = static_cast<std::uint32_t>(state.range(0));
    const auto window = OpenWindow(bench::LargeRecordBase(samples) + ".cfg");
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    Paint(*window, image);  // the envelopes are built on the first paint
    for (auto _ : state) {
        Paint(*window, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintRecord)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

constexpr std::uint32_t kOpenSamples = 200'000;

// The baseline: reading the samples, no views (the window analyses harmonics when asked).
void BM_ReadAndAnalyse(benchmark::State& state) {
    const QString path = bench::LargeRecordBase(kOpenSamples) + ".cfg";
    for (auto _ : state) {
        const LoadedRecord record = LoadRecord(path, {});
        benchmark::DoNotOptimize(record.data.analog.data());
    }
}
BENCHMARK(BM_ReadAndAnalyse)->Unit(benchmark::kMillisecond);

void BM_OpenRecord(benchmark::State& state) {
    const QString path = bench::LargeRecordBase(kOpenSamples) + ".cfg";
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto window = OpenWindow(path);
        Paint(*window, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OpenRecord)->Unit(benchmark::kMillisecond);

// Opening a record named by FAULTSCOPE_BENCH_RECORD until its first paint, once: for records
// too large to write in every run (the 10 000 000-sample one), timed against `info` of the same
// file as whole processes.
void BM_FirstPaintOfGivenRecord(benchmark::State& state, const QString& path) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto window = OpenWindow(path);
        Paint(*window, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Repainting the whole window of the record named by FAULTSCOPE_BENCH_RECORD at full zoom, to set
// against BM_RepaintRecord/10000 of the same run.
void BM_RepaintGivenRecord(benchmark::State& state, const QString& path) {
    const auto window = OpenWindow(path);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    Paint(*window, image);
    for (auto _ : state) {
        Paint(*window, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace
}  // namespace faultscope

int main(int argc, char** argv) {
    if (const QString given = qEnvironmentVariable("FAULTSCOPE_BENCH_RECORD"); !given.isEmpty()) {
        benchmark::RegisterBenchmark("BM_FirstPaintOfGivenRecord",
                                     faultscope::BM_FirstPaintOfGivenRecord, given)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("BM_RepaintGivenRecord", faultscope::BM_RepaintGivenRecord,
                                     given)
            ->Unit(benchmark::kMillisecond);
    }
    // Both sides of the opening ratio allocate and free the same large columns each round.
    // Whether the allocator hands those pages back to the system between rounds depends on
    // what else the process holds, and the page faults that follow would weigh on one side
    // only; keep freed memory in the process for both.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    return faultscope::bench::RunWithWindows(argc, argv);
}
