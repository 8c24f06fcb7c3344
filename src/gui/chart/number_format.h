#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

namespace faultscope {

// Formats a number with a picture pattern: "0" is a digit always shown, "#" a digit shown when
// significant, "." the decimal separator and "," anywhere in the integer part asks for digit
// grouping; text before and after the digits is kept as it stands ("#,##0.## ms"). Separators
// are the locale's. An empty pattern gives the general format: the shortest form with at most
// 15 significant digits.
QString FormatPicture(double value, QStringView pattern, const QLocale& locale = QLocale());

}  // namespace faultscope
