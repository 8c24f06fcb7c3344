// Whole records of any bytes, through the same loading steps as the window and the command line:
// the input is the configuration file, a NUL byte, then the sample file. A load must end within
// its time budget, and a record that loads must hold only finite numbers, so that endless
// analysis and overflowing scales are found as faults.
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/record/load_error.h"
#include "core/session/record_loader.h"

namespace {

// Under the sanitizers a load of the longest input takes well under a second.
constexpr auto kTimeBudget = std::chrono::seconds(3);

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "fuzz_load: %s\n", what);
    std::abort();
}

// A folder of this process for the two files, in memory when the system offers one.
const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        pattern += "/fuzz_load.XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            Fault("no temporary folder");
        }
        return pattern;
    }();
    return folder;
}

void Write(const std::string& path, const char* bytes, std::size_t size) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        Fault("cannot write the record");
    }
}

bool IsAngle(double a) {
    return a == faultscope::kUndefinedAngle || (a >= 0.0 && a < 360.0);
}

// Every harmonic result is a finite number with an angle, or, in a channel with gaps, undefined
// as a whole: no magnitude and the undefined angle.
void CheckFinite(const faultscope::LoadedRecord& record) {
    for (const faultscope::AnalogColumns& ch : record.data.analog) {
        const faultscope::HarmonicColumns& h = ch.harmonics;
        const bool gaps = ch.Samples().CountGaps() > 0;
        for (std::size_t i = 0; i < ch.size(); ++i) {
            if (!std::isfinite(ch.Value(i))) {
                Fault("a sample value is not finite");
            }
            if (i >= h.size()) {
                continue;
            }
            const bool finite = std::isfinite(h.rms1[i]) && std::isfinite(h.rms2[i]) &&
                                std::isfinite(h.rms3[i]) && std::isfinite(h.rms5[i]) &&
                                IsAngle(h.angle[i]);
            const bool undefined = gaps && std::isnan(h.rms1[i]) && std::isnan(h.rms2[i]) &&
                                   std::isnan(h.rms3[i]) && std::isnan(h.rms5[i]) &&
                                   h.angle[i] == faultscope::kUndefinedAngle;
            if (!finite && !undefined) {
                Fault("a harmonic result is not finite");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* bytes = reinterpret_cast<const char*>(data);
    const auto* separator = static_cast<const char*>(std::memchr(bytes, '\0', size));
    const std::size_t cfgSize = separator != nullptr ? separator - bytes : size;
    const std::size_t datStart = separator != nullptr ? cfgSize + 1 : size;
    Write(Folder() + "/r.cfg", bytes, cfgSize);
    Write(Folder() + "/r.dat", bytes + datStart, size - datStart);

    faultscope::LoadOptions options;
    options.encoding =
        (size % 2 == 0) ? faultscope::TextEncoding::Windows : faultscope::TextEncoding::Cp866;
    options.allHarmonics = true;
    options.threads = 1;
    const auto start = std::chrono::steady_clock::now();
    try {
        const faultscope::LoadedRecord record =
            faultscope::LoadRecord(QString::fromStdString(Folder() + "/r.cfg"), options);
        CheckFinite(record);
    } catch (const faultscope::LoadError&) {
    }
    if (std::chrono::steady_clock::now() - start > kTimeBudget) {
        Fault("the load took longer than its time budget");
    }
    return 0;
}
