#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace faultscope {

// The values at the cursor of one analog strip. A result the analysis has not produced (yet) is
// absent.
struct ReadoutValues {
    double value = 0.0;
    bool gap = false;  // the sample lies outside the channel's range: `value` is a raw code
    std::optional<double> angle;
    // The angle is a formula's, of a phasor whose modulus is the value itself (a sequence
    // component, a loop impedance): it is hidden where the value, not the fundamental, reads 0.00.
    bool angleOfValue = false;
    std::optional<double> rms1;
    std::optional<double> rms2;
    std::optional<double> rms3;
    std::optional<double> rms5;
};

// What a gap sample reads instead of its raw code.
inline constexpr char16_t kGapReadout[] = u"вне диапазона";
// What an angle reads where the fundamental has none.
inline constexpr char16_t kNoAngle[] = u"—";

// The angle of the fundamental as the readout shows it: "0.00" pattern, 0.00 rather than 360.00,
// and "—" where it is undefined or the fundamental reads 0.00.
QString AngleText(std::optional<double> angle, std::optional<double> rms1,
                  const QLocale& locale = QLocale());

// The six readout lines, each ending in LF CR: "Y = ", "∠ = ", "|Y|1 = ", "|Y|2 = ", "|Y|3 = ",
// "|Y|5 = ", every number in the "0.00" pattern.
QString ReadoutText(const ReadoutValues& values, const QLocale& locale = QLocale());

}  // namespace faultscope
