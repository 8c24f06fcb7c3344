#pragma once

#include "gui/chart/chart.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace faultscope::test {

// The application of a test program, on the offscreen platform unless another one is asked
// for. It lives from before the first test to after the last, and goes before the program's
// static objects do: Qt's own must still be there when it is destroyed.
class ApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application_ = std::make_unique<QApplication>(argc_, argv_.data());
    }
    void TearDown() override { application_.reset(); }

  private:
    int argc_ = 1;
    char name_[11] = "chart_test";
    std::array<char*, 2> argv_ = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

inline ::testing::Environment* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// The chart's picture at its own size, through render().
inline QImage Render(Chart& chart) {
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    chart.render(painter, QRectF(image.rect()));
    return image;
}

// First and last row of a column whose pixel passes the test; nullopt when none does.
struct RowSpan {
    int top = 0;
    int bottom = 0;
};

inline std::optional<RowSpan> RowsWhere(const QImage& image, int column,
                                        const std::function<bool(QRgb)>& test) {
    std::optional<RowSpan> span;
    for (int row = 0; row < image.height(); ++row) {
        if (test(image.pixel(column, row))) {
            if (!span) {
                span = RowSpan{row, row};
            }
            span->bottom = row;
        }
    }
    return span;
}

inline std::function<bool(QRgb)> IsColor(QColor color) {
    return [rgb = color.rgb()](QRgb pixel) { return (pixel | 0xff000000u) == (rgb | 0xff000000u); };
}

}  // namespace faultscope::test
