#include "gui/dialogs/zone_dialog.h"

#include "gui/chart/point_series.h"
#include "gui/views/phasor_diagram.h"
#include "gui/widgets/message_boxes.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace faultscope {
namespace {

constexpr QRgb kZoneColor = qRgb(255, 0, 0);
constexpr QRgb kZoneOffColor = qRgb(0, 128, 0);
constexpr double kParamLimit = 1e9;

PhasorDiagram* OwnerDiagram(QWidget* owner) {
    auto* diagram = qobject_cast<PhasorDiagram*>(owner);
    if (diagram == nullptr) {
        throw std::invalid_argument("Owner must be a phasor diagram");
    }
    return diagram;
}

std::vector<PointSeries::Point> Colored(const std::vector<ZonePoint>& points, QRgb color) {
    std::vector<PointSeries::Point> result;
    result.reserve(points.size());
    for (const ZonePoint& p : points) {
        result.push_back({QPointF(p.x, p.y), QColor(color)});
    }
    return result;
}

// Reads a cell typed with either decimal separator.
std::optional<double> CellNumber(const QTableWidgetItem* item) {
    if (item == nullptr) {
        return std::nullopt;
    }
    QString text = item->text().trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

}  // namespace

ZoneDialog::ZoneDialog(QWidget* owner, MessageSink* messages)
    : QDialog(OwnerDiagram(owner)), diagram_(OwnerDiagram(owner)), messages_(messages) {
    setObjectName(QStringLiteral("frmOZ_DZ"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Добавить "));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildTable(), 1);
    layout->addWidget(BuildParameters());
    lblError_ = new QLabel(this);
    lblError_->setObjectName(QStringLiteral("lblError"));
    lblError_->setWordWrap(true);
    lblError_->setStyleSheet(QStringLiteral("color: #b00000"));
    lblError_->hide();
    layout->addWidget(lblError_);
    btnOk_ = new QPushButton(QStringLiteral("Применить"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    // Enter in a field applies; the file buttons are only ever clicked.
    btnOk_->setDefault(true);
    layout->addWidget(btnOk_);
    connect(btnOk_, &QPushButton::clicked, this, &ZoneDialog::btnOkClick);
    cbbTypeChange();
    resize(300, 480);
}

ZoneDialog::~ZoneDialog() {
    if (diagram_ != nullptr) {
        diagram_->SLine()->Clear();
    }
}

QWidget* ZoneDialog::BuildTable() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    const struct {
        const char* name;
        const char* glyph;
        const char* hint;
        void (ZoneDialog::*slot)();
    } buttons[] = {
        {"btnFirst", "⇤", "Первая точка", nullptr},
        {"btnLast", "⇥", "Последняя точка", nullptr},
        {"btnInsert", "+", "Добавить точку", &ZoneDialog::Insert},
        {"btnDelete", "−", "Удалить точку", &ZoneDialog::Delete},
        {"btnPost", "✓", "Сохранить изменения", nullptr},
        {"btnCancel", "✗", "Отменить изменения", &ZoneDialog::Cancel},
        {"btnRefresh", "⟳", "Обновить", &ZoneDialog::RedrawPolygon},
    };
    tbl_ = new QTableWidget(0, 3, box);
    tbl_->setObjectName(QStringLiteral("tbl"));
    tbl_->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("X"), QStringLiteral("Y")});
    tbl_->verticalHeader()->setDefaultSectionSize(17);
    tbl_->verticalHeader()->hide();
    tbl_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbl_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const auto& b : buttons) {
        auto* button = new QToolButton(box);
        button->setObjectName(b.name);
        button->setText(QString::fromUtf8(b.glyph));
        button->setToolTip(QString::fromUtf8(b.hint));
        bar->addWidget(button);
        if (b.slot != nullptr) {
            connect(button, &QToolButton::clicked, this, b.slot);
        }
    }
    connect(Navigator("btnFirst"), &QToolButton::clicked, this, [this] { tbl_->selectRow(0); });
    connect(Navigator("btnLast"), &QToolButton::clicked, this,
            [this] { tbl_->selectRow(tbl_->rowCount() - 1); });
    connect(Navigator("btnPost"), &QToolButton::clicked, this, [this] { Post(); });
    bar->addStretch(1);
    btnSavePoints_ = new QPushButton(QStringLiteral("Сохранить"), box);
    btnSavePoints_->setObjectName(QStringLiteral("btnSavePoints"));
    btnLoad_ = new QPushButton(QStringLiteral("Загрузить"), box);
    btnLoad_->setObjectName(QStringLiteral("btnLoad"));
    btnSavePoints_->setAutoDefault(false);
    btnLoad_->setAutoDefault(false);
    connect(btnSavePoints_, &QPushButton::clicked, this, &ZoneDialog::SavePoints);
    connect(btnLoad_, &QPushButton::clicked, this, &ZoneDialog::LoadPoints);
    auto* files = new QHBoxLayout;
    files->addWidget(btnSavePoints_);
    files->addWidget(btnLoad_);
    column->addLayout(bar);
    column->addWidget(tbl_, 1);
    column->addLayout(files);
    return box;
}

QWidget* ZoneDialog::ParamRow(const char* name, const QString& label, double step) {
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(label, row);
    caption->setMinimumWidth(40);
    auto* field = new QDoubleSpinBox(row);
    field->setObjectName(name);
    field->setDecimals(2);
    field->setRange(-kParamLimit, kParamLimit);
    field->setSingleStep(step);
    line->addWidget(caption);
    line->addWidget(field, 1);
    connect(field, &QDoubleSpinBox::valueChanged, this, &ZoneDialog::btnOkClick);
    return row;
}

QWidget* ZoneDialog::Panel(const char* name, std::initializer_list<QWidget*> rows) {
    auto* panel = new QWidget(this);
    panel->setObjectName(name);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    for (QWidget* row : rows) {
        row->setParent(panel);
        column->addWidget(row);
    }
    return panel;
}

QWidget* ZoneDialog::BuildParameters() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(QStringLiteral("Тип характеристики:"), box));
    cbbType_ = new QComboBox(box);
    cbbType_->setObjectName(QStringLiteral("cbbType"));
    cbbType_->addItems({QStringLiteral("круговая"), QStringLiteral("эллиптическая"),
                        QStringLiteral("полигональная")});
    cbbType_->setCurrentIndex(-1);
    typeRow->addWidget(cbbType_, 1);
    column->addLayout(typeRow);
    pnlZWork_ = Panel("pnlZWork", {ParamRow("seZWork", QStringLiteral("Zср:"), 1.0)});
    pnlPolygon_ = Panel("pnlPolygon", {ParamRow("seRpr", QStringLiteral("Rпр:"), 1.0),
                                       ParamRow("seFpr", QStringLiteral("Фпр:"), 0.1),
                                       ParamRow("seXy", QStringLiteral("Xy:"), 0.1),
                                       ParamRow("sePolygonFMCh", QStringLiteral("Фмч:"), 0.1)});
    pnlEllipse_ = Panel("pnlEllipse", {ParamRow("seFMch", QStringLiteral("Фмч:"), 1.0),
                                       ParamRow("seK", QStringLiteral("K:"), 0.1)});
    for (QWidget* panel : {pnlZWork_, pnlPolygon_, pnlEllipse_}) {
        column->addWidget(panel);
    }
    connect(cbbType_, &QComboBox::currentIndexChanged, this, &ZoneDialog::cbbTypeChange);
    return box;
}

