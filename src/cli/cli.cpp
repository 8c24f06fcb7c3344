#include "cli/cli.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <optional>
#include <thread>
#include <type_traits>

#include "cli/command_support.h"
#include "cli/impedance_command.h"
#include "cli/locate_command.h"
#include "cli/record_commands.h"
#include "cli/sequence_command.h"
#include "cli/summary_command.h"
#include "core/analysis/harmonic_trace.h"
#include "core/analysis/harmonics.h"
#include "core/analysis/harmonics_at.h"
#include "core/formula/formula_channel.h"
#include "core/formula/formula_error.h"
#include "core/record/load_error.h"
#include "core/record/native_file.h"
#include "core/record/nearest_sample.h"
#include "core/session/record_cut.h"
#include "core/session/record_session.h"
#include "core/settings/ini_store.h"
#include "core/settings/settings_folder.h"
#include "core/viewtemplate/view_template.h"

namespace faultscope::cli {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  faultscope-cli info RECORD [--encoding windows|cp866] [--no-template]\n"
    "  faultscope-cli harmonics RECORD --channel ID [--encoding windows|cp866] [--no-template]\n"
    "  faultscope-cli formula RECORD --sources ID1,ID2,... --value FORMULA [--angle FORMULA]\n"
    "                 [--encoding windows|cp866] [--no-template]\n"
    "  faultscope-cli phasors RECORD (--time MS | --sample N) [--encoding windows|cp866]\n"
    "  faultscope-cli events RECORD [--encoding windows|cp866]\n"
    "  faultscope-cli cut RECORD --from MS --to MS --out BASE [--csv FILE]\n"
    "                 [--encoding windows|cp866]\n"
    "  faultscope-cli sequence RECORD --channels A,B,C [--encoding windows|cp866]\n"
    "  faultscope-cli impedance RECORD --loop AN|BN|CN|AB|BC|CA --voltages UA,UB,UC\n"
    "                 --currents IA,IB,IC [--z1 R,X --z0 R,X] [--encoding windows|cp866]\n"
    "  faultscope-cli locate RECORD --voltages UA,UB,UC --currents IA,IB,IC --z1 R,X --z0 R,X\n"
    "                 --length KM [--time MS] [--encoding windows|cp866]\n"
    "  faultscope-cli summary RECORD... [--jobs N] [--encoding windows|cp866] [--no-template]\n"
    "  faultscope-cli --help | --version\n"
    "\n"
    "RECORD is either file of a COMTRADE pair (.cfg or .dat). The formula channels saved in\n"
    "the record's view template (.lyt beside it) are made as the window makes them and\n"
    "follow the recorded analog channels; --no-template ignores that file.\n"
    "info       loads the record and prints its description as key: value lines; a formula\n"
    "           channel's line ends with its formulas.\n"
    "harmonics  prints one analog channel as CSV: the value and the RMS of harmonics 1, 2,\n"
    "           3 and 5 and the angle of the fundamental at every sample. ID is the\n"
    "           channel's identifier or its number, or a formula channel's name.\n"
    "formula    computes a channel from a formula over source channels (S1, D1, ANGLE1 name\n"
    "           the first source, S2… the second; an empty name leaves its slot empty) and\n"
    "           prints it as harmonics does; --angle replaces the angle column.\n"
    "phasors    prints the phasor of every analog channel as CSV at one sample: the sample\n"
    "           nearest to MS milliseconds from the trigger, or sample N (counted from 0).\n"
    "           The angle is 65535 where it is undefined.\n"
    "events     prints every state change of the discrete channels after the first sample\n"
    "           as CSV, in time order: sample (from 0), time_ms, datetime (to the\n"
    "           microsecond), channel, state (the new one).\n"
    "cut        writes the samples whose time lies in [--from, --to] (milliseconds from the\n"
    "           trigger) as a new COMTRADE pair BASE.cfg/BASE.dat, and with --csv also as\n"
    "           CSV of every channel. Each file is written whole or not at all.\n"
    "sequence   prints the symmetrical components of the channels of phases A, B and C\n"
    "           (identifiers or numbers, one unit) as CSV at every sample: RMS and angle of\n"
    "           I1, I2 and I0 (I0 itself, not 3I0) from the one-cycle fundamental phasors.\n"
    "           Where a phase's window holds a sample out of range the magnitudes are\n"
    "           empty and the angles 65535.\n"
    "impedance  prints the impedance of one loop as CSV at every sample, R and X in ohms on\n"
    "           the recorded side (units V, kV, A, kA honoured): (Ua-Ub)/(Ia-Ib) for AB,\n"
    "           Ua/(Ia+k0*3I0) for AN with k0 = (Z0-Z1)/(3*Z1) from the line's impedances\n"
    "           per km (k0 = 0 without them). R and X are empty where the window holds a\n"
    "           sample out of range or the loop current is under 5 % of its largest value.\n"
    "locate     prints the fault's type and distance as CSV (one row). The pre-fault\n"
    "           current of a phase is its fundamental RMS at the end of the record's first\n"
    "           full cycle; the fault begins at the first later sample where a phase\n"
    "           current exceeds twice its pre-fault value, and is evaluated one and a half\n"
    "           cycles after that, or at the sample nearest to --time MS. A phase is faulted\n"
    "           when its current exceeds twice its pre-fault value and half the largest\n"
    "           phase current; ground is involved when |3I0| exceeds 10 % of the largest\n"
    "           phase current; three faulted phases are ABC. The distance is the measuring\n"
    "           loop's X over X1 per km (loop AB for ABC, the two phases' loop for a\n"
    "           two-phase-to-ground fault), in km and in % of the length. Exit status 1\n"
    "           when no fault is found.\n"
    "summary    prints one JSON object per record on a line of its own, in the order given:\n"
    "           file, station, device, trigger (to the microsecond), duration_ms, samples;\n"
    "           analog: per channel its largest fundamental RMS rms1 and its time_ms (null\n"
    "           when every window holds a sample out of range); pickup and trip: the first\n"
    "           change to 1 of a channel whose name holds \"Пуск\", \"pickup\" or \"start\",\n"
    "           and of one whose name holds \"Срабатывание\", \"Отключение\" or \"trip\"\n"
    "           (any letter case; a pick-up word wins), as channel and time_ms, or null;\n"
    "           fault: null unless the record's .lyt has a [FaultLocation] section (R1, X1,\n"
    "           R0, X0 per km, LengthKm, Voltages and Currents as A,B,C), else type,\n"
    "           time_ms, distance_km, percent, r, x as locate finds them, or error. A record\n"
    "           that fails gives {\"file\", \"error\"} and exit status 1, and the others\n"
    "           follow. N records (default: the hardware threads) are summarised at once;\n"
    "           --no-template gives every record fault null.\n";

struct Arguments {
    std::string command;
    std::string record;
    std::string channel;
    std::vector<std::string> sources;
    std::string value;
    std::optional<std::string> angle;
    std::optional<double> timeMs;
    std::optional<std::size_t> sample;
    std::optional<double> fromMs;
    std::optional<double> toMs;
    std::string out;
    std::string csv;
    std::vector<std::string> channels;
    std::vector<std::string> voltages;
    std::vector<std::string> currents;
    std::optional<FaultLoop> loop;
    std::optional<Phasor> z1;
    std::optional<Phasor> z0;
    std::optional<double> lengthKm;
    std::vector<std::string> records;  // of summary, the only command that takes several
    std::optional<unsigned> jobs;
    TextEncoding encoding = TextEncoding::Windows;
    bool useTemplate = true;
};

// The formula channels saved with a record, made again over it.
struct TemplateChannels {
    const FormulaChannelStore* store = nullptr;
    std::vector<SavedChart> saved;  // the definition of (*store)[i]
    QStringList failed;             // the template's channels that could not be made

