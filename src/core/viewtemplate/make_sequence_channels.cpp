#include "core/viewtemplate/make_sequence_channels.h"

#include "core/formula/formula_channel.h"
#include "core/viewtemplate/formula_channel_host.h"
#include "core/viewtemplate/view_template.h"

namespace faultscope {
namespace {

constexpr char kPhases[] = "D1, ANGLE1, D2, ANGLE2, D3, ANGLE3)";

SequenceChannel Channel(const QString& name, const QString& factor, int order) {
    const QString arguments = QString::number(order) + QStringLiteral(", ") + kPhases;
    return {name, factor + QStringLiteral("Seq(") + arguments,
            QStringLiteral("Angle_Seq(") + arguments};
}

QString FreeName(const FormulaChannelHost& host, const QString& name, const QString& circuit) {
    const auto taken = [&host](const QString& n) {
        return !host.FindChartByName(n.toStdString()).Empty();
    };
    if (!taken(name)) {
        return name;
    }
    const QString withCircuit = circuit.isEmpty() ? name : name + u' ' + circuit;
    QString candidate = withCircuit;
    for (int n = 2; taken(candidate); ++n) {
        candidate = withCircuit + QStringLiteral(" (%1)").arg(n);
    }
    return candidate;
}

}  // namespace

std::array<SequenceChannel, 3> SequenceChannelsOf(QuantityKind kind) {
    const QString letter =
        kind == QuantityKind::Voltage ? QStringLiteral("U") : QStringLiteral("I");
    return {Channel(letter + u'1', {}, 1), Channel(letter + u'2', {}, 2),
            Channel(u'3' + letter + u'0', QStringLiteral("3*"), 0)};
}

QStringList MakeSequenceChannels(ViewTemplate& viewTemplate, const FormulaChannelHost& host,
                                 const RecordConfig& cfg, const PhaseTriple& triple) {
    const AnalogChannel& phaseA = cfg.analog.at(triple.channels[0]);
    QStringList sources;
    for (const std::size_t c : triple.channels) {
        sources.push_back(QString::fromStdString(cfg.analog.at(c).ch_id));
    }
    const QString circuit = QString::fromStdString(phaseA.ccbm).trimmed();
    QStringList made;
    for (const SequenceChannel& channel : SequenceChannelsOf(KindOfUnit(phaseA.uu))) {
        const QString name = FreeName(host, channel.name, circuit);
        const AnalogChannel info = FormulaChannelInfo(
            phaseA, name.toStdString(), static_cast<std::uint32_t>(host.ChannelCount() + 1));
        if (viewTemplate.CreateSavedChart(sources, info, channel.formulaValue,
                                          channel.formulaAngle)) {
            viewTemplate.SaveCreateChart(sources, info, channel.formulaValue, channel.formulaAngle);
            made.push_back(name);
        }
    }
    if (!made.isEmpty()) {
        viewTemplate.SaveAnalogChannelView();
    }
    return made;
}

}  // namespace faultscope