QDoubleSpinBox* ZoneDialog::Field(const char* name) const {
    return findChild<QDoubleSpinBox*>(QLatin1String(name));
}

QToolButton* ZoneDialog::Navigator(const char* name) const {
    return findChild<QToolButton*>(QLatin1String(name));
}

void ZoneDialog::cbbTypeChange() {
    const int type = cbbType_->currentIndex();
    pnlZWork_->setVisible(type == 0 || type == 1);
    pnlEllipse_->setVisible(type == 1);
    pnlPolygon_->setVisible(type == 2);
}

Zone ZoneDialog::Characteristic() const {
    const ZoneParams params{Field("seZWork")->value(), Field("seFMch")->value(),
                            Field("seK")->value(),     Field("seRpr")->value(),
                            Field("seFpr")->value(),   Field("seXy")->value()};
    return ComputeZone(static_cast<ZoneType>(cbbType_->currentIndex()), params);
}

void ZoneDialog::btnOkClick() {
    if (diagram_ == nullptr) {
        return;
    }
    const Zone zone = Characteristic();
    diagram_->SOZ_DZ()->SetPoints(Colored(zone.zone, kZoneColor));
    diagram_->SOZ_DZ_Off()->SetPoints(Colored(zone.zoneOff, kZoneOffColor));
    lblError_->setText(zone.error);
    lblError_->setVisible(!zone.error.isEmpty());
    const double length = ZoneScale(zone.zone);
    const double phasors = diagram_->GetMaxValue();
    diagram_->SetMaxMinAxisValue(length > phasors ? length : phasors);
}

void ZoneDialog::RedrawPolygon() {
    if (diagram_ == nullptr) {
        return;
    }
    std::vector<QPointF> line;
    for (const ZonePoint& p : UserPolygon(rows_)) {
        line.emplace_back(p.x, p.y);
    }
    diagram_->SLine()->SetPoints(std::move(line));
}

