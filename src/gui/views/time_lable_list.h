#pragma once

#include "gui/views/strip_list_area.h"

#include <QPointer>
#include <vector>

namespace faultscope {

class Axis;
class TAFrameList;
class TDFrameList;
class TTimeLable;
class TTimeLine;

// The time labels of one record, stacked in creation order in a scrolling frame that fills the
// record window's label panel. It hides the panel when its last label closes.
class TTimeLableList : public StripListArea {
    Q_OBJECT

  public:
    static constexpr int kMaxLables = 6;

    explicit TTimeLableList(QWidget* parent = nullptr);

    void Init(Axis* botomAxis, TAFrameList* aFrameList, TDFrameList* dFrameList,
              TTimeLine* timeLine);
    // Adds a label with copies of its lines on every strip and the time line; does nothing when
    // the list holds kMaxLables already.
    void AddNewTimeLable();
    // The height of all label strips together.
    [[nodiscard]] int TotalH() const;
    [[nodiscard]] const std::vector<TTimeLable*>& List() const noexcept { return list_; }

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    void TimeLableClose(TTimeLable* lable);
    void Restack();

    std::vector<TTimeLable*> list_;
    QPointer<Axis> botomAxis_;
    QPointer<TAFrameList> fAFrameList_;
    QPointer<TDFrameList> fDFrameList_;
    QPointer<TTimeLine> fTimeLine_;
    int wheelRemainder_ = 0;
};

}  // namespace faultscope
