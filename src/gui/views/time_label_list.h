#pragma once

#include "gui/views/strip_list_area.h"

#include <QPointer>
#include <memory>
#include <vector>

namespace faultscope {

class LabelColorPool;
class Axis;
class AnalogStripList;
class DiscreteStripList;
class TimeLabel;
class TimeLine;

// The time labels of one record, stacked in creation order in a scrolling frame that fills the
// record window's label panel. It hides the panel when its last label closes.
// Formerly TTimeLableList.
class TimeLabelList : public StripListArea {
    Q_OBJECT

  public:
    static constexpr int kMaxLabels = 6;

    explicit TimeLabelList(QWidget* parent = nullptr);

    // `colors` gives the labels their colours; a pool of the default colours when null.
    void Init(Axis* bottomAxis, AnalogStripList* analogViews, DiscreteStripList* discreteViews,
              TimeLine* timeLine, std::shared_ptr<LabelColorPool> colors = nullptr);
    // Adds a label with copies of its lines on every strip and the time line; does nothing when
    // the list holds kMaxLabels already.
    void AddNewTimeLabel();
    // The height of all label strips together.
    [[nodiscard]] int TotalH() const;
    [[nodiscard]] const std::vector<TimeLabel*>& List() const noexcept { return list_; }

  signals:
    // A label asks for its edit dialog.
    void editRequested(faultscope::TimeLabel* label);
    // A label's "Значения" was pressed.
    void valuesRequested(faultscope::TimeLabel* label);

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    void TimeLabelClose(TimeLabel* label);
    void Restack();

    std::vector<TimeLabel*> list_;
    QPointer<Axis> bottomAxis_;
    QPointer<AnalogStripList> analogStrips_;
    QPointer<DiscreteStripList> discreteStrips_;
    QPointer<TimeLine> timeLine_;
    std::shared_ptr<LabelColorPool> colors_;
    int wheelRemainder_ = 0;
};

}  // namespace faultscope
