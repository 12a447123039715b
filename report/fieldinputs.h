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
    std::string Text(const ScenarioInput& input) override;
    std::int32_t Integer(const ScenarioInput& input) override;
    long double Real(const ScenarioInput& input) override;

  private:
    ScenarioFields fields_;  // pointers to widgets the window owns
};

}  // namespace velmora
