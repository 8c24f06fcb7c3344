// The rule by which a search goes from one strip name to the next.
#include <gtest/gtest.h>
#include <QString>
#include <vector>

#include "gui/views/strip_finder.h"

namespace faultscope {
namespace {

TEST(NextNameMatch, GoesOnFromTheCurrentNameAndRoundPastTheLast) {
    const std::vector<QString> names = {"IA ВЛ-110", "UA СШ-110", "Пуск ДЗ", "Пуск ТЗНП",
                                        "3U0 СШ-110"};
    const struct {
        const char* text;
        std::ptrdiff_t current;
        std::ptrdiff_t next;
    } cases[] = {
        {"сш", -1, 1},  // Russian letters in either case
        {"сш", 1, 4},   // after the current one
        {"сш", 4, 1},   // round past the last
        {"пуСК дз", 3, 2},
        {"ia", 0, 0},    // the current one, when it is the only one, comes again
        {"110", 99, 0},  // a current one past the end starts over
        {"IA ВЛ-110 ", -1, -1},
        {"", -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextNameMatch(names, QString::fromUtf8(c.text), c.current), c.next)
            << c.text << " after " << c.current;
    }
    EXPECT_EQ(NextNameMatch({}, "a", -1), -1);
}

}  // namespace
}  // namespace faultscope