    [[nodiscard]] std::size_t size() const noexcept { return store != nullptr ? store->size() : 0; }
};

std::vector<std::string> SplitSources(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        names.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) {
            return names;
        }
        start = comma + 1;
    }
}

TextEncoding ParseEncoding(const std::string& name) {
    const QString n = QString::fromStdString(name).toLower();
    if (n == "windows") {
        return TextEncoding::Windows;
    }
    if (n == "cp866") {
        return TextEncoding::Cp866;
    }
    throw UsageError("unknown encoding: " + name);
}

template <typename T>
T ParseNumber(const std::string& option, const std::string& text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        throw UsageError(option + " needs a number: " + text);
    }
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) {
            throw UsageError(option + " needs a finite number: " + text);
        }
    }
    return value;
}

// An impedance per km written "R,X".
Phasor ParseImpedance(const std::string& option, const std::string& text) {
    const std::vector<std::string> parts = SplitSources(text);
    if (parts.size() != 2) {
        throw UsageError(option + " needs R,X: " + text);
    }
    return {ParseNumber<double>(option, parts[0]), ParseNumber<double>(option, parts[1])};
}

FaultLoop ParseLoop(const std::string& text) {
    const std::optional<FaultLoop> loop = ParseFaultLoop(text);
    if (!loop) {
        throw UsageError("--loop needs one of AN, BN, CN, AB, BC, CA: " + text);
    }
    return *loop;
}

