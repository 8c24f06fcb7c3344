#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLabel;
class QTableWidget;

namespace faultscope {

class RecordDocument;
class TimeLabel;

// A time label's table: for every shown analog strip its name and unit, the instantaneous value
// and |Y|1 at the left line, at the right line and their differences; for every shown discrete
// strip its state at both lines. Above it the two times on the axis and as date-times to the
// microsecond, and ∆T. It follows the lines while they are dragged; Ctrl+C copies it as
// tab-separated text.
class LabelValuesWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kTitle[] = "Значения";

    // `document` must outlive the window; the window closes when the label goes.
    LabelValuesWindow(RecordDocument& document, TimeLabel* label, QWidget* parent);

    [[nodiscard]] TimeLabel* Label() const noexcept;
    [[nodiscard]] QTableWidget* Table() const noexcept { return table_; }
    [[nodiscard]] QLabel* Times() const noexcept { return times_; }
    // The times and the table as tab-separated text.
    [[nodiscard]] QString Text() const;
    // Reads the values at the lines again.
    void Refresh();

  private:
    struct Line {
        std::ptrdiff_t sample = -1;
        double timeMs = 0.0;
    };
    [[nodiscard]] Line LineAt(double x) const;
    [[nodiscard]] QString LineText(const QString& name, const Line& line) const;
    void SetRows(const std::vector<QStringList>& rows);

    RecordDocument& document_;
    QPointer<TimeLabel> label_;
    QLabel* times_;
    QTableWidget* table_;
};

}  // namespace faultscope
