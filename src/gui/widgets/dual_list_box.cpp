#include "gui/widgets/dual_list_box.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace faultscope {
namespace {

constexpr int kButtonSize = 24;
constexpr int kTagRole = Qt::UserRole + 1;

bool Passes(const QListWidgetItem& item, const QString& filter) {
    return filter.isEmpty() || item.text().contains(filter, Qt::CaseInsensitive);
}

// Takes every item out of `list`, in order.
QList<QListWidgetItem*> TakeAll(QListWidget& list) {
    QList<QListWidgetItem*> items;
    items.reserve(list.count());
    while (list.count() > 0) {
        items.push_back(list.takeItem(list.count() - 1));
    }
    std::reverse(items.begin(), items.end());
    return items;
}

// The drag payload: the box's address and the side the items leave, so a drop knows it comes
// from its partner and not from another box or program.
QByteArray DragTag(const DualListBox* owner, bool hiddenSide) {
    return QByteArray::number(reinterpret_cast<quintptr>(owner), 16) + (hiddenSide ? ":R" : ":L");
}

}  // namespace

DualListSide::DualListSide(DualListBox* owner, bool hiddenSide, QWidget* parent)
    : QListWidget(parent), owner_(owner), hiddenSide_(hiddenSide) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setUniformItemSizes(true);
}

QMimeData* DualListSide::DragMimeData() const {
    auto* data = new QMimeData;
    data->setData(kMimeType, DragTag(owner_, hiddenSide_));
    return data;
}

void DualListSide::startDrag(Qt::DropActions /*supportedActions*/) {
    if (selectedItems().isEmpty()) {
        return;
    }
    // The drop moves the items itself; the drag only carries who sent them.
    auto* drag = new QDrag(this);
    drag->setMimeData(DragMimeData());
    drag->exec(Qt::MoveAction);
}

bool DualListSide::FromPartner(const QMimeData* data) const {
    return data != nullptr && data->data(kMimeType) == DragTag(owner_, !hiddenSide_);
}

