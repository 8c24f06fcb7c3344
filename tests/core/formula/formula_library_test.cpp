#include "core/formula/formula_library.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace faultscope {
namespace {

AnalogColumns MakeColumns(std::vector<double> value, std::vector<double> rms1,
                          std::vector<double> angle) {
    AnalogColumns columns = AnalogColumns::FromValues(value);
    columns.fundamental.rms = std::move(rms1);
    columns.fundamental.angle = std::move(angle);
    return columns;
}

// Four slots over six samples; slot 4 is empty.
class FormulaLibraryTest : public ::testing::Test {
  protected:
    FormulaLibraryTest() {
        program.SetOnGetValue([this](const FormulaProgram* sender, std::string_view id,
                                     Variant& value, const FormulaArguments& args, bool& done) {
            CalcValue(slots, sender, id, value, args, done);
        });
    }

    Variant Evaluate(std::string_view formula, std::int64_t k) {
        program.SetSource(FormulaScript(formula));
        program.SetTag(k);
        program.Run();
        return program.VResult();
    }

    double Value(std::string_view formula, std::int64_t k) {
        return ToDouble(Evaluate(formula, k));
    }

    // The message of the failure, prefixed "box: " when the user is shown it in a box.
    std::string Failure(std::string_view formula, std::int64_t k) {
        try {
            Evaluate(formula, k);
        } catch (const FormulaBoxError& error) {
            return std::string("box: ") + error.what();
        } catch (const FormulaError& error) {
            return error.what();
        }
        return "no failure";
    }