bool IsLineCommand(const std::string& command) {
    return command == "impedance" || command == "locate";
}

// The options of the commands that analyse phase triples; false for an option of none of them.
bool ParseLineOption(Arguments& a, const std::string& arg, const std::string& value) {
    if (arg == "--channels" && a.command == "sequence") {
        a.channels = SplitSources(value);
    } else if (arg == "--loop" && a.command == "impedance") {
        a.loop = ParseLoop(value);
    } else if (arg == "--voltages" && IsLineCommand(a.command)) {
        a.voltages = SplitSources(value);
    } else if (arg == "--currents" && IsLineCommand(a.command)) {
        a.currents = SplitSources(value);
    } else if (arg == "--z1" && IsLineCommand(a.command)) {
        a.z1 = ParseImpedance(arg, value);
    } else if (arg == "--z0" && IsLineCommand(a.command)) {
        a.z0 = ParseImpedance(arg, value);
    } else if (arg == "--length" && a.command == "locate") {
        a.lengthKm = ParseNumber<double>(arg, value);
    } else if (arg == "--time" && a.command == "locate") {
        a.timeMs = ParseNumber<double>(arg, value);
    } else {
        return false;
    }
    return true;
}

void CheckLineArguments(const Arguments& a) {
    if (a.command == "sequence" && a.channels.empty()) {
        throw UsageError("sequence needs --channels A,B,C");
    }
    if (!IsLineCommand(a.command)) {
        return;
    }
    if (a.command == "impedance" && !a.loop) {
        throw UsageError("impedance needs --loop");
    }
    if (a.voltages.empty() || a.currents.empty()) {
        throw UsageError(a.command + " needs --voltages UA,UB,UC and --currents IA,IB,IC");
    }
    if (a.z1.has_value() != a.z0.has_value() || (a.command == "locate" && !a.z1)) {
        throw UsageError(a.command == "locate" ? "locate needs --z1 R,X and --z0 R,X"
                                               : "--z1 and --z0 go together");
    }
    if (a.z1 && a.z1->imag() == 0.0) {
        throw UsageError("--z1 needs a reactance X that is not zero");
    }
    if (a.command == "locate" && !(a.lengthKm > 0.0)) {
        throw UsageError("locate needs --length KM, a positive number");
    }
}

