#include "core/formula/formula_channel.h"

#include "support/record_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/formula/formula_library.h"

namespace faultscope {
namespace {

constexpr std::size_t kSamples = 8;

AnalogChannel MakeInfo(std::uint32_t an, std::string id, std::string uu) {
    AnalogChannel info;
    info.An = an;
    info.ch_id = std::move(id);
    info.ph = "A";
    info.ccbm = "line";
    info.uu = std::move(uu);
    info.a = 0.5;
    info.b = 2;
    info.skew = 1;
    info.min = -99999;
    info.max = 99999;
    info.primary = 110;
    info.secondary = 0.1;
    info.PS = TPS::S;
    return info;
}

AnalogColumns MakeColumns(const std::vector<double>& value, double rmsBase, double angleBase) {
    AnalogColumns columns = AnalogColumns::FromValues(value);
    for (std::size_t i = 0; i < value.size(); ++i) {
        columns.fundamental.rms.push_back(rmsBase + static_cast<double>(i));
        columns.fundamental.angle.push_back(angleBase + static_cast<double>(i));
    }
    return columns;
}

// A stand-in for the harmonic analysis: it only has to leave recognisable columns.
void FakeHarmonics(AnalogColumns& channel) {
    for (const double v : channel.Values()) {
        channel.harmonics.rms1.push_back(std::fabs(v));
        channel.harmonics.rms2.push_back(0);
        channel.harmonics.rms3.push_back(0);
        channel.harmonics.rms5.push_back(0);
        channel.harmonics.angle.push_back(7);
    }
}

class FormulaChannelTest : public ::testing::Test {
  protected:
    FormulaChannelTest() {
        for (std::size_t i = 0; i < kSamples; ++i) {
            record.timeUs.push_back(static_cast<std::int32_t>(i * 1000));
            record.xMs.push_back(static_cast<double>(i));
        }
        record.analog.push_back(MakeColumns({1, -2, 3, -4, 5, 0.5, -0.25, 0}, 10, 100));
        record.analog.push_back(MakeColumns({0.05, -1, 0.2, 2, 4, 0.1, 1, 1}, 20, 200));
        record.analog.push_back(MakeColumns({9, 9, 9, 9, 9, 9, 9, 9}, 30, 300));
        test::SetSample(record.analog[0], 3, -4, true);  // a gap keeps its stored value
        cfg.analog = {MakeInfo(1, "Ia", "A"), MakeInfo(2, "Ib", "kA"), MakeInfo(3, "Ua", "kV")};
    }

    FormulaChannel Compute(std::string_view value, std::string_view angle = {}) {
        return ComputeFormulaChannel(record, cfg, slots, "I0", value, angle, FakeHarmonics);
    }

    RecordData record;
    RecordConfig cfg;
    std::vector<std::optional<std::size_t>> slots{0, 1, 2, std::nullopt, std::nullopt};
};

TEST_F(FormulaChannelTest, ComputesEverySampleFromTheSources) {
    const FormulaChannel channel = Compute("S1*2");
    EXPECT_EQ(channel.columns.Values(), (std::vector<double>{2, -4, 6, -8, 10, 1, -0.5, 0}));
    EXPECT_EQ(test::Gaps(channel.columns), std::vector<std::uint8_t>(kSamples, 0));
    EXPECT_EQ(Compute("(S1+S2+S3)/3").columns.Value(4), (5 + 4 + 9) / 3.0);
    EXPECT_EQ(Compute("D1").columns.Values(), record.analog[0].fundamental.rms);
    EXPECT_EQ(Compute("S1 > 0").columns.Values(),
              (std::vector<double>{-1, 0, -1, 0, -1, -1, 0, 0}));
}

TEST_F(FormulaChannelTest, DescribesTheNewChannelAfterTheFirstSlot) {
    slots = {1, 0};
    const AnalogChannel info = Compute("S1").info;
    EXPECT_EQ(info.An, 4U);
    EXPECT_EQ(info.ch_id, "I0");
    EXPECT_EQ(info.ph, "");
    EXPECT_EQ(info.ccbm, "");
    EXPECT_EQ(info.uu, "kA");
    EXPECT_EQ(info.a, 1.0);
    EXPECT_EQ(info.b, 0.0);
    EXPECT_EQ(info.skew, 0.0);
    EXPECT_EQ(info.min, -99999);
    EXPECT_EQ(info.max, 99999);
    EXPECT_EQ(info.primary, 1.0);
    EXPECT_EQ(info.secondary, 1.0);
    EXPECT_EQ(info.PS, TPS::S);
    EXPECT_FALSE(info.ReserveChannel);
}

// Results outside the first slot's range, or not numbers at all, become gaps of value 0.
TEST_F(FormulaChannelTest, TurnsResultsOutsideTheRangeIntoGaps) {
    test::SetSample(record.analog[0], 7, std::numeric_limits<double>::quiet_NaN(), false);
    const FormulaChannel channel = Compute("S1*100000");
    EXPECT_EQ(channel.columns.Values(), (std::vector<double>{0, 0, 0, 0, 0, 50000, -25000, 0}));
    EXPECT_EQ(test::Gaps(channel.columns), (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 0, 0, 1}));

