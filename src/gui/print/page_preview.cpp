#include "gui/print/page_preview.h"

#include <QMouseEvent>
#include <QPainter>

namespace faultscope {

PagePreview::PagePreview(QWidget* parent) : QScrollArea(parent) {
    setObjectName("PrintPreview");
    auto* row = new QWidget(this);
    row->setObjectName("PreviewRow");
    row->installEventFilter(this);
    setWidget(row);
    setWidgetResizable(false);
    setBackgroundRole(QPalette::Dark);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void PagePreview::SetPages(std::vector<QImage> pages) {
    pages_ = std::move(pages);
    int width = kSpacing;
    int height = 0;
    for (const QImage& page : pages_) {
        width += page.width() + kSpacing;
        height = std::max(height, page.height());
    }
    widget()->resize(width, height + 2 * kSpacing);
    const int last = std::max(PageCount() - 1, 0);
    if (selected_ > last) {
        selected_ = last;
        emit selectedPageChanged(selected_);
    }
    widget()->update();
}

QRect PagePreview::PageRect(int index) const {
    int x = kSpacing;
    for (int i = 0; i < index; ++i) {
        x += pages_.at(i).width() + kSpacing;
    }
    return QRect(QPoint(x, kSpacing), pages_.at(index).size());
}

void PagePreview::SelectPage(int index) {
    if (index < 0 || index >= PageCount() || index == selected_) {
        return;
    }
    selected_ = index;
    ensureVisible(PageRect(index).center().x(), PageRect(index).center().y(),
                  PageRect(index).width() / 2, 0);
    widget()->update();
    emit selectedPageChanged(index);
}

bool PagePreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget()) {
        return QScrollArea::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Paint) {
        PaintRow();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        for (int i = 0; i < PageCount(); ++i) {
            if (PageRect(i).contains(pos)) {
                SelectPage(i);
                break;
            }
        }
        return true;
    }
    return QScrollArea::eventFilter(watched, event);
}

void PagePreview::PaintRow() {
    QPainter painter(widget());
    for (int i = 0; i < PageCount(); ++i) {
        const QRect rect = PageRect(i);
        painter.drawImage(rect.topLeft(), pages_[static_cast<std::size_t>(i)]);
        if (i == selected_) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(rect.adjusted(-1, -1, 0, 0));
        }
    }
}

}  // namespace faultscope
