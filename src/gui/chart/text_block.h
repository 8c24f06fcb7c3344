#pragma once

#include "gui/chart/tool.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QRect>
#include <QString>
#include <optional>

namespace faultscope {

// A block of text at a pixel position of the chart (not tied to the axes), optionally boxed:
// filled unless transparent, framed or not, with square or rounded corners. The text starts at
// the top of the box inside its margins and is not clipped to the box unless it is elided.
class TextBlock : public Tool {
    Q_OBJECT

  public:
    explicit TextBlock(QObject* parent = nullptr);

    void SetText(const QString& text);
    [[nodiscard]] const QString& Text() const noexcept { return text_; }
    void SetRect(const QRect& rect);
    [[nodiscard]] const QRect& Rect() const noexcept { return rect_; }
    // Without a font of its own the block writes in the chart's font.
    void SetFont(const QFont& font);
    // Height of the font's character cell in pixels.
    void SetFontPixelHeight(int pixels);
    void SetTextColor(const QColor& color);
    // Qt::AlignLeft or Qt::AlignHCenter.
    void SetAlignment(Qt::Alignment alignment);
    void SetMargins(const QMargins& margins);
    // Cuts every line that is wider than the box inside its margins, ending it with "…".
    void SetElided(bool elided);
    [[nodiscard]] bool Elided() const noexcept { return elided_; }

    void SetTransparent(bool transparent);
    void SetFillColor(const QColor& color);
    void SetFrameVisible(bool visible);
    void SetFrameColor(const QColor& color);
    // Corner radius in pixels; 0 for square corners.
    void SetCornerRadius(int radius);

    void Draw(QPainter& painter, const PlotGeometry& geometry) const override;

  private:
    void DrawBox(QPainter& painter) const;

    QString text_;
    QRect rect_;
    std::optional<QFont> font_;
    int fontPixelHeight_ = 0;
    QColor textColor_ = Qt::black;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QMargins margins_;
    bool transparent_ = true;
    QColor fillColor_ = Qt::white;
    bool frameVisible_ = false;
    QColor frameColor_ = Qt::black;
    int cornerRadius_ = 0;
    bool elided_ = false;
};

}  // namespace faultscope
