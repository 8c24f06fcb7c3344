#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/record/date_time.h"

namespace faultscope {

// Whether the scaled values of an analog channel are primary or secondary values.
enum class TPS : std::uint8_t { P, S };

// One analog channel as the configuration file describes it.
// Formerly TAnalog.
struct AnalogChannel {
    std::uint32_t An = 0;
    std::string ch_id;
    std::string ph;
    std::string ccbm;
    std::string uu;
    double a = 1.0;
    double b = 0.0;
    double skew = 0.0;
    std::int32_t min = 0;
    std::int32_t max = 0;
    double primary = 1.0;
    double secondary = 1.0;
    TPS PS = TPS::P;
    bool ReserveChannel = false;
};

// One digital (status) channel as the configuration file describes it.
// Formerly TDigital.
struct DigitalChannel {
    std::uint32_t Dn = 0;
    std::string ch_id;
    std::string ph;
    std::string ccbm;
    bool y = false;
    bool ReserveChannel = false;
};

// The parsed configuration file of one record. Texts are UTF-8.
// Formerly TCfgFile.
struct RecordConfig {
    std::string LastError;
    std::string station_name;
    std::string rec_dev_id;
    std::uint16_t rev_year = 0;
    std::uint32_t TT = 0;
    std::uint16_t a = 0;
    std::uint16_t D = 0;
    std::vector<AnalogChannel> analog;
    std::vector<DigitalChannel> digital;
    double freq = 50.0;
    std::uint16_t nrates = 0;
    double samp = -1.0;
    std::uint32_t endsamp = 0;
    DateTime dt_First;
    DateTime dt_Trigger;
    std::string ft;
    double timemult = 1.0;
};

// A spare channel is written with its identifier in square brackets.
bool IsReserveChannelId(std::string_view ch_id) noexcept;

}  // namespace faultscope
