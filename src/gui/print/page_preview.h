#pragma once

#include <QImage>
#include <QScrollArea>
#include <vector>

namespace faultscope {

// The pages of a print preview side by side in one row, 4 pixels apart, in a horizontally
// scrolling frame. A click selects a page; the selected page is framed.
class PagePreview : public QScrollArea {
    Q_OBJECT

  public:
    static constexpr int kSpacing = 4;

    explicit PagePreview(QWidget* parent = nullptr);

    // Shows these pictures of the pages; the selection stays on its page while there is one.
    void SetPages(std::vector<QImage> pages);
    [[nodiscard]] int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
    [[nodiscard]] const QImage& Page(int index) const { return pages_.at(index); }
    // Where a page stands in the row's widget, for clicks.
    [[nodiscard]] QRect PageRect(int index) const;
    [[nodiscard]] QWidget* Row() const noexcept { return widget(); }

    [[nodiscard]] int SelectedPage() const noexcept { return selected_; }
    void SelectPage(int index);

  signals:
    void selectedPageChanged(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PaintRow();

    std::vector<QImage> pages_;
    int selected_ = 0;
};

}  // namespace faultscope
