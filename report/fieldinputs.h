#pragma once

#include "report/reportinputs.h"
#include "scenario/scenariofields.h"

namespace velmora {

/// Reads the report's inputs from the window's entry fields through their getters,
/// at the moment of each call: texts through ValueAsText, the reals through
/// ValueAsExtended and the whole numbers through ValueAsInteger.
class EntryFieldInputs final : public ReportInputs {
  public:
    explicit EntryFieldInputs(const ScenarioFields& fields) : fields_(fields) {}
    std::string ClientName() override;
    std::string Description() override;
    std::string Preparer() override;
    long double Cola() override;
    long double Rate() override;
    std::int32_t Years() override;
    std::int32_t EarlyMonth() override;
    std::int32_t EarlyYear() override;
    long double EarlyBenefit() override;
    std::int32_t LaterMonth() override;
    std::int32_t LaterYear() override;
    long double LaterBenefit() override;
    std::int32_t Age() override;

  private:
    ScenarioFields fields_;  // pointers to widgets the window owns
};

}  // namespace velmora
