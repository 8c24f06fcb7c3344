#include "gui/views/scroll_padding.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace faultscope {
namespace {

TEST(ScrollPadding, BarOrPaddingKeepsTheRightEdge) {
    int argc = 0;
    QApplication app(argc, nullptr);
    QWidget parent;
    auto* layout = new QVBoxLayout(&parent);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new QScrollArea;
    layout->addWidget(list);
    auto* content = new QWidget;
    content->setFixedSize(100, 100);
    list->setWidget(content);
    parent.resize(300, 400);
    parent.show();
    QApplication::processEvents();
    SetScrollPadding(*list, parent);
    EXPECT_EQ(parent.contentsMargins().right(), kScrollBarWidth);

    content->setFixedSize(100, 2000);
    QApplication::processEvents();
    SetScrollPadding(*list, parent);
    EXPECT_EQ(parent.contentsMargins().right(), 0);
    EXPECT_EQ(list->verticalScrollBar()->width(), kScrollBarWidth);
}

}  // namespace
}  // namespace faultscope
