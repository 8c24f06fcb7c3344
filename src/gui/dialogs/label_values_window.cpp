#include "gui/dialogs/label_values_window.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/analysis/harmonics_at.h"
#include "core/record/state_events.h"
#include "gui/chart/number_format.h"
#include "gui/chart/vertical_line.h"
#include "gui/document/record_document.h"
#include "gui/views/analog_strip.h"
#include "gui/views/discrete_strip.h"
#include "gui/views/time_label.h"
#include "gui/views/time_line.h"
#include "gui/widgets/copy_keys.h"

namespace faultscope {
namespace {

const QStringList kHeaders = {QStringLiteral("Канал"),   QStringLiteral("Ед. изм."),
                              QStringLiteral("Y лев."),  QStringLiteral("|Y|1 лев."),
                              QStringLiteral("Y прав."), QStringLiteral("|Y|1 прав."),
                              QStringLiteral("∆Y"),      QStringLiteral("∆|Y|1")};
constexpr char16_t kNone[] = u"—";
constexpr char16_t kPattern[] = u"0.000";

QString Number(std::optional<double> v) {
    return v && std::isfinite(*v) ? FormatPicture(*v, kPattern) : QString::fromUtf16(kNone);
}

std::optional<double> Difference(std::optional<double> left, std::optional<double> right) {
    if (!left || !right || !std::isfinite(*left) || !std::isfinite(*right)) {
        return std::nullopt;
    }
    return *right - *left;
}

struct AnalogAt {
    std::optional<double> value;
    std::optional<double> rms1;
};

AnalogAt ReadAnalog(const AnalogStrip& strip, std::ptrdiff_t sample) {
    const AnalogColumns* columns = strip.Columns();
    if (columns == nullptr || sample < 0 || static_cast<std::size_t>(sample) >= columns->size()) {
        return {};
    }
    const auto i = static_cast<std::size_t>(sample);
    AnalogAt at;
    if (!columns->Gap(i)) {
        at.value = columns->Value(i);
    }
    if (const auto reading =
            ReadHarmonicsAt(strip.Times(), *columns, strip.Frequency(), i, strip.Info().ch_id)) {
        at.rms1 = reading->rms[0];
    }
    return at;
}

// A discrete channel's state at a sample.
QString StateText(const DiscreteStrip& strip, std::ptrdiff_t sample) {
    const DiscreteColumns* columns = strip.Columns();
    if (columns == nullptr || sample < 0) {
        return QString::fromUtf16(kNone);
    }
    return StateAt(*columns, static_cast<std::size_t>(sample)) ? QStringLiteral("1")
                                                               : QStringLiteral("0");
}

}  // namespace

LabelValuesWindow::LabelValuesWindow(RecordDocument& document, TimeLabel* label, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      document_(document),
      label_(label),
      times_(new QLabel(this)),
      table_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("frmLabelValues"));
    setWindowTitle(kTitle);
    times_->setObjectName(QStringLiteral("lblTimes"));
    times_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table_->setObjectName(QStringLiteral("tblValues"));
    table_->setColumnCount(static_cast<int>(kHeaders.size()));
    table_->setHorizontalHeaderLabels(kHeaders);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(times_);
    layout->addWidget(table_, 1);
    resize(720, 360);

    OnCopyKeys(*this, [this] { QApplication::clipboard()->setText(Text()); });
    connect(label, &TimeLabel::linesMoved, this, &LabelValuesWindow::Refresh);
    connect(label, &QObject::destroyed, this, &QWidget::close);
    setAttribute(Qt::WA_DeleteOnClose);
    Refresh();
}

TimeLabel* LabelValuesWindow::Label() const noexcept {
    return label_;
}

LabelValuesWindow::Line LabelValuesWindow::LineAt(double x) const {
    Line line;
    line.timeMs = x;
    if (const TimeLine* timeLine = document_.TimeLineView(); timeLine != nullptr) {
        line.sample = timeLine->NearestSample(x, line.timeMs);
    }
    return line;
}

QString LabelValuesWindow::LineText(const QString& name, const Line& line) const {
    const LoadedRecord& record = document_.Record();
    QString text = name + QStringLiteral(": ") + FormatPicture(line.timeMs, kPattern) + " мс";
    if (line.sample >= 0) {
        text += QStringLiteral(", ") +
                SampleTimeText(record.timeBase,
                               record.data.timeUs[static_cast<std::size_t>(line.sample)]);
    }
    return text;
}

void LabelValuesWindow::Refresh() {
    if (label_ == nullptr || !document_.Loaded()) {
        return;
    }
    const Line left = LineAt(label_->LineLeft()->Value());
    const Line right = LineAt(label_->LineRight()->Value());
    times_->setText(LineText(QStringLiteral("Левая линия"), left) + '\n' +
                    LineText(QStringLiteral("Правая линия"), right) + '\n' +
                    QStringLiteral("∆T = ") + FormatPicture(right.timeMs - left.timeMs, kPattern) +
                    " мс");
    std::vector<QStringList> rows;
    for (const AnalogStrip* strip : document_.AnalogStrips()->DisplayList()) {
        if (strip->isHidden()) {
            continue;
        }
        const AnalogAt l = ReadAnalog(*strip, left.sample);
        const AnalogAt r = ReadAnalog(*strip, right.sample);
        rows.push_back({QString::fromStdString(strip->Info().ch_id),
                        QString::fromStdString(strip->Info().uu), Number(l.value), Number(l.rms1),
                        Number(r.value), Number(r.rms1), Number(Difference(l.value, r.value)),
                        Number(Difference(l.rms1, r.rms1))});
    }
    for (const DiscreteStrip* strip : document_.DiscreteStrips()->DisplayList()) {
        if (strip->isHidden()) {
            continue;
        }
        rows.push_back({QString::fromStdString(strip->Info().ch_id), QString(),
                        StateText(*strip, left.sample), QString(), StateText(*strip, right.sample),
                        QString(), QString(), QString()});
    }
    SetRows(rows);
}

void LabelValuesWindow::SetRows(const std::vector<QStringList>& rows) {
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const QStringList& cells = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item = table_->item(r, c);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                table_->setItem(r, c, item);
            }
            item->setText(cells[c]);
            item->setTextAlignment(c >= 2 ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    table_->resizeColumnsToContents();
}

QString LabelValuesWindow::Text() const {
    QString text = times_->text() + "\n" + kHeaders.join('\t') + '\n';
    for (int r = 0; r < table_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table_->columnCount(); ++c) {
            const QTableWidgetItem* item = table_->item(r, c);
            cells.append(item != nullptr ? item->text() : QString());
        }
        text += cells.join('\t') + '\n';
    }
    return text;
}

}  // namespace faultscope
