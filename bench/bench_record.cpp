#include "bench_record.h"

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <numbers>
#include <string>

#include "large_record.h"
#include "record_writer.h"
#include "wide_record.h"

namespace faultscope::bench {

QString LargeRecordBase(std::uint32_t samples) {
    static QTemporaryDir dir;
    static std::map<std::uint32_t, QString> made;
    auto it = made.find(samples);
    if (it != made.end()) {
        return it->second;
    }
    const QString base = QDir(dir.path()).filePath("large_" + QString::number(samples));
    if (!tools::WriteLargeRecord(base, samples)) {
        std::fprintf(stderr, "cannot write the benchmark record\n");
        std::exit(1);
    }
    return made.emplace(samples, base).first->second;
}

QString WideRecordBase(std::uint32_t samples) {
    static QTemporaryDir dir;
    static std::map<std::uint32_t, QString> made;
    auto it = made.find(samples);
    if (it != made.end()) {
        return it->second;
    }
    tools::WideRecordLayout layout;
    layout.analog = kWideAnalog;
    layout.digital = kWideDigital;
    layout.samples = samples;
    layout.rate = 10'000;
    layout.bracket = "Bay";
    for (int i = 0; i < 10; ++i) {
        layout.changing.push_back(i * 29 + 3);
    }
    const QString base = QDir(dir.path()).filePath("wide_" + QString::number(samples));
    if (!tools::WriteWideRecord(base, layout)) {
        std::fprintf(stderr, "cannot write the benchmark record\n");
        std::exit(1);
    }
    return made.emplace(samples, base).first->second;
}

QString LineRecordBase(std::uint32_t samples) {
    static QTemporaryDir dir;
    static std::map<std::uint32_t, QString> made;
    auto it = made.find(samples);
    if (it != made.end()) {
        return it->second;
    }
    tools::RecordSpec spec;
    spec.station = "Bench";
    spec.device = "Line";
    for (const char* quantity : {"U", "I"}) {
        for (const char* phase : {"A", "B", "C"}) {
            spec.analog.push_back({std::string(quantity) + phase, phase, "L1",
                                   quantity[0] == 'U' ? "kV" : "kA", 0.001});
        }
    }
    spec.rate = 2000.0;
    spec.samples = samples;
    spec.firstTime = "01/06/2026,00:00:00.000000";
    spec.triggerTime = spec.firstTime;
    const auto sample = [samples](std::uint32_t i, std::vector<int>& raw, std::vector<int>&) {
        const bool fault = i > samples / 2;
        const double phase = 2.0 * std::numbers::pi * 50.0 * i / 2000.0;
        for (std::size_t c = 0; c < 6; ++c) {
            const bool current = c >= 3;
            double amplitude = current ? 500.0 : 30000.0;
            if (fault && c % 3 == 0) {
                amplitude = current ? 8000.0 : 20000.0;
            }
            const double shift = static_cast<double>(c % 3) * 2.0 * std::numbers::pi / 3.0;
            raw[c] = static_cast<int>(amplitude * std::sin(phase - shift - (current ? 1.2 : 0.0)));
        }
    };
    const QString base = QDir(dir.path()).filePath("line_" + QString::number(samples));
    if (!tools::WriteRecord(base, spec, sample)) {
        std::fprintf(stderr, "cannot write the benchmark record\n");
        std::exit(1);
    }
    return made.emplace(samples, base).first->second;
}

}  // namespace faultscope::bench
