#include "gui/chart/number_format.h"

#include <cmath>

namespace faultscope {
namespace {

struct Picture {
    QStringView prefix;
    QStringView suffix;
    int integerZeros = 0;    // integer digits always shown
    int fractionZeros = 0;   // decimals always shown
    int fractionDigits = 0;  // decimals at most
    bool grouped = false;
};

bool IsPictureChar(QChar c) {
    return c == u'0' || c == u'#' || c == u',' || c == u'.';
}

Picture ParsePicture(QStringView pattern) {
    Picture picture;
    qsizetype begin = 0;
    while (begin < pattern.size() && !IsPictureChar(pattern[begin])) {
        ++begin;
    }
    qsizetype end = begin;
    while (end < pattern.size() && IsPictureChar(pattern[end])) {
        ++end;
    }
    picture.prefix = pattern.first(begin);
    picture.suffix = pattern.sliced(end);
    bool fraction = false;
    for (const QChar c : pattern.sliced(begin, end - begin)) {
        if (c == u'.') {
            fraction = true;
        } else if (c == u',') {
            picture.grouped = picture.grouped || !fraction;
        } else if (fraction) {
            ++picture.fractionDigits;
            if (c == u'0') {
                picture.fractionZeros = picture.fractionDigits;
            }
        } else if (c == u'0') {
            ++picture.integerZeros;
        }
    }
    return picture;
}

QString GroupDigits(const QString& digits, const QString& separator) {
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return grouped;
}

bool HasNonZeroDigit(const QString& digits) {
    for (const QChar c : digits) {
        if (c != u'0') {
            return true;
        }
    }
    return false;
}

QString FormatGeneral(double value, const QLocale& locale) {
    QLocale plain(locale);
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

}  // namespace

QString FormatPicture(double value, QStringView pattern, const QLocale& locale) {
    if (pattern.isEmpty() || !std::isfinite(value)) {
        return FormatGeneral(value, locale);
    }
    const Picture picture = ParsePicture(pattern);
    const QString fixed = QString::number(std::abs(value), 'f', picture.fractionDigits);
    const qsizetype point = fixed.indexOf(u'.');
    QString integer = point < 0 ? fixed : fixed.first(point);
    QString fraction = point < 0 ? QString() : fixed.sliced(point + 1);
    while (fraction.size() > picture.fractionZeros && fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    const bool negative = value < 0 && (HasNonZeroDigit(integer) || HasNonZeroDigit(fraction));
    if (integer == u"0" && picture.integerZeros == 0) {
        integer.clear();
    }
    while (integer.size() < picture.integerZeros) {
        integer.prepend(u'0');
    }
    if (picture.grouped) {
        integer = GroupDigits(integer, locale.groupSeparator());
    }
    QString text = picture.prefix.toString();
    if (negative) {
        text += locale.negativeSign();
    }
    text += integer;
    if (!fraction.isEmpty()) {
        text += locale.decimalPoint() + fraction;
    }
    return text + picture.suffix.toString();
}

}  // namespace faultscope
