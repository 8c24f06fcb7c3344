#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <optional>

#include "core/analysis/fault_report.h"
#include "core/session/record_loader.h"
#include "core/viewtemplate/fault_location_settings.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace faultscope {

class PhaseTripleBox;

// "Место повреждения": a tool window over a record with the line's data (impedances per km,
// length, the voltage and current channels) and the fault's type, distance and loop impedance
// found from them, at the cursor ("В курсор") or one and a half cycles after the fault's
// inception ("По умолчанию", the rule the window states). The record window keeps the line data
// in the record's view template.
class FaultLocationDialog : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kTitle[] = "Место повреждения";
    static constexpr char kRule[] =
        "Начало повреждения — первый отсчёт, где действующее значение тока фазы превышает "
        "доаварийное вдвое; расчёт через 1,5 периода после него.";

    // `record` must outlive the window. The result is found at the default instant.
    FaultLocationDialog(const LoadedRecord& record, QWidget* parent);

    // Shows saved line data (no settingsChanged); channels the record lacks stay as they were.
    void SetSettings(const FaultLocationSettings& settings);
    [[nodiscard]] FaultLocationSettings Settings() const;
    // The sample "В курсор" evaluates at.
    void SetCursorSample(std::ptrdiff_t sample) noexcept { cursorSample_ = sample; }
    // "В курсор" and "По умолчанию".
    void LocateAtCursor();
    void LocateAtDefault();

    [[nodiscard]] QDoubleSpinBox* Field(const char* name) const;
    [[nodiscard]] PhaseTripleBox* Voltages() const noexcept { return voltages_; }
    [[nodiscard]] PhaseTripleBox* Currents() const noexcept { return currents_; }
    [[nodiscard]] QPushButton* BtnCursor() const noexcept { return btnCursor_; }
    [[nodiscard]] QPushButton* BtnDefault() const noexcept { return btnDefault_; }
    [[nodiscard]] QLabel* TypeText() const noexcept { return type_; }
    [[nodiscard]] QLabel* DistanceText() const noexcept { return distance_; }
    [[nodiscard]] QLabel* ImpedanceText() const noexcept { return impedance_; }
    [[nodiscard]] QLabel* InstantText() const noexcept { return instant_; }
    [[nodiscard]] QLabel* ReasonText() const noexcept { return reason_; }
    [[nodiscard]] const FaultReport& Report() const noexcept { return report_; }

  signals:
    // The user changed the line data.
    void settingsChanged(const faultscope::FaultLocationSettings& settings);

  private:
    QWidget* BuildLine();
    QWidget* BuildResult();
    void LineEdited();
    void Locate();
    void ShowReport();

    const LoadedRecord& record_;
    PhaseTripleBox* voltages_ = nullptr;
    PhaseTripleBox* currents_ = nullptr;
    QPushButton* btnCursor_ = nullptr;
    QPushButton* btnDefault_ = nullptr;
    QLabel* type_ = nullptr;
    QLabel* distance_ = nullptr;
    QLabel* impedance_ = nullptr;
    QLabel* instant_ = nullptr;
    QLabel* reason_ = nullptr;
    FaultReport report_;
    std::ptrdiff_t cursorSample_ = -1;
    // The instant the result is found at: the cursor's sample, or none for the default one.
    std::optional<std::ptrdiff_t> atCursor_;
    bool setting_ = false;
};

}  // namespace faultscope
