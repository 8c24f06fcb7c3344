#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <span>
#include <vector>

#include "core/session/record_loader.h"

class QCheckBox;
class QLineEdit;
class QTableWidget;

namespace faultscope {

// One line of the list of events.
struct EventRow {
    std::size_t sample = 0;
    QString timeMs;    // on the record's time axis
    QString dateTime;  // to the microsecond
    QString channel;
    QString state;  // "↑ 1" / "↓ 0" for a change, "1" / "0" for a state at the first sample
};

// The rows of the list: the states at the first sample when `firstStates` is set, then every
// change of state after it in time order; only channels whose name contains `filter` (any
// letter case; all when it is empty).
[[nodiscard]] std::vector<EventRow> EventListRows(const LoadedRecord& record, bool firstStates,
                                                  const QString& filter);

// The rows as tab-separated text with a header line, for a report.
[[nodiscard]] QString EventRowsText(std::span<const EventRow> rows);

// "События": a tool window over a record listing every state change of its discrete channels
// with a filter by channel name. A double click on a row moves the record's cursor there; Ctrl+C
// copies the selected rows (all of them when none is selected).
class EventListWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr char kTitle[] = "События";

    // `record` must outlive the window.
    EventListWindow(const LoadedRecord& record, QWidget* parent);

    [[nodiscard]] QLineEdit* Filter() const noexcept { return filter_; }
    [[nodiscard]] QCheckBox* FirstStatesBox() const noexcept { return firstStates_; }
    [[nodiscard]] QTableWidget* Table() const noexcept { return table_; }
    [[nodiscard]] const std::vector<EventRow>& Rows() const noexcept { return rows_; }
    // Puts the selected rows, or all, on the clipboard.
    void CopyRows() const;

  signals:
    // A row was double-clicked: its sample.
    void sampleChosen(std::ptrdiff_t sample);

  private:
    void Fill();

    const LoadedRecord& record_;
    QLineEdit* filter_;
    QCheckBox* firstStates_;
    QTableWidget* table_;
    std::vector<EventRow> rows_;
};

}  // namespace faultscope
