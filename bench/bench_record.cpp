#include "bench_record.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "large_record.h"
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

}  // namespace faultscope::bench
