#pragma once

#include "gui/chart/tool.h"

#include <QColor>
#include <QPointer>
#include <functional>

namespace faultscope {

// A scroll bar beside the left edge of the plot that shifts the range of a value axis. Its
// thumb shows the axis range within the content range (the union of the two); the arrows step
// by a tenth of the range, a press on the track by a whole range, and the thumb follows the
// pointer. Every proposed range goes first to the allow-scroll check, which may refuse it.
class AxisScrollBar : public Tool {
    Q_OBJECT

  public:
    // Receives the proposed minimum and maximum; returns whether the scroll may happen.
    using AllowScroll = std::function<bool(double min, double max)>;

    explicit AxisScrollBar(Axis* axis, QObject* parent = nullptr);

    void SetAllowScroll(AllowScroll check);
    // The values the bar's full length stands for.
    void SetContentRange(double min, double max);
    void SetBarWidth(int pixels);
    void SetMinThumbLength(int pixels);
    // Distance between the bar's right side and the plot's left edge.
    void SetOffset(int pixels);
    void SetThumbColor(const QColor& color);
    void SetArrowColor(const QColor& color);

    // Proposes a new axis range; applies it unless the check refuses. Returns whether applied.
    bool ScrollTo(double min, double max);

    void Draw(QPainter& painter, const PlotGeometry& geometry) const override;
    [[nodiscard]] bool ScreenOnly() const noexcept override { return true; }
    bool MousePress(const QPointF& pos, const PlotGeometry& geometry) override;
    void MouseMove(const QPointF& pos, const PlotGeometry& geometry) override;
    void MouseRelease(const QPointF& pos, const PlotGeometry& geometry) override;

  private:
    struct Layout {
        QRectF bar;
        QRectF upArrow;
        QRectF downArrow;
        QRectF track;
        QRectF thumb;
        double valuesPerPixel = 0.0;  // thumb travel, in axis values per pixel
    };

    [[nodiscard]] Layout LayoutFor(const PlotGeometry& geometry) const;
    void ScrollBy(double shift);
    void DrawArrow(QPainter& painter, const QRectF& box, bool up) const;

    QPointer<Axis> axis_;
    AllowScroll allowScroll_;
    double contentMin_ = 0.0;
    double contentMax_ = 0.0;
    int barWidth_ = 14;
    int minThumb_ = 8;
    int offset_ = 0;
    QColor thumbColor_ = QColor(192, 192, 192);
    QColor arrowColor_ = QColor(128, 128, 128);
    bool draggingThumb_ = false;
    double pressY_ = 0.0;
    double pressMin_ = 0.0;
    double pressMax_ = 0.0;
    double pressValuesPerPixel_ = 0.0;
};

}  // namespace faultscope
