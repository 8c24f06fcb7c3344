// Writes the demo record: a single-phase-to-ground fault on phase A of a 110 kV line, cleared
// by the breaker of phase A about 60 ms after the trigger, followed by the start of reclosing.
#include <QCoreApplication>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "record_writer.h"

namespace {

using faultscope::tools::AnalogSpec;
using faultscope::tools::DigitalSpec;
using faultscope::tools::RecordSpec;

constexpr double kRate = 2000.0;
constexpr double kPreMs = 100.0;
constexpr double kOpenMs = 60.0;  // phase A current is interrupted at its first zero after this
constexpr double kCurrentScale = 0.5;    // A per count
constexpr double kVoltageScale = 0.005;  // kV per count

RecordSpec DemoSpec() {
    RecordSpec s;
    s.station = "ПС 110 кВ Северная";
    s.device = "РЗА ВЛ-110 Северная-Заречная";
    const char* ph[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        s.analog.push_back(
            {std::string("I") + ph[i] + " ВЛ-110", ph[i], "ВЛ-110", "А", kCurrentScale});
    }
    for (int i = 0; i < 3; ++i) {
        s.analog.push_back(
            {std::string("U") + ph[i] + " СШ-110", ph[i], "СШ-110", "кВ", kVoltageScale});
    }
    s.analog.push_back({"3I0 ВЛ-110", "N", "ВЛ-110", "А", kCurrentScale});
    s.analog.push_back({"3U0 СШ-110", "N", "СШ-110", "кВ", kVoltageScale});
    const char* digital[] = {
        "Пуск ДЗ",
        "Пуск ТЗНП",
        "Срабатывание ДЗ 1 ст.",
        "Срабатывание ТЗНП 1 ст.",
        "Отключение ф. А",
        "Отключение ф. B",
        "Отключение ф. C",
        "РПВ ф. А",
        "РПВ ф. B",
        "РПВ ф. C",
        "РПО ф. А",
        "РПО ф. B",
        "РПО ф. C",
        "Пуск ОАПВ",
        "Блокировка АПВ",
        "[Резерв]",
    };
    for (const char* d : digital) {
        s.digital.push_back({d, "", "ВЛ-110", 0});
    }
    s.rate = kRate;
    s.samples = 1000;  // 100 ms before the trigger, 400 ms after
    s.firstTime = "10/12/2026,14:23:05.123000";
    s.triggerTime = "10/12/2026,14:23:05.223000";
    return s;
}

struct Phasors {
    double ia, ib, ic, ua, ub, uc;
};

// Instantaneous primary values at time t (ms from the trigger), in A and kV.
Phasors Signals(double t, double openMs) {
    const double w = 2 * std::numbers::pi * 50.0 / 1000.0;
    const double shift = 2 * std::numbers::pi / 3;
    const double load = 320 * std::sqrt(2.0);
    const double up = 63.5 * std::sqrt(2.0);
    Phasors p{};
    p.ia = load * std::sin(w * t - 0.3);
    p.ib = load * std::sin(w * t - 0.3 - shift);
    p.ic = load * std::sin(w * t - 0.3 + shift);
    p.ua = up * std::sin(w * t);
    p.ub = up * std::sin(w * t - shift);
    p.uc = up * std::sin(w * t + shift);
    if (t < 0) {
        return p;
    }
    if (t < openMs) {
        const double fault = 5200 * std::sqrt(2.0);
        const double phi = 1.35;  // the line's impedance angle
        const double dc = fault * std::sin(phi) * std::exp(-t / 35.0);
        p.ia = fault * std::sin(w * t - phi) + dc + 0.12 * fault * std::sin(3 * w * t - phi) +
               0.05 * fault * std::sin(5 * w * t);
        p.ua *= 0.28;
        p.ub *= 1.08;
        p.uc *= 1.06;
    } else {
        p.ia = 0;
        p.ua = 0.18 * up * std::sin(w * t - shift / 2) * std::exp(-(t - openMs) / 80.0);
    }
    return p;
}

// First zero crossing of the fault current after the breaker's contacts part.
double CurrentZeroAfter(double ms) {
    double prev = Signals(ms, 1e9).ia;
    for (double t = ms; t < ms + 20; t += 0.01) {
        const double v = Signals(t, 1e9).ia;
        if ((prev <= 0) != (v <= 0)) {
            return t;
        }
        prev = v;
    }
    return ms;
}

int Raw(double value, double scale) {
    return static_cast<int>(std::lround(value / scale));
}

void Sample(std::uint32_t i, std::vector<int>& raw, std::vector<int>& st, double openMs) {
    const double t = i * 1000.0 / kRate - kPreMs;
    const Phasors p = Signals(t, openMs);
    raw = {Raw(p.ia, kCurrentScale),
           Raw(p.ib, kCurrentScale),
           Raw(p.ic, kCurrentScale),
           Raw(p.ua, kVoltageScale),
           Raw(p.ub, kVoltageScale),
           Raw(p.uc, kVoltageScale),
           Raw(p.ia + p.ib + p.ic, kCurrentScale),
           Raw(p.ua + p.ub + p.uc, kVoltageScale)};
    const auto on = [t](double from, double to = 1e9) { return t >= from && t < to ? 1 : 0; };
    st = {on(12, openMs + 25),
          on(8, openMs + 30),
          on(22, openMs + 20),
          on(35, openMs + 20),
          on(24, openMs + 15),
          0,
          0,
          1 - on(openMs),
          1,
          1,
          on(openMs),
          0,
          0,
          on(openMs + 5),
          0,
          0};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString base =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("examples/demo");
    const double openMs = CurrentZeroAfter(kOpenMs);
    const bool ok = faultscope::tools::WriteRecord(
        base, DemoSpec(), [openMs](std::uint32_t i, std::vector<int>& raw, std::vector<int>& st) {
            Sample(i, raw, st, openMs);
        });
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(base));
        return 1;
    }
    return 0;
}
