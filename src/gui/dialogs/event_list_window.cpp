#include "gui/dialogs/event_list_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "core/record/state_events.h"
#include "gui/views/time_line.h"
#include "gui/widgets/copy_keys.h"

namespace faultscope {
namespace {

const QStringList kHeaders = {QStringLiteral("Время, мс"), QStringLiteral("Дата и время"),
                              QStringLiteral("Канал"), QStringLiteral("Состояние")};

QString TimeText(std::int32_t timeUs) {
    return QString::number(timeUs / 1000.0, 'f', 3);
}

EventRow MakeRow(const LoadedRecord& record, std::size_t sample, std::size_t channel,
                 const QString& state) {
    const std::int32_t timeUs = record.data.timeUs[sample];
    return {sample, TimeText(timeUs), SampleTimeText(record.timeBase, timeUs),
            QString::fromStdString(record.cfg.digital[channel].ch_id), state};
}

}  // namespace

std::vector<EventRow> EventListRows(const LoadedRecord& record, bool firstStates,
                                    const QString& filter) {
    const auto wanted = [&](std::size_t channel) {
        return filter.isEmpty() || QString::fromStdString(record.cfg.digital[channel].ch_id)
                                       .contains(filter, Qt::CaseInsensitive);
    };
    std::vector<EventRow> rows;
    if (record.data.SampleCount() == 0) {
        return rows;
    }
    if (firstStates) {
        const std::vector<bool> states = FirstStates(record.data);
        for (std::size_t c = 0; c < states.size(); ++c) {
            if (record.data.discrete[c].hasStrip && wanted(c)) {
                rows.push_back(MakeRow(record, 0, c, states[c] ? "1" : "0"));
            }
        }
    }
    for (const StateEvent& e : ListStateEvents(record.data)) {
        if (wanted(e.channel)) {
            rows.push_back(
                MakeRow(record, e.sample, e.channel, e.state ? QStringLiteral("↑ 1") : "↓ 0"));
        }
    }
    return rows;
}

QString EventRowsText(std::span<const EventRow> rows) {
    QString text = kHeaders.join('\t') + '\n';
    for (const EventRow& row : rows) {
        text += QStringList{row.timeMs, row.dateTime, row.channel, row.state}.join('\t') + '\n';
    }
    return text;
}

EventListWindow::EventListWindow(const LoadedRecord& record, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      record_(record),
      filter_(new QLineEdit(this)),
      firstStates_(new QCheckBox(QStringLiteral("Состояния в начале"), this)),
      table_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("frmEvents"));
    setWindowTitle(kTitle);
    filter_->setObjectName(QStringLiteral("edtFilter"));
    filter_->setPlaceholderText(QStringLiteral("Фильтр по имени канала"));
    filter_->setClearButtonEnabled(true);
    firstStates_->setObjectName(QStringLiteral("cbFirstStates"));
    firstStates_->setToolTip(QStringLiteral("Показать состояния каналов в первом отсчёте"));
    table_->setObjectName(QStringLiteral("tblEvents"));
    table_->setColumnCount(static_cast<int>(kHeaders.size()));
    table_->setHorizontalHeaderLabels(kHeaders);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Фильтр:"), this));
    top->addWidget(filter_, 1);
    top->addWidget(firstStates_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    resize(560, 420);

    connect(filter_, &QLineEdit::textChanged, this, &EventListWindow::Fill);
    connect(firstStates_, &QCheckBox::toggled, this, &EventListWindow::Fill);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && static_cast<std::size_t>(row) < rows_.size()) {
            emit sampleChosen(
                static_cast<std::ptrdiff_t>(rows_[static_cast<std::size_t>(row)].sample));
        }
    });
    Fill();
    OnCopyKeys(*this, [this] { CopyRows(); });
}

void EventListWindow::Fill() {
    rows_ = EventListRows(record_, firstStates_->isChecked(), filter_->text().trimmed());
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const EventRow& row = rows_[static_cast<std::size_t>(r)];
        const QString cells[] = {row.timeMs, row.dateTime, row.channel, row.state};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
}

void EventListWindow::CopyRows() const {
    std::set<int> selected;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        selected.insert(index.row());
    }
    std::vector<EventRow> rows;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        if (selected.empty() || selected.contains(r)) {
            rows.push_back(rows_[static_cast<std::size_t>(r)]);
        }
    }
    QApplication::clipboard()->setText(EventRowsText(rows));
}

}  // namespace faultscope
