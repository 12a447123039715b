#include "scenario/scenarioinputs.h"

#include <cstdio>
#include <stdexcept>

#include "scenario/fielderrors.h"
#include "scenario/numericfieldmodel.h"

namespace velmora {

namespace {

using R = TScenarioRec;

constexpr std::string_view kPercentMask = "###.####%";
constexpr std::string_view kBenefitMask = "$##,###.##";

// The years a calculation covers are held to 40; raising it is this one row.
constexpr ScenarioInput kYears{.kind = InputKind::Integer,
                               .integer = &R::Years,
                               .mask = "##",
                               .low = 1,
                               .high = 40,
                               .newValue = 0,
                               .reportField = "Years",
                               .reportPosition = 4,
                               .option = "--years",
                               .valueName = "N",
                               .help = "number of years to calculate",
                               .widget = "oYears"};

}  // namespace

const std::array<ScenarioInput, kInputCount> kScenarioInputs{{
    {.kind = InputKind::Text,
     .text = &R::ClientName,
     .reportField = "ClientName",
     .reportPosition = 0,
     .option = "--client",
     .valueName = "TEXT",
     .help = "the client's name, saved by --save and printed by --pdf",
     .widget = "oClientName"},
    {.kind = InputKind::Text,
     .text = &R::Description,
     .reportField = "Description",
     .reportPosition = 1,
     .option = "--description",
     .valueName = "TEXT",
     .help = "the description, saved by --save and printed by --pdf",
     .widget = "oDescription"},
    {.kind = InputKind::Text,
     .text = &R::Preparer,
     .keptByNew = true,
     .reportField = "Preparer",
     .reportPosition = 12,
     .option = "--preparer",
     .valueName = "TEXT",
     .help = "the preparer's name, saved by --save and printed by --pdf",
     .widget = "oPreparer"},
    {.kind = InputKind::Real,
     .real = &R::Cola,
     .mask = kPercentMask,
     .low = 0,
     .high = 100,
     .newValue = 0,
     .reportField = "Cola",
     .reportPosition = 2,
     .option = "--cola",
     .valueName = "PERCENT",
     .help = "yearly cost-of-living adjustment in percent",
     .widget = "oCola"},
    {.kind = InputKind::Real,
     .real = &R::Rate,
     .mask = kPercentMask,
     .low = 0,
     .high = 100,
     .newValue = 0,
     .reportField = "Rate",
     .reportPosition = 3,
     .option = "--rate",
     .valueName = "PERCENT",
     .help = "yearly discount rate in percent",
     .widget = "oRate"},
    kYears,
    {.kind = InputKind::Integer,
     .integer = &R::EarlyMonth,
     .mask = "##",
     .low = 1,
     .high = 12,
     .newValue = 1,
     .reportField = "EarlyMonth",
     .reportPosition = 5,
     .option = "--early-month",
     .valueName = "MONTH",
     .help = "month in which the early benefit starts",
     .widget = "oEarlyMonth"},
    {.kind = InputKind::Integer,
     .integer = &R::EarlyYear,
     .mask = "####",
     .low = 2000,
     .high = 2100,
     .newValue = 2001,
     .reportField = "EarlyYear",
     .reportPosition = 6,
     .option = "--early-year",
     .valueName = "YEAR",
     .help = "calendar year in which the early benefit starts",
     .widget = "oEarlyYear"},
    {.kind = InputKind::Real,
     .real = &R::EarlyBenefit,
     .mask = kBenefitMask,
     .low = 0,
     .high = kNoUpperBound,
     .newValue = 0,
     .reportField = "EarlyBenefit",
     .reportPosition = 7,
     .option = "--early-benefit",
     .valueName = "AMOUNT",
     .help = "monthly benefit when starting early",
     .widget = "oEarlyBenefit"},
    {.kind = InputKind::Integer,
     .integer = &R::LaterMonth,
     .mask = "##",
     .low = 1,
     .high = 12,
     .newValue = 1,
     .reportField = "LaterMonth",
     .reportPosition = 8,
     .option = "--later-month",
     .valueName = "MONTH",
     .help = "month in which the later benefit starts",
     .widget = "oLaterMonth"},
    {.kind = InputKind::Integer,
     .integer = &R::LaterYear,
     .mask = "####",
     .low = 2000,
     .high = 2100,
     .newValue = 2004,
     .reportField = "LaterYear",
     .reportPosition = 9,
     .option = "--later-year",
     .valueName = "YEAR",
     .help = "calendar year in which the later benefit starts",
     .widget = "oLaterYear"},
    {.kind = InputKind::Real,
     .real = &R::LaterBenefit,
     .mask = kBenefitMask,
     .low = 0,
     .high = kNoUpperBound,
     .newValue = 0,
     .reportField = "LaterBenefit",
     .reportPosition = 10,
     .option = "--later-benefit",
     .valueName = "AMOUNT",
     .help = "monthly benefit when starting later",
     .widget = "oLaterBenefit"},
    {.kind = InputKind::Integer,
     .integer = &R::Age,
     .mask = "##",
     .low = 1,
     .high = 99,
     .newValue = 62,
     .reportField = "Age",
     .reportPosition = 11,
     .option = "--age",
     .valueName = "AGE",
     .help = "age at the early start",
     .widget = "oAge"},
}};

namespace {

template <typename Member>
const ScenarioInput& Find(Member member, Member ScenarioInput::*slot) {
    for (const ScenarioInput& input : kScenarioInputs) {
        if (input.*slot == member)
            return input;
    }
    throw std::logic_error("not a scenario input");
}

// A refused key as a message shows it, quoted; a control or non-ASCII byte as an escape,
// so that nothing typed reaches the terminal raw.
std::string KeyName(unsigned char key) {
    switch (key) {
        case '\n':
            return "'\\n'";
        case '\r':
            return "'\\r'";
        case '\t':
            return "'\\t'";
        default:
            break;
    }
    if (key >= ' ' && key < 0x7F)
        return std::string("'") + static_cast<char>(key) + "'";
    char code[8];
    std::snprintf(code, sizeof code, "'\\x%02x'", key);
    return code;
}

NumericFieldModel ModelOf(const ScenarioInput& input, const EntryFormat& format) {
    return NumericFieldModel(input.Number(), input.mask, input.low, input.high, format);
}

InputValue ValueOf(const ScenarioInput& input, NumericFieldModel& model) {
    if (input.kind == InputKind::Integer)
        return model.ValueAsInteger();
    return model.ValueAsExtended();
}

}  // namespace

const ScenarioInput& InputOf(std::string TScenarioRec::*member) {
    return Find(member, &ScenarioInput::text);
}
const ScenarioInput& InputOf(std::int32_t TScenarioRec::*member) {
    return Find(member, &ScenarioInput::integer);
}
const ScenarioInput& InputOf(long double TScenarioRec::*member) {
    return Find(member, &ScenarioInput::real);
}

ScheduleInputs ScheduleInputsFromRecord(const TScenarioRec& rec) {
    ScheduleInputs in;
    in.EarlyYear = rec.EarlyYear;
    in.Age = rec.Age;
    in.EarlyBenefit = rec.EarlyBenefit;
    in.LaterBenefit = rec.LaterBenefit;
    in.EarlyMonth = rec.EarlyMonth;
    in.LaterMonth = rec.LaterMonth;
    in.Years = rec.Years;
    in.Rate = rec.Rate;
    in.Cola = static_cast<double>(rec.Cola);  // the COLA is read as a double
    in.LaterYear = rec.LaterYear;
    return in;
}

std::string RangeText(const ScenarioInput& input) {
    // The field's own range, with '.': the bounds are printed for options that take '.'.
    return ModelOf(input, EntryFormat{}).RangeText();
}

InputReading TypeIntoField(const ScenarioInput& input, std::string_view text,
                           const EntryFormat& format) {
    NumericFieldModel model = ModelOf(input, format);
    if (text.empty())
        return {std::nullopt, kNotValidMessage};
    model.Enter(true);  // Tab into a field selects its whole text; the first key replaces it
    for (const char c : text) {
        // A key the field refuses (it beeps) would leave another number than the text says;
        // a control character is no key at all. A leading 0 is ignored, as in the field.
        const auto key = static_cast<unsigned char>(c);
        if (key < ' ' || key == 0x7F || model.Type(key) == KeyOutcome::Refused) {
            return {std::nullopt, "cannot be typed into the field (" + std::string(input.mask) +
                                      "): the field refuses " + KeyName(key)};
        }
    }
    if (auto refusal = model.Leave())
        return {std::nullopt, *refusal};
    return {ValueOf(input, model), {}};
}

InputReading ReadStoredValue(const ScenarioInput& input, const TScenarioRec& rec) {
    NumericFieldModel model = ModelOf(input, EntryFormat{});
    if (input.kind == InputKind::Integer) {
        model.SetValueInteger(rec.*input.integer);
    } else {
        model.SetValueExtended(rec.*input.real);
    }
    if (auto refusal = model.Check()) {
        const NumberRead shown = model.Read();
        if (!shown.isNumber || shown.value != 0)
            return {std::nullopt, *refusal};
    }
    return {ValueOf(input, model), {}};
}

void StoreValue(const ScenarioInput& input, const InputValue& value, TScenarioRec& rec) {
    if (input.kind == InputKind::Integer) {
        rec.*input.integer = std::get<std::int32_t>(value);
    } else {
        rec.*input.real = std::get<long double>(value);
    }
}

}  // namespace velmora
