#pragma once

#include "gui/chart/tool.h"

#include <QColor>

namespace faultscope {

// A filled band between two values of the bottom axis, over the plot's height. The user drags
// it as a whole from inside, or moves one end by grabbing its edge. The band does not order
// or limit its ends: the signals' receivers correct them with SetRange.
class Band : public Tool {
    Q_OBJECT

  public:
    explicit Band(QObject* parent = nullptr);

    void SetRange(double start, double end);
    [[nodiscard]] double Start() const noexcept { return start_; }
    [[nodiscard]] double End() const noexcept { return end_; }
    void SetColor(const QColor& color);
    [[nodiscard]] const QColor& Color() const noexcept { return color_; }

    void Draw(QPainter& painter, const PlotGeometry& geometry) const override;
    bool MousePress(const QPointF& pos, const PlotGeometry& geometry) override;
    void MouseMove(const QPointF& pos, const PlotGeometry& geometry) override;
    void MouseRelease(const QPointF& pos, const PlotGeometry& geometry) override;
    [[nodiscard]] std::optional<Qt::CursorShape> CursorAt(
        const QPointF& pos, const PlotGeometry& geometry) const override;

  signals:
    // The whole band moved.
    void dragged(double start, double end);
    // One end moved.
    void resized(double start, double end);
    // The user let go of the band after dragging or resizing it.
    void released();

  private:
    enum class Grip { None, Whole, Start, End };

    [[nodiscard]] Grip GripAt(const QPointF& pos, const PlotGeometry& geometry) const;

    double start_ = 0.0;
    double end_ = 0.0;
    QColor color_ = QColor(182, 226, 250);
    Grip grip_ = Grip::None;
    double pressX_ = 0.0;  // value under the pointer when the drag began
    double pressStart_ = 0.0;
    double pressEnd_ = 0.0;
};

}  // namespace faultscope
