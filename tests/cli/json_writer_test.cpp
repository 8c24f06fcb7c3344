#include "cli/json_writer.h"

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace faultscope::cli {
namespace {

std::string Quoted(std::string_view text) {
    JsonWriter json;
    json.String(text);
    return json.Text();
}

// A written value as the one element of an array, which every JSON reader takes.
QJsonValue ReadBack(const std::string& written) {
    std::string text = "[";
    text += written;
    text += ']';
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << written;
    return doc.array().at(0);
}

std::string Written(double value) {
    JsonWriter json;
    json.Number(value);
    return json.Text();
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlsAndKeepsOtherText) {
    const struct {
        std::string_view text;
        std::string_view written;
    } cases[] = {
        {"plain", R"("plain")"},
        {"", R"("")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"C:\\records\\", R"("C:\\records\\")"},
        {std::string_view("\n\t\r\x01\x1f\0", 6), R"("\u000a\u0009\u000d\u0001\u001f\u0000")"},
        {"\x7f/", "\"\x7f/\""},
        {"ПС 110 кВ", "\"ПС 110 кВ\""},
        {"€ 😀", "\"€ 😀\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Quoted(c.text), c.written) << c.text;
        // What is written reads back as the text.
        EXPECT_EQ(ReadBack(Quoted(c.text)).toString().toStdString(), c.text);
    }
}

TEST(JsonWriter, ReplacesEveryByteOutsideValidUtf8) {
    const struct {
        std::string_view bytes;
        std::string_view written;
    } cases[] = {
        {"a\xff", R"("a\ufffd")"},                              // never in UTF-8
        {"\xd0", R"("\ufffd")"},                                // cut short at the end
        {"\xd0z", R"("\ufffdz")"},                              // cut short by a plain character
        {"\x80", R"("\ufffd")"},                                // a stray continuation byte
        {"\xc0\xaf", R"("\ufffd\ufffd")"},                      // an overlong "/"
        {"\xed\xa0\x80", R"("\ufffd\ufffd\ufffd")"},            // a surrogate
        {"\xf4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"},  // beyond U+10FFFF
        {"\xf4\x8f\xbf\xbf", "\"\xf4\x8f\xbf\xbf\""},           // U+10FFFF itself
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Quoted(c.bytes), c.written);
        EXPECT_TRUE(ReadBack(Quoted(c.bytes)).isString());
    }
}

TEST(JsonWriter, NumbersReadBackExactlyAndWhatIsNotFiniteIsNull) {
    for (const double v :
         {0.0, -0.0, 0.1, 1.0 / 3.0, -2.5e-7, 5817.61271472036, 1e300,
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()}) {
        const std::string text = Written(v);
        double back = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
        EXPECT_EQ(back, v) << text;
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << text;
        EXPECT_EQ(ReadBack(text).toDouble(), v);
    }
    EXPECT_EQ(Written(0.1), "0.1");
    EXPECT_EQ(Written(24.0), "24");
    for (const double v :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(Written(v), "null");
    }
}

TEST(JsonWriter, NestsObjectsAndArraysWithTheirCommas) {
    JsonWriter json;
    json.BeginObject();
    json.Field("file", "a.cfg");
    json.Field("samples", std::uint64_t{18446744073709551615U});
    json.Key("analog");
    json.BeginArray();
    for (const char* name : {"IA", "IB"}) {
        json.BeginObject();
        json.Field("channel", name);
        json.Field("rms1", std::numeric_limits<double>::quiet_NaN());
        json.EndObject();
    }
    json.EndArray();
    json.Key("empty");
    json.BeginArray();
    json.EndArray();
    json.NullField("fault");
    json.EndObject();
    EXPECT_EQ(json.Text(),
              R"({"file":"a.cfg","samples":18446744073709551615,"analog":[{"channel":"IA",)"
              R"("rms1":null},{"channel":"IB","rms1":null}],"empty":[],"fault":null})");
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.Text().c_str(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(doc.object()["analog"].toArray().size(), 2);
}

}  // namespace
}  // namespace faultscope::cli
