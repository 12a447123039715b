#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/schedule.h"
#include "scenario/scenariorec.h"

// The worked example shared by every layer's tests: a client who claims at 62 in January
// 2001 with $1,000.00 a month, or in January 2004 with $1,400.00; COLA 2.5 %, discount
// rate 3 %, 20 years. Break-even in 2014.
namespace velmora::testing {

using ExpectedRow = std::array<std::string, kResultColumns>;

/// The scenario with its texts: "Pat Example", "Claim at 62 or at 65", "Lee Advisor".
TScenarioRec WorkedExampleScenario();
/// Its numbers as the calculation reads them.
ScheduleInputs WorkedExampleInputs();
/// The command line's options for it, without --years.
std::vector<std::string> WorkedExampleOptions();
/// The twenty year rows in United States money texts, row 1 first.
const std::vector<ExpectedRow>& WorkedExampleTable();
inline constexpr const char* kWorkedExampleMessage = "Breakeven point occurs in the year 2014";

}  // namespace velmora::testing
