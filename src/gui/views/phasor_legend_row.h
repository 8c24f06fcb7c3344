#pragma once

#include <QFrame>
#include <QPointer>
#include <functional>
#include <optional>

#include "gui/views/phasor_source.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace faultscope {

class AnalogStrip;

// How a legend row shows an angle: 0…360° or -180…180°.
// Formerly TAngelView.
enum class AngleMode { anReal, an180 };

// One row of a vector diagram's legend: the base choice, the colour of the channel, its name, its
// value and angle at the cursor, and the button that shows or hides its arrow.
// Formerly TfrmROscilItem.
class PhasorLegendRow : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kHeight = 25;

    // `onViewChange` redraws the diagram.
    PhasorLegendRow(QWidget* owner, AnalogStrip* chart, std::function<void()> onViewChange);

    // Rewrites the value text for the strip's cursor sample, angles relative to `baseAngle`.
    void iUpdate(double baseAngle);
    // The same from the reading already taken at the cursor.
    void iUpdate(double baseAngle, const std::optional<PhasorReading>& reading);
    void SetUseCurrentValue(bool value);
    void SetAngleView(AngleMode view) noexcept { angleView_ = view; }

    [[nodiscard]] AnalogStrip* AChart() const noexcept;
    [[nodiscard]] bool UseCurrentValue() const noexcept { return useCurrentValue_; }
    [[nodiscard]] bool ViewOnPhasorPanel() const noexcept { return viewOnPhasorPanel_; }
    [[nodiscard]] QCheckBox* Chk() const noexcept { return chk_; }
    [[nodiscard]] QLabel* LblValue() const noexcept { return lblValue_; }
    [[nodiscard]] QToolButton* BtnView() const noexcept { return btnView_; }
    [[nodiscard]] QLabel* Pb() const noexcept { return pb_; }

  signals:
    // The row's base box was ticked or cleared by the user.
    void baseArrowChange(faultscope::PhasorLegendRow* item, bool checked);

  private:
    void btnViewClick();

    QCheckBox* chk_;
    QLabel* pb_;
    QLabel* lblName_;
    QLabel* lblValue_;
    QToolButton* btnView_;
    QPointer<AnalogStrip> aChart_;
    std::function<void()> onViewChange_;
    bool useCurrentValue_ = true;
    AngleMode angleView_ = AngleMode::anReal;
    bool viewOnPhasorPanel_ = true;
};

}  // namespace faultscope
