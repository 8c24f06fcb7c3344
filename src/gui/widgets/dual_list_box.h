#pragma once

#include <QListWidget>
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QMimeData;
class QToolButton;

namespace faultscope {

class DualListBox;

// One side of a dual list: many items selectable at once; Enter and a double click send the
// selection to the other side, and a drag of the selection dropped on the other side does too.
class DualListSide : public QListWidget {
    Q_OBJECT

  public:
    static constexpr char kMimeType[] = "application/x-faultscope-channel-items";

    DualListSide(DualListBox* owner, bool hiddenSide, QWidget* parent);

    // What a drag of the current selection carries: which box and which side it leaves.
    [[nodiscard]] QMimeData* DragMimeData() const;
    // What a drop of `data` here does: the partner's selection comes over. False, moving
    // nothing, for data that is not a drag from the partner.
    bool DropFrom(const QMimeData* data);

  protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Whether `data` is a drag from the other side of the same box.
    [[nodiscard]] bool FromPartner(const QMimeData* data) const;

    DualListBox* owner_;
    bool hiddenSide_;
};

// Two lists of channels, the shown ones on the left and the hidden ones on the right, each with a
// filter field above it that narrows the list to the items containing its text (any letter
// case). Items carry their strip. The buttons, Enter, a double click and a drag move items
// across; "all" moves every item the filter lets through, so a filter chooses what "all" means.
// listsChanged is emitted once per move, never for changes made through the functions below
// while notifications are off.
class DualListBox : public QWidget {
    Q_OBJECT

  public:
    explicit DualListBox(const QString& caption, QWidget* parent = nullptr);

    [[nodiscard]] DualListSide* Left() const noexcept { return left_; }
    [[nodiscard]] DualListSide* Right() const noexcept { return right_; }
    [[nodiscard]] QLineEdit* LeftFilter() const noexcept { return leftFilter_; }
    [[nodiscard]] QLineEdit* RightFilter() const noexcept { return rightFilter_; }
    [[nodiscard]] QToolButton* BtnHide() const noexcept { return btnHide_; }
    [[nodiscard]] QToolButton* BtnHideAll() const noexcept { return btnHideAll_; }
    [[nodiscard]] QToolButton* BtnShowAll() const noexcept { return btnShowAll_; }

    void Clear();
    // Appends an item to the left (shown) or the right (hidden) list; `tag` is the strip's
    // position in its display order.
    void AddItem(const QString& text, void* strip, int tag, bool shown);
    // The strip an item carries, and its tag.
    [[nodiscard]] static void* StripOf(const QListWidgetItem* item);
    [[nodiscard]] static int TagOf(const QListWidgetItem* item);

    // Moves the selected items the filter shows from one side to the other; false when none.
    bool MoveSelected(bool toHidden);
    // Moves every item the filter shows from one side to the other; false when none.
    bool MoveAll(bool toHidden);
    // Puts the items of one side in the order of their tags; the item whose text is that of the
    // current item before stays current (the last of several with that text).
    static void SortByTag(QListWidget& list);
    // Every item goes to the left when `shown` picks it and to the right otherwise, both lists
    // in the order of their tags and nothing selected; filters stay as they are. No
    // notification.
    void Regroup(const std::function<bool(const QListWidgetItem&)>& shown);
    // Turns listsChanged off while a caller rearranges the lists itself.
    void SetNotify(bool notify) noexcept { notify_ = notify; }

  signals:
    void listsChanged();

  private:
    void BuildButtons(QWidget* column);
    // Moves `items` of `from` to the end of the other list, keeping them selected.
    void MoveItems(DualListSide* from, const QList<QListWidgetItem*>& items);
    void ApplyFilter(DualListSide* list, const QString& text);
    void Changed();

    DualListSide* left_;
    DualListSide* right_;
    QLineEdit* leftFilter_;
    QLineEdit* rightFilter_;
    QToolButton* btnHide_ = nullptr;
    QToolButton* btnShow_ = nullptr;
    QToolButton* btnHideAll_ = nullptr;
    QToolButton* btnShowAll_ = nullptr;
    QLabel* caption_;
    bool notify_ = true;
};

}  // namespace faultscope
