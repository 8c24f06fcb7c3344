#include "gui/chart/text_block.h"

#include <QFontMetrics>
#include <QStringList>

#include <QPen>
#include <algorithm>

namespace faultscope {

TextBlock::TextBlock(QObject* parent) : Tool(parent) {}

void TextBlock::SetText(const QString& text) {
    text_ = text;
    emit changed();
}

void TextBlock::SetRect(const QRect& rect) {
    rect_ = rect;
    emit changed();
}

void TextBlock::SetFont(const QFont& font) {
    font_ = font;
    emit changed();
}

void TextBlock::SetFontPixelHeight(int pixels) {
    fontPixelHeight_ = std::max(pixels, 0);
    emit changed();
}

void TextBlock::SetTextColor(const QColor& color) {
    textColor_ = color;
    emit changed();
}

void TextBlock::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    emit changed();
}

void TextBlock::SetMargins(const QMargins& margins) {
    margins_ = margins;
    emit changed();
}

void TextBlock::SetTransparent(bool transparent) {
    transparent_ = transparent;
    emit changed();
}

void TextBlock::SetElided(bool elided) {
    elided_ = elided;
    emit changed();
}

void TextBlock::SetFillColor(const QColor& color) {
    fillColor_ = color;
    emit changed();
}

void TextBlock::SetFrameVisible(bool visible) {
    frameVisible_ = visible;
    emit changed();
}

void TextBlock::SetFrameColor(const QColor& color) {
    frameColor_ = color;
    emit changed();
}

void TextBlock::SetCornerRadius(int radius) {
    cornerRadius_ = std::max(radius, 0);
    emit changed();
}

void TextBlock::Draw(QPainter& painter, const PlotGeometry& geometry) const {
    if (rect_.isEmpty()) {
        return;
    }
    DrawBox(painter);
    QFont font = geometry.PixelFont(font_.value_or(painter.font()));
    if (fontPixelHeight_ > 0) {
        font.setPixelSize(fontPixelHeight_);
    }
    painter.setFont(font);
    painter.setPen(textColor_);
    // Lines may end in LF CR; a CR would show as a blank at the start of the next line.
    QString shown = text_;
    shown.remove(u'\r');
    const QRect inner = rect_.marginsRemoved(margins_);
    if (elided_) {
        const QFontMetrics metrics(font);
        QStringList lines = shown.split(u'\n');
        for (QString& line : lines) {
            line = metrics.elidedText(line, Qt::ElideRight, inner.width());
        }
        shown = lines.join(u'\n');
    }
    const Qt::Alignment horizontal = alignment_ & Qt::AlignHorizontal_Mask;
    painter.drawText(QRectF(inner), horizontal | Qt::AlignTop | Qt::TextDontClip, shown);
}

void TextBlock::DrawBox(QPainter& painter) const {
    if (transparent_ && !frameVisible_) {
        return;
    }
    painter.setPen(frameVisible_ ? QPen(frameColor_, 1) : QPen(Qt::NoPen));
    painter.setBrush(transparent_ ? QBrush(Qt::NoBrush) : QBrush(fillColor_));
    // The frame's pen straddles the path; half a pixel in keeps it inside the block.
    const QRectF box = QRectF(rect_).adjusted(0.5, 0.5, -0.5, -0.5);
    if (cornerRadius_ > 0) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.drawRoundedRect(box, cornerRadius_, cornerRadius_);
    } else {
        painter.drawRect(box);
    }
}

}  // namespace faultscope
