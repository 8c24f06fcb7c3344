#include "core/settings/color_text.h"

#include <QLatin1StringView>
#include <array>
#include <limits>

namespace faultscope {

namespace {

struct NamedColor {
    Color value;
    const char* name;
};

constexpr Color SystemColor(std::uint8_t index) noexcept {
    return 0xFF000000U | index;
}

// Where two names share a value the first one is written; both are read.
constexpr std::array kNamedColors{
    NamedColor{RgbToColor(0, 0, 0), "clBlack"},
    NamedColor{RgbToColor(128, 0, 0), "clMaroon"},
    NamedColor{RgbToColor(0, 128, 0), "clGreen"},
    NamedColor{RgbToColor(128, 128, 0), "clOlive"},
    NamedColor{RgbToColor(0, 0, 128), "clNavy"},
    NamedColor{RgbToColor(128, 0, 128), "clPurple"},
    NamedColor{RgbToColor(0, 128, 128), "clTeal"},
    NamedColor{RgbToColor(128, 128, 128), "clGray"},
    NamedColor{RgbToColor(192, 192, 192), "clSilver"},
    NamedColor{RgbToColor(255, 0, 0), "clRed"},
    NamedColor{RgbToColor(0, 255, 0), "clLime"},
    NamedColor{RgbToColor(255, 255, 0), "clYellow"},
    NamedColor{RgbToColor(0, 0, 255), "clBlue"},
    NamedColor{RgbToColor(255, 0, 255), "clFuchsia"},
    NamedColor{RgbToColor(0, 255, 255), "clAqua"},
    NamedColor{RgbToColor(255, 255, 255), "clWhite"},
    NamedColor{RgbToColor(192, 220, 192), "clMoneyGreen"},
    NamedColor{RgbToColor(166, 202, 240), "clSkyBlue"},
    NamedColor{RgbToColor(255, 251, 240), "clCream"},
    NamedColor{RgbToColor(160, 160, 164), "clMedGray"},
    NamedColor{RgbToColor(192, 192, 192), "clLtGray"},
    NamedColor{RgbToColor(128, 128, 128), "clDkGray"},
    NamedColor{0x1FFFFFFFU, "clNone"},
    NamedColor{0x20000000U, "clDefault"},
    NamedColor{SystemColor(0), "clScrollBar"},
    NamedColor{SystemColor(1), "clBackground"},
    NamedColor{SystemColor(2), "clActiveCaption"},
    NamedColor{SystemColor(3), "clInactiveCaption"},
    NamedColor{SystemColor(4), "clMenu"},
    NamedColor{SystemColor(5), "clWindow"},
    NamedColor{SystemColor(6), "clWindowFrame"},
    NamedColor{SystemColor(7), "clMenuText"},
    NamedColor{SystemColor(8), "clWindowText"},
    NamedColor{SystemColor(9), "clCaptionText"},
    NamedColor{SystemColor(10), "clActiveBorder"},
    NamedColor{SystemColor(11), "clInactiveBorder"},
    NamedColor{SystemColor(12), "clAppWorkSpace"},
    NamedColor{SystemColor(13), "clHighlight"},
    NamedColor{SystemColor(14), "clHighlightText"},
    NamedColor{SystemColor(15), "clBtnFace"},
    NamedColor{SystemColor(16), "clBtnShadow"},
    NamedColor{SystemColor(17), "clGrayText"},
    NamedColor{SystemColor(18), "clBtnText"},
    NamedColor{SystemColor(19), "clInactiveCaptionText"},
    NamedColor{SystemColor(20), "clBtnHighlight"},
    NamedColor{SystemColor(21), "cl3DDkShadow"},
    NamedColor{SystemColor(22), "cl3DLight"},
    NamedColor{SystemColor(23), "clInfoText"},
    NamedColor{SystemColor(24), "clInfoBk"},
    NamedColor{SystemColor(26), "clHotLight"},
    NamedColor{SystemColor(27), "clGradientActiveCaption"},
    NamedColor{SystemColor(28), "clGradientInactiveCaption"},
    NamedColor{SystemColor(29), "clMenuHighlight"},
    NamedColor{SystemColor(30), "clMenuBar"},
};

bool IsHexDigits(QStringView text) noexcept {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'))) {
            return false;
        }
    }
    return true;
}

std::optional<Color> HexToColor(QStringView digits) {
    if (!IsHexDigits(digits)) {
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, 16);
    if (!ok || value > std::numeric_limits<Color>::max()) {
        return std::nullopt;
    }
    return static_cast<Color>(value);
}

std::optional<Color> DecimalToColor(QStringView text) {
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > qlonglong{std::numeric_limits<Color>::max()}) {
        return std::nullopt;
    }
    return static_cast<Color>(value);
}

}  // namespace

QString ColorToString(Color color) {
    for (const NamedColor& named : kNamedColors) {
        if (named.value == color) {
            return QString::fromLatin1(named.name);
        }
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<Color> StringToColor(QStringView text) {
    text = text.trimmed();
    for (const NamedColor& named : kNamedColors) {
        if (text.compare(QLatin1StringView(named.name), Qt::CaseInsensitive) == 0) {
            return named.value;
        }
    }
    if (text.startsWith(u'$')) {
        return HexToColor(text.sliced(1));
    }
    if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        return HexToColor(text.sliced(2));
    }
    return DecimalToColor(text);
}

}  // namespace faultscope
