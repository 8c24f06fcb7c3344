#include "document/oscil_document.h"

#include <QApplication>

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

void TComTrade::EnsureHarmonics() {
    std::vector<std::size_t> missing;
    for (std::size_t c = 0; c < record_.data.analog.size(); ++c) {
        const AnalogColumns& ch = record_.data.analog[c];
        if (ch.size() > 0 && ch.harmonics.size() != ch.size()) {
            missing.push_back(c);
        }
    }
    if (missing.empty() || aFrame_ == nullptr) {
        return;
    }
    // The workers run while the user waits: no events are processed, so nothing can close the
    // window or change the columns under them.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        FillHarmonicsOf(record_, missing);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    for (TAFrame1* strip : aFrame_->ChtList()) {
        if (const AnalogColumns* columns = strip->Columns(); columns != nullptr) {
            const std::ptrdiff_t cursor = strip->CursorPoint();
            strip->SetColumns(record_.data.xMs, *columns);
            strip->SetCursor(cursor);
        }
    }
}

void TComTrade::ChtVisible(int harmonic, bool visible) {
    if (aFrame_ == nullptr) {
        return;
    }
    if (visible) {
        EnsureHarmonics();
    }
    for (TAFrame1* strip : aFrame_->DisplayList()) {
        strip->SetHarmonicVisible(harmonic, visible);
    }
}

bool TComTrade::ChtIsVisible(int harmonic) const {
    if (aFrame_ == nullptr || aFrame_->DisplayList().empty()) {
        return false;
    }
    return aFrame_->DisplayList().front()->HarmonicVisible(harmonic);
}

void TComTrade::XZoomIn() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomIn();
    }
}

void TComTrade::XZoomOut() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomOut();
    }
}

void TComTrade::XZoomReset() {
    if (timeLine_ != nullptr) {
        timeLine_->ZoomReset();
    }
}

void TComTrade::YZoomIn() {
    if (aFrame_ != nullptr) {
        aFrame_->YZoomIn();
    }
}

void TComTrade::YZoomOut() {
    if (aFrame_ != nullptr) {
        aFrame_->YZoomOut();
    }
}

void TComTrade::YZoomReset() {
    if (aFrame_ != nullptr) {
        aFrame_->YZoomReset();
    }
}

int TComTrade::AFrameHeight() const {
    return aFrame_ != nullptr && !aFrame_->DisplayList().empty()
               ? aFrame_->DisplayList().front()->height()
               : 0;
}

int TComTrade::DFrameHeight() const {
    return dFrame_ != nullptr && !dFrame_->DisplayList().empty()
               ? dFrame_->DisplayList().front()->height()
               : 0;
}

}  // namespace faultscope
