#pragma once

#include <QColor>
#include <QToolButton>
#include <vector>

class QMenu;

namespace faultscope {

// A button that shows a colour and lets the user pick another: its menu holds a palette of
// standard colours and "Другой…", which opens the colour dialog for any colour.
class ColorButton : public QToolButton {
    Q_OBJECT

  public:
    explicit ColorButton(QWidget* parent = nullptr);

    [[nodiscard]] const QColor& Color() const noexcept { return color_; }
    // Shows `color` without telling anyone.
    void SetColor(const QColor& color);

    // The palette's colours, row by row.
    [[nodiscard]] static const std::vector<QColor>& StandardColors();
    // The palette's swatch buttons, in the order of StandardColors, and the "Другой…" entry.
    [[nodiscard]] const std::vector<QToolButton*>& Swatches() const noexcept { return swatches_; }
    [[nodiscard]] QAction* actOther() const noexcept { return actOther_; }

  signals:
    // The user picked a colour different from the shown one.
    void colorChanged(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void BuildMenu();
    void Pick(const QColor& color);
    void PickOther();

    QColor color_ = Qt::black;
    QMenu* menu_;
    std::vector<QToolButton*> swatches_;
    QAction* actOther_ = nullptr;
};

}  // namespace faultscope
