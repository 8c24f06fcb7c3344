#pragma once

#include "core/analysis/zone_characteristic.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace faultscope {

// One row of the user polygon's table: its number (given once, in order of entry) and point.
struct ZoneTableRow {
    int id = 0;
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const ZoneTableRow&, const ZoneTableRow&) = default;
};

// A points file that cannot be read or written; what() is the user's message (UTF-8).
class PointsFileError : public std::runtime_error {
  public:
    explicit PointsFileError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

inline constexpr int kPointsFileVersion = 15;

// The points file: UTF-8 JSON {"FDBS": {"Version": 15, "points": [{"N": 1, "X": …, "Y": …}]}},
// written with a byte-order mark.
[[nodiscard]] QByteArray PointsToJson(const std::vector<ZoneTableRow>& rows);
// Reads the rows back (a leading byte-order mark is skipped; a missing Version counts as 15).
// Raises PointsFileError for text that is not such JSON, a value that is not a number, or a
// number given twice.
[[nodiscard]] std::vector<ZoneTableRow> PointsFromJson(const QByteArray& text);

// Replaces the file in one step: a reader never sees half of it. Raises PointsFileError.
void SavePointsFile(const QString& path, const std::vector<ZoneTableRow>& rows);
[[nodiscard]] std::vector<ZoneTableRow> LoadPointsFile(const QString& path);

// The closed line of the user polygon: the rows by number from the highest down, then the first
// of them again; the single point (0, 0) for no rows.
[[nodiscard]] std::vector<ZonePoint> UserPolygon(std::vector<ZoneTableRow> rows);

}  // namespace faultscope
