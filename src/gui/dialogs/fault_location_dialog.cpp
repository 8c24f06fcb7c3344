#include "gui/dialogs/fault_location_dialog.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/record/load_error.h"
#include "gui/widgets/phase_triple_box.h"

namespace faultscope {
namespace {

constexpr double kFieldLimit = 1e6;

QString Number(double v, int decimals) {
    return QLocale().toString(v, 'f', decimals);
}

struct LineField {
    const char* name;
    const char* caption;
    int row;
    int column;
};

// R1 X1 on the first row, R0 X0 on the second, the length on the third.
constexpr LineField kLineFields[] = {
    {"seR1", "R1, Ом/км:", 0, 0}, {"seX1", "X1, Ом/км:", 0, 2},     {"seR0", "R0, Ом/км:", 1, 0},
    {"seX0", "X0, Ом/км:", 1, 2}, {"seLength", "Длина, км:", 2, 0},
};

}  // namespace

FaultLocationDialog::FaultLocationDialog(const LoadedRecord& record, QWidget* parent)
    : QWidget(parent, Qt::Tool), record_(record) {
    setObjectName(QStringLiteral("frmFaultLocation"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildLine());
    auto* rule = new QLabel(QString::fromUtf8(kRule), this);
    rule->setObjectName(QStringLiteral("lblRule"));
    rule->setWordWrap(true);
    layout->addWidget(rule);
    auto* buttons = new QHBoxLayout;
    btnCursor_ = new QPushButton(QStringLiteral("В курсор"), this);
    btnCursor_->setObjectName(QStringLiteral("btnCursor"));
    btnDefault_ = new QPushButton(QStringLiteral("По умолчанию"), this);
    btnDefault_->setObjectName(QStringLiteral("btnDefault"));
    buttons->addWidget(btnCursor_);
    buttons->addWidget(btnDefault_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(BuildResult());
    layout->addStretch(1);
    connect(btnCursor_, &QPushButton::clicked, this, &FaultLocationDialog::LocateAtCursor);
    connect(btnDefault_, &QPushButton::clicked, this, &FaultLocationDialog::LocateAtDefault);
    Locate();
}

QWidget* FaultLocationDialog::BuildLine() {
    auto* box = new QGroupBox(QStringLiteral("Линия"), this);
    auto* column = new QVBoxLayout(box);
    auto* grid = new QGridLayout;
    for (const LineField& f : kLineFields) {
        auto* field = new QDoubleSpinBox(box);
        field->setObjectName(QLatin1String(f.name));
        field->setDecimals(4);
        field->setRange(f.row == 2 ? 0.0 : -kFieldLimit, kFieldLimit);
        field->setSingleStep(f.row == 2 ? 1.0 : 0.01);
        grid->addWidget(new QLabel(QString::fromUtf8(f.caption), box), f.row, f.column);
        grid->addWidget(field, f.row, f.column + 1);
        connect(field, &QDoubleSpinBox::valueChanged, this, &FaultLocationDialog::LineEdited);
    }
    column->addLayout(grid);
    auto* channels = new QFormLayout;
    voltages_ = new PhaseTripleBox(record_.cfg, QuantityKind::Voltage, box);
    currents_ = new PhaseTripleBox(record_.cfg, QuantityKind::Current, box);
    channels->addRow(QStringLiteral("Напряжения:"), voltages_);
    channels->addRow(QStringLiteral("Токи:"), currents_);
    column->addLayout(channels);
    connect(voltages_, &PhaseTripleBox::changed, this, &FaultLocationDialog::LineEdited);
    connect(currents_, &PhaseTripleBox::changed, this, &FaultLocationDialog::LineEdited);
    return box;
}

QWidget* FaultLocationDialog::BuildResult() {
    auto* box = new QGroupBox(QStringLiteral("Результат"), this);
    auto* form = new QFormLayout(box);
    const auto label = [box](const char* name) {
        auto* text = new QLabel(box);
        text->setObjectName(QLatin1String(name));
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return text;
    };
    type_ = label("lblType");
    distance_ = label("lblDistance");
    impedance_ = label("lblImpedance");
    instant_ = label("lblInstant");
    reason_ = label("lblReason");
    reason_->setWordWrap(true);
    reason_->setStyleSheet(QStringLiteral("color: #b00000"));
    form->addRow(QStringLiteral("Вид повреждения:"), type_);
    form->addRow(QStringLiteral("Расстояние:"), distance_);
    form->addRow(QStringLiteral("Сопротивление петли:"), impedance_);
    form->addRow(QStringLiteral("Момент расчёта:"), instant_);
    form->addRow(reason_);
    return box;
}

QDoubleSpinBox* FaultLocationDialog::Field(const char* name) const {
    return findChild<QDoubleSpinBox*>(QLatin1String(name));
}

void FaultLocationDialog::SetSettings(const FaultLocationSettings& settings) {
    setting_ = true;
    Field("seR1")->setValue(settings.line.perKm.z1.real());
    Field("seX1")->setValue(settings.line.perKm.z1.imag());
    Field("seR0")->setValue(settings.line.perKm.z0.real());
    Field("seX0")->setValue(settings.line.perKm.z0.imag());
    Field("seLength")->setValue(settings.line.lengthKm);
    voltages_->SetChannelIds(settings.voltages);
    currents_->SetChannelIds(settings.currents);
    setting_ = false;
    Locate();
}

FaultLocationSettings FaultLocationDialog::Settings() const {
    FaultLocationSettings settings;
    settings.line.perKm.z1 = {Field("seR1")->value(), Field("seX1")->value()};
    settings.line.perKm.z0 = {Field("seR0")->value(), Field("seX0")->value()};
    settings.line.lengthKm = Field("seLength")->value();
    if (voltages_->HasChannels()) {
        settings.voltages = voltages_->ChannelIds();
    }
    if (currents_->HasChannels()) {
        settings.currents = currents_->ChannelIds();
    }
    return settings;
}

void FaultLocationDialog::LineEdited() {
    if (setting_) {
        return;
    }
    emit settingsChanged(Settings());
    Locate();
}

void FaultLocationDialog::LocateAtCursor() {
    atCursor_ = cursorSample_;
    Locate();
}

void FaultLocationDialog::LocateAtDefault() {
    atCursor_.reset();
    Locate();
}

void FaultLocationDialog::Locate() {
    report_ = {};
    const FaultLocationSettings settings = Settings();
    const std::optional<LineChannels> line =
        voltages_->HasChannels() && currents_->HasChannels()
            ? LineChannelsOf(record_.cfg, record_.data, voltages_->Triple().channels,
                             currents_->Triple().channels)
            : std::nullopt;
    const std::vector<double>& x = record_.data.xMs;
    if (!line) {
        report_.reason = "В осциллограмме нет напряжений (В, кВ) и токов (А, кА) фаз линии";
    } else if (settings.line.perKm.z1.imag() == 0.0 || settings.line.lengthKm == 0.0) {
        report_.reason = "Задайте X1 и длину линии";
    } else if (atCursor_ && (*atCursor_ < 0 || static_cast<std::size_t>(*atCursor_) >= x.size())) {
        report_.reason = "Курсор не установлен";
    } else {
        const std::optional<double> time =
            atCursor_ ? std::optional(x[static_cast<std::size_t>(*atCursor_)]) : std::nullopt;
        try {
            report_ = ReportFault(x, record_.data.timeAscending, *line, record_.cfg.freq,
                                  settings.line, time);
        } catch (const LoadError& e) {
            report_.reason = e.what();
        }
    }
    ShowReport();
}

void FaultLocationDialog::ShowReport() {
    const std::optional<FaultLocation>& found = report_.location;
    const std::string_view type = found ? FaultTypeName(found->type) : std::string_view();
    type_->setText(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())));
    distance_->setText(found ? QStringLiteral("%1 км (%2 % длины линии)")
                                   .arg(Number(found->distanceKm, 2), Number(found->percent, 1))
                             : QString());
    impedance_->setText(
        found ? QStringLiteral("R = %1 Ом, X = %2 Ом")
                    .arg(Number(found->impedance.real(), 3), Number(found->impedance.imag(), 3))
              : QString());
    const QString mode = atCursor_ ? QStringLiteral("в курсоре") : QStringLiteral("по умолчанию");
    instant_->setText(report_.sample ? QStringLiteral("t = %1 мс (%2)")
                                           .arg(Number(record_.data.xMs[*report_.sample], 2), mode)
                                     : QString());
    reason_->setText(QString::fromStdString(report_.reason));
    reason_->setVisible(!report_.reason.empty());
}

}  // namespace faultscope
