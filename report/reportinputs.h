#pragma once

#include <cstdint>
#include <string>

#include "scenario/scenarioinputs.h"

namespace velmora {

/// Where the report's input fields come from: the window's entry fields, or a scenario
/// record when there is no window. Read at every call, never cached. Each read names the
/// input by its entry in the inputs table.
class ReportInputs {
  public:
    virtual ~ReportInputs() = default;
    virtual std::string Text(const ScenarioInput& input) = 0;
    virtual std::int32_t Integer(const ScenarioInput& input) = 0;
    virtual long double Real(const ScenarioInput& input) = 0;
};

/// Reads a scenario record that the caller keeps alive (and may change between reads).
class RecordInputs final : public ReportInputs {
  public:
    explicit RecordInputs(const TScenarioRec& rec) : rec_(rec) {}
    std::string Text(const ScenarioInput& input) override { return rec_.*input.text; }
    std::int32_t Integer(const ScenarioInput& input) override { return rec_.*input.integer; }
    long double Real(const ScenarioInput& input) override { return rec_.*input.real; }

  private:
    const TScenarioRec& rec_;
};

}  // namespace velmora
