#include "core/analysis/phase_triple.h"

#include <gtest/gtest.h>

#include <vector>

namespace faultscope {
namespace {

AnalogChannel Channel(const char* id, const char* phase, const char* circuit, const char* unit) {
    AnalogChannel c;
    c.ch_id = id;
    c.ph = phase;
    c.ccbm = circuit;
    c.uu = unit;
    return c;
}

TEST(PhaseIndex, KnowsLatinAndCyrillicPhaseLetters) {
    struct Case {
        const char* phase;
        std::optional<std::size_t> index;
    };
    const Case cases[] = {{"A", 0}, {"b", 1},  {" C ", 2}, {"А", 0}, {"В", 1},
                          {"с", 2}, {"N", {}}, {"0", {}},  {"", {}}, {"AB", {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(PhaseIndex(c.phase), c.index) << c.phase;
    }
}

TEST(FindPhaseTriples, GroupsPhasesOfOneCircuitAndUnit) {
    // A line's currents and a bus's voltages with the residuals between them, out of order.
    const std::vector<AnalogChannel> record = {
        Channel("IA ВЛ-110", "A", "ВЛ-110", "А"),    Channel("UA СШ-110", "A", "СШ-110", "кВ"),
        Channel("IB ВЛ-110", "B", "ВЛ-110", "А"),    Channel("3I0 ВЛ-110", "N", "ВЛ-110", "А"),
        Channel("IC ВЛ-110", "C", "ВЛ-110", "А"),    Channel("UB СШ-110", "B", "СШ-110", "кВ"),
        Channel("UC СШ-110", "C ", "СШ-110 ", "кВ"),
    };
    EXPECT_EQ(FindPhaseTriples(record), (std::vector<PhaseTriple>{{{0, 2, 4}}, {{1, 5, 6}}}));
}

TEST(FindPhaseTriples, OffersNoTripleAcrossCircuitsOrUnits) {
    struct Case {
        const char* name;
        std::vector<AnalogChannel> channels;
        std::vector<PhaseTriple> triples;
    };
    const Case cases[] = {
        {"other unit",
         {Channel("IA", "A", "L1", "A"), Channel("IB", "B", "L1", "kA"),
          Channel("IC", "C", "L1", "A")},
         {}},
        {"other circuit",
         {Channel("IA", "A", "L1", "A"), Channel("IB", "B", "L2", "A"),
          Channel("IC", "C", "L1", "A")},
         {}},
        {"phase C missing", {Channel("IA", "A", "L1", "A"), Channel("IB", "B", "L1", "A")}, {}},
        {"two sets of one circuit pair in order",
         {Channel("IA1", "A", "", "A"), Channel("IA2", "A", "", "A"), Channel("IB1", "B", "", "A"),
          Channel("IC1", "C", "", "A"), Channel("IB2", "B", "", "A"), Channel("IC2", "C", "", "A")},
         {{{0, 2, 3}}, {{1, 4, 5}}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindPhaseTriples(c.channels), c.triples) << c.name;
    }
}

}  // namespace
}  // namespace faultscope
