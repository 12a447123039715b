#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "engine/schedule.h"
#include "scenario/entryformat.h"
#include "scenario/numericmask.h"
#include "scenario/scenariorec.h"

namespace velmora {

/// The default upper bound of a real field: no practical limit.
inline constexpr long double kNoUpperBound = 1.1e4932L;
/// A text field holds at most this many characters.
inline constexpr std::size_t kTextFieldLength = 100;

enum class InputKind { Text, Integer, Real };

/// One input of a scenario: where it lives in the record, how its entry field is made and
/// checked, what New puts in it, and the names the report and the command line know it by.
/// Every place that handles the inputs one by one walks this table instead of naming them.
struct ScenarioInput {
    InputKind kind;
    // The record member; only the one of the input's kind is set.
    std::string TScenarioRec::*text = nullptr;
    std::int32_t TScenarioRec::*integer = nullptr;
    long double TScenarioRec::*real = nullptr;
    std::string_view mask = {};  // numeric inputs only
    long double low = 0;
    long double high = 0;
    long double newValue = 0;  // numeric inputs
    bool keptByNew = false;    // text inputs: New leaves the text as it is
    std::string_view reportField;
    int reportPosition = 0;  // the field's place in the report's field list
    std::string_view option;
    std::string_view valueName;
    std::string_view help;  // the range is added from the bounds
    std::string_view widget;

    bool IsNumeric() const { return kind != InputKind::Text; }
    NumberKind Number() const {
        return kind == InputKind::Integer ? NumberKind::Integer : NumberKind::Real;
    }
    /// At window start a field holds 0 when its bounds allow it, else its Low bound.
    long double StartValue() const { return (low <= 0 && 0 <= high) ? 0 : low; }
};

inline constexpr std::size_t kInputCount = 13;

/// The thirteen inputs in the Tab order of the "Data Input" page.
extern const std::array<ScenarioInput, kInputCount> kScenarioInputs;

/// The input whose record member is the given one.
const ScenarioInput& InputOf(std::string TScenarioRec::*member);
const ScenarioInput& InputOf(std::int32_t TScenarioRec::*member);
const ScenarioInput& InputOf(long double TScenarioRec::*member);

/// The calculation's inputs from a record, as the Calculate command reads the fields: the
/// COLA as a double, the rest as they are.
ScheduleInputs ScheduleInputsFromRecord(const TScenarioRec& rec);

/// The bounds as the help text shows them: "0 to 100", "2000 to 2100"; a real field
/// without an upper bound gives "0 or more".
std::string RangeText(const ScenarioInput& input);

/// A value read for a numeric input, or why it was refused.
using InputValue = std::variant<long double, std::int32_t>;
struct InputReading {
    std::optional<InputValue> value;
    std::string refusal;  // set when there is no value
};

/// The text as if typed into the input's field, its whole text selected on entering, and
/// the field then left: refused as typing refuses a key, or as leaving refuses the number;
/// otherwise the value the field then holds. The decimal mark is format's.
InputReading TypeIntoField(const ScenarioInput& input, std::string_view text,
                           const EntryFormat& format = {});

/// A stored value as Open shows it in the input's field and Calculate then reads it: a
/// number the field's rules refuse reads as 0. That 0 is taken only when the field shows
/// a 0 itself (Years 0 after New); any other refused number is refused here, with the
/// field's message, so that no calculation silently runs on a value that was not there.
InputReading ReadStoredValue(const ScenarioInput& input, const TScenarioRec& rec);

/// Puts a value into the record member of a numeric input.
void StoreValue(const ScenarioInput& input, const InputValue& value, TScenarioRec& rec);

}  // namespace velmora
