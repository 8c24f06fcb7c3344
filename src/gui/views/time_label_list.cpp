#include "gui/views/time_label_list.h"

#include "gui/chart/axis.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/label_color_pool.h"
#include "gui/views/time_label.h"
#include "gui/views/time_line.h"

#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace faultscope {
namespace {

constexpr int kWheelStep = 120;
// The panel is the strips' height plus its grip and margin.
constexpr int kPanelExtra = 6;

}  // namespace

TimeLabelList::TimeLabelList(QWidget* parent) : StripListArea(parent) {
    setObjectName(QStringLiteral("TimeLableList"));
}

void TimeLabelList::Init(Axis* bottomAxis, AnalogStripList* analogViews,
                         DiscreteStripList* discreteViews, TimeLine* timeLine,
                         std::shared_ptr<LabelColorPool> colors) {
    bottomAxis_ = bottomAxis;
    analogStrips_ = analogViews;
    discreteStrips_ = discreteViews;
    timeLine_ = timeLine;
    colors_ = colors != nullptr ? std::move(colors) : std::make_shared<LabelColorPool>();
}

void TimeLabelList::AddNewTimeLabel() {
    if (list_.size() >= kMaxLabels || timeLine_ == nullptr) {
        return;
    }
    auto* label = new TimeLabel(Content());
    label->Init(timeLine_, colors_);
    connect(label, &TimeLabel::timeLabelClose, this, &TimeLabelList::TimeLabelClose);
    connect(label, &TimeLabel::editRequested, this, &TimeLabelList::editRequested);
    connect(label, &TimeLabel::valuesRequested, this, &TimeLabelList::valuesRequested);
    list_.push_back(label);
    Restack();
    if (analogStrips_ != nullptr) {
        for (AnalogStrip* strip : analogStrips_->ChtList()) {
            label->AddTimeLabelToCht(strip->Cht());
        }
    }
    if (discreteStrips_ != nullptr) {
        for (DiscreteStrip* strip : discreteStrips_->DisplayList()) {
            label->AddTimeLabelToCht(strip->Cht());
        }
    }
    label->AddTimeLabelToCht(timeLine_->Cht());
}

int TimeLabelList::TotalH() const {
    int total = 0;
    for (const TimeLabel* label : list_) {
        total += label->height();
    }
    return total;
}

void TimeLabelList::Restack() {
    std::vector<QWidget*> strips(list_.begin(), list_.end());
    StackStrips(strips);
}

void TimeLabelList::TimeLabelClose(TimeLabel* label) {
    const auto it = std::ranges::find(list_, label);
    if (it == list_.end()) {
        return;
    }
    list_.erase(it);
    label->hide();
    Restack();
    // The button's click is still being handled inside the label.
    label->deleteLater();
    QWidget* panel = parentWidget();
    if (panel == nullptr) {
        return;
    }
    if (list_.empty()) {
        panel->hide();
    } else if (TotalH() + kPanelExtra < panel->height()) {
        panel->setFixedHeight(TotalH() + kPanelExtra);
    }
}

void TimeLabelList::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / kWheelStep;
    wheelRemainder_ %= kWheelStep;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - steps * (height() / 10));
    event->accept();
}

}  // namespace faultscope
