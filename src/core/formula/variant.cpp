#include "core/formula/variant.h"

#include <QLocale>
#include <QString>
#include <cmath>
#include <limits>
#include <ostream>

#include "core/formula/formula_error.h"

namespace faultscope {

Variant& Variant::operator=(const Variant& other) {
    kind_ = other.kind_;
    whole_ = other.whole_;
    real_ = other.real_;
    if (other.kind_ == VariantKind::Text) {
        text_ = other.text_;
    }
    return *this;
}

Variant Variant::Null() {
    Variant v;
    v.SetNull();
    return v;
}

Variant Variant::Boolean(bool value) {
    Variant v;
    v.SetBoolean(value);
    return v;
}

Variant Variant::Integer(std::int32_t value) {
    Variant v;
    v.SetInteger(value);
    return v;
}

Variant Variant::LongInt(std::int64_t value) {
    Variant v;
    v.SetLongInt(value);
    return v;
}

Variant Variant::Real(double value) {
    Variant v;
    v.SetReal(value);
    return v;
}

Variant Variant::Text(std::string_view value) {
    Variant v;
    v.SetText(value);
    return v;
}

Variant Variant::Whole(std::int64_t value) {
    Variant v;
    v.SetWhole(value);
    return v;
}

void Variant::SetBoolean(bool value) noexcept {
    kind_ = VariantKind::Boolean;
    whole_ = value ? -1 : 0;
}

void Variant::SetInteger(std::int32_t value) noexcept {
    kind_ = VariantKind::Integer;
    whole_ = value;
}

void Variant::SetLongInt(std::int64_t value) noexcept {
    kind_ = VariantKind::LongInt;
    whole_ = value;
}

void Variant::SetReal(double value) noexcept {
    kind_ = VariantKind::Real;
    real_ = value;
}

void Variant::SetText(std::string_view value) {
    kind_ = VariantKind::Text;
    text_.assign(value);
}

void Variant::SetWhole(std::int64_t value) noexcept {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    kind_ = value >= kMin && value <= kMax ? VariantKind::Integer : VariantKind::LongInt;
    whole_ = value;
}

bool Variant::IsNumber() const noexcept {
    return IsWhole() || kind_ == VariantKind::Real;
}

bool Variant::IsWhole() const noexcept {
    return kind_ == VariantKind::Integer || kind_ == VariantKind::LongInt;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.kind_ != b.kind_) {
        return false;
    }
    switch (a.kind_) {
        case VariantKind::Empty:
        case VariantKind::Null:
            return true;
        case VariantKind::Real:
            return a.real_ == b.real_;
        case VariantKind::Text:
            return a.text_ == b.text_;
        default:
            return a.whole_ == b.whole_;
    }
}

std::string_view KindName(VariantKind kind) noexcept {
    switch (kind) {
        case VariantKind::Empty:
            return "Empty";
        case VariantKind::Null:
            return "Null";
        case VariantKind::Boolean:
            return "Boolean";
        case VariantKind::Integer:
            return "Integer";
        case VariantKind::LongInt:
            return "Int64";
        case VariantKind::Real:
            return "Double";
        case VariantKind::Text:
            return "String";
    }
    return "Unknown";
}

bool TextToNumber(std::string_view text, Variant& number) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QLocale locale;
    bool ok = false;
    const qlonglong whole = locale.toLongLong(s, &ok);
    if (ok) {
        number.SetWhole(whole);
        return true;
    }
    const double real = locale.toDouble(s, &ok);
    if (!ok || !std::isfinite(real)) {
        return false;
    }
    number.SetReal(real);
    return true;
}

double ToDouble(const Variant& value) {
    switch (value.Kind()) {
        case VariantKind::Empty:
            return 0.0;
        case VariantKind::Real:
            return value.RealValue();
        case VariantKind::Boolean:
        case VariantKind::Integer:
        case VariantKind::LongInt:
            return static_cast<double>(value.WholeValue());
        case VariantKind::Text: {
            Variant number;
            if (TextToNumber(value.TextValue(), number)) {
                return ToDouble(number);
            }
            throw FormulaError("Could not convert variant of type (String) into type (Double)");
        }
        case VariantKind::Null:
            break;
    }
    throw FormulaError("Could not convert variant of type (Null) into type (Double)");
}

std::ostream& operator<<(std::ostream& out, const Variant& value) {
    out << KindName(value.Kind());
    switch (value.Kind()) {
        case VariantKind::Empty:
        case VariantKind::Null:
            return out;
        case VariantKind::Real:
            return out << '(' << value.RealValue() << ')';
        case VariantKind::Text:
            return out << "('" << value.TextValue() << "')";
        default:
            return out << '(' << value.WholeValue() << ')';
    }
}

}  // namespace faultscope
