#include "gui/views/readout_text.h"

#include "core/analysis/harmonics.h"
#include "core/record/record_data.h"
#include "gui/chart/number_format.h"

#include <cmath>

namespace faultscope {
namespace {

constexpr char16_t kPattern[] = u"0.00";
constexpr int kDecimals = 2;

QString Line(const QString& label, const QString& value) {
    return label + value + QStringLiteral("\n\r");
}

QString Number(std::optional<double> value, const QLocale& locale) {
    if (!value) {
        return {};
    }
    // Not a number: the window the value comes from holds a gap.
    return std::isnan(*value) ? QString::fromUtf16(kNoAngle)
                              : FormatPicture(*value, kPattern, locale);
}

// The magnitude whose 0.00 leaves the angle meaningless.
std::optional<double> AngleModulus(const ReadoutValues& values) {
    if (!values.angleOfValue) {
        return values.rms1;
    }
    return values.gap ? std::nullopt : std::optional(values.value);
}

}  // namespace

QString AngleText(std::optional<double> angle, std::optional<double> rms1, const QLocale& locale) {
    if (!angle) {
        return {};
    }
    // A fundamental that reads 0.00 leaves only rounding noise in the angle.
    if (*angle == kUndefinedAngle || (rms1 && std::fabs(*rms1) < 0.005)) {
        return QString::fromUtf16(kNoAngle);
    }
    return FormatPicture(RoundedAngle(*angle, kDecimals), kPattern, locale);
}

QString ReadoutText(const ReadoutValues& values, const QLocale& locale) {
    const QString y = values.gap ? QString::fromUtf16(kGapReadout)
                                 : FormatPicture(values.value, kPattern, locale);
    return Line(QStringLiteral("Y = "), y) +
           Line(QStringLiteral("∠ = "), AngleText(values.angle, AngleModulus(values), locale)) +
           Line(QStringLiteral("|Y|1 = "), Number(values.rms1, locale)) +
           Line(QStringLiteral("|Y|2 = "), Number(values.rms2, locale)) +
           Line(QStringLiteral("|Y|3 = "), Number(values.rms3, locale)) +
           Line(QStringLiteral("|Y|5 = "), Number(values.rms5, locale));
}

}  // namespace faultscope
