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

class TAFrame1;

enum class TAngelView { anReal, an180 };

// One row of a vector diagram's legend: the base choice, the colour of the channel, its name, its
// value and angle at the cursor, and the button that shows or hides its arrow.
class TfrmROscilItem : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kHeight = 25;

    // `onViewChange` redraws the diagram.
    TfrmROscilItem(QWidget* owner, TAFrame1* chart, std::function<void()> onViewChange);

    // Rewrites the value text for the strip's cursor sample, angles relative to `baseAngel`.
    void iUpdate(double baseAngel);
    // The same from the reading already taken at the cursor.
    void iUpdate(double baseAngel, const std::optional<PhasorReading>& reading);
    void SetUseCurentValue(bool value);
    void SetAngelView(TAngelView view) noexcept { fAngelView_ = view; }
    [[nodiscard]] TAngelView AngelView() const noexcept { return fAngelView_; }

    [[nodiscard]] TAFrame1* AChart() const noexcept;
    [[nodiscard]] bool UseCurentValue() const noexcept { return fUseCurentValue_; }
    [[nodiscard]] bool ViewOnRoundOscil() const noexcept { return viewOnRoundOscil_; }
    [[nodiscard]] QCheckBox* Chk() const noexcept { return chk_; }
    [[nodiscard]] QLabel* LblName() const noexcept { return lblName_; }
    [[nodiscard]] QLabel* LblValue() const noexcept { return lblValue_; }
    [[nodiscard]] QToolButton* BtnView() const noexcept { return btnView_; }
    [[nodiscard]] QLabel* Pb() const noexcept { return pb_; }

  signals:
    // The row's base box was ticked or cleared by the user.
    void baseArrowChange(faultscope::TfrmROscilItem* item, bool checked);

  private:
    void btnViewClick();

    QCheckBox* chk_;
    QLabel* pb_;
    QLabel* lblName_;
    QLabel* lblValue_;
    QToolButton* btnView_;
    QPointer<TAFrame1> fAChart_;
    std::function<void()> fOnViewChange_;
    bool fUseCurentValue_ = true;
    TAngelView fAngelView_ = TAngelView::anReal;
    bool viewOnRoundOscil_ = true;
};

}  // namespace faultscope
