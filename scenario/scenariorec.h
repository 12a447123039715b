#pragma once

#include <cstdint>
#include <string>

namespace velmora {

/// The thirteen inputs of a scenario, in file order. Texts are UTF-8.
struct TScenarioRec {
    std::string ClientName;
    std::string Description;
    std::string Preparer;
    long double Cola = 0;
    std::int32_t Years = 0;
    long double Rate = 0;
    std::int32_t EarlyMonth = 0;
    std::int32_t EarlyYear = 0;
    std::int32_t LaterMonth = 0;
    std::int32_t LaterYear = 0;
    std::int32_t Age = 0;
    long double EarlyBenefit = 0;
    long double LaterBenefit = 0;
};

}  // namespace velmora
