// Zone points files of any bytes: reading fails with PointsFileError or gives rows that write
// and read back the same.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/analysis/zone_points_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<faultscope::ZoneTableRow> rows;
    try {
        rows = faultscope::PointsFromJson(bytes);
    } catch (const faultscope::PointsFileError&) {
        return 0;
    }
    std::vector<faultscope::ZoneTableRow> again;
    try {
        again = faultscope::PointsFromJson(faultscope::PointsToJson(rows));
    } catch (const faultscope::PointsFileError&) {
        __builtin_trap();
    }
    if (again != rows) {
        __builtin_trap();
    }
    (void)faultscope::UserPolygon(rows);
    return 0;
}
