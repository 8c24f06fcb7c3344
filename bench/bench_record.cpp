#include "bench_record.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "large_record.h"

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

}  // namespace faultscope::bench
