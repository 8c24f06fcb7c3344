// A fixed sequence of 40 things a user does in a record window of 1600 × 1000 pixels, each timed
// from the input to the finished repaint of the whole window: X zoom in and out by the tool bar,
// a drag of the overview band, a right-drag zoom, wheel zoom, clicks that move the cursor,
// Home/End, "Назад", showing a harmonic curve. The counters are the slowest step and the median
// (target: every step within one frame at 60 Hz, 16 ms; on FAULTSCOPE_BENCH_RECORD, the median
// within 1.3 times that of the 10 000-sample record). FAULTSCOPE_BENCH_STEPS=1 prints every
// step's time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench_record.h"
#include "gui/app/record_window.h"
#include "gui/chart/chart.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/time_line.h"
#include "gui_main.h"

namespace faultscope {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

class Session {
  public:
    explicit Session(const QString& path) : window_(std::make_unique<RecordWindow>(nullptr)) {
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->resize(kWidth, kHeight);
        window_->show();
        window_->LoadRecordFile(path, TextEncoding::Windows);
        QApplication::processEvents();
        Repaint();
    }

    [[nodiscard]] RecordDocument& Doc() const { return *window_->Document(); }
    [[nodiscard]] Chart* Strip() const {
        return Doc().AnalogStrips()->DisplayList().front()->Cht();
    }
    [[nodiscard]] Chart* Overview() const { return Doc().TimeLineView()->XZoomControl(); }
    [[nodiscard]] QPoint At(Chart* chart, double share) const {
        return {static_cast<int>(chart->width() * share), chart->height() / 2};
    }
    void Repaint() {
        QPainter painter(&image_);
        window_->render(&painter);
    }
    void Wheel(Chart* chart, double share, int notches, Qt::KeyboardModifiers modifiers = {}) {
        const QPointF pos = At(chart, share);
        QWheelEvent event(pos, chart->mapToGlobal(pos), {}, {0, 120 * notches}, Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart, &event);
    }
    [[nodiscard]] RecordWindow& Window() const { return *window_; }

  private:
    std::unique_ptr<RecordWindow> window_;
    QImage image_{kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};
};

std::vector<std::function<void(Session&)>> Steps() {
    std::vector<std::function<void(Session&)>> steps;
    const auto add = [&](int times, const std::function<void(Session&)>& step) {
        for (int i = 0; i < times; ++i) {
            steps.push_back(step);
        }
    };
    add(3, [](Session& s) { s.Doc().XZoomIn(); });
    add(2, [](Session& s) { s.Doc().XZoomOut(); });
    // The overview band, grabbed in its middle and dragged right in three moves.
    steps.push_back([](Session& s) {
        QTest::mousePress(s.Overview(), Qt::LeftButton, {}, s.At(s.Overview(), 0.5));
    });
    for (const double share : {0.55, 0.6, 0.65}) {
        steps.push_back(
            [share](Session& s) { QTest::mouseMove(s.Overview(), s.At(s.Overview(), share)); });
    }
    steps.push_back([](Session& s) {
        QTest::mouseRelease(s.Overview(), Qt::LeftButton, {}, s.At(s.Overview(), 0.65));
    });
    // A right-drag over the first strip.
    steps.push_back([](Session& s) {
        QTest::mousePress(s.Strip(), Qt::RightButton, {}, s.At(s.Strip(), 0.3));
    });
    steps.push_back([](Session& s) { QTest::mouseMove(s.Strip(), s.At(s.Strip(), 0.6)); });
    steps.push_back([](Session& s) {
        QTest::mouseRelease(s.Strip(), Qt::RightButton, {}, s.At(s.Strip(), 0.6));
    });
    add(3, [](Session& s) { s.Wheel(s.Strip(), 0.4, -1); });
    add(3, [](Session& s) { s.Wheel(s.Strip(), 0.6, 1); });
    for (const double share : {0.2, 0.35, 0.5, 0.65, 0.8}) {
        steps.push_back([share](Session& s) {
            QTest::mouseClick(s.Strip(), Qt::LeftButton, {}, s.At(s.Strip(), share));
        });
    }
    steps.push_back([](Session& s) { QTest::keyClick(&s.Window(), Qt::Key_Home); });
    steps.push_back([](Session& s) { QTest::keyClick(&s.Window(), Qt::Key_End); });
    add(4, [](Session& s) { s.Doc().XZoomBack(); });
    steps.push_back([](Session& s) { s.Doc().ChtVisible(1, true); });
    add(2, [](Session& s) { s.Wheel(s.Strip(), 0.5, 1, Qt::ControlModifier); });
    for (const double share : {0.3, 0.7}) {
        steps.push_back([share](Session& s) {
            QTest::mouseClick(s.Strip(), Qt::LeftButton, {}, s.At(s.Strip(), share));
        });
    }
    steps.push_back([](Session& s) { s.Doc().XZoomIn(); });
    add(3, [](Session& s) { QTest::keyClick(&s.Window(), Qt::Key_Right); });
    steps.push_back([](Session& s) { s.Doc().XZoomReset(); });
    return steps;
}

void Interact(benchmark::State& state, const QString& path) {
    const std::vector<std::function<void(Session&)>> steps = Steps();
    std::vector<double> slowest;
    std::vector<double> medians;
    for (auto _ : state) {
        state.PauseTiming();
        Session session(path);
        state.ResumeTiming();
        std::vector<double> ms;
        for (const auto& step : steps) {
            const auto start = std::chrono::steady_clock::now();
            step(session);
            QApplication::processEvents();
            session.Repaint();
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
        if (qEnvironmentVariableIsSet("FAULTSCOPE_BENCH_STEPS")) {
            for (std::size_t k = 0; k < ms.size(); ++k) {
                std::fprintf(stderr, "step %zu: %.2f ms\n", k + 1, ms[k]);
            }
        }
        std::sort(ms.begin(), ms.end());
        slowest.push_back(ms.back());
        medians.push_back(ms[ms.size() / 2]);
    }
    std::sort(slowest.begin(), slowest.end());
    std::sort(medians.begin(), medians.end());
    state.counters["steps"] = static_cast<double>(steps.size());
    state.counters["slowest_ms"] = slowest[slowest.size() / 2];
    state.counters["median_ms"] = medians[medians.size() / 2];
}

void BM_InteractRecord(benchmark::State& state) {
    Interact(state, bench::LargeRecordBase(static_cast<std::uint32_t>(state.range(0))) + ".cfg");
}
BENCHMARK(BM_InteractRecord)->Arg(10'000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope

int main(int argc, char** argv) {
    if (const QString given = qEnvironmentVariable("FAULTSCOPE_BENCH_RECORD"); !given.isEmpty()) {
        benchmark::RegisterBenchmark(
            "BM_InteractGivenRecord",
            [given](benchmark::State& state) { faultscope::Interact(state, given); })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return faultscope::bench::RunWithWindows(argc, argv);
}