void ZoneDialog::ShowRows() {
    std::vector<ZoneTableRow> sorted = rows_;
    std::ranges::sort(sorted, [](const auto& a, const auto& b) { return a.id > b.id; });
    const int current = tbl_->currentRow();
    tbl_->setRowCount(0);
    for (const ZoneTableRow& row : sorted) {
        const int r = tbl_->rowCount();
        tbl_->insertRow(r);
        auto* id = new QTableWidgetItem(QString::number(row.id));
        id->setFlags(id->flags() & ~Qt::ItemIsEditable);
        tbl_->setItem(r, 0, id);
        tbl_->setItem(r, 1, new QTableWidgetItem(QString::number(row.x, 'g', 15)));
        tbl_->setItem(r, 2, new QTableWidgetItem(QString::number(row.y, 'g', 15)));
    }
    if (current >= 0 && current < tbl_->rowCount()) {
        tbl_->selectRow(current);
    }
}

void ZoneDialog::Insert() {
    // The numbers end below the largest int, so counting on never overflows.
    if (nextId_ == std::numeric_limits<int>::max()) {
        return;
    }
    // The new row goes on top, where the highest number stands; it counts once posted.
    tbl_->insertRow(0);
    auto* id = new QTableWidgetItem(QString::number(nextId_++));
    id->setFlags(id->flags() & ~Qt::ItemIsEditable);
    tbl_->setItem(0, 0, id);
    tbl_->setItem(0, 1, new QTableWidgetItem(QStringLiteral("0")));
    tbl_->setItem(0, 2, new QTableWidgetItem(QStringLiteral("0")));
    tbl_->setCurrentCell(0, 1);
}

void ZoneDialog::Delete() {
    const int row = tbl_->currentRow();
    if (row < 0) {
        return;
    }
    const int id = tbl_->item(row, 0)->text().toInt();
    std::erase_if(rows_, [id](const ZoneTableRow& r) { return r.id == id; });
    tbl_->removeRow(row);
}

bool ZoneDialog::Post() {
    std::vector<ZoneTableRow> rows;
    for (int r = 0; r < tbl_->rowCount(); ++r) {
        const auto x = CellNumber(tbl_->item(r, 1));
        const auto y = CellNumber(tbl_->item(r, 2));
        if (!x || !y) {
            lblError_->setText(QStringLiteral("Точка %1: X и Y должны быть числами")
                                   .arg(tbl_->item(r, 0)->text()));
            lblError_->show();
            return false;
        }
        rows.push_back({tbl_->item(r, 0)->text().toInt(), *x, *y});
    }
    std::ranges::sort(rows, [](const auto& a, const auto& b) { return a.id < b.id; });
    rows_ = std::move(rows);
    lblError_->hide();
    RedrawPolygon();
    return true;
}

void ZoneDialog::Cancel() {
    ShowRows();
}

void ZoneDialog::SavePoints() {
    const QString path = chooser_ ? chooser_(this, true) : QFileDialog::getSaveFileName(this);
    if (path.isEmpty()) {
        return;
    }
    try {
        SavePointsFile(path, rows_);
    } catch (const PointsFileError& e) {
        const QString text = QString::fromUtf8(e.what());
        MessagesOr(messages_).Show(MessageIcon::Error, QStringLiteral("Ошибка"), text);
    }
}

void ZoneDialog::LoadPoints() {
    const QString path = chooser_ ? chooser_(this, false) : QFileDialog::getOpenFileName(this);
    if (!path.isEmpty()) {
        try {
            rows_ = LoadPointsFile(path);
            nextId_ = 1;
            for (const ZoneTableRow& row : rows_) {
                nextId_ = std::max(nextId_, row.id + 1);
            }
            ShowRows();
        } catch (const PointsFileError& e) {
            const QString text = QString::fromUtf8(e.what());
            MessagesOr(messages_).Show(MessageIcon::Error, QStringLiteral("Ошибка"), text);
        }
    }
    RedrawPolygon();
}

void ZoneDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_ && diagram_ != nullptr) {
        centred_ = true;
        move(diagram_->frameGeometry().center() - rect().center());
    }
}

ZoneDialog* ZoneDialogOf(const PhasorDiagram* diagram) {
    return diagram != nullptr
               ? diagram->findChild<ZoneDialog*>(QString(), Qt::FindDirectChildrenOnly)
               : nullptr;
}

ZoneDialog* ShowZoneDialog(PhasorDiagram* diagram, MessageSink* messages) {
    ZoneDialog* dialog = ZoneDialogOf(diagram);
    if (dialog == nullptr) {
        dialog = new ZoneDialog(diagram, messages);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

}  // namespace faultscope
