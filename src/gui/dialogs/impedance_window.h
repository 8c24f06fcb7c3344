#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "core/analysis/loop_impedance.h"
#include "core/session/record_loader.h"
#include "core/viewtemplate/fault_location_settings.h"
#include "gui/views/impedance_plane.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace faultscope {

class Axis;
class PhaseTripleBox;

// The loops the window offers, in the order of its list.
inline constexpr FaultLoop kImpedanceWindowLoops[] = {FaultLoop::AB, FaultLoop::BC, FaultLoop::CA,
                                                      FaultLoop::AN, FaultLoop::BN, FaultLoop::CN};

// "Годограф сопротивления": a tool window over a record drawing the apparent impedance of a loop
// on the R-X plane over the time range the record shows, with the point at the cursor, and the
// zone characteristics taken from the record's zone dialogs. The impedance of every sample is
// computed once when the loop, the channels or the line data change; a new time range only picks
// the points to draw, and a cursor move only moves the highlighted point.
class ImpedanceWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kTitle[] = "Годограф сопротивления";

    // The zones of the record's zone dialogs open now.
    using ZoneSource = std::function<std::vector<ZoneOutline>()>;

    // `record` and `timeAxis` (the record's time axis) must outlive the window. Without line
    // data ground loops are not compensated (k0 = 0) and the first triples offered are taken.
    ImpedanceWindow(const LoadedRecord& record, const Axis& timeAxis,
                    const std::optional<FaultLocationSettings>& lineData, QWidget* parent);

    // The line's data: k0 from its impedances per km (a zero Z1 leaves ground loops
    // uncompensated), and its voltage and current channels where the record has them.
    void SetLineData(const FaultLocationSettings& lineData);
    void SetZoneSource(ZoneSource source) { zoneSource_ = std::move(source); }
    // Moves the highlighted point to the impedance at the sample.
    void SetCursorSample(std::ptrdiff_t sample);
    // "Зоны из диаграмм": draws the zones the source gives now.
    void TakeZones();

    [[nodiscard]] QComboBox* Loop() const noexcept { return loop_; }
    [[nodiscard]] PhaseTripleBox* Voltages() const noexcept { return voltages_; }
    [[nodiscard]] PhaseTripleBox* Currents() const noexcept { return currents_; }
    [[nodiscard]] QPushButton* BtnZones() const noexcept { return btnZones_; }
    [[nodiscard]] ImpedancePlane* Plane() const noexcept { return plane_; }
    [[nodiscard]] QLabel* CursorText() const noexcept { return cursorText_; }
    [[nodiscard]] QLabel* ZoneText() const noexcept { return zoneText_; }
    // The impedance of every sample of the record as computed last.
    [[nodiscard]] const std::vector<std::optional<Phasor>>& Series() const noexcept {
        return series_;
    }

  private:
    void ComputeSeries();
    void ShowRange();
    void ShowCursor();
    void ShowZoneEntry();

    const LoadedRecord& record_;
    const Axis& timeAxis_;
    QComboBox* loop_ = nullptr;
    PhaseTripleBox* voltages_ = nullptr;
    PhaseTripleBox* currents_ = nullptr;
    QPushButton* btnZones_ = nullptr;
    ImpedancePlane* plane_ = nullptr;
    QLabel* cursorText_ = nullptr;
    QLabel* zoneText_ = nullptr;
    ZoneSource zoneSource_;
    std::optional<LineImpedance> perKm_;
    std::vector<std::optional<Phasor>> series_;
    std::ptrdiff_t cursorSample_ = -1;
    QString failure_;
};

}  // namespace faultscope