Arguments ParseArguments(const std::vector<std::string>& args) {
    if (args.empty()) {
        throw UsageError("no command given");
    }
    Arguments a;
    a.command = args[0];
    if (a.command != "info" && a.command != "harmonics" && a.command != "formula" &&
        a.command != "phasors" && a.command != "events" && a.command != "cut" &&
        a.command != "sequence" && a.command != "summary" && !IsLineCommand(a.command)) {
        throw UsageError("unknown command: " + a.command);
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--encoding" && hasValue) {
            a.encoding = ParseEncoding(args[++i]);
        } else if (arg == "--no-template") {
            a.useTemplate = false;
        } else if (arg == "--channel" && hasValue && a.command == "harmonics") {
            a.channel = args[++i];
        } else if (arg == "--sources" && hasValue && a.command == "formula") {
            a.sources = SplitSources(args[++i]);
        } else if (arg == "--value" && hasValue && a.command == "formula") {
            a.value = args[++i];
        } else if (arg == "--angle" && hasValue && a.command == "formula") {
            a.angle = args[++i];
        } else if (arg == "--time" && hasValue && a.command == "phasors") {
            a.timeMs = ParseNumber<double>(arg, args[++i]);
        } else if (arg == "--sample" && hasValue && a.command == "phasors") {
            a.sample = ParseNumber<std::size_t>(arg, args[++i]);
        } else if (arg == "--from" && hasValue && a.command == "cut") {
            a.fromMs = ParseNumber<double>(arg, args[++i]);
        } else if (arg == "--to" && hasValue && a.command == "cut") {
            a.toMs = ParseNumber<double>(arg, args[++i]);
        } else if (arg == "--out" && hasValue && a.command == "cut") {
            a.out = args[++i];
        } else if (arg == "--csv" && hasValue && a.command == "cut") {
            a.csv = args[++i];
        } else if (arg == "--jobs" && hasValue && a.command == "summary") {
            a.jobs = ParseNumber<unsigned>(arg, args[++i]);
        } else if (hasValue && ParseLineOption(a, arg, args[i + 1])) {
            ++i;
        } else if (a.command == "summary" && !arg.starts_with("--")) {
            a.records.push_back(arg);
        } else if (arg.starts_with("--") || !a.record.empty()) {
            throw UsageError("unexpected argument: " + arg);
        } else {
            a.record = arg;
        }
    }
    if (a.record.empty() && a.records.empty()) {
        throw UsageError("no record given");
    }
    if (a.jobs == 0U) {
        throw UsageError("--jobs needs a number of records at once, at least 1");
    }
    if (a.command == "harmonics" && a.channel.empty()) {
        throw UsageError("harmonics needs --channel ID");
    }
    if (a.command == "formula" && (a.sources.empty() || a.sources[0].empty())) {
        throw UsageError("formula needs --sources with a first source");
    }
    if (a.command == "formula" && a.value.empty()) {
        throw UsageError("formula needs --value FORMULA");
    }
    if (a.command == "phasors" && a.timeMs.has_value() == a.sample.has_value()) {
        throw UsageError("phasors needs either --time MS or --sample N");
    }
    if (a.command == "cut" && (!a.fromMs || !a.toMs || a.out.empty())) {
        throw UsageError("cut needs --from MS, --to MS and --out BASE");
    }
    CheckLineArguments(a);
    return a;
}

std::string IsoTime(const DateTime& t) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond);
    return buf;
}

void PrintAnalog(std::size_t n, const AnalogChannel& c, const AnalogColumns& col,
                 std::ostream& out) {
    const std::size_t gaps = col.Samples().CountGaps();
    out << "analog_" << n << ": number=" << c.An << "; id=" << c.ch_id << "; ph=" << c.ph
        << "; ccbm=" << c.ccbm << "; unit=" << c.uu << "; a=" << ShortestNumber(c.a)
        << "; b=" << ShortestNumber(c.b) << "; min=" << c.min << "; max=" << c.max
        << "; ps=" << (c.PS == TPS::P ? "P" : "S") << "; reserve=" << (c.ReserveChannel ? 1 : 0)
        << "; gaps=" << gaps;
}

void PrintChannels(const LoadedRecord& r, const TemplateChannels& made, std::ostream& out) {
    const std::size_t recorded = r.cfg.analog.size();
    for (std::size_t i = 0; i < recorded; ++i) {
        PrintAnalog(i + 1, r.cfg.analog[i], r.data.analog[i], out);
        out << '\n';
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        const FormulaChannelColumns& channel = (*made.store)[i];
        PrintAnalog(recorded + i + 1, channel.info, channel.columns, out);
        out << "; formula=" << made.saved[i].formulaValue.toStdString()
            << "; angle=" << made.saved[i].formulaAngle.toStdString() << '\n';
    }
    for (std::size_t i = 0; i < r.cfg.digital.size(); ++i) {
        const DigitalChannel& c = r.cfg.digital[i];
        const DiscreteColumns& col = r.data.discrete[i];
        // As "Только сработавшие" counts them: the state a channel starts in is no change.
        const std::size_t changes =
            col.hasStrip && !r.data.xMs.empty() ? StateChangeCount(col, r.data.xMs.front()) : 0;
        out << "digital_" << i + 1 << ": number=" << c.Dn << "; id=" << c.ch_id << "; ph=" << c.ph
            << "; ccbm=" << c.ccbm << "; normal=" << (c.y ? 1 : 0)
            << "; strip=" << (col.hasStrip ? 1 : 0) << "; changes=" << changes << '\n';
    }
}

