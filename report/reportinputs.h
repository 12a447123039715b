#pragma once

#include <cstdint>
#include <string>

namespace velmora {

struct TScenarioRec;

/// Where the report's thirteen input fields come from: the window's entry fields,
/// or a scenario record when there is no window. Read at every call, never cached.
class ReportInputs {
  public:
    virtual ~ReportInputs() = default;
    virtual std::string ClientName() = 0;
    virtual std::string Description() = 0;
    virtual std::string Preparer() = 0;
    virtual long double Cola() = 0;
    virtual long double Rate() = 0;
    virtual std::int32_t Years() = 0;
    virtual std::int32_t EarlyMonth() = 0;
    virtual std::int32_t EarlyYear() = 0;
    virtual long double EarlyBenefit() = 0;
    virtual std::int32_t LaterMonth() = 0;
    virtual std::int32_t LaterYear() = 0;
    virtual long double LaterBenefit() = 0;
    virtual std::int32_t Age() = 0;
};

/// Reads a scenario record that the caller keeps alive (and may change between reads).
class RecordInputs final : public ReportInputs {
  public:
    explicit RecordInputs(const TScenarioRec& rec) : rec_(rec) {}
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
    const TScenarioRec& rec_;
};

}  // namespace velmora
