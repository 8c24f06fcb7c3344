// Peak resident memory of a record loaded with every analog channel analysed, as a window holds it
// once every harmonic curve has been asked for. Prints the peak in bytes and per analog
// sample-channel (bench/measure_harmonic_memory.sh).
#include <sys/resource.h>

#include <QCoreApplication>
#include <iostream>

#include "core/session/record_loader.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: harmonic_memory RECORD.cfg\n";
        return 2;
    }
    faultscope::LoadOptions options;
    options.allHarmonics = true;
    const faultscope::LoadedRecord record =
        faultscope::LoadRecord(QString::fromLocal8Bit(argv[1]), options);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;
    const double cells = static_cast<double>(record.data.SampleCount()) *
                         static_cast<double>(record.data.analog.size());
    std::cout << "peak resident: " << static_cast<long long>(peak) << " bytes; "
              << "per analog sample-channel: " << (cells > 0 ? peak / cells : 0.0) << " bytes\n";
    return 0;
}
