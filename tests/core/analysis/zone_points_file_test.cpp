#include "core/analysis/zone_points_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace faultscope {
namespace {

const std::vector<ZoneTableRow> kRows = {{1, 0.5, -2.25}, {2, 10.0, 3.0}, {4, -7.125, 1e-3}};

TEST(ZonePointsFile, RowsComeBackAsTheyWereSaved) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("points.json");
    SavePointsFile(path, kRows);
    EXPECT_EQ(LoadPointsFile(path), kRows);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(text.contains("\"Version\": 15"));
    // Saving again replaces the file whole.
    SavePointsFile(path, {});
    EXPECT_TRUE(LoadPointsFile(path).empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(ZonePointsFile, PlainJsonWithoutBomOrVersionIsRead) {
    const QByteArray text = R"({"FDBS": {"points": [{"N": 3, "X": 1, "Y": 2}]}})";
    EXPECT_EQ(PointsFromJson(text), (std::vector<ZoneTableRow>{{3, 1.0, 2.0}}));
}

TEST(ZonePointsFile, AnythingElseIsRefusedWithAMessage) {
    const char* broken[] = {
        "",
        "not json",
        "[1, 2]",
        R"({"points": []})",
        R"({"FDBS": {"Version": "15", "points": []}})",
        R"({"FDBS": {"Version": 15}})",
        R"({"FDBS": {"points": [{"N": 1, "X": "a", "Y": 2}]}})",
        R"({"FDBS": {"points": [{"N": 1, "X": 1}]}})",
        R"({"FDBS": {"points": [{"N": 1.5, "X": 1, "Y": 2}]}})",
        // The next point added after loading is numbered N + 1, which must still be a number.
        R"({"FDBS": {"points": [{"N": 2147483647, "X": 1, "Y": 2}]}})",
        R"({"FDBS": {"points": [{"N": 0, "X": 1, "Y": 2}]}})",
        R"({"FDBS": {"points": [{"N": 1, "X": 1, "Y": 2}, {"N": 1, "X": 3, "Y": 4}]}})",
        R"({"FDBS": {"points": [7]}})",
    };
    for (const char* text : broken) {
        EXPECT_THROW((void)PointsFromJson(QByteArray(text)), PointsFileError) << text;
    }
    EXPECT_THROW((void)LoadPointsFile("/nonexistent/points.json"), PointsFileError);
    // A pipe in the file's place is refused at once, never waited on.
    QTemporaryDir dir;
    const QString pipe = QDir(dir.path()).filePath("points.json");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_THROW((void)LoadPointsFile(pipe), PointsFileError);
}

TEST(ZonePointsFile, TheUserPolygonRunsFromTheHighestNumberAndClosesOnIt) {
    const std::vector<ZonePoint> line = UserPolygon({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
    EXPECT_EQ(line, (std::vector<ZonePoint>{{3, 3}, {2, 2}, {1, 1}, {3, 3}}));
    EXPECT_EQ(UserPolygon({}), (std::vector<ZonePoint>{{0, 0}}));
}

}  // namespace
}  // namespace faultscope
