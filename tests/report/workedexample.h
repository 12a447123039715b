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
    ScheduleInputs in;
    in.EarlyYear = rec.EarlyYear;
    in.Age = rec.Age;
    in.EarlyBenefit = rec.EarlyBenefit;
    in.LaterBenefit = rec.LaterBenefit;
    in.EarlyMonth = rec.EarlyMonth;
    in.LaterMonth = rec.LaterMonth;
    in.Years = rec.Years;
    in.Rate = rec.Rate;
    in.Cola = static_cast<double>(rec.Cola);
    in.LaterYear = rec.LaterYear;
    return in;
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

    std::string ClientName() override {
        if (onRead)
            onRead();
        if (!failure.empty())
            throw std::runtime_error(failure);
        return inner_.ClientName();
    }
    std::string Description() override { return inner_.Description(); }
    std::string Preparer() override { return inner_.Preparer(); }
    long double Cola() override { return inner_.Cola(); }
    long double Rate() override { return inner_.Rate(); }
    std::int32_t Years() override { return inner_.Years(); }
    std::int32_t EarlyMonth() override { return inner_.EarlyMonth(); }
    std::int32_t EarlyYear() override { return inner_.EarlyYear(); }
    long double EarlyBenefit() override { return inner_.EarlyBenefit(); }
    std::int32_t LaterMonth() override { return inner_.LaterMonth(); }
    std::int32_t LaterYear() override { return inner_.LaterYear(); }
    long double LaterBenefit() override { return inner_.LaterBenefit(); }
    std::int32_t Age() override { return inner_.Age(); }

  private:
    RecordInputs inner_;
};

}  // namespace velmora::testing
