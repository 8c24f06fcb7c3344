#include "gui/views/time_label_rules.h"

#include <gtest/gtest.h>

namespace faultscope {
namespace {

constexpr LabelSpan kRecord{-100.0, 400.0};

TEST(TimeLabelRules, EachLineStaysInsideTheRecordAndOnItsSideOfTheOther) {
    struct Case {
        double snapped;
        double other;
        double left;   // where the left line goes, the other being the right line
        double right;  // where the right line goes, the other being the left line
    };
    const Case cases[] = {
        {50.0, 100.0, 50.0, 100.0},       // in order
        {150.0, 100.0, 100.0, 150.0},     // past the other line
        {100.0, 100.0, 100.0, 100.0},     // on it: the lines coincide
        {-120.0, 100.0, -100.0, -100.0},  // before the start, even left of the other
        {450.0, 100.0, 400.0, 400.0},     // after the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeftLinePlace(c.snapped, c.other, kRecord), c.left) << c.snapped;
        EXPECT_EQ(RightLinePlace(c.snapped, c.other, kRecord), c.right) << c.snapped;
    }
}

TEST(TimeLabelRules, TheDialogCouplingFollowsTheHeldField) {
    using F = LabelField;
    // min 10, delta 5, max 20: every rule gives a value that differs from the current one.
    struct Case {
        int item;
        F changed;
        std::optional<F> follows;
        double value;
    };
    const Case cases[] = {
        {0, F::Min, F::Delta, 10.0}, {0, F::Delta, F::Max, 15.0}, {0, F::Max, F::Delta, 10.0},
        {1, F::Min, {}, 0.0},        {1, F::Delta, F::Max, 15.0}, {1, F::Max, F::Delta, 10.0},
        {2, F::Min, F::Max, 15.0},   {2, F::Delta, {}, 0.0},      {2, F::Max, F::Min, 15.0},
        {3, F::Min, F::Delta, 10.0}, {3, F::Delta, F::Min, 15.0}, {3, F::Max, {}, 0.0},
    };
    for (const Case& c : cases) {
        const auto change = CoupledField(c.item, c.changed, 10.0, 5.0, 20.0);
        SCOPED_TRACE(testing::Message() << c.item << "/" << static_cast<int>(c.changed));
        ASSERT_EQ(change.has_value(), c.follows.has_value());
        if (change) {
            EXPECT_EQ(change->field, *c.follows);
            EXPECT_EQ(change->value, c.value);
        }
    }
    for (const int bad : {-1, 4}) {
        EXPECT_THROW(
            {
                try {
                    (void)CoupledField(bad, F::Min, 0, 0, 0);
                } catch (const std::out_of_range& e) {
                    EXPECT_STREQ(e.what(), "Недопустимое значение констраныты");
                    throw;
                }
            },
            std::out_of_range);
    }
}

}  // namespace
}  // namespace faultscope
