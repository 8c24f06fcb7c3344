#include "gui/views/scroll_padding.h"

#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>

namespace faultscope {

void SetScrollPadding(QScrollArea& list, QWidget& parent) {
    QScrollBar* bar = list.verticalScrollBar();
    const bool shown =
        bar->isVisibleTo(&list) && list.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    QMargins margins = parent.contentsMargins();
    if (shown) {
        bar->setFixedWidth(kScrollBarWidth);
        margins.setRight(0);
    } else {
        margins.setRight(kScrollBarWidth);
    }
    parent.setContentsMargins(margins);
}

}  // namespace faultscope
