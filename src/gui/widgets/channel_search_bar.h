#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;

namespace faultscope {

// A bar for finding a channel by name: a text field, and a word beside it when nothing matched.
// Enter or F3 asks for the next match; Esc closes the bar. A field whose search found nothing
// turns pale red until its text changes.
class ChannelSearchBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kNotFound[] = "Канал не найден";

    explicit ChannelSearchBar(QWidget* parent = nullptr);

    // Shows the bar with the field focused and its text selected.
    void Open();
    // Shows whether the last search found a channel.
    void ShowFound(bool found);

    [[nodiscard]] QLineEdit* Field() const noexcept { return field_; }
    [[nodiscard]] QLabel* Status() const noexcept { return status_; }

  signals:
    // The user asked for the next channel whose name contains `text`.
    void findNext(const QString& text);
    // The user closed the bar.
    void closed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* field_;
    QLabel* status_;
};

}  // namespace faultscope
