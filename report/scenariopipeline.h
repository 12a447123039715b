#pragma once

#include <cstdint>

#include "report/reportsource.h"

namespace velmora {

class ReportInputs;
struct TResultTable;

/// The report's data source jitPipelineSS: the scenario's inputs, the rows of the
/// result table walked by the record number `cursor`, and the break-even message.
/// Record 0 is the table's header row and has no table values; R (the table's row
/// count at the moment of asking) is the end position. The cursor belongs to the
/// owner (the main window's ReportCursor) and only these callbacks change it.
class ScenarioPipeline final : public ReportSource {
  public:
    ScenarioPipeline(ReportInputs& inputs, const TResultTable& table, std::int32_t& cursor);

    const ReportSourceSettings& Settings() const override;
    const std::vector<ReportFieldDef>& Fields() const override;

    void OpenDataSet() override;
    void CloseDataSet() override;
    void GotoFirstRecord() override;
    void GotoLastRecord() override;
    void TraverseBy(std::int32_t increment) override;
    bool CheckBOF() override;
    bool CheckEOF() override;
    std::int32_t GetBookmark() override;
    void GotoBookmark(std::int32_t bookmark) override;
    FieldValue GetFieldValue(const std::string& fieldName) override;

  private:
    std::int32_t RowCount() const;

    ReportInputs& inputs_;
    const TResultTable& table_;
    std::int32_t& cursor_;
};

/// An extended real as the nearest double, without touching the floating-point flags:
/// beyond the double range it gives an infinity of the same sign.
double NearestDouble(long double value);

}  // namespace velmora
