#include "gui/views/time_lable_list.h"

#include "gui/chart/axis.h"
#include "gui/views/analog_strip.h"
#include "gui/views/analog_strip_list.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/discrete_strip_list.h"
#include "gui/views/time_lable.h"
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

TTimeLableList::TTimeLableList(QWidget* parent) : StripListArea(parent) {
    setObjectName(QStringLiteral("TimeLableList"));
}

void TTimeLableList::Init(Axis* botomAxis, TAFrameList* aFrameList, TDFrameList* dFrameList,
                          TTimeLine* timeLine) {
    botomAxis_ = botomAxis;
    fAFrameList_ = aFrameList;
    fDFrameList_ = dFrameList;
    fTimeLine_ = timeLine;
}

void TTimeLableList::AddNewTimeLable() {
    if (list_.size() >= kMaxLables || fTimeLine_ == nullptr) {
        return;
    }
    auto* lable = new TTimeLable(Content());
    lable->Init(fTimeLine_);
    connect(lable, &TTimeLable::timeLableClose, this, &TTimeLableList::TimeLableClose);
    list_.push_back(lable);
    Restack();
    if (fAFrameList_ != nullptr) {
        for (TAFrame1* strip : fAFrameList_->ChtList()) {
            lable->AddTimeLabelToCht(strip->Cht());
        }
    }
    if (fDFrameList_ != nullptr) {
        for (TDFrame1* strip : fDFrameList_->DisplayList()) {
            lable->AddTimeLabelToCht(strip->Cht());
        }
    }
    lable->AddTimeLabelToCht(fTimeLine_->Cht());
}

int TTimeLableList::TotalH() const {
    int total = 0;
    for (const TTimeLable* lable : list_) {
        total += lable->height();
    }
    return total;
}

void TTimeLableList::Restack() {
    std::vector<QWidget*> strips(list_.begin(), list_.end());
    StackStrips(strips);
}

void TTimeLableList::TimeLableClose(TTimeLable* lable) {
    const auto it = std::ranges::find(list_, lable);
    if (it == list_.end()) {
        return;
    }
    list_.erase(it);
    lable->hide();
    Restack();
    // The button's click is still being handled inside the label.
    lable->deleteLater();
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

void TTimeLableList::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / kWheelStep;
    wheelRemainder_ %= kWheelStep;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - steps * (height() / 10));
    event->accept();
}

}  // namespace faultscope
