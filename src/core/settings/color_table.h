#pragma once

#include <QString>
#include <vector>

#include "core/settings/color_text.h"

namespace faultscope {

using ColorTable = std::vector<Color>;

// What an item of a colour table that cannot be read becomes (blue).
inline constexpr Color kUnreadableTableColor = 16711680;

// The table used when a stored table is absent or empty: ten well distinguishable colours.
ColorTable DefaultColorTable();

// Parses one stored colour table: the items between the delimiters are read by the text-to-colour
// rule; empty items are skipped, unreadable ones become kUnreadableTableColor. An empty text
// gives the default table; an empty delimiter makes the whole text one item.
void StrToColorsAr(const QString& Text, const QString& Delim, ColorTable& Colors);

// Writes a colour table: every colour by the colour-to-text rule, joined with the delimiter.
QString ColorsArToStr(const ColorTable& Colors, const QString& Delim);

}  // namespace faultscope
