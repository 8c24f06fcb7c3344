#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;

namespace faultscope {

class ColorButton;
class AnalogStrip;

// One row of the curve colour page: the name of an analog channel and a colour button bound to
// its strip. The colour lives only in the strip's signal curve; picking one recolours the curve
// at once.
// Formerly TfrmSeriesColorItem.
class SeriesColorRow : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kHeight = 24;
    static constexpr char kDesignName[] = "frmSeriesColorItem";

    explicit SeriesColorRow(QWidget* parent = nullptr);

    // Binds the row to `value`: the caption is the channel's ch_id, the button shows the curve's
    // colour, and the row is named kDesignName followed by the channel's number An. The row does
    // not own the strip.
    void AssignFrame(AnalogStrip* value);

    // The row's background; an invalid colour gives back the page's own.
    void SetBackground(const QColor& color);

    [[nodiscard]] QLabel* lblCaption() const noexcept { return lblCaption_; }
    [[nodiscard]] ColorButton* btnColor() const noexcept { return btnColor_; }
    [[nodiscard]] QFrame* pnl() const noexcept { return pnl_; }

  private:
    void btnColorChange(const QColor& color);

    QPointer<AnalogStrip> strip_;
    QFrame* pnl_;
    QLabel* lblCaption_;
    ColorButton* btnColor_;
};

}  // namespace faultscope
