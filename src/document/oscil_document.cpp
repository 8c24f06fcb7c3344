#include "document/oscil_document.h"

#include <QLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "chart/chart.h"
#include "views/analog_strip.h"
#include "views/analog_strip_list.h"
#include "views/discrete_strip.h"
#include "views/discrete_strip_list.h"
#include "views/time_line.h"

namespace faultscope {
namespace {

// Puts `view` alone into `parent`, filling it.
void Place(QWidget* parent, QWidget* view) {
    QLayout* layout = parent->layout();
    if (layout == nullptr) {
        layout = new QVBoxLayout(parent);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    layout->addWidget(view);
}

}  // namespace

TComTrade::TComTrade(QObject* owner) : QObject(owner) {}

TComTrade::~TComTrade() = default;

void TComTrade::LoadComTradeFile(const QString& filePath, LoadOptions options) {
    options.traceFolder = traceFolder_;
    options.allHarmonics = true;
    options.cancelled = [this, asked = std::move(options.cancelled)] {
        return cancelled_ || (asked && asked());
    };
    record_ = LoadRecord(filePath, options);
}

void TComTrade::CreateCharts(QWidget* parentTimeLine, QWidget* parentAFrame, QWidget* parentDFrame,
                             int aFrameHeght, int dFrameHeght) {
    const LoadedRecord& r = record_;
    timeLine_ = new TTimeLine(parentTimeLine);
    Place(parentTimeLine, timeLine_);
    timeLine_->CreateTimeLine(r.timeBase);
    timeLine_->SetSamples(r.data.xMs, r.data.timeAscending);
    connect(timeLine_, &TTimeLine::xZoom, this, &TComTrade::TimeLineXZoom);
    connect(timeLine_, &TTimeLine::chartClicked, this, &TComTrade::ChtClick);

    aFrame_ = new TAFrameList(parentAFrame);
    Place(parentAFrame, aFrame_);
    aFrame_->AddCharts(r.cfg.AnalogChenel, timeLine_->BotomAxis(), r.cfg.freq, aFrameHeght);
    aFrame_->SetColumns(r.data.xMs, r.data.analog);
    connect(aFrame_, &TAFrameList::chtClick, this, [this](Chart*, QPointF pos) { ChtClick(pos); });

    dFrame_ = new TDFrameList(parentDFrame);
    Place(parentDFrame, dFrame_);
    dFrame_->AddCharts(r.cfg.DigitalChanal, timeLine_->BotomAxis(), dFrameHeght);
    dFrame_->SetColumns(r.data.discrete);
    connect(dFrame_, &TDFrameList::chtClick, this, [this](Chart*, QPointF pos) { ChtClick(pos); });

    aFrame_->AfterAllDataLoad();
    timeLine_->AfterAllDataLoad();
    if (r.cursor >= 0) {
        PlaceCursor(r.cursor, r.data.xMs[static_cast<std::size_t>(r.cursor)]);
    }
    loaded_ = true;
}

void TComTrade::ChtClick(QPointF pos) {
    if (!loaded_) {
        return;
    }
    MoveCursorTo(timeLine_->Cht()->PixelToX(pos.x()));
}

void TComTrade::MoveCursorTo(double time) {
    if (!loaded_) {
        return;
    }
    double x = 0.0;
    const std::ptrdiff_t p = timeLine_->GetNerestPoint(time, x);
    if (p < 0) {
        return;
    }
    PlaceCursor(p, x);
}

void TComTrade::MoveCursorToSample(std::ptrdiff_t point) {
    const std::size_t n = record_.data.xMs.size();
    if (!loaded_ || n == 0) {
        return;
    }
    const auto p = std::clamp<std::ptrdiff_t>(point, 0, static_cast<std::ptrdiff_t>(n) - 1);
    const double x = record_.data.xMs[static_cast<std::size_t>(p)];
    timeLine_->ShowTime(x);
    PlaceCursor(p, x);
}

void TComTrade::PlaceCursor(std::ptrdiff_t point, double x) {
    cursorSample_ = point;
    timeLine_->SetCursor(x);
    aFrame_->SetCursor(point);
    dFrame_->SetCursorTime(x);
}

void TComTrade::TimeLineXZoom() {
    // Every strip draws against the time line's axis; the axis change repaints them, and the
    // lists are updated once more here so nothing waits for the next event.
    if (aFrame_ != nullptr) {
        aFrame_->update();
    }
    if (dFrame_ != nullptr) {
        dFrame_->update();
    }
}

void TComTrade::ChtVisible(int harmonic, bool visible) {
    if (aFrame_ == nullptr) {
        return;
    }
    for (TAFrame1* strip : aFrame_->DisplayList()) {
        strip->SetHarmonicVisible(harmonic, visible);
    }
}

}  // namespace faultscope
