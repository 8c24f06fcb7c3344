#pragma once

#include "gui/chart/tool.h"

#include <QColor>
#include <QString>
#include <limits>

namespace faultscope {

// A vertical line at a value of the bottom axis, across the plot. It may be dragged within
// limits and may carry a tag with its value or a text of the caller's.
class VerticalLine : public Tool {
    Q_OBJECT

  public:
    explicit VerticalLine(QObject* parent = nullptr);

    void SetValue(double value);
    [[nodiscard]] double Value() const noexcept { return value_; }

    void SetColor(const QColor& color);
    [[nodiscard]] const QColor& Color() const noexcept { return color_; }
    void SetWidth(int width);
    [[nodiscard]] int Width() const noexcept { return width_; }
    // Qt::RoundCap or Qt::FlatCap.
    void SetCap(Qt::PenCapStyle cap);
    [[nodiscard]] Qt::PenCapStyle Cap() const noexcept { return cap_; }

    void SetDraggable(bool draggable);
    [[nodiscard]] bool IsDraggable() const noexcept { return draggable_; }
    // A drag keeps the value within [min, max]; unlimited by default.
    void SetDragLimits(double min, double max);

    // The tag stands beside the line: Qt::AlignLeft puts its right edge on the line,
    // Qt::AlignRight its left edge, Qt::AlignHCenter centres it; the vertical flag places it at
    // the top, middle or bottom of the plot. The line is interrupted behind the tag.
    void SetTagVisible(bool visible);
    [[nodiscard]] bool TagVisible() const noexcept { return tagVisible_; }
    void SetTagAlignment(Qt::Alignment alignment);
    // Picture pattern of the value in the tag; empty for the general number format.
    void SetTagFormat(const QString& pattern);
    // A text shown in the tag instead of the value; empty to show the value.
    void SetTagText(const QString& text);
    [[nodiscard]] QString TagText() const;

    void Draw(QPainter& painter, const PlotGeometry& geometry) const override;
    bool MousePress(const QPointF& pos, const PlotGeometry& geometry) override;
    void MouseMove(const QPointF& pos, const PlotGeometry& geometry) override;
    void MouseRelease(const QPointF& pos, const PlotGeometry& geometry) override;
    [[nodiscard]] std::optional<Qt::CursorShape> CursorAt(
        const QPointF& pos, const PlotGeometry& geometry) const override;

  signals:
    // The user moved the line to `value`.
    void dragged(double value);
    // The user let the line go at `value`.
    void dragEnded(double value);

  private:
    [[nodiscard]] bool IsNear(const QPointF& pos, const PlotGeometry& geometry) const;
    [[nodiscard]] QRectF TagRect(const QFontMetricsF& metrics, double x,
                                 const PlotGeometry& geometry) const;
    void DrawTag(QPainter& painter, const QRectF& rect) const;

    double value_ = 0.0;
    QColor color_ = Qt::red;
    int width_ = 1;
    Qt::PenCapStyle cap_ = Qt::FlatCap;
    bool draggable_ = false;
    double dragMin_ = -std::numeric_limits<double>::infinity();
    double dragMax_ = std::numeric_limits<double>::infinity();
    bool tagVisible_ = false;
    Qt::Alignment tagAlignment_ = Qt::AlignHCenter | Qt::AlignVCenter;
    QString tagFormat_;
    QString tagText_;
};

}  // namespace faultscope
