#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "engine/schedule.h"
#include "report/bandreport.h"
#include "report/reportinputs.h"
#include "scenario/scenariorec.h"

namespace velmora::testing {

/// The scenario of the worked example: 2001 at $1,000.00 against 2004 at $1,400.00,
/// COLA 2.5 %, discount rate 3 %, 20 years, age 62.
inline TScenarioRec WorkedExampleScenario() {
    TScenarioRec rec;
    rec.ClientName = "Pat Example";
    rec.Description = "Claim at 62 or at 65";
    rec.Preparer = "Lee Advisor";
    rec.Cola = 2.5L;
    rec.Years = 20;
    rec.Rate = 3;
    rec.EarlyMonth = 1;
    rec.EarlyYear = 2001;
    rec.LaterMonth = 1;
    rec.LaterYear = 2004;
    rec.Age = 62;
    rec.EarlyBenefit = 1000;
    rec.LaterBenefit = 1400;
    return rec;
}

inline ScheduleInputs ScheduleInputsOf(const TScenarioRec& rec) {
    return ScheduleInputsFromRecord(rec);
}

inline ReportEnvironment FixedDateEnvironment() {
    ReportEnvironment environment;
    environment.dateText = [] { return std::string("2/3/2024"); };
    return environment;
}

/// Record inputs that run a hook on every read of the client name, or fail there.
class HookedInputs final : public ReportInputs {
  public:
    explicit HookedInputs(const TScenarioRec& rec) : inner_(rec) {}
    std::function<void()> onRead;
    std::string failure;

    std::string Text(const ScenarioInput& input) override {
        if (input.text == &TScenarioRec::ClientName) {
            if (onRead)
                onRead();
            if (!failure.empty())
                throw std::runtime_error(failure);
        }
        return inner_.Text(input);
    }
    std::int32_t Integer(const ScenarioInput& input) override { return inner_.Integer(input); }
    long double Real(const ScenarioInput& input) override { return inner_.Real(input); }

  private:
    RecordInputs inner_;
};

}  // namespace velmora::testing
