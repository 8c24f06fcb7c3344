#include "core/record/cfg_parser.h"

#include <gtest/gtest.h>

#include "core/record/load_error.h"

namespace faultscope {
namespace {

// A small valid configuration: two analog and two digital channels.
std::vector<std::string> ValidLines() {
    return {
        "Station,Device,1999",
        "4,2A,2D",
        "1,Ia,A,Line,A,0.5,1,0,-1000,1000,100,1,P",
        "2,Ub,B,Line,kV,2,0,,-32767,32767,1,1,s",
        "1,Trip,,,0",
        "2,[Spare],,,1",
        "50",
        "1",
        "1000,300",
        "01/02/2019,10:20:30.000000",
        "01/02/2019,10:20:30.100000",
        "ASCII",
        "1",
    };
}

RecordConfig Parse(const std::vector<std::string>& lines) {
    RecordConfig cfg;
    EXPECT_TRUE(ParseCfgFile(cfg, lines)) << cfg.LastError;
    return cfg;
}

std::vector<std::string> With(std::size_t line, std::string text) {
    auto lines = ValidLines();
    lines[line] = std::move(text);
    return lines;
}

TEST(CfgParser, ReadsEveryFieldOfAValidFile) {
    const RecordConfig cfg = Parse(ValidLines());
    EXPECT_EQ(cfg.station_name, "Station");
    EXPECT_EQ(cfg.rec_dev_id, "Device");
    EXPECT_EQ(cfg.rev_year, 1999);
    EXPECT_EQ(cfg.TT, 4u);
    ASSERT_EQ(cfg.analog.size(), 2u);
    const AnalogChannel& ia = cfg.analog[0];
    EXPECT_EQ(ia.An, 1u);
    EXPECT_EQ(ia.ch_id, "Ia");
    EXPECT_EQ(ia.ph, "A");
    EXPECT_EQ(ia.ccbm, "Line");
    EXPECT_EQ(ia.uu, "A");
    EXPECT_DOUBLE_EQ(ia.a, 0.5);
    EXPECT_DOUBLE_EQ(ia.b, 1.0);
    EXPECT_EQ(ia.min, -1000);
    EXPECT_EQ(ia.max, 1000);
    EXPECT_DOUBLE_EQ(ia.primary, 100);
    EXPECT_EQ(ia.PS, TPS::P);
    EXPECT_EQ(cfg.analog[1].PS, TPS::S);
    EXPECT_DOUBLE_EQ(cfg.analog[1].skew, 0.0);
    ASSERT_EQ(cfg.digital.size(), 2u);
    EXPECT_FALSE(cfg.digital[0].y);
    EXPECT_TRUE(cfg.digital[1].y);
    EXPECT_TRUE(cfg.digital[1].ReserveChannel);
    EXPECT_DOUBLE_EQ(cfg.freq, 50.0);
    EXPECT_EQ(cfg.nrates, 1);
    EXPECT_DOUBLE_EQ(cfg.samp, 1000.0);
    EXPECT_EQ(cfg.endsamp, 300u);
    EXPECT_EQ(cfg.dt_First, (DateTime{2019, 2, 1, 10, 20, 30, 0}));
    EXPECT_EQ(cfg.dt_Trigger, (DateTime{2019, 2, 1, 10, 20, 30, 100}));
    EXPECT_EQ(cfg.ft, "ASCII");
    EXPECT_DOUBLE_EQ(cfg.timemult, 1.0);
}

TEST(CfgParser, StationLineForms) {
    EXPECT_EQ(Parse(With(0, "Station,Device")).rev_year, 0);
    const RecordConfig alone = Parse(With(0, "Station"));
    EXPECT_EQ(alone.station_name, "");
    EXPECT_EQ(alone.rec_dev_id, "Station");
    EXPECT_EQ(Parse(With(0, "S,D, 1999 ")).rev_year, 1999);
}

struct FailureCase {
    std::size_t line;
    const char* text;
    const char* error;
};

TEST(CfgParser, ValidationFailuresSetLastError) {
    const FailureCase cases[] = {
        {0, "Station,Device,1991", "Потдерживается только стандарт COMTRADE 1999"},
        {0, "Station,Device,2013", "Потдерживается только стандарт COMTRADE 1999"},
        {1, "4,2D,2A", "Не указано количество аналоговых каналов"},
        {1, "4,2a,2d", "Не указано количество аналоговых каналов"},
        {1, "4,2A", "Не указано количество аналоговых каналов"},
        {1, "4,2A,2", "Не указано количество дискретных каналов"},
        {1, "5,2A,2D", "Количество каналов не совпадает с суммой аналоговых и дискретных"},
        {2, "1,Ia,A,Line,,0.5,1,0,-1000,1000,100,1,P",
         "Не указаны еденицы измерения для аналогового канала"},
        {2, "1,Ia,A,Line,A,0.5,1,0,-1000,1000,100,1,x",
         "Не указано какие значения (первичные/вторичные) приведены в аналоговом канале"},
        {4, "1,Trip,,,", "Не указано состояние дискретного входа по умолчанию"},
        {4, "1,Trip,,,  ", "Не указано состояние дискретного входа по умолчанию"},
        {11, "BINARY", "Потдерживается только файл данных в стандарте ASCII"},
    };
    for (const FailureCase& c : cases) {
        RecordConfig cfg;
        EXPECT_FALSE(ParseCfgFile(cfg, With(c.line, c.text))) << c.text;
        EXPECT_EQ(cfg.LastError, c.error) << c.text;
    }
}

TEST(CfgParser, ScalesThatOverflowAreRefusedByChannel) {
    const std::string refused =
        "Масштаб аналогового канала Ub недопустим: |a|·max(|min|,|max|)+|b| должно быть не больше "
        "1e150";
    const struct {
        const char* line;
        bool accepted;
    } cases[] = {
        {"2,Ub,B,Line,kV,1e308,0,,-32767,32767,1,1,s", false},  // values overflow to inf
        {"2,Ub,B,Line,kV,1e300,0,,-32767,32767,1,1,s", false},  // finite, squares are not
        {"2,Ub,B,Line,kV,1,-2e150,,-1,1,1,1,s", false},
        {"2,Ub,B,Line,kV,1e146,0,,-2147483648,0,1,1,s", false},
        {"2,Ub,B,Line,kV,1e145,0,,-99999,99999,1,1,s", true},
        {"2,Ub,B,Line,kV,-1e140,1e149,,-32767,32767,1,1,s", true},
        {"2,Ub,B,Line,kV,1e308,0,,0,0,1,1,s", true},  // only zeros are in range
    };
    for (const auto& c : cases) {
        RecordConfig cfg;
        EXPECT_EQ(ParseCfgFile(cfg, With(3, c.line)), c.accepted) << c.line;
        EXPECT_EQ(cfg.LastError, c.accepted ? "" : refused) << c.line;
    }
}

TEST(CfgParser, RaisedErrors) {
    const FailureCase cases[] = {
        {8, "1000,", "endsamp не задано"},
        {9, "01022019,102030", "Неверный формат даты времени"},
        {9, "01/02/2019,10:20:30", "Неверный формат даты времени:30"},
        {9, "01.02.2019,10:20:30.123456", "Неверный формат даты времени:30/123456"},
    };
    for (const FailureCase& c : cases) {
        RecordConfig cfg;
        try {
            ParseCfgFile(cfg, With(c.line, c.text));
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const LoadError& e) {
            EXPECT_STREQ(e.what(), c.error) << c.text;
        }
    }
    RecordConfig cfg;
    EXPECT_THROW(ParseCfgFile(cfg, With(1, "x,2A,2D")), LoadError);
    EXPECT_THROW(ParseCfgFile(cfg, With(2, "1,Ia,A,Line,A,abc,1,0,-1,1,1,1,P")), LoadError);
    auto truncated = ValidLines();
    truncated.resize(5);
    EXPECT_THROW(ParseCfgFile(cfg, truncated), LoadError);
}

TEST(CfgParser, OlderRevisionLayouts) {
    auto lines = ValidLines();
    lines[2] = "1,Ia,A,Line,A,0.5,1,0,-1000,1000";
    lines[4] = "1,Trip,1";
    lines.pop_back();  // no time multiplier line
    const RecordConfig cfg = Parse(lines);
    EXPECT_DOUBLE_EQ(cfg.analog[0].primary, 1.0);
    EXPECT_DOUBLE_EQ(cfg.analog[0].secondary, 1.0);
    EXPECT_EQ(cfg.analog[0].max, 1000);
    EXPECT_EQ(cfg.analog[0].PS, TPS::P);
    EXPECT_EQ(cfg.digital[0].ph, "");
    EXPECT_TRUE(cfg.digital[0].y);
    EXPECT_DOUBLE_EQ(cfg.timemult, 1.0);
}

TEST(CfgParser, FieldDefaultsAndPadding) {
    EXPECT_DOUBLE_EQ(Parse(With(6, "")).freq, 50.0);
    EXPECT_EQ(Parse(With(7, "")).nrates, 0);
    const RecordConfig noRate = Parse(With(8, ",300"));
    EXPECT_DOUBLE_EQ(noRate.samp, -1.0);
    EXPECT_EQ(noRate.endsamp, 300u);
    EXPECT_EQ(Parse(With(8, "300")).endsamp, 300u);
    EXPECT_EQ(Parse(With(8, "1000,006000")).endsamp, 6000u);
    EXPECT_EQ(Parse(With(1, " 4, 2A, 2D")).a, 2);
    EXPECT_DOUBLE_EQ(Parse(With(2, "1,Ia,A,L,A, 7.748649e-03,+1,0,-1,1,1,1,P")).analog[0].a,
                     7.748649e-03);
    EXPECT_EQ(Parse(With(11, "ascii")).ft, "ASCII");
    EXPECT_DOUBLE_EQ(Parse(With(12, "0.001")).timemult, 0.001);
}

TEST(CfgParser, ReadsEveryRateLineOfSeveralRates) {
    auto lines = ValidLines();
    lines[7] = "3";
    lines[8] = "1000,100";
    lines.insert(lines.begin() + 9, {"2000,300", "500,450"});
    const RecordConfig cfg = Parse(lines);
    EXPECT_EQ(cfg.nrates, 3);
    EXPECT_EQ(cfg.endsamp, 450u);
    EXPECT_EQ(cfg.dt_Trigger, (DateTime{2019, 2, 1, 10, 20, 30, 100}));
    EXPECT_EQ(cfg.ft, "ASCII");
}

TEST(CfgParser, ReserveChannelRule) {
    EXPECT_TRUE(IsReserveChannelId("[Reserve]"));
    EXPECT_FALSE(IsReserveChannelId("[Reserve"));
    EXPECT_FALSE(IsReserveChannelId(""));
    EXPECT_FALSE(IsReserveChannelId(" [Reserve]"));
}

TEST(CfgStrToDateTime, Forms) {
    const struct {
        const char* text;
        DateTime expected;
    } cases[] = {
        {"01/02/2019,10:20:30.123456", {2019, 2, 1, 10, 20, 30, 123, 456}},
        {"02/13/2019,10:20:30.000000", {2019, 2, 13, 10, 20, 30, 0}},
        {"01/02/2019,10:20:30:123", {2019, 2, 1, 10, 20, 30, 123}},
        {"01/02/19,10:20:30.5", {2019, 2, 1, 10, 20, 30, 5}},
        {"01/02/2019,10:20:30.999999", {2019, 2, 1, 10, 20, 30, 999, 999}},
        {"01/02/2019,10:20:30.000007", {2019, 2, 1, 10, 20, 30, 0, 7}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CfgStrToDateTime(c.text), c.expected) << c.text;
    }
    EXPECT_THROW(CfgStrToDateTime("31/02/2019,10:20:30.000000"), LoadError);
    EXPECT_THROW(CfgStrToDateTime("01/02/2019,25:20:30.000000"), LoadError);
    EXPECT_THROW(CfgStrToDateTime("01/02/2019,10:20:30.123456789"), LoadError);
    EXPECT_THROW(CfgStrToDateTime(""), LoadError);
}

}  // namespace
}  // namespace faultscope
