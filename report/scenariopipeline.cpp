#include "report/scenariopipeline.h"

#include <cfloat>
#include <cmath>

#include "engine/schedule.h"
#include "report/reportinputs.h"

namespace velmora {

namespace {

const ReportSourceSettings kSettings{"jitPipelineSS", 0, 99999999};

enum FieldPosition {
    fpClientName,
    fpDescription,
    fpCola,
    fpRate,
    fpYears,
    fpEarlyMonth,
    fpEarlyYear,
    fpEarlyBenefit,
    fpLaterMonth,
    fpLaterYear,
    fpLaterBenefit,
    fpAge,
    fpPreparer,
    fpFirstTableField,  // grdYear; the twelve table fields follow in column order
    fpBreakEven = fpFirstTableField + kResultColumns,
    fpFieldCount,
};

std::vector<ReportFieldDef> MakeFields() {
    const std::pair<const char*, TDataType> list[fpFieldCount] = {
        {"ClientName", dtString},      {"Description", dtString},
        {"Cola", dtExtended},          {"Rate", dtExtended},
        {"Years", dtInteger},          {"EarlyMonth", dtInteger},
        {"EarlyYear", dtInteger},      {"EarlyBenefit", dtCurrency},
        {"LaterMonth", dtInteger},     {"LaterYear", dtInteger},
        {"LaterBenefit", dtCurrency},  {"Age", dtInteger},
        {"Preparer", dtString},        {"grdYear", dtString},
        {"grdMonths", dtString},       {"grdAge", dtString},
        {"grdEarlyBenefit", dtString}, {"grdAnnualEarlyBenefit", dtString},
        {"grdEarlyPv", dtString},      {"grdEarlyPvCumulative", dtString},
        {"grdLaterBenefit", dtString}, {"grdAnnualLaterBenefit", dtString},
        {"grdLaterPv", dtString},      {"grdLaterPvCumulative", dtString},
        {"grdDifference", dtString},   {"BreakEven", dtString},
    };
    std::vector<ReportFieldDef> fields;
    for (int i = 0; i < fpFieldCount; ++i) {
        const auto& [name, type] = list[i];
        fields.push_back(ReportFieldDef{i, name, name, type, 10, 10});
    }
    return fields;
}

}  // namespace

double NearestDouble(long double value) {
    // Half an ulp above the largest double: from here on, rounding to nearest gives
    // infinity. Comparing first keeps the overflow flag clear for the engine.
    constexpr long double kOverflowEdge = 0x1.fffffffffffff8p1023L;
    if (value >= kOverflowEdge)
        return HUGE_VAL;
    if (value <= -kOverflowEdge)
        return -HUGE_VAL;
    return static_cast<double>(value);
}

ScenarioPipeline::ScenarioPipeline(ReportInputs& inputs, const TResultTable& table,
                                   std::int32_t& cursor)
    : inputs_(inputs), table_(table), cursor_(cursor) {}

const ReportSourceSettings& ScenarioPipeline::Settings() const {
    return kSettings;
}

const std::vector<ReportFieldDef>& ScenarioPipeline::Fields() const {
    static const std::vector<ReportFieldDef> fields = MakeFields();
    return fields;
}

std::int32_t ScenarioPipeline::RowCount() const {
    return table_.cells->RowCount();
}

void ScenarioPipeline::OpenDataSet() {
    cursor_ = 0;
}
void ScenarioPipeline::CloseDataSet() {
    cursor_ = -1;
}
void ScenarioPipeline::GotoFirstRecord() {
    cursor_ = 0;
}
void ScenarioPipeline::GotoLastRecord() {
    cursor_ = RowCount();
}

void ScenarioPipeline::TraverseBy(std::int32_t increment) {
    // Unsigned wrap instead of signed overflow: the engine never steps past R anyway.
    cursor_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(cursor_) +
                                        static_cast<std::uint32_t>(increment));
}

bool ScenarioPipeline::CheckBOF() {
    return cursor_ == -1;
}
bool ScenarioPipeline::CheckEOF() {
    return cursor_ == RowCount();
}
std::int32_t ScenarioPipeline::GetBookmark() {
    return cursor_;
}
void ScenarioPipeline::GotoBookmark(std::int32_t bookmark) {
    cursor_ = bookmark;
}

FieldValue ScenarioPipeline::GetFieldValue(const std::string& fieldName) {
    const auto& fields = Fields();
    int position = -1;
    for (const auto& field : fields) {
        if (field.FieldName == fieldName) {
            position = field.Position;
            break;
        }
    }
    switch (position) {
        case fpClientName:
            return inputs_.ClientName();
        case fpDescription:
            return inputs_.Description();
        case fpCola:
            return NearestDouble(inputs_.Cola());
        case fpRate:
            return NearestDouble(inputs_.Rate());
        case fpYears:
            return inputs_.Years();
        case fpEarlyMonth:
            return inputs_.EarlyMonth();
        case fpEarlyYear:
            return inputs_.EarlyYear();
        case fpEarlyBenefit:
            return NearestDouble(inputs_.EarlyBenefit());
        case fpLaterMonth:
            return inputs_.LaterMonth();
        case fpLaterYear:
            return inputs_.LaterYear();
        case fpLaterBenefit:
            return NearestDouble(inputs_.LaterBenefit());
        case fpAge:
            return inputs_.Age();
        case fpPreparer:
            return inputs_.Preparer();
        case fpBreakEven:
            if (cursor_ > 0)
                return ResultMessage(table_);
            return {};
        default:
            break;
    }
    if (position >= fpFirstTableField && position < fpBreakEven && cursor_ > 0)
        return table_.cells->GetCellText(position - fpFirstTableField, cursor_);
    return {};
}

}  // namespace velmora
