#pragma once

#include "gui/chart/plot_geometry.h"

#include <QColor>
#include <QObject>
#include <QPainter>

namespace faultscope {

// Something a chart draws over its plot from data it does not own. The chart clips the
// painter to the plot rectangle before Draw.
class Series : public QObject {
    Q_OBJECT

  public:
    explicit Series(QObject* parent = nullptr);

    // An inactive series is kept but not drawn.
    void SetActive(bool active);
    [[nodiscard]] bool IsActive() const noexcept { return active_; }
    void SetColor(const QColor& color);
    [[nodiscard]] const QColor& Color() const noexcept { return color_; }
    void SetWidth(int width);
    [[nodiscard]] int Width() const noexcept { return width_; }

    virtual void Draw(QPainter& painter, const PlotGeometry& geometry) = 0;

  signals:
    // The picture changed; the chart repaints.
    void changed();

  private:
    bool active_ = true;
    QColor color_ = Qt::black;
    int width_ = 1;
};

}  // namespace faultscope
