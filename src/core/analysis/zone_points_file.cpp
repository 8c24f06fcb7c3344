#include "core/analysis/zone_points_file.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "core/record/native_file.h"

namespace faultscope {
namespace {

// Keys of the points file.
constexpr char kFDBSKey[] = "FDBS";
constexpr char kVersionKey[] = "Version";
constexpr char kPointsKey[] = "points";

const QByteArray kBom("\xEF\xBB\xBF");

PointsFileError NotAPointsFile(const QString& why) {
    return PointsFileError(QStringLiteral("Файл не является файлом точек характеристики: ") + why);
}

double NumberField(const QJsonObject& point, const char* name, int index) {
    const QJsonValue value = point.value(QLatin1String(name));
    if (!value.isDouble() || !std::isfinite(value.toDouble())) {
        throw PointsFileError(QStringLiteral("Неверное значение %1 в точке %2 файла точек")
                                  .arg(QLatin1String(name))
                                  .arg(index + 1));
    }
    return value.toDouble();
}

ZoneTableRow ReadRow(const QJsonValue& item, int index) {
    if (!item.isObject()) {
        throw NotAPointsFile(QStringLiteral("точка %1 не является объектом").arg(index + 1));
    }
    const QJsonObject point = item.toObject();
    const double n = NumberField(point, "N", index);
    // The dialog numbers the next point N + 1, so the largest int is no point number.
    if (n != std::floor(n) || n < 1 || n >= static_cast<double>(std::numeric_limits<int>::max())) {
        throw PointsFileError(
            QStringLiteral("Неверное значение N в точке %1 файла точек").arg(index + 1));
    }
    return {static_cast<int>(n), NumberField(point, "X", index), NumberField(point, "Y", index)};
}

}  // namespace

QByteArray PointsToJson(const std::vector<ZoneTableRow>& rows) {
    QJsonArray points;
    for (const ZoneTableRow& row : rows) {
        points.append(QJsonObject{{"N", row.id}, {"X", row.x}, {"Y", row.y}});
    }
    QJsonObject fdbs;
    fdbs.insert(kVersionKey, kPointsFileVersion);
    fdbs.insert(kPointsKey, points);
    return kBom + QJsonDocument(QJsonObject{{kFDBSKey, fdbs}}).toJson(QJsonDocument::Indented);
}

std::vector<ZoneTableRow> PointsFromJson(const QByteArray& text) {
    const QByteArray body = text.startsWith(kBom) ? text.mid(kBom.size()) : text;
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &parse);
    if (parse.error != QJsonParseError::NoError) {
        throw NotAPointsFile(parse.errorString());
    }
    const QJsonValue fdbs = document.object().value(kFDBSKey);
    if (!document.isObject() || !fdbs.isObject()) {
        throw NotAPointsFile(QStringLiteral("нет раздела FDBS"));
    }
    const QJsonValue version = fdbs.toObject().value(kVersionKey);
    if (!version.isUndefined() && !version.isDouble()) {
        throw NotAPointsFile(QStringLiteral("неверная версия"));
    }
    const QJsonValue points = fdbs.toObject().value(kPointsKey);
    if (!points.isArray()) {
        throw NotAPointsFile(QStringLiteral("нет списка точек"));
    }
    std::vector<ZoneTableRow> rows;
    std::set<int> ids;
    const QJsonArray array = points.toArray();
    for (int i = 0; i < array.size(); ++i) {
        const ZoneTableRow row = ReadRow(array.at(i), i);
        if (!ids.insert(row.id).second) {
            throw PointsFileError(
                QStringLiteral("Номер точки %1 повторяется в файле точек").arg(row.id));
        }
        rows.push_back(row);
    }
    return rows;
}

void SavePointsFile(const QString& path, const std::vector<ZoneTableRow>& rows) {
    QSaveFile file(path);
    const QByteArray text = PointsToJson(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        throw PointsFileError(QStringLiteral("Не удалось записать файл точек «%1»: %2")
                                  .arg(QFileInfo(path).fileName(), file.errorString()));
    }
}

std::vector<ZoneTableRow> LoadPointsFile(const QString& path) {
    // A points file is small; a pipe or device in its place is never waited on.
    constexpr std::size_t kMaxPointsFileBytes = 16U << 20U;
    QByteArray bytes;
    FileKind kind = FileKind::Missing;
    if (!ReadSmallRegularFile(path, kMaxPointsFileBytes, bytes, kind)) {
        const QString why = kind == FileKind::Missing ? QStringLiteral("файла нет")
                            : kind == FileKind::TooLarge ? QStringLiteral("файл слишком велик")
                            : kind == FileKind::Unreadable ? QStringLiteral("нет прав на чтение")
                                                           : QStringLiteral("это не обычный файл");
        throw PointsFileError(QStringLiteral("Не удалось открыть файл точек «%1»: %2")
                                  .arg(QFileInfo(path).fileName(), why));
    }
    return PointsFromJson(bytes);
}

std::vector<ZonePoint> UserPolygon(std::vector<ZoneTableRow> rows) {
    if (rows.empty()) {
        return {ZonePoint{0.0, 0.0}};
    }
    std::ranges::sort(rows,
                      [](const ZoneTableRow& a, const ZoneTableRow& b) { return a.id > b.id; });
    std::vector<ZonePoint> line;
    line.reserve(rows.size() + 1);
    for (const ZoneTableRow& row : rows) {
        line.push_back({row.x, row.y});
    }
    line.push_back(line.front());
    return line;
}

}  // namespace faultscope
