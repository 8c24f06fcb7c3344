#include "gui/widgets/channel_search_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace faultscope {
namespace {

const QColor kNothingFound(255, 210, 210);
constexpr int kFieldWidth = 240;

}  // namespace

ChannelSearchBar::ChannelSearchBar(QWidget* parent)
    : QWidget(parent), field_(new QLineEdit(this)), status_(new QLabel(this)) {
    setObjectName("channelSearch");
    field_->setObjectName("edtChannelSearch");
    field_->setFixedWidth(kFieldWidth);
    field_->setClearButtonEnabled(true);
    status_->setObjectName("lblChannelSearch");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(field_);
    row->addWidget(status_, 1);
    connect(field_, &QLineEdit::returnPressed, this, [this] { emit findNext(field_->text()); });
    // A changed text has not been looked for yet.
    connect(field_, &QLineEdit::textChanged, this, [this] { ShowFound(true); });
}

void ChannelSearchBar::Open() {
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void ChannelSearchBar::ShowFound(bool found) {
    QPalette colors = palette();
    if (!found) {
        colors.setColor(QPalette::Base, kNothingFound);
    }
    field_->setPalette(colors);
    status_->setText(found ? QString() : QString::fromUtf8(kNotFound));
}

void ChannelSearchBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F3:
            emit findNext(field_->text());
            break;
        case Qt::Key_Escape:
            hide();
            emit closed();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace faultscope
