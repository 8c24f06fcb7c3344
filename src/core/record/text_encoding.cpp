#include "core/record/text_encoding.h"

#include <QString>
#include <QStringDecoder>

namespace faultscope {
namespace {

// Length of the UTF-8 sequence starting at `p`, or 0 when it is not valid there.
int Utf8SequenceLength(const unsigned char* p, const unsigned char* end) noexcept {
    const unsigned char c = p[0];
    if (c < 0x80) {
        return 1;
    }
    int len = 0;
    std::uint32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        code = c & 0x1FU;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        code = c & 0x0FU;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        code = c & 0x07U;
    } else {
        return 0;
    }
    if (end - p < len) {
        return 0;
    }
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0U) != 0x80U) {
            return 0;
        }
        code = (code << 6) | (p[i] & 0x3FU);
    }
    const bool overlong = (len == 3 && code < 0x800) || (len == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : len;
}

bool HasMultiByteUtf8(const QByteArray& bytes) noexcept {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

const char* CodePageName(TextEncoding encoding) noexcept {
    return encoding == TextEncoding::Cp866 ? "IBM866" : "windows-1251";
}

QString Decode(const QByteArray& bytes, TextEncoding encoding) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    if (ReadsAsUtf8(bytes)) {
        return QString::fromUtf8(bytes);
    }
    QStringDecoder decoder(CodePageName(encoding));
    return decoder.decode(bytes);
}

}  // namespace

bool ReadsAsUtf8(const QByteArray& bytes) noexcept {
    return bytes.startsWith("\xEF\xBB\xBF") || (HasMultiByteUtf8(bytes) && IsValidUtf8(bytes));
}

QByteArray EncodeConfigLine(const std::string& utf8, const QByteArray& fileBytes,
                            TextEncoding encoding) {
    if (ReadsAsUtf8(fileBytes)) {
        return QByteArray::fromStdString(utf8);
    }
    QStringEncoder encoder(CodePageName(encoding), QStringConverter::Flag::Default);
    return encoder.encode(QString::fromStdString(utf8));
}

bool IsValidUtf8(const QByteArray& bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const int len = Utf8SequenceLength(p, end);
        if (len == 0) {
            return false;
        }
        p += len;
    }
    return true;
}

std::vector<std::string> DecodeConfigLines(const QByteArray& bytes, TextEncoding encoding) {
    const QString text = Decode(bytes, encoding);
    std::vector<std::string> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            continue;
        }
        lines.push_back(text.mid(start, i - start).toStdString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < n) {
        lines.push_back(text.mid(start).toStdString());
    }
    return lines;
}

}  // namespace faultscope
