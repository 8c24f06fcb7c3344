// Applying a visibility template to a record with hundreds of strips costs about one repaint of
// the window: the strips are shown and hidden in one layout pass, not one pass per strip, and the
// window repaints once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <memory>

#include "bench_record.h"
#include "core/viewtemplate/cut_brackets.h"
#include "core/viewtemplate/view_template.h"
#include "gui/app/record_window.h"
#include "gui/dialogs/channel_visibility_window.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui_main.h"

namespace faultscope {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;
constexpr std::uint32_t kSamples = 200'000;
// The template keeps every fourth analog and every thirtieth discrete channel: 10 of 40 and
// 10 of 300 shown.
constexpr int kAnalogStep = 4;
constexpr int kDigitalStep = 30;

struct Fixture {
    std::unique_ptr<RecordWindow> window;
    ChannelVisibilityWindow* dialog = nullptr;
    QStringList analog;  // the template's names
    QStringList discrete;
    QStringList allAnalog;
    QStringList allDiscrete;
};

Fixture Open() {
    Fixture f;
    f.window = std::make_unique<RecordWindow>(nullptr);
    f.window->setAttribute(Qt::WA_DeleteOnClose, false);
    f.window->resize(kWidth, kHeight);
    f.window->show();
    f.window->LoadRecordFile(bench::WideRecordBase(kSamples) + ".cfg", TextEncoding::Windows);
    QApplication::processEvents();
    f.window->ChannelView();
    f.dialog = f.window->VisibilityWindow();
    const auto& a = f.window->Document()->AnalogStrips()->ChtList();
    for (std::size_t i = 0; i < a.size(); ++i) {
        const QString name = CutBrackets(QString::fromStdString(a[i]->Info().ch_id));
        f.allAnalog << name;
        if (i % kAnalogStep == 0) {
            f.analog << name;
        }
    }
    const auto& d = f.window->Document()->DiscreteStrips()->ChtList();
    for (std::size_t i = 0; i < d.size(); ++i) {
        const QString name = CutBrackets(QString::fromStdString(d[i]->Info().ch_id));
        f.allDiscrete << name;
        if (i % kDigitalStep == 0) {
            f.discrete << name;
        }
    }
    return f;
}

// Applies the template's names to both kinds, as the two template frames do, and lets the event
// loop lay the strips out and repaint the window once.
void Apply(Fixture& f, const QStringList& analog, const QStringList& discrete) {
    f.dialog->TemplateApply(ChannelVisibilityWindow::Strips::Analog, analog);
    f.dialog->TemplateApply(ChannelVisibilityWindow::Strips::Discrete, discrete);
    QApplication::processEvents();
}

// The baseline: one plain repaint of the whole window as the template leaves it, drawn into an
// image as the other window benchmarks draw it.
void BM_RepaintAfterTemplate(benchmark::State& state) {
    Fixture f = Open();
    Apply(f, f.analog, f.discrete);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        f.window->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintAfterTemplate)->Unit(benchmark::kMillisecond);

// From every strip shown to the template's 10 + 10: both dual lists, 320 strips hidden, one
// layout pass and the one repaint of the window (and of the dialog's lists) that the event loop
// makes. `save` says whether the record's template engine
// writes the ".lyt" after each kind, as in the program (a locked, synced, atomic file write).
void ApplyVisibility(benchmark::State& state, bool save) {
    Fixture f = Open();
    ViewTemplate* engine = f.dialog->Template();
    f.dialog->SetTemplate(save ? engine : nullptr);
    Apply(f, f.analog, f.discrete);  // every strip the template shows has drawn once
    for (auto _ : state) {
        state.PauseTiming();
        Apply(f, f.allAnalog, f.allDiscrete);
        state.ResumeTiming();
        Apply(f, f.analog, f.discrete);
    }
    f.dialog->SetTemplate(engine);
}

void BM_ApplyVisibility(benchmark::State& state) {
    ApplyVisibility(state, false);
}
BENCHMARK(BM_ApplyVisibility)->Unit(benchmark::kMillisecond);

void BM_ApplyVisibilityAndSave(benchmark::State& state) {
    ApplyVisibility(state, true);
}
BENCHMARK(BM_ApplyVisibilityAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace faultscope

int main(int argc, char** argv) {
    return faultscope::bench::RunWithWindows(argc, argv);
}