void PrintInfo(const LoadedRecord& r, const TemplateChannels& made, std::ostream& out) {
    const RecordConfig& c = r.cfg;
    const auto& x = r.data.xMs;
    out << "station: " << c.station_name << '\n'
        << "device: " << c.rec_dev_id << '\n'
        << "revision: " << c.rev_year << '\n'
        << "channels: " << c.TT << '\n'
        << "analog: " << c.a << '\n'
        << "digital: " << c.D << '\n'
        << "frequency: " << ShortestNumber(c.freq) << '\n'
        << "samp: " << ShortestNumber(c.samp) << '\n'
        << "endsamp: " << c.endsamp << '\n'
        << "first: " << IsoTime(c.dt_First) << '\n'
        << "trigger: " << IsoTime(c.dt_Trigger) << '\n'
        << "timemult: " << ShortestNumber(c.timemult) << '\n'
        << "time_ms: "
        << (x.empty() ? "" : ShortestNumber(x.front()) + " " + ShortestNumber(x.back())) << '\n';
    PrintChannels(r, made, out);
}

// Every sample of one channel with its harmonic analysis, computed in double as the lines are
// written: nothing of the analysis is kept. A formula channel's angle is its angle formula's.
void PrintColumns(const LoadedRecord& r, const AnalogColumns& c, std::string_view channelId,
                  std::ostream& out) {
    const std::vector<double> y = c.Values();
    const std::span<const double> x = std::span<const double>(r.data.xMs).first(y.size());
    // Refused before the first line, as a fill of the whole channel would be.
    CheckHarmonicAnalysis(x, r.cfg.freq, channelId);
    out << "sample,time_ms,value,gap";
    for (const int order : kHarmonicOrders) {
        out << ",rms" << order;
    }
    out << ",angle\n";
    std::string line;
    const SampleColumn samples = c.Samples();
    const auto print = [&](std::size_t i, const HarmonicSums& sums) {
        line = std::to_string(i) + ',' + Fixed6(x[i]) + ',' + Fixed6(samples[i]) + ',' +
               (samples.IsGap(i) ? '1' : '0');
        // Over a gap the magnitudes are left empty and the angle is undefined.
        for (std::size_t k = 0; k < kHarmonicOrders.size(); ++k) {
            line += ',' + (sums.overGap ? std::string() : Fixed6(HarmonicRms(sums, k)));
        }
        const double angle = i < c.formulaAngle.size() ? c.formulaAngle[i]
                             : sums.overGap            ? kUndefinedAngle
                                                       : FundamentalAngle(sums.re[0], sums.im[0]);
        line += ',' + Fixed6(RoundedAngle(angle, 6)) + '\n';
        out << line;
        CheckWritten(out);
    };
    VisitHarmonicSums(x, y, r.cfg.freq, print, channelId, nullptr, GapSamples(samples));
}

// The channels named as sources, by slot; the message of a name that is not in the record.
std::vector<std::optional<std::size_t>> FindSources(const LoadedRecord& r, const Arguments& a) {
    std::vector<std::optional<std::size_t>> sources;
    for (const std::string& name : a.sources) {
        if (name.empty()) {
            sources.emplace_back();
            continue;
        }
        const std::optional<std::size_t> index = FindChannel(r.cfg, name);
        if (!index) {
            throw LoadError("Графика с именем " + name + " нет в открытой осцилограмме.");
        }
        sources.push_back(index);
    }
    return sources;
}

int ComputeFormula(const Arguments& a, RecordSession& session, std::ostream& out,
                   std::ostream& err) {
    const LoadedRecord& r = session.Record();
    const auto sources = FindSources(r, a);
    std::vector<std::size_t> analysed;
    for (const auto& source : sources) {
        if (source) {
            analysed.push_back(*source);
        }
    }
    // The formula may read the sources' fundamental, which is analysed only when asked for.
    if (!analysed.empty()) {
        session.AnalyseMissing(HarmonicPart::Fundamental, analysed);
    }
    constexpr std::string_view kName = "Формула";
    try {
        // The new channel's analysis is printed as it is computed; it is checked before the
        // angle formula runs, as a fill would be.
        const FormulaChannel channel = ComputeFormulaChannel(
            r.data, r.cfg, sources, kName, a.value, a.angle.value_or(""), [&](AnalogColumns& c) {
                CheckHarmonicAnalysis(std::span<const double>(r.data.xMs).first(c.size()),
                                      r.cfg.freq, kName);
            });
        PrintColumns(r, channel.columns, kName, out);
        return 0;
    } catch (const FormulaError& e) {
        // The library's own message, or which formula failed where and why.
        err << e.what() << '\n';
    } catch (const LoadError& e) {
        err << e.what() << '\n';
    }
    err << kChartNotCreated << '\n';
    return 1;
}

