#include "document/oscil_document.h"

#include <QLayout>
#include <QVBoxLayout>

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
        const double x = r.data.xMs[static_cast<std::size_t>(r.cursor)];
        timeLine_->SetCursor(x);
        aFrame_->SetCursor(r.cursor);
        dFrame_->SetCursorTime(x);
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
    timeLine_->SetCursor(x);
    aFrame_->SetCursor(p);
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
