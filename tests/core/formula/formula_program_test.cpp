#include "core/formula/formula_program.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace faultscope {
namespace {

// An evaluator whose owner knows S1 = 1, S2 = 2, S3 = 3 (reals), exactly as written.
class Evaluator {
  public:
    Evaluator() {
        program.SetOnGetValue([this](const FormulaProgram*, std::string_view identifier,
                                     Variant& value, const FormulaArguments&, bool& done) {
            const auto found = known.find(std::string(identifier));
            if (found != known.end()) {
                value = found->second;
                done = true;
            }
        });
    }

    Variant Evaluate(std::string_view formula) {
        program.SetSource(FormulaScript(formula));
        program.Run();
        return program.VResult();
    }

    std::string ErrorOf(std::string_view formula) {
        try {
            Evaluate(formula);
        } catch (const FormulaError& error) {
            return error.what();
        }
        return "no error";
    }

    std::map<std::string, Variant> known{
        {"S1", Variant::Real(1)}, {"S2", Variant::Real(2)}, {"S3", Variant::Real(3)}};
    FormulaProgram program;
};

struct ValueCase {
    const char* formula;
    Variant expected;
};

TEST(InterpreterProgramTest, EvaluatesExpressions) {
    const std::vector<ValueCase> cases{
        {"(S1+S2+S3)/3", Variant::Real(2)},
        {"S1+S2*S3", Variant::Real(7)},
        {"(S1+S2)*S3", Variant::Real(9)},
        {"7 div 2", Variant::Integer(3)},
        {"7 mod 2", Variant::Integer(1)},
        {"-7 mod 2", Variant::Integer(-1)},
        {"7/2", Variant::Real(3.5)},
        {"6/3", Variant::Real(2)},
        {"-S3*2", Variant::Real(-6)},
        {"2*-3", Variant::Integer(-6)},
        {"2--3", Variant::Integer(5)},
        {"+S2 - -S1", Variant::Real(3)},
        {"- -4", Variant::Integer(4)},
        {"1 + 2 and 3", Variant::Integer(3)},
        {"1 + 2 and 2", Variant::Integer(3)},
        {"-1 <= 2 = 2", Variant::Boolean(true)},
        {"1 xor 3 = 2", Variant::Boolean(true)},
        {"not 1 = 2", Variant::Boolean(false)},
        {"not 0", Variant::Integer(-1)},
        {"not true", Variant::Boolean(false)},
        {"true and false or true", Variant::Boolean(true)},
        {"6 and 3 or 8", Variant::Integer(10)},
        {"1 shl 4 + 256 shr 4", Variant::Integer(32)},
        {"S1 > 0", Variant::Boolean(true)},
        {"S1 < 0", Variant::Boolean(false)},
        {"S1 = 1", Variant::Boolean(true)},
        {"S1 <> 1", Variant::Boolean(false)},
        {"S2 >= 2", Variant::Boolean(true)},
        {"7.5 > 7", Variant::Boolean(true)},
        {"1.5", Variant::Real(1.5)},
        {"1.", Variant::Real(1)},
        {"$FF", Variant::Integer(255)},
        {"3000000000", Variant::LongInt(3000000000)},
        {"'abc''def'", Variant::Text("abc'def")},
        {"#65#66", Variant::Text("AB")},
        {"'a'#39'b'", Variant::Text("a'b")},
        {"'ab' + 'cd'", Variant::Text("abcd")},
        {"'abc' < 'abd'", Variant::Boolean(true)},
        {"'2' * 3", Variant::Integer(6)},
        {"true + 1", Variant::Integer(0)},
        {"nil + 1", Variant::Integer(1)},
        {"Null", Variant::Null()},
        {"Result", Variant::Null()},
        {"1 {one} + (* two *) 2 // three", Variant::Integer(3)},
        {"\t1\r\n+\n2", Variant::Integer(3)},
    };
    Evaluator evaluator;
    for (const ValueCase& c : cases) {
        EXPECT_EQ(evaluator.Evaluate(c.formula), c.expected) << c.formula;
    }
}

// Whole numbers widen to a long integer, then to a real, instead of wrapping round.
TEST(InterpreterProgramTest, WidensWholeNumbersOnOverflow) {
    const std::vector<ValueCase> cases{
        {"2147483647 + 1", Variant::LongInt(2147483648)},
        {"-2147483647 - 2", Variant::LongInt(-2147483649)},
        {"100000 * 100000", Variant::LongInt(10000000000)},
        {"-(-2147483647 - 1)", Variant::LongInt(2147483648)},
        {"9223372036854775807 + 1", Variant::Real(9223372036854775808.0)},
        {"4294967296 * 4294967296", Variant::Real(18446744073709551616.0)},
        {"-9223372036854775807 - 1 - 1", Variant::Real(-9223372036854775809.0)},
        {"-2147483647 - 1 div -1", Variant::Integer(-2147483646)},
        {"(-2147483647 - 1) div -1", Variant::LongInt(2147483648)},
    };
    Evaluator evaluator;
    for (const ValueCase& c : cases) {
        EXPECT_EQ(evaluator.Evaluate(c.formula), c.expected) << c.formula;
    }
}

struct ErrorCase {
    std::string formula;
    std::string message;
};

TEST(InterpreterProgramTest, ReportsFaults) {
    const std::vector<ErrorCase> cases{
        {"1/0", "Floating point division by zero"},
        {"0/0", "Invalid floating point operation"},
        {"1 div 0", "Division by zero"},
        {"1 mod 0", "Division by zero"},
        {"(-9223372036854775807 - 1) div -1", "Integer overflow"},
        {"7.5 div 2", "Invalid variant operation"},
        {"7 mod 2.0", "Invalid variant operation"},
        {"1 shl 1.5", "Invalid variant operation"},
        {"1.5 shr 1", "Invalid variant operation"},
        {"1.5 and 1", "Invalid variant operation"},
        {"not 1.5", "Invalid variant operation"},
        {"Null + 1", "Invalid variant operation"},
        {"-Null", "Invalid variant operation"},
        {"Null = 1", "Invalid variant operation"},
        {"'x' * 2", "Could not convert variant of type (String) into type (Double)"},
        {"1" + std::string(308, '0') + ". * 10.0", "Floating point overflow"},
        {"S1 S2", "Missing operator or semicolon"},
        {"(S1) (S2)", "Missing operator or semicolon"},
        {"S1 not S2", "Missing operator or semicolon"},
        {"S1 +", "Expression expected but ';' found"},
        {"", "Expression expected but ';' found"},
        {"1,5", "';' expected but ',' found"},
        {"(1", "')' expected but ';' found"},
        {"F(1;", "')' expected but ';' found"},
        {"1)", "';' expected but ')' found"},
        {".5", "Expression expected but '.' found"},
        {"1e5", "Missing operator or semicolon"},
        {"S1[0]", "';' expected but '[' found"},
        {"FOO", "Undeclared Identifier 'FOO'"},
        {"s1", "Undeclared Identifier 's1'"},
        {"in", "Expression expected but 'in' found"},
        {"to + 1", "Expression expected but 'to' found"},
        {"S1 in S2", "';' expected but 'in' found"},
        {"\xD0\xA1"
         "1",
         "Expression expected but '\xD0\xA1' found"},
        {"1 @ 2", "';' expected but '@' found"},
        {"{ open", "Error in remark"},
        {"(* open", "Error in remark"},
        {"1 } + 2", "Error in remark"},
        {"1 *) + 2", "Error in remark"},
        {"99999999999999999999", "Type of expression must be integer"},
        {"$10000000000000000", "Type of expression must be integer"},
        {"'abc", "Unterminated string"},
        {"'a\rb'", "Unterminated string"},
        {"1; result := 2", "'end' expected but 'result' found"},
        {"1; end; garbage", "end of file expected but 'garbage' found"},
    };
    Evaluator evaluator;
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(evaluator.ErrorOf(c.formula), c.message) << c.formula;
    }
}