// The sample the phasors are read at: the one nearest to the time, as a click finds it, or the
// one named.
std::size_t PhasorSample(const Arguments& a, const LoadedRecord& r) {
    const std::size_t count = r.data.SampleCount();
    if (a.sample) {
        if (*a.sample >= count) {
            throw UsageError("--sample " + std::to_string(*a.sample) +
                             " is outside the record (samples 0.." + std::to_string(count - 1) +
                             ")");
        }
        return *a.sample;
    }
    const std::ptrdiff_t nearest = NearestSample(r.data.xMs, r.data.timeAscending, *a.timeMs);
    if (nearest < 0) {
        throw UsageError("the record has no samples");
    }
    return static_cast<std::size_t>(nearest);
}

void PrintPhasors(const Arguments& a, const LoadedRecord& r, std::ostream& out) {
    const std::size_t i = PhasorSample(a, r);
    const std::size_t channels = std::min(r.data.analog.size(), r.cfg.analog.size());
    // Read at the sample from the one-cycle sums in double, as the vector diagram reads them.
    std::vector<HarmonicReading> readings;
    for (std::size_t c = 0; c < channels; ++c) {
        const AnalogChannel& info = r.cfg.analog[c];
        CheckHarmonicAnalysis(r.data.xMs, r.cfg.freq, info.ch_id);
        readings.push_back(
            ReadHarmonicsAt(r.data.xMs, r.data.analog[c], r.cfg.freq, i, info.ch_id).value());
    }
    out << "channel,unit,sample,time_ms,rms1,angle\n";
    for (std::size_t c = 0; c < channels; ++c) {
        const AnalogChannel& info = r.cfg.analog[c];
        out << info.ch_id << ',' << info.uu << ',' << i << ',' << Fixed6(r.data.xMs[i]) << ','
            << (std::isnan(readings[c].rms[0]) ? std::string() : Fixed6(readings[c].rms[0])) << ','
            << Fixed6(RoundedAngle(readings[c].angle, 6)) << '\n';
    }
}

void PrintWarnings(const std::vector<std::string>& warnings, std::ostream& err) {
    for (const std::string& warning : warnings) {
        err << "faultscope-cli: " << warning << '\n';
    }
}

// A formula channel of the template by its exact name, or by its name without blanks around.
const AnalogColumns* FindMadeChannel(const TemplateChannels& made, const std::string& id) {
    for (const bool trimmed : {false, true}) {
        for (std::size_t i = 0; i < made.size(); ++i) {
            const std::string& name = (*made.store)[i].info.ch_id;
            if (trimmed
                    ? QString::fromStdString(name).trimmed() == QString::fromStdString(id).trimmed()
                    : name == id) {
                return &(*made.store)[i].columns;
            }
        }
    }
    return nullptr;
}

// Makes the formula channels of the record's template as the window does when it opens the
// record; what cannot be made is told on `err` and left out.
TemplateChannels MakeTemplateChannels(RecordSession& session, MessageSink& say, std::ostream& err) {
    session.OpenTemplate(say);
    session.MakeSavedFormulaChannels();
    TemplateChannels made{.store = &session.FormulaChannels()};
    for (std::size_t i = 0; i < made.size(); ++i) {
        const QString name = QString::fromStdString((*made.store)[i].info.ch_id);
        made.saved.push_back(
            ReadSavedChart(session.Template()->Ini(), name).value_or(SavedChart{}));
    }
    const IniStore& ini = session.Template()->Ini();
    for (const QString& key : ini.ReadSection(kChartCreateSection)) {
        const QString name = ini.ReadString(kChartCreateSection, key);
        if (FindMadeChannel(made, name.toStdString()) == nullptr) {
            made.failed.append(name);
            err << "faultscope-cli: the template's channel " << name.toStdString()
                << " was not made\n";
        }
    }
    PrintWarnings(session.TakeTraceWarnings(), err);
    return made;
}

