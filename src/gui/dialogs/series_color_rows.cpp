#include "gui/dialogs/series_color_rows.h"

#include <QVBoxLayout>

#include "gui/dialogs/series_color_row.h"

namespace faultscope {

SeriesColorRows::SeriesColorRows(QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)) {
    setObjectName("SeriesColorRows");
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addStretch(1);
}

SeriesColorRow* SeriesColorRows::AddColorItem(AnalogStrip* strip) {
    auto* row = new SeriesColorRow(this);
    row->AssignFrame(strip);
    items_.push_back(row);
    if (items_.size() % 2 == 0) {
        row->SetBackground(QColor(kEvenRowColor));
    }
    layout_->insertWidget(layout_->count() - 1, row);
    return row;
}

void SeriesColorRows::Clear() {
    for (SeriesColorRow* row : items_) {
        delete row;
    }
    items_.clear();
}

}  // namespace faultscope
