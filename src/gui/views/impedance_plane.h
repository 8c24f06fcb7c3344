#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/analysis/impedance_trajectory.h"
#include "core/analysis/zone_characteristic.h"

namespace faultscope {

// A zone characteristic as the plane draws it: its boundary, closed, in one colour.
struct ZoneOutline {
    std::vector<ZonePoint> ring;
    QColor color;
};

// The R-X plane: resistance to the right and reactance up in ohms on equal scales, with zone
// outlines, an impedance trajectory (a line and a dot per cycle) and the point at the cursor.
// The wheel zooms about the pointer and a drag with the left button pans; Ctrl+C copies the
// picture. Everything but the cursor's point is drawn once into a picture kept until the data or
// the view change, so that following the cursor costs the same for any trajectory.
class ImpedancePlane : public QWidget {
    Q_OBJECT

  public:
    explicit ImpedancePlane(QWidget* parent = nullptr);

    // New data: the kept picture is drawn again at the next paint.
    void SetTrajectory(ImpedanceTrajectory trajectory);
    void SetZones(std::vector<ZoneOutline> zones);
    // Moves the highlighted point (none: no point at the cursor); only it is painted again.
    void SetCursorPoint(std::optional<Phasor> z);
    // Scales and centres the view to show the trajectory, the zones and the origin whole.
    void FitView();

    [[nodiscard]] const ImpedanceTrajectory& Trajectory() const noexcept { return trajectory_; }
    [[nodiscard]] const std::vector<ZoneOutline>& Zones() const noexcept { return zones_; }
    [[nodiscard]] std::optional<Phasor> CursorPoint() const noexcept { return cursor_; }
    // The user zoomed or panned since the view was last fitted.
    [[nodiscard]] bool ViewMoved() const noexcept { return viewMoved_; }

    // Where an impedance is drawn, and the impedance under a pixel.
    [[nodiscard]] QPointF ToPixel(Phasor z) const noexcept;
    [[nodiscard]] Phasor FromPixel(QPointF pixel) const noexcept;
    [[nodiscard]] double OhmsPerPixel() const noexcept { return ohmsPerPixel_; }

    // Puts the picture on the clipboard.
    void CopyPicture();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The kept picture: grid and axes, zones, trajectory.
    void DrawLayer();
    void DrawGrid(QPainter& painter) const;
    void DrawZones(QPainter& painter) const;
    void DrawTrajectory(QPainter& painter) const;
    void DrawCursorPoint(QPainter& painter) const;
    void ViewChanged();

    ImpedanceTrajectory trajectory_;
    std::vector<ZoneOutline> zones_;
    std::optional<Phasor> cursor_;
    Phasor centre_;
    double ohmsPerPixel_ = 0.1;
    QPixmap layer_;
    bool layerValid_ = false;
    bool viewMoved_ = false;
    bool dragging_ = false;
    QPointF dragFrom_;
};

}  // namespace faultscope
