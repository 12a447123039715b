#include "report/scenariopipeline.h"

#include <cfloat>
#include <cmath>

#include "engine/schedule.h"
#include "report/reportinputs.h"

namespace velmora {

namespace {

const ReportSourceSettings kSettings{"jitPipelineSS", 0, 99999999};

// The inputs come first, at the places the inputs table gives them; then the table's
// columns and the break-even message.
constexpr int kFirstTableField = static_cast<int>(kInputCount);  // grdYear
constexpr int kBreakEvenField = kFirstTableField + kResultColumns;

TDataType InputType(const ScenarioInput& input) {
    switch (input.kind) {
        case InputKind::Text:
            return dtString;
        case InputKind::Integer:
            return dtInteger;
        case InputKind::Real:
            break;
    }
    return input.mask.find('$') != std::string_view::npos ? dtCurrency : dtExtended;
}

const ScenarioInput* InputAt(int position) {
    for (const ScenarioInput& input : kScenarioInputs) {
        if (input.reportPosition == position)
            return &input;
    }
    return nullptr;
}

std::vector<ReportFieldDef> MakeFields() {
    std::vector<ReportFieldDef> fields;
    for (int i = 0; i < kFirstTableField; ++i) {
        const ScenarioInput& input = *InputAt(i);
        const std::string name(input.reportField);
        fields.push_back(ReportFieldDef{i, name, name, InputType(input), 10, 10});
    }
    const char* const tableFields[kResultColumns] = {
        "grdYear",
        "grdMonths",
        "grdAge",
        "grdEarlyBenefit",
        "grdAnnualEarlyBenefit",
        "grdEarlyPv",
        "grdEarlyPvCumulative",
        "grdLaterBenefit",
        "grdAnnualLaterBenefit",
        "grdLaterPv",
        "grdLaterPvCumulative",
        "grdDifference",
    };
    for (int c = 0; c < kResultColumns; ++c)
        fields.push_back(
            ReportFieldDef{kFirstTableField + c, tableFields[c], tableFields[c], dtString, 10, 10});
    fields.push_back(ReportFieldDef{kBreakEvenField, "BreakEven", "BreakEven", dtString, 10, 10});
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
    if (position >= 0 && position < kFirstTableField) {
        const ScenarioInput& input = *InputAt(position);
        switch (input.kind) {
            case InputKind::Text:
                return inputs_.Text(input);
            case InputKind::Integer:
                return inputs_.Integer(input);
            case InputKind::Real:
                return NearestDouble(inputs_.Real(input));
        }
    }
    if (position == kBreakEvenField) {
        if (cursor_ > 0)
            return ResultMessage(table_);
        return {};
    }
    if (position >= kFirstTableField && position < kBreakEvenField && cursor_ > 0)
        return table_.cells->GetCellText(position - kFirstTableField, cursor_);
    return {};
}

}  // namespace velmora