int Execute(const Arguments& a, const QString& traceFolder, std::ostream& out, std::ostream& err) {
    MessageCallback say([&err](MessageIcon, const QString&, const QString& text) {
        err << "faultscope-cli: " << text.toStdString() << '\n';
    });
    RecordSession session(traceFolder);
    session.Load(PathFromNative(a.record), {.encoding = a.encoding});
    PrintWarnings(session.TakeRecordWarnings(), err);
    const LoadedRecord& record = session.Record();
    if (a.command == "events") {
        PrintEvents(record, out);
        return 0;
    }
    if (a.command == "cut") {
        WriteCut(record, *a.fromMs, *a.toMs, PathFromNative(a.out),
                 a.csv.empty() ? QString() : PathFromNative(a.csv), a.encoding, out);
        return 0;
    }
    TemplateChannels made;
    // The phase triples' commands read recorded channels only.
    if (a.useTemplate && a.command != "formula" && a.command != "sequence" &&
        !IsLineCommand(a.command)) {
        made = MakeTemplateChannels(session, say, err);
    }
    if (a.command == "info") {
        PrintInfo(record, made, out);
        return 0;
    }
    if (a.command == "phasors") {
        PrintPhasors(a, record, out);
        return 0;
    }
    if (a.command == "sequence") {
        PrintSequence(record, FindPhaseChannels(record.cfg, "--channels", a.channels), out);
        return 0;
    }
    if (a.command == "impedance") {
        const auto line = a.z1 ? std::optional<LineImpedance>({*a.z1, *a.z0}) : std::nullopt;
        PrintImpedance(record,
                       {*a.loop, FindPhaseChannels(record.cfg, "--voltages", a.voltages),
                        FindPhaseChannels(record.cfg, "--currents", a.currents), line},
                       out);
        return 0;
    }
    if (a.command == "locate") {
        return PrintFaultLocation(record,
                                  {FindPhaseChannels(record.cfg, "--voltages", a.voltages),
                                   FindPhaseChannels(record.cfg, "--currents", a.currents),
                                   {{*a.z1, *a.z0}, *a.lengthKm},
                                   a.timeMs},
                                  out, err);
    }
    if (a.command == "formula") {
        const int status = ComputeFormula(a, session, out, err);
        PrintWarnings(session.TakeRecordWarnings(), err);
        return status;
    }
    const std::optional<std::size_t> channel = FindChannel(record.cfg, a.channel);
    const AnalogColumns* columns =
        channel ? &record.data.analog[*channel] : FindMadeChannel(made, a.channel);
    if (columns == nullptr && made.failed.contains(QString::fromStdString(a.channel))) {
        err << "faultscope-cli: the template's channel " << a.channel << " was not made\n";
        return 1;
    }
    if (columns == nullptr) {
        throw UsageError("the record has no analog channel " + a.channel);
    }
    PrintColumns(record, *columns, channel ? record.cfg.analog[*channel].ch_id : a.channel, out);
    return 0;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Run(args, SettingsFolder(), out, err);
}

int Run(const std::vector<std::string>& args, const QString& traceFolder, std::ostream& out,
        std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << "faultscope-cli " << FAULTSCOPE_VERSION << '\n';
        return 0;
    }
    Arguments parsed;
    try {
        parsed = ParseArguments(args);
        const int status = parsed.command == "summary"
                               ? RunSummary({.records = parsed.records,
                                             .encoding = parsed.encoding,
                                             .traceFolder = traceFolder,
                                             .jobs = parsed.jobs.value_or(
                                                 std::max(std::thread::hardware_concurrency(), 1U)),
                                             .useTemplate = parsed.useTemplate},
                                            out, err)
                               : Execute(parsed, traceFolder, out, err);
        out.flush();
        CheckWritten(out);
        return status;
    } catch (const OutputError& e) {
        err << "faultscope-cli: " << e.what() << '\n';
        return 1;
    } catch (const UsageError& e) {
        err << "faultscope-cli: " << e.what() << "\n\n" << kUsage;
        return 2;
    } catch (const LoadError& e) {
        err << e.what() << '\n';
        return 1;
    } catch (const CutError& e) {
        err << e.what() << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        err << "Недостаточно памяти для загрузки осциллограммы\n";
        return 1;
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
}

}  // namespace faultscope::cli