void DualListSide::dragEnterEvent(QDragEnterEvent* event) {
    if (FromPartner(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void DualListSide::dragMoveEvent(QDragMoveEvent* event) {
    if (FromPartner(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

bool DualListSide::DropFrom(const QMimeData* data) {
    if (!FromPartner(data)) {
        return false;
    }
    owner_->MoveSelected(hiddenSide_);
    return true;
}

void DualListSide::dropEvent(QDropEvent* event) {
    if (!DropFrom(event->mimeData())) {
        event->ignore();
        return;
    }
    // Reported as a copy, so the sending list removes nothing of its own: the move is done.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DualListSide::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        owner_->MoveSelected(!hiddenSide_);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

DualListBox::DualListBox(const QString& caption, QWidget* parent)
    : QWidget(parent),
      left_(new DualListSide(this, false, this)),
      right_(new DualListSide(this, true, this)),
      leftFilter_(new QLineEdit(this)),
      rightFilter_(new QLineEdit(this)),
      caption_(new QLabel(caption, this)) {
    left_->setObjectName("lstLeft");
    right_->setObjectName("lstRight");
    leftFilter_->setObjectName("edtLeftFilter");
    rightFilter_->setObjectName("edtRightFilter");
    for (QLineEdit* filter : {leftFilter_, rightFilter_}) {
        filter->setPlaceholderText("Фильтр");
        filter->setClearButtonEnabled(true);
    }
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(3);
    grid->addWidget(caption_, 0, 0, 1, 3);
    grid->addWidget(leftFilter_, 1, 0);
    grid->addWidget(rightFilter_, 1, 2);
    grid->addWidget(left_, 2, 0);
    grid->addWidget(right_, 2, 2);
    auto* column = new QWidget(this);
    BuildButtons(column);
    grid->addWidget(column, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    connect(leftFilter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ApplyFilter(left_, text); });
    connect(rightFilter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ApplyFilter(right_, text); });
    connect(left_, &QListWidget::itemDoubleClicked, this, [this] { MoveSelected(true); });
    connect(right_, &QListWidget::itemDoubleClicked, this, [this] { MoveSelected(false); });
}

void DualListBox::BuildButtons(QWidget* column) {
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    const auto make = [&](const char* name, const QString& text, const QString& hint) {
        auto* button = new QToolButton(column);
        button->setObjectName(name);
        button->setText(text);
        button->setToolTip(hint);
        button->setFixedSize(kButtonSize, kButtonSize);
        layout->addWidget(button);
        return button;
    };
    btnHide_ = make("btnHide", "›", "Скрыть канал");
    btnShow_ = make("btnShow", "‹", "Сделать видимым");
    btnHideAll_ = make("btnHideAll", "»", "Скрыть все каналы");
    btnShowAll_ = make("btnShowAll", "«", "Сделать видемым все");
    layout->addStretch(1);
    connect(btnHide_, &QToolButton::clicked, this, [this] { MoveSelected(true); });
    connect(btnShow_, &QToolButton::clicked, this, [this] { MoveSelected(false); });
    connect(btnHideAll_, &QToolButton::clicked, this, [this] { MoveAll(true); });
    connect(btnShowAll_, &QToolButton::clicked, this, [this] { MoveAll(false); });
}

void DualListBox::Clear() {
    left_->clear();
    right_->clear();
}

void DualListBox::AddItem(const QString& text, void* strip, int tag, bool shown) {
    DualListSide* list = shown ? left_ : right_;
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, QVariant::fromValue(strip));
    item->setData(kTagRole, tag);
    list->addItem(item);
    item->setHidden(!Passes(*item, (shown ? leftFilter_ : rightFilter_)->text()));
}

void* DualListBox::StripOf(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).value<void*>();
}

int DualListBox::TagOf(const QListWidgetItem* item) {
    return item->data(kTagRole).toInt();
}

void DualListBox::SortByTag(QListWidget& list) {
    const QString current = list.currentItem() != nullptr ? list.currentItem()->text() : QString();
    list.setUpdatesEnabled(false);
    QList<QListWidgetItem*> items = TakeAll(list);
    std::ranges::stable_sort(items, {}, [](const QListWidgetItem* item) { return TagOf(item); });
    QListWidgetItem* again = nullptr;
    for (QListWidgetItem* item : items) {
        list.addItem(item);
        if (!current.isEmpty() && item->text() == current) {
            again = item;
        }
    }
    if (again != nullptr) {
        list.setCurrentItem(again);
    }
    list.setUpdatesEnabled(true);
}

void DualListBox::Regroup(const std::function<bool(const QListWidgetItem&)>& shown) {
    left_->setUpdatesEnabled(false);
    right_->setUpdatesEnabled(false);
    left_->clearSelection();
    right_->clearSelection();
    QList<QListWidgetItem*> all = TakeAll(*right_);
    all.append(TakeAll(*left_));
    QList<QListWidgetItem*> sides[2];
    for (QListWidgetItem* item : all) {
        sides[shown(*item) ? 0 : 1].push_back(item);
    }
    for (int side = 0; side < 2; ++side) {
        DualListSide* list = side == 0 ? left_ : right_;
        const QString filter = (side == 0 ? leftFilter_ : rightFilter_)->text();
        std::ranges::stable_sort(sides[side], {},
                                 [](const QListWidgetItem* item) { return TagOf(item); });
        for (QListWidgetItem* item : sides[side]) {
            list->addItem(item);
            item->setHidden(!Passes(*item, filter));
        }
    }
    left_->setUpdatesEnabled(true);
    right_->setUpdatesEnabled(true);
}

bool DualListBox::MoveSelected(bool toHidden) {
    DualListSide* from = toHidden ? left_ : right_;
    QList<QListWidgetItem*> items;
    for (int i = 0; i < from->count(); ++i) {
        QListWidgetItem* item = from->item(i);
        if (item->isSelected() && !item->isHidden()) {
            items.push_back(item);
        }
    }
    if (items.isEmpty()) {
        return false;
    }
    MoveItems(from, items);
    Changed();
    return true;
}

bool DualListBox::MoveAll(bool toHidden) {
    DualListSide* from = toHidden ? left_ : right_;
    QList<QListWidgetItem*> items;
    for (int i = 0; i < from->count(); ++i) {
        if (!from->item(i)->isHidden()) {
            items.push_back(from->item(i));
        }
    }
    if (items.isEmpty()) {
        return false;
    }
    MoveItems(from, items);
    Changed();
    return true;
}

void DualListBox::MoveItems(DualListSide* from, const QList<QListWidgetItem*>& items) {
    DualListSide* to = from == left_ ? right_ : left_;
    const QString filter = (to == left_ ? leftFilter_ : rightFilter_)->text();
    from->setUpdatesEnabled(false);
    to->setUpdatesEnabled(false);
    to->clearSelection();
    // Taken from the end, so the rows of the items still to take do not shift.
    QList<QListWidgetItem*> taken;
    for (auto it = items.crbegin(); it != items.crend(); ++it) {
        taken.push_front(from->takeItem(from->row(*it)));
    }
    for (QListWidgetItem* item : taken) {
        to->addItem(item);
        item->setHidden(!Passes(*item, filter));
        item->setSelected(!item->isHidden());
    }
    from->setUpdatesEnabled(true);
    to->setUpdatesEnabled(true);
}

void DualListBox::ApplyFilter(DualListSide* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        const bool hide = !Passes(*item, text);
        item->setHidden(hide);
        if (hide) {
            item->setSelected(false);
        }
    }
}

void DualListBox::Changed() {
    if (notify_) {
        emit listsChanged();
    }
}

}  // namespace faultscope
