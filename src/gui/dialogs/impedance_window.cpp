#include "gui/dialogs/impedance_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "core/record/load_error.h"
#include "gui/chart/axis.h"
#include "gui/widgets/phase_triple_box.h"

namespace faultscope {
namespace {

QString Number(double v, int decimals) {
    return QLocale().toString(v, 'f', decimals);
}

}  // namespace

ImpedanceWindow::ImpedanceWindow(const LoadedRecord& record, const Axis& timeAxis,
                                 const std::optional<FaultLocationSettings>& lineData,
                                 QWidget* parent)
    : QWidget(parent, Qt::Tool), record_(record), timeAxis_(timeAxis) {
    setObjectName(QStringLiteral("frmImpedance"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    loop_ = new QComboBox(this);
    loop_->setObjectName(QStringLiteral("cbbLoop"));
    for (const FaultLoop loop : kImpedanceWindowLoops) {
        loop_->addItem(QString::fromUtf8(FaultLoopName(loop).data(),
                                         static_cast<qsizetype>(FaultLoopName(loop).size())));
    }
    voltages_ = new PhaseTripleBox(record.cfg, QuantityKind::Voltage, this);
    currents_ = new PhaseTripleBox(record.cfg, QuantityKind::Current, this);
    form->addRow(QStringLiteral("Петля:"), loop_);
    form->addRow(QStringLiteral("Напряжения:"), voltages_);
    form->addRow(QStringLiteral("Токи:"), currents_);
    layout->addLayout(form);
    auto* bar = new QHBoxLayout;
    btnZones_ = new QPushButton(QStringLiteral("Зоны из диаграмм"), this);
    btnZones_->setObjectName(QStringLiteral("btnZones"));
    btnZones_->setToolTip(
        QStringLiteral("Нанести характеристики, заданные в окнах зон круговых диаграмм"));
    bar->addWidget(btnZones_);
    zoneText_ = new QLabel(this);
    zoneText_->setObjectName(QStringLiteral("lblZone"));
    bar->addWidget(zoneText_, 1);
    layout->addLayout(bar);
    plane_ = new ImpedancePlane(this);
    layout->addWidget(plane_, 1);
    cursorText_ = new QLabel(this);
    cursorText_->setObjectName(QStringLiteral("lblCursor"));
    layout->addWidget(cursorText_);
    connect(loop_, &QComboBox::currentIndexChanged, this, &ImpedanceWindow::ComputeSeries);
    connect(voltages_, &PhaseTripleBox::changed, this, &ImpedanceWindow::ComputeSeries);
    connect(currents_, &PhaseTripleBox::changed, this, &ImpedanceWindow::ComputeSeries);
    connect(btnZones_, &QPushButton::clicked, this, &ImpedanceWindow::TakeZones);
    connect(&timeAxis_, &Axis::changed, this, &ImpedanceWindow::ShowRange);
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, plane_, &ImpedancePlane::CopyPicture);
    resize(560, 640);
    if (lineData) {
        SetLineData(*lineData);
    } else {
        ComputeSeries();
    }
}

void ImpedanceWindow::SetLineData(const FaultLocationSettings& lineData) {
    perKm_ = lineData.line.perKm;
    {
        const QSignalBlocker holdVoltages(voltages_);
        const QSignalBlocker holdCurrents(currents_);
        voltages_->SetChannelIds(lineData.voltages);
        currents_->SetChannelIds(lineData.currents);
    }
    ComputeSeries();
}

void ImpedanceWindow::ComputeSeries() {
    series_.clear();
    failure_.clear();
    const std::optional<LineChannels> line =
        voltages_->HasChannels() && currents_->HasChannels()
            ? LineChannelsOf(record_.cfg, record_.data, voltages_->Triple().channels,
                             currents_->Triple().channels)
            : std::nullopt;
    if (!line) {
        failure_ = QStringLiteral("В осциллограмме нет напряжений (В, кВ) и токов (А, кА) фаз");
    } else {
        const Phasor k0 = perKm_ ? ResidualCompensation(*perKm_) : Phasor();
        const FaultLoop loop = kImpedanceWindowLoops[std::max(0, loop_->currentIndex())];
        const std::span<const double> x = record_.data.xMs;
        try {
            series_ = ImpedanceSeries(x, *line, record_.cfg.freq, loop, k0, 0, x.size());
        } catch (const LoadError& e) {
            failure_ = QString::fromUtf8(e.what());
        }
    }
    ShowRange();
    plane_->FitView();
    ShowCursor();
}

void ImpedanceWindow::ShowRange() {
    const std::vector<double>& x = record_.data.xMs;
    std::size_t first = 0;
    std::size_t last = x.empty() ? 0 : x.size() - 1;
    if (record_.data.timeAscending && !x.empty()) {
        first =
            static_cast<std::size_t>(std::ranges::lower_bound(x, timeAxis_.Minimum()) - x.begin());
        const auto end = std::ranges::upper_bound(x, timeAxis_.Maximum()) - x.begin();
        last = end > 0 ? static_cast<std::size_t>(end - 1) : 0;
    }
    plane_->SetTrajectory(first <= last && !series_.empty()
                              ? TrajectoryOf(series_, x, record_.cfg.freq, first, last)
                              : ImpedanceTrajectory{});
    if (!plane_->ViewMoved()) {
        plane_->FitView();
    }
    ShowZoneEntry();
}

void ImpedanceWindow::SetCursorSample(std::ptrdiff_t sample) {
    cursorSample_ = sample;
    ShowCursor();
}

void ImpedanceWindow::ShowCursor() {
    if (!failure_.isEmpty()) {
        cursorText_->setText(failure_);
        plane_->SetCursorPoint(std::nullopt);
        return;
    }
    const bool inside =
        cursorSample_ >= 0 && static_cast<std::size_t>(cursorSample_) < series_.size();
    const std::optional<Phasor> z =
        inside ? series_[static_cast<std::size_t>(cursorSample_)] : std::nullopt;
    plane_->SetCursorPoint(z);
    if (!inside) {
        cursorText_->clear();
        return;
    }
    const QString time =
        QStringLiteral("t = %1 мс")
            .arg(Number(record_.data.xMs[static_cast<std::size_t>(cursorSample_)], 2));
    cursorText_->setText(z ? QStringLiteral("%1    R = %2 Ом    X = %3 Ом")
                                 .arg(time, Number(z->real(), 3), Number(z->imag(), 3))
                           : time + QStringLiteral("    сопротивление не определено"));
}

void ImpedanceWindow::TakeZones() {
    plane_->SetZones(zoneSource_ ? zoneSource_() : std::vector<ZoneOutline>());
    plane_->FitView();
    ShowZoneEntry();
}

void ImpedanceWindow::ShowZoneEntry() {
    const std::vector<ZoneOutline>& zones = plane_->Zones();
    if (zones.empty()) {
        zoneText_->clear();
        return;
    }
    const std::vector<TrajectoryPoint>& path = plane_->Trajectory().path;
    std::vector<ZonePoint> points;
    points.reserve(path.size());
    for (const TrajectoryPoint& p : path) {
        points.push_back({p.z.real(), p.z.imag()});
    }
    std::optional<std::size_t> entry;
    for (const ZoneOutline& zone : zones) {
        const std::vector<std::size_t> inside = PointsInsideZone(zone.ring, points);
        if (!inside.empty() && (!entry || path[inside.front()].sample < *entry)) {
            entry = path[inside.front()].sample;
        }
    }
    zoneText_->setText(
        entry ? QStringLiteral("Вход в зону: t = %1 мс").arg(Number(record_.data.xMs[*entry], 2))
              : QStringLiteral("Траектория не входит в зоны"));
}

}  // namespace faultscope
