#pragma once

#include "gui/chart/plot_geometry.h"

#include <QObject>
#include <QPainter>
#include <QPointF>
#include <optional>

namespace faultscope {

// Something drawn over the series that may answer the mouse. A press the tool takes starts
// a drag: the chart then sends it every move and the release, and nothing else sees them.
// Positions are in the chart's pixels. A tool clips its own drawing.
class Tool : public QObject {
    Q_OBJECT

  public:
    explicit Tool(QObject* parent = nullptr);

    // An inactive tool is neither drawn nor asked about the mouse.
    void SetActive(bool active);
    [[nodiscard]] bool IsActive() const noexcept { return active_; }

    virtual void Draw(QPainter& painter, const PlotGeometry& geometry) const = 0;
    // A control such as a scroll bar, which a printed chart leaves out.
    [[nodiscard]] virtual bool ScreenOnly() const noexcept { return false; }
    virtual bool MousePress(const QPointF& pos, const PlotGeometry& geometry);
    virtual void MouseMove(const QPointF& pos, const PlotGeometry& geometry);
    virtual void MouseRelease(const QPointF& pos, const PlotGeometry& geometry);
    // The pointer's shape while it hovers over the tool, when the tool offers a drag there.
    [[nodiscard]] virtual std::optional<Qt::CursorShape> CursorAt(
        const QPointF& pos, const PlotGeometry& geometry) const;

  signals:
    // The picture changed; the chart repaints.
    void changed();

  private:
    bool active_ = true;
};

// How near, in pixels, the pointer must come to a line to grab it.
inline constexpr double kGrabDistance = 3.0;

}  // namespace faultscope
