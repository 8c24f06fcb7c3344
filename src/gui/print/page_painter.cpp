#include "gui/print/page_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

#include "gui/chart/chart.h"

namespace faultscope {
namespace {

Chart* ChartOf(const PageItem& item, const PrintSource& source) {
    const auto at = [&item](const std::vector<Chart*>& charts) -> Chart* {
        return item.index >= 0 && static_cast<std::size_t>(item.index) < charts.size()
                   ? charts[static_cast<std::size_t>(item.index)]
                   : nullptr;
    };
    switch (item.kind) {
        case PageItemKind::Label:
            return at(source.labels);
        case PageItemKind::Analog:
            return at(source.analog);
        case PageItemKind::Discrete:
            return at(source.discrete);
        case PageItemKind::TimeAxis:
            return source.timeAxis;
        default:
            return nullptr;
    }
}

void PaintCaptionLine(QPainter& painter, const QRect& row, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = row.left() + (row.width() - metrics.horizontalAdvance(text)) / 2;
    painter.drawText(QPoint(x, row.top() + metrics.ascent()), text);
}

// The axis chart over the top of `rect` and the "Tмакс" line under it, both at the scale the
// layout gave the whole.
void PaintTimeAxis(QPainter& painter, const QRect& rect, Chart& chart, const QString& maxTime) {
    const double scale = static_cast<double>(rect.height()) / (chart.height() + kTimeFooterHeight);
    const double chartHeight = chart.height() * scale;
    chart.render(painter, QRectF(rect.left(), rect.top(), rect.width(), chartHeight));
    painter.save();
    QFont font = chart.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(12 * scale))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF line(rect.left() + 5 * scale, rect.top() + chartHeight, rect.width(),
                      kTimeFooterHeight * scale);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, maxTime);
    painter.restore();
}

}  // namespace

QFont DefaultCaptionFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(11.0 * 72.0 / 96.0);
    return font;
}

QFont PageCaptionFont(QFont font, int dpi) {
    if (font.pixelSize() <= 0) {
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0))));
    }
    return font;
}

int CaptionLineHeight(const QFont& pageFont) {
    return QFontMetrics(pageFont).height();
}

void PaintPage(QPainter& painter, const PagePlan& page, const PrintSource& source,
               const QFont& pageCaptionFont) {
    painter.save();
    painter.setFont(pageCaptionFont);
    painter.setPen(Qt::black);
    for (const PageItem& item : page) {
        if (item.kind == PageItemKind::StationName) {
            PaintCaptionLine(painter, item.rect, source.stationName);
        } else if (item.kind == PageItemKind::DeviceName) {
            PaintCaptionLine(painter, item.rect, source.deviceName);
        } else if (Chart* chart = ChartOf(item, source); chart != nullptr) {
            if (item.kind == PageItemKind::TimeAxis && !source.maxTimeText.isEmpty()) {
                PaintTimeAxis(painter, item.rect, *chart, source.maxTimeText);
            } else {
                chart->render(painter, QRectF(item.rect));
            }
        }
    }
    painter.restore();
}

std::vector<PagePlan> LayoutRecord(const PrintSource& source, const PageSetup& setup) {
    const int line =
        setup.caption ? CaptionLineHeight(PageCaptionFont(setup.captionFont, setup.dpi)) : 0;
    return LayoutPages(LayoutInputFor(source, setup.printable, line));
}

}  // namespace faultscope
