#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "engine/schedule.h"
#include "report/bandreport.h"
#include "report/reportinputs.h"
#include "scenario/scenarioinputs.h"
#include "scenario/scenariorec.h"
#include "support/workedexample.h"

namespace velmora::testing {

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
