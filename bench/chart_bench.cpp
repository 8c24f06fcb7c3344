// Repaint cost of a line series against its length: one 1600 x 100 chart showing the whole
// series, painted into an image. The envelope keeps the cost tied to the chart's width, so a
// hundred times more samples should cost about the same; the ratio is printed at the end.
#include "gui/chart/chart.h"
#include "gui/chart/line_series.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 100;

struct Signal {
    std::vector<double> x;
    std::vector<double> y;
};

// A 50 Hz wave with some noise over one second, sampled n times.
Signal MakeSignal(std::size_t n) {
    Signal signal;
    signal.x.resize(n);
    signal.y.resize(n);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525U + 1013904223U;
        const double noise = static_cast<double>(seed >> 8) / static_cast<double>(1U << 24) - 0.5;
        signal.x[i] = 1000.0 * static_cast<double>(i) / static_cast<double>(n);
        signal.y[i] = 100.0 * std::sin(signal.x[i] * 0.314159) + 5.0 * noise;
    }
    return signal;
}

std::unique_ptr<faultscope::Chart> MakeChart(const Signal& signal) {
    auto chart = std::make_unique<faultscope::Chart>();
    chart->resize(kWidth, kHeight);
    chart->LeftAxis()->SetRange(-110.0, 110.0);
    chart->LeftAxis()->SetVisible(false);
    chart->BottomAxis()->SetRange(0.0, 1000.0);
    chart->BottomAxis()->SetVisible(false);
    auto* series = new faultscope::LineSeries;
    series->SetData(signal.x, signal.y);
    chart->AddSeries(series);
    return chart;
}

void Paint(faultscope::Chart& chart, QImage& image) {
    QPainter painter(&image);
    chart.render(painter, QRectF(image.rect()));
}

void BM_LineSeriesPaint(benchmark::State& state) {
    const Signal signal = MakeSignal(static_cast<std::size_t>(state.range(0)));
    const auto chart = MakeChart(signal);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    Paint(*chart, image);  // the envelope pyramid is built once, at the first paint
    for (auto _ : state) {
        Paint(*chart, image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LineSeriesPaint)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// For scale: the same picture drawn as one polyline through every sample.
void BM_FullPolylinePaint(benchmark::State& state) {
    const Signal signal = MakeSignal(static_cast<std::size_t>(state.range(0)));
    const auto chart = MakeChart(signal);
    chart->SeriesList().front()->SetActive(false);
    const faultscope::PlotGeometry geometry = chart->Geometry();
    QPolygonF line;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        line.clear();
        for (std::size_t i = 0; i < signal.x.size(); ++i) {
            line << QPointF(geometry.XToPixel(signal.x[i]), geometry.YToPixel(signal.y[i]));
        }
        Paint(*chart, image);
        QPainter painter(&image);
        painter.drawPolyline(line);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullPolylinePaint)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Keeps each run's processor time (the machine may be shared) so that the ratio can be printed
// after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const std::string& numerator, const std::string& denominator) const {
        const auto top = times_.find(numerator);
        const auto bottom = times_.find(denominator);
        if (top != times_.end() && bottom != times_.end() && bottom->second > 0.0) {
            std::printf("%s / %s = %.2f\n", numerator.c_str(), denominator.c_str(),
                        top->second / bottom->second);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRepaint cost, a hundred times more samples (target <= 1.5):\n");
    reporter.PrintRatio("BM_LineSeriesPaint/1000000", "BM_LineSeriesPaint/10000");
    std::printf("Full polyline against the envelope, 1000000 samples:\n");
    reporter.PrintRatio("BM_FullPolylinePaint/1000000", "BM_LineSeriesPaint/1000000");
    benchmark::Shutdown();
    return 0;
}
