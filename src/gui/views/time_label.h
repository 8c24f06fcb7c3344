#pragma once

#include "core/settings/color_text.h"

#include <QFrame>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <memory>
#include <vector>

class QToolButton;

namespace faultscope {

class LabelColorPool;
class Chart;
class TimeLine;
class TextBlock;
class VerticalLine;
struct PlotGeometry;

// One time label: a thin strip with two draggable lines over the record's time axis, the coloured
// bar between them (dragging it moves both), the difference of their times as "∆T= …", a close
// button and a mirror of the record cursor. Copies of both lines stand on the other charts of the
// record; they follow when a drag ends. A double click opens the dialog that types the times.
// Formerly TTimeLable.
class TimeLabel : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kDesignHeight = 18;
    static constexpr char kValuesCaption[] = "Значения";

    explicit TimeLabel(QWidget* parent = nullptr);
    // The copies vanish from their charts and the colour returns to the pool.
    ~TimeLabel() override;

    // Binds the label to the record's time line; the new label spans the visible time range. Its
    // colour comes from `colors` and goes back there with the label.
    void Init(TimeLine* timeLine, std::shared_ptr<LabelColorPool> colors);
    // Puts a copy of both lines on `chtForLine`.
    void AddTimeLabelToCht(Chart* chtForLine);
    // Repaints after the visible time range changed.
    void OnZoom();

    // Puts the left (right) line on the nearest sample, inside the record, not past the other.
    void CheckLineLeft();
    void CheckLineRight();
    // The end of a drag of one line: its copies take its time, the delta text is rewritten.
    void LineLeftDragEnd();
    void LineRightDragEnd();
    void SetDeltaText();

    [[nodiscard]] Chart* Cht() const noexcept { return cht_; }
    [[nodiscard]] VerticalLine* Cursor() const noexcept { return cursor_; }
    [[nodiscard]] VerticalLine* LineLeft() const noexcept { return lineLeft_; }
    [[nodiscard]] VerticalLine* LineRight() const noexcept { return lineRight_; }
    [[nodiscard]] TextBlock* LblDelta() const noexcept { return lblDelta_; }
    [[nodiscard]] QToolButton* BtnClose2() const noexcept { return btnClose2_; }
    [[nodiscard]] QToolButton* BtnValues() const noexcept { return btnValues_; }
    [[nodiscard]] Color LabelColor() const noexcept { return labelColor_; }
    [[nodiscard]] const std::vector<VerticalLine*>& LeftLines() const noexcept {
        return leftLines_;
    }
    [[nodiscard]] const std::vector<VerticalLine*>& RightLines() const noexcept {
        return rightLines_;
    }
    // The bar between the lines in the strip's pixels, as last painted.
    [[nodiscard]] const QRect& MiddleRect() const noexcept { return middleRect_; }

    // Keeps the lines on samples, inside the record and in order after the edit dialog moved
    // them, and tells the strips.
    void ApplyDialogValues();

  signals:
    // The close button was pressed.
    void timeLabelClose(faultscope::TimeLabel* label);
    // A double click on the bar asks for the edit dialog.
    void editRequested(faultscope::TimeLabel* label);
    // "Значения" asks for the table of the channels' values at the two lines.
    void valuesRequested(faultscope::TimeLabel* label);
    // A line moved (dragged, with the bar or by the dialog) and stands on its sample.
    void linesMoved(faultscope::TimeLabel* label);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildLines();
    void PaintBar(QPainter& painter, const PlotGeometry& geometry);
    void ChtMouseDown(QPointF pos);
    void ChtMouseMove(QPointF pos);
    void ChtMouseUp();
    [[nodiscard]] double NearestSampleTime(double x) const;
    [[nodiscard]] double TimeAt(double pixel) const;

    Chart* cht_;
    QToolButton* btnClose2_;
    QToolButton* btnValues_;
    VerticalLine* cursor_ = nullptr;
    VerticalLine* lineLeft_ = nullptr;
    VerticalLine* lineRight_ = nullptr;
    TextBlock* lblDelta_ = nullptr;
    QPointer<TimeLine> timeLine_;
    std::vector<VerticalLine*> leftLines_;
    std::vector<VerticalLine*> rightLines_;
    int lineId_ = 0;
    QRect middleRect_;
    bool startDrag_ = false;
    double deltaMin_ = 0.0;
    double deltaMax_ = 0.0;
    Color labelColor_ = 0;
    // Held by every label, so the pool outlives the last label of every record window.
    std::shared_ptr<LabelColorPool> colors_;
};

}  // namespace faultscope
