#include "core/settings/color_table.h"

#include <QStringList>

namespace faultscope {

ColorTable DefaultColorTable() {
    return {
        RgbToColor(0, 128, 0),     RgbToColor(0, 0, 255), RgbToColor(255, 255, 0),
        RgbToColor(240, 255, 255), RgbToColor(0, 255, 0), RgbToColor(128, 0, 128),
        RgbToColor(128, 0, 0),     RgbToColor(0, 0, 128), RgbToColor(255, 215, 0),
        RgbToColor(0, 128, 128),
    };
}

void StrToColorsAr(const QString& Text, const QString& Delim, ColorTable& Colors) {
    if (Text.isEmpty()) {
        Colors = DefaultColorTable();
        return;
    }
    const QStringList items = Delim.isEmpty() ? QStringList{Text} : Text.split(Delim);
    Colors.clear();
    for (const QString& item : items) {
        if (!item.isEmpty()) {
            Colors.push_back(StringToColor(item).value_or(kUnreadableTableColor));
        }
    }
}

QString ColorsArToStr(const ColorTable& Colors, const QString& Delim) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(Colors.size()));
    for (const Color color : Colors) {
        items.push_back(ColorToString(color));
    }
    return items.join(Delim);
}

}  // namespace faultscope
