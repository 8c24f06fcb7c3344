// Writes a large synthetic record for memory and speed measurements.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "large_record.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_large_record BASE SAMPLES\n");
        return 2;
    }
    const auto samples = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    return faultscope::tools::WriteLargeRecord(QString::fromLocal8Bit(argv[1]), samples) ? 0 : 1;
}
