#pragma once

#include <array>

#include "scenario/entryfield.h"
#include "scenario/scenarioinputs.h"
#include "scenario/scenariorec.h"

class QWidget;

namespace velmora {

class EntrySettings;

/// The thirteen entry fields of the "Data Input" page; the window owns the widgets.
struct ScenarioFields {
    TTextEntryField* oClientName = nullptr;
    TTextEntryField* oDescription = nullptr;
    TTextEntryField* oPreparer = nullptr;
    TNumericEntryField* oCola = nullptr;
    TNumericEntryField* oRate = nullptr;
    TNumericEntryField* oYears = nullptr;
    TNumericEntryField* oEarlyMonth = nullptr;
    TNumericEntryField* oEarlyYear = nullptr;
    TNumericEntryField* oEarlyBenefit = nullptr;
    TNumericEntryField* oLaterMonth = nullptr;
    TNumericEntryField* oLaterYear = nullptr;
    TNumericEntryField* oLaterBenefit = nullptr;
    TNumericEntryField* oAge = nullptr;
};

/// Makes the thirteen fields as children of parent, in Tab order, holding their
/// window-start values. The caller places them.
/// Each is named after its member (objectName "oCola" and so on).
ScenarioFields CreateScenarioFields(EntrySettings& settings, QWidget* parent);
/// The thirteen fields in Tab order, which is the order of the inputs table.
std::array<TEntryField*, kInputCount> TabOrder(const ScenarioFields& fields);
/// The field of a text input, or of a numeric one.
TTextEntryField* TextField(const ScenarioFields& fields, const ScenarioInput& input);
TNumericEntryField* NumericField(const ScenarioFields& fields, const ScenarioInput& input);
/// Reads the fields in record order through their getters; a field whose text breaks its
/// rules gives 0, without a message.
TScenarioRec CollectScenario(const ScenarioFields& fields);
/// The numbers only, as Calculate reads them; the texts stay empty and their fields as
/// they are.
TScenarioRec CollectNumbers(const ScenarioFields& fields);
/// Writes the record into the fields in record order through their setters, unchecked.
void ShowScenario(const ScenarioFields& fields, const TScenarioRec& rec);
/// The values of New, from the inputs table: the client name and description emptied, the
/// preparer kept, each number set to its New value.
void ResetScenario(const ScenarioFields& fields);

}  // namespace velmora