    AnalogColumns a =
        MakeColumns({1, -2, 3, -4, 5, 6}, {10, 11, 12, 13, 14, 15}, {0, 30, 60, 90, 120, 150});
    AnalogColumns b =
        MakeColumns({0.05, -1, 0.2, 2, 4, 0.1}, {20, 21, 22, 23, 24, 25}, {5, 6, 7, 8, 9, 10});
    AnalogColumns c = MakeColumns({100, 101, 102, 103, 104, 105}, {}, {});
    std::vector<FormulaSlot> slots{{&a, nullptr}, {&b, nullptr}, {&c, nullptr}, {}};
    FormulaProgram program;
};

struct ValueCase {
    const char* formula;
    std::int64_t k;
    double expected;
};

TEST_F(FormulaLibraryTest, ReadsSourcesAtTheTaggedSample) {
    const std::vector<ValueCase> cases{
        {"S1", 1, -2},       {"s1", 1, -2},          {"D1", 2, 12},
        {"ANGLE1", 3, 90},   {"angle2", 3, 8},       {"S2", 0, 0.05},
        {"d2", 5, 25},       {"S3", 4, 104},         {"S1(7, 'x')", 0, 1},
        {"sqrt(s3)", 0, 10}, {"SQRT(S3)", 0, 10},    {"Abs(S1)", 3, 4},
        {"ABS(-2)", 0, 2},   {"SQRT(2.25)", 0, 1.5}, {"(S1+S2+S3)/3", 2, 35.066666666666670},
    };
    for (const ValueCase& c : cases) {
        EXPECT_DOUBLE_EQ(Value(c.formula, c.k), c.expected) << c.formula << " at " << c.k;
    }
    EXPECT_EQ(Evaluate("ABS(-2)", 0), Variant::Real(2));
}

struct FailureCase {
    const char* formula;
    std::int64_t k;
    const char* message;
};

TEST_F(FormulaLibraryTest, RefusesMissingSourcesAndNames) {
    const std::vector<FailureCase> cases{
        {"S6", 0, "Undeclared Identifier 'S6'"},   {"S10", 0, "Undeclared Identifier 'S10'"},
        {"FOO", 0, "Undeclared Identifier 'FOO'"}, {"S4", 0, "Source 4 has no channel"},
        {"S5", 0, "Source 5 has no channel"},      {"D3", 0, "List index out of bounds (0)"},
        {"S1", 6, "List index out of bounds (6)"}, {"S1", -1, "List index out of bounds (-1)"},
    };
    for (const FailureCase& c : cases) {
        EXPECT_EQ(Failure(c.formula, c.k), c.message) << c.formula;
    }
}

TEST_F(FormulaLibraryTest, ShowsArgumentErrorsInBoxes) {
    const std::string sqrtCount = "box: Функция Sqrt может принимать только одно значение.";
    const std::string absCount = "box: Функция ABS может принимать только одно значение.";
    const std::string leftCount = "box: Функция Left может принимать только два значения.";
    const std::string leftName = "box: Не допустимое значение параметра функции Left.";
    const std::string rightCount = "box: Функция RIGHT может принимать только два значения.";
    const std::string rightName = "box: Не допустимое значение параметра функции Right.";
    const std::string divCount = "box: Функция DIVNOTNULL может принимать только четыре значения.";
    const std::vector<std::pair<const char*, std::string>> cases{
        {"SQRT()", sqrtCount},
        {"SQRT(1, 2)", sqrtCount},
        {"SQRT(-1, 2)", sqrtCount},
        {"SQRT('4')", sqrtCount},
        {"SQRT(true)", sqrtCount},
        {"SQRT(S1)", "box: Нельзя взять корень из отрицательного числа."},
        {"ABS()", absCount},
        {"ABS(1, 2)", absCount},
        {"ABS('1')", absCount},
        {"LEFT('S1')", leftCount},
        {"LEFT(1, 2)", leftCount},
        {"LEFT('S1', '2')", leftCount},
        {"LEFT('S1', 1, 2)", leftCount},
        {"LEFT('s1', 3)", leftName},
        {"LEFT('S6', 3)", leftName},
        {"LEFT('S0', 3)", leftName},
        {"LEFT('ANGLE1', 3)", leftName},
        {"RIGHT('S1')", rightCount},
        {"right(2, 'S1')", rightCount},
        {"RIGHT('d1', 1)", rightName},
        {"DIVNOTNULL(1, 2, 3)", divCount},
        {"DIVNOTNULL(1, 2, 3, '4')", divCount},
        {"DIVNOTNULL(1, 2, 3, 4, 5)", divCount},
    };
    for (const auto& [formula, message] : cases) {
        EXPECT_EQ(Failure(formula, 1), message) << formula;
    }
}

TEST_F(FormulaLibraryTest, ReadsNeighbouringSamples) {
    const std::vector<ValueCase> cases{
        {"LEFT('S1', 3)", 1, 1},
        {"LEFT('S1', 1)", 3, 3},
        {"RIGHT('D2', 5)", 5, 25},
        {"RIGHT('S1', 2)", 1, -4},
        {"RIGHT('S3', 2)", 2, 104},
        {"LEFT('D1', 0)", 4, 14},
        {"LEFT('S1', 100)", 2, 1},
        {"RIGHT('S1', 100)", 2, 6},
        {"RIGHT('S1', 1)", 0, -2},
        {"LEFT('S1', 1.5)", 4, 3},
        {"LEFT('S1', 0.5)", 4, 5},
        {"RIGHT('S1', -0.5)", 0, 1},
        {"RIGHT('S1', 0.5)", 2, 3},
        {"Left('S2', 2 - 1)", 2, -1},
        {"RIGHT('S1', 99999999999.0)", 0, 6},
    };
    for (const ValueCase& c : cases) {
        EXPECT_DOUBLE_EQ(Value(c.formula, c.k), c.expected) << c.formula << " at " << c.k;
    }
    EXPECT_EQ(Failure("LEFT('S1', -1)", 5), "List index out of bounds (6)");
    EXPECT_EQ(Failure("RIGHT('S1', -1)", 0), "List index out of bounds (-1)");
    EXPECT_EQ(Failure("LEFT('S1', -99999999999.5)", 0), "List index out of bounds (100000000000)");
    EXPECT_EQ(Failure("LEFT('S4', 1)", 2), "Source 4 has no channel");
}

// RIGHT keeps its index within the first slot's samples, whatever source it reads.
TEST_F(FormulaLibraryTest, RightNeedsTheFirstSlot) {
    slots[0] = {};
    EXPECT_EQ(Failure("RIGHT('S2', 1)", 0), "Source 1 has no channel");
    EXPECT_DOUBLE_EQ(Value("LEFT('S2', 1)", 1), 0.05);
}

TEST_F(FormulaLibraryTest, DividesOnlyByLargeEnoughDenominators) {
    const std::vector<Variant> expected{Variant::Integer(0),    Variant::Integer(0),
                                        Variant::Real(3 / 0.2), Variant::Real(-2),
                                        Variant::Real(1.25),    Variant::Real(6 / 0.1)};
    for (std::int64_t k = 0; k < 6; ++k) {
        EXPECT_EQ(Evaluate("DIVNOTNULL(S1, S2, 0.1, 0)", k), expected[k]) << k;
    }
    EXPECT_EQ(Evaluate("DIVNOTNULL(7, 2, 1, 0)", 0), Variant::Real(3.5));
    EXPECT_EQ(Evaluate("DIVNOTNULL(7, -2, 1, 0.5)", 0), Variant::Real(0.5));
    EXPECT_EQ(Failure("DIVNOTNULL(1, 0, 0, 5)", 0), "Floating point division by zero");
}

TEST_F(FormulaLibraryTest, ComputesTheLoopImpedance) {
    const std::vector<ValueCase> cases{
        // A balanced set: the loop current is Ia.
        {"ZF(100, 10, 0, 10, 240, 10, 120, 1, 0, 0.5, -1)", 0, 10},
        // Currents summing to exactly zero leave the zero-sequence term out.
        {"ZF(100, 10, 0, -10, 0, 0, 65535, 1, 0, 0.5, -1)", 0, 10},
        // Dead channels (modulus 0, undefined angle) add nothing.
        {"ZF(100, 10, 0, 0, 65535, 0, 65535, 3, 0, 0.5, -1)", 0, 5},
        // Without compensation the loop current is Ia.
        {"ZF(100, 10, 0, 5, 90, 0, 0, 0, 0, 0.5, -1)", 0, 10},
        {"ZF(100, 10, 0, 0, 0, 0, 0, 0, 3, 0.5, -1)", 0, 100 / std::sqrt(200.0)},
        {"ZF(100, 10, 0, 0, 0, 0, 0, 0, 0, 15, -1)", 0, -1},
        {"ZF(100, 10, 0, 0, 0, 0, 0, 3, 0, 10, -1)", 0, -1},
        {"ZF(S3, D1, ANGLE1, 0, 0, 0, 0, 0, 0, 1, 0)", 1, 101.0 / 11},
    };
    for (const ValueCase& c : cases) {
        EXPECT_NEAR(Value(c.formula, c.k), c.expected, 1e-12) << c.formula;
    }
    EXPECT_EQ(Failure("ZF(100, 0, 0, 0, 0, 0, 0, 1, 0, -1, -1)", 0),
              "Floating point division by zero");
    EXPECT_EQ(Failure("ZF(100, 10, 0, 0, 0, 0, 0, 1, 0, 0.5)", 0), "Undeclared Identifier 'ZF'");
    EXPECT_EQ(Failure("ZF(100, 10, 0, 0, 0, 0, 0, 1, 0, 0.5, '1')", 0),
              "Undeclared Identifier 'ZF'");
}

TEST_F(FormulaLibraryTest, ComputesTheLoopImpedanceAngle) {
    const std::vector<ValueCase> cases{
        {"ANGLE_ZF(30, 10, 0, 10, 240, 10, 120, 1, 0)", 0, 30},
        {"ANGLE_ZF(30, 10, 0, -10, 0, 0, 65535, 1, 0)", 0, 30},
        {"ANGLE_ZF(10, 10, 20, 0, 0, 0, 0, 0, 0)", 0, 350},
        {"ANGLE_ZF(45, 10, 0, 0, 0, 0, 0, 0, 3)", 0, 0},
        {"ANGLE_ZF(30, 10, 0, 0, 0, 0, 0, 0, 3)", 0, 345},
        {"ANGLE_ZF(400, 10, 0, 0, 65535, 0, 65535, 1, 0)", 0, 40},
        // Undefined: the voltage's angle, or the loop current's when there is no current.
        {"ANGLE_ZF(65535, 10, 0, 0, 0, 0, 0, 1, 0)", 0, 65535},
        {"ANGLE_ZF(30, 0, 0, 0, 0, 0, 0, 1, 0)", 0, 65535},
    };
    for (const ValueCase& c : cases) {
        EXPECT_NEAR(Value(c.formula, c.k), c.expected, 1e-9) << c.formula;
    }
    EXPECT_EQ(Failure("ANGLE_ZF(30, 10, 0, 0, 0, 0, 0, 1)", 0), "Undeclared Identifier 'ANGLE_ZF'");
}

TEST_F(FormulaLibraryTest, ComputesSymmetricalComponentsAndTheirAngles) {
    struct SequenceCase {
        const char* arguments;
        double modulus;
        double angle;  // negative: a zero component, whose angle is rounding noise
    };
    const std::vector<SequenceCase> cases{
        // A balanced set of positive sequence, and the same set turned the other way.
        {"(1, 10, 20, 10, 260, 10, 140)", 10, 20},
        {"(2, 10, 20, 10, 260, 10, 140)", 0, -1},
        {"(2, 10, 20, 10, 140, 10, 260)", 10, 20},
        {"(0, 10, 20, 10, 140, 10, 260)", 0, -1},
        // One phase alone holds a third of it in every sequence; dead phases add nothing.
        {"(1, 9, 30, 0, 65535, 0, 65535)", 3, 30},
        {"(2, 9, 30, 0, 65535, 0, 65535)", 3, 30},
        {"(0, 9, 30, 0, 65535, 0, 65535)", 3, 30},
        // Phase B alone: I1 leads it by 120°, I2 lags it by 120°.
        {"(1, 0, 0, 6, 90, 0, 0)", 2, 210},
        {"(2, 0, 0, 6, 90, 0, 0)", 2, 330},
        // Two phases against each other: no zero sequence.
        {"(1, 10, 0, 10, 180, 0, 0)", 10 / std::sqrt(3.0), 330},
        {"(0, 10, 0, 10, 180, 0, 0)", 0, -1},
    };
    for (const SequenceCase& c : cases) {
        const std::string modulus = std::string("SEQ") + c.arguments;
        const std::string angle = std::string("Angle_Seq") + c.arguments;
        EXPECT_NEAR(Value(modulus, 0), c.modulus, 1e-9) << modulus;
        if (c.angle >= 0) {
            EXPECT_NEAR(Value(angle, 0), c.angle, 1e-9) << angle;
        }
    }
    const double degree = std::numbers::pi / 180;
    EXPECT_NEAR(Value("3*Seq(0, D1, ANGLE1, D2, ANGLE2, 0, 0)", 1),
                std::abs(std::polar(11.0, 30 * degree) + std::polar(21.0, 6 * degree)), 1e-9);
    // A phase whose window held a gap leaves the component undefined; so does an order not 0-2.
    AnalogColumns gapped = MakeColumns({0, 0}, {std::nan(""), 5}, {65535, 0});
    slots[3] = {&gapped, nullptr};
    EXPECT_TRUE(std::isnan(Value("Seq(1, D1, ANGLE1, D2, ANGLE2, D4, ANGLE4)", 0)));
    EXPECT_EQ(Value("Angle_Seq(1, D1, ANGLE1, D2, ANGLE2, D4, ANGLE4)", 0), 65535);
    EXPECT_FALSE(std::isnan(Value("Seq(1, D1, ANGLE1, D2, ANGLE2, D4, ANGLE4)", 1)));
    EXPECT_TRUE(std::isnan(Value("Seq(3, 1, 0, 1, 0, 1, 0)", 0)));
    EXPECT_EQ(Failure("Seq(1, 1, 0, 1, 0, 1)", 0), "Undeclared Identifier 'Seq'");
}

TEST_F(FormulaLibraryTest, NeedsASender) {
    Variant value;
    bool done = false;
    try {
        CalcValue(slots, nullptr, "S1", value, {}, done);
        FAIL() << "no error";
    } catch (const FormulaError& error) {
        EXPECT_STREQ(error.what(), "Sender not assigned");
    }
    EXPECT_FALSE(done);
}

}  // namespace
}  // namespace faultscope