    cfg.analog[0].min = -2;
    cfg.analog[0].max = 3;
    const FormulaChannel edges = Compute("S1");
    EXPECT_EQ(test::Gaps(edges.columns), (std::vector<std::uint8_t>{0, 0, 0, 1, 1, 0, 0, 1}));
}

TEST_F(FormulaChannelTest, WritesTheAngleFormulaOverTheHarmonicAngles) {
    const FormulaChannel plain = Compute("S2");
    EXPECT_EQ(plain.columns.harmonics.rms1[1], 1.0F);
    EXPECT_EQ(plain.columns.harmonics.angle, std::vector<float>(kSamples, 7));
    EXPECT_TRUE(plain.columns.formulaAngle.empty());

    // The formula's angle is kept in double for readers and drawn as well.
    const FormulaChannel angled = Compute("S2", "ANGLE1");
    EXPECT_EQ(angled.columns.harmonics.rms1[1], 1.0F);
    EXPECT_EQ(angled.columns.formulaAngle, record.analog[0].fundamental.angle);
    EXPECT_EQ(angled.columns.harmonics.angle[5], 105.0F);

    // No range applies to angles.
    const FormulaChannel wide = Compute("S2", "S1 * 1000000");
    EXPECT_EQ(wide.columns.formulaAngle[4], 5000000.0);
    const FormulaChannel blank = Compute("  S2 ", "  ");
    EXPECT_EQ(blank.columns.harmonics.angle, plain.columns.harmonics.angle);
    EXPECT_TRUE(blank.columns.formulaAngle.empty());
}

// A channel of RMS values with an angle formula is a phasor's modulus; one that reads the
// sources' instantaneous values stays a waveform whose readout is its own harmonic analysis.
TEST_F(FormulaChannelTest, OnlyAnAngledChannelOfRmsValuesIsAModulus) {
    const struct {
        const char* value;
        const char* angle;
        bool modulus;
    } cases[] = {
        {"D1*2", "ANGLE1", true},  {"Seq(1, D1, ANGLE1, D2, ANGLE2, D3, ANGLE3)", "0", true},
        {"S1*2", "ANGLE1", false}, {"(s1+S2)/2", "ANGLE1", false},
        {"D1", "", false},         {"D1 + Sqrt(D2)", "ANGLE2", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Compute(c.value, c.angle).columns.valueIsModulus, c.modulus) << c.value;
    }
}

TEST_F(FormulaChannelTest, RefusesMissingSources) {
    slots.clear();
    EXPECT_THROW(Compute("S1"), std::invalid_argument);
    slots = {std::nullopt, 0};
    EXPECT_THROW(Compute("S2"), std::invalid_argument);
    slots = {0, 3};
    EXPECT_THROW(Compute("S1"), std::invalid_argument);
}

struct FailureCase {
    const char* value;
    const char* angle;
    bool box;
    const char* message;
    std::size_t valuesKept;
    bool harmonicsRun;
};

// A failure stops the computation at once; what was computed so far stays.
TEST_F(FormulaChannelTest, StopsAtTheFirstFailure) {
    const std::vector<FailureCase> cases{
        {"SQRT(S1)", "", true, "Нельзя взять корень из отрицательного числа.", 1, false},
        {"LEFT('s1', 3)", "", true, "Не допустимое значение параметра функции Left.", 0, false},
        {"ZF(1, 2, 3, 4, 5, 6, 7, 8, 9, 10)", "", false,
         "Ошибка в формуле значения, позиция 1, отсчёт 0: Undeclared Identifier 'ZF'", 0, false},
        {"S1 + FOO", "", false,
         "Ошибка в формуле значения, позиция 6, отсчёт 0: Undeclared Identifier 'FOO'", 0, false},
        {"", "", false,
         "Ошибка в формуле значения, позиция 1: Expression expected but end of formula found", 0,
         false},
        // Positions count characters, not bytes.
        {"'ж' + 1 +", "", false,
         "Ошибка в формуле значения, позиция 10: Expression expected but end of formula found", 0,
         false},
        {"S1 S2", "", false, "Ошибка в формуле значения, позиция 4: Missing operator", 0, false},
        // A ";" the user typed is named as such.
        {"S1+(1;", "", false, "Ошибка в формуле значения, позиция 6: ')' expected but ';' found", 0,
         false},
        {"Null", "", false,
         "Ошибка в формуле значения, отсчёт 0: Could not convert variant of type (Null) into type "
         "(Double)",
         0, false},
        {"1 / (S1 - 3)", "", false,
         "Ошибка в формуле значения, позиция 3, отсчёт 2: Floating point division by zero", 2,
         false},
        {"S1", "SQRT(-1)", true, "Нельзя взять корень из отрицательного числа.", kSamples, true},
        {"S1", "1 div 0", false, "Ошибка в формуле угла, позиция 3, отсчёт 0: Division by zero",
         kSamples, true},
    };
    std::vector<FormulaSlot> formulaSlots;
    for (std::size_t i = 0; i < 3; ++i) {
        formulaSlots.push_back({&record.analog[i], &cfg.analog[i]});
    }
    FormulaProgram calculate;
    calculate.SetOnGetValue(
        [&formulaSlots](const FormulaProgram* sender, std::string_view id, Variant& value,
                        const FormulaArguments& args,
                        bool& done) { CalcValue(formulaSlots, sender, id, value, args, done); });
    for (const FailureCase& c : cases) {
        AnalogColumns target;
        bool harmonicsRun = false;
        try {
            FillFormulaChannel(calculate, cfg.analog[0], c.value, c.angle, kSamples, target,
                               [&harmonicsRun](AnalogColumns&) { harmonicsRun = true; });
            ADD_FAILURE() << c.value << " did not fail";
        } catch (const FormulaError& error) {
            EXPECT_EQ(dynamic_cast<const FormulaBoxError*>(&error) != nullptr, c.box) << c.value;
            EXPECT_STREQ(error.what(), c.message) << c.value;
        }
        EXPECT_EQ(target.size(), c.valuesKept) << c.value;
        EXPECT_EQ(harmonicsRun, c.harmonicsRun) << c.value;
    }
}

}  // namespace
}  // namespace faultscope