TEST(InterpreterProgramTest, RunsOnlyTheScriptShape) {
    const std::vector<ErrorCase> cases{
        {"program p; begin end.", "'begin' expected but 'program' found"},
        {"begin result := 1; end", "';' expected but end of file found"},
        {"begin result := 1 end;", ""},
        {"begin ; end;", ""},
        {"begin x := 1; end;", "Undeclared Identifier 'x'"},
        {"begin result = 1; end;", "':=' expected but '=' found"},
        {"begin result : = 1; end;", ""},
        {"begin 5; end;", "'end' expected but '5' found"},
    };
    FormulaProgram program;
    for (const ErrorCase& c : cases) {
        program.SetSource(c.formula);
        std::string message;
        try {
            program.Run();
        } catch (const FormulaError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << c.formula;
    }
}

std::string Nested(int depth, std::string_view open, std::string_view inner,
                   std::string_view close) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

// 200 pending operands are allowed, one more is not; deep nesting fails the same way instead
// of exhausting the stack, while a long flat formula is fine.
TEST(InterpreterProgramTest, LimitsPendingOperandsAndNesting) {
    Evaluator evaluator;
    EXPECT_EQ(evaluator.Evaluate(Nested(199, "1+(", "1", ")")), Variant::Integer(200));
    EXPECT_EQ(evaluator.ErrorOf(Nested(200, "1+(", "1", ")")),
              "Expression is too complex - overflow");
    EXPECT_EQ(evaluator.Evaluate(Nested(200, "(", "S1", ")")), Variant::Real(1));
    EXPECT_EQ(evaluator.ErrorOf(Nested(201, "(", "S1", ")")),
              "Expression is too complex - overflow");
    EXPECT_EQ(evaluator.ErrorOf(Nested(100000, "(", "S1", ")")),
              "Expression is too complex - overflow");
    EXPECT_EQ(evaluator.ErrorOf(Nested(100000, "F(", "S1", ")")),
              "Expression is too complex - overflow");

    std::string args = "F(1";
    for (int i = 1; i < 201; ++i) {
        args += ",1";
    }
    EXPECT_EQ(evaluator.ErrorOf(args + ")"), "Expression is too complex - overflow");

    std::string flat = "1";
    for (int i = 1; i < 10000; ++i) {
        flat += "+1";
    }
    EXPECT_EQ(evaluator.Evaluate(flat), Variant::Integer(10000));
    EXPECT_EQ(evaluator.Evaluate(Nested(100000, "-", "1", "")), Variant::Integer(1));
}

struct Request {
    std::string identifier;
    std::vector<Variant> args;
    std::int64_t tag = 0;
};

// The owner sees the name as written, the arguments already evaluated in order, and the tag.
TEST(InterpreterProgramTest, AsksTheOwnerForUnknownNames) {
    std::vector<Request> requests;
    FormulaProgram program;
    program.SetOnGetValue([&requests](const FormulaProgram* sender, std::string_view id,
                                      Variant& value, const FormulaArguments& args, bool& done) {
        EXPECT_EQ(static_cast<std::size_t>(args.Count), args.Values.size());
        requests.push_back(
            {std::string(id), {args.Values.begin(), args.Values.end()}, sender->Tag()});
        value.SetInteger(static_cast<std::int32_t>(requests.size()));
        done = true;
    });
    program.SetTag(42);
    program.SetSource(FormulaScript("sqrt(s1, 'a', 2.5) + Foo() + Foo + nil"));
    program.Run();
    EXPECT_EQ(program.VResult(), Variant::Integer(2 + 3 + 4));
    ASSERT_EQ(requests.size(), 4U);
    EXPECT_EQ(requests[0].identifier, "s1");
    EXPECT_EQ(requests[1].identifier, "sqrt");
    EXPECT_EQ(requests[1].args,
              (std::vector<Variant>{Variant::Integer(1), Variant::Text("a"), Variant::Real(2.5)}));
    EXPECT_EQ(requests[2].identifier, "Foo");
    EXPECT_TRUE(requests[2].args.empty());
    EXPECT_TRUE(requests[3].args.empty());
    EXPECT_EQ(requests[3].tag, 42);
}

TEST(InterpreterProgramTest, PassesTheOwnersErrorsThrough) {
    FormulaProgram program;
    program.SetOnGetValue(
        [](const FormulaProgram*, std::string_view, Variant&, const FormulaArguments&, bool&) {
            throw FormulaBoxError("Нельзя взять корень из отрицательного числа.");
        });
    program.SetSource(FormulaScript("SQRT(-1)"));
    EXPECT_THROW(program.Run(), FormulaBoxError);
}

// Nothing but the source and the tag carries over from one run to the next.
TEST(InterpreterProgramTest, StartsEveryRunAfresh) {
    Evaluator evaluator;
    evaluator.program.SetSource(FormulaScript("S1 * 2"));
    evaluator.program.Run();
    EXPECT_EQ(evaluator.program.VResult(), Variant::Real(2));
    evaluator.known["S1"] = Variant::Text("x");
    EXPECT_THROW(evaluator.program.Run(), FormulaError);
    EXPECT_EQ(evaluator.program.VResult(), Variant::Null());
    evaluator.known["S1"] = Variant::Real(5);
    evaluator.program.Run();
    EXPECT_EQ(evaluator.program.VResult(), Variant::Real(10));

    evaluator.program.SetSource(FormulaScript("S1 +"));
    EXPECT_THROW(evaluator.program.Run(), FormulaError);
    EXPECT_THROW(evaluator.program.Run(), FormulaError);
    evaluator.program.SetSource(FormulaScript("S1 + 1"));
    evaluator.program.Run();
    EXPECT_EQ(evaluator.program.VResult(), Variant::Real(6));
}

TEST(InterpreterProgramTest, WrapsAFormulaInTheScriptShape) {
    EXPECT_EQ(FormulaScript("S1*2"), "begin\rresult := S1*2;\rend;");
}

TEST(InterpreterProgramTest, ConvertsResultsToNumbers) {
    EXPECT_EQ(ToDouble(Variant::Boolean(true)), -1.0);
    EXPECT_EQ(ToDouble(Variant::Boolean(false)), 0.0);
    EXPECT_EQ(ToDouble(Variant()), 0.0);
    EXPECT_EQ(ToDouble(Variant::Text(" 12 ")), 12.0);
    EXPECT_EQ(ToDouble(Variant::LongInt(3000000000)), 3e9);
    EXPECT_THROW(ToDouble(Variant::Null()), FormulaError);
    EXPECT_THROW(ToDouble(Variant::Text("abc")), FormulaError);
    EXPECT_THROW(ToDouble(Variant::Text("nan")), FormulaError);
}

}  // namespace
}  // namespace faultscope
