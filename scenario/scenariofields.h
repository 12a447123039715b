#pragma once

#include <array>

#include "scenario/entryfield.h"
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
/// The thirteen fields in Tab order.
std::array<TEntryField*, 13> TabOrder(const ScenarioFields& fields);
/// Reads the fields in record order through their getters; a field whose text breaks its
/// rules gives 0, without a message.
TScenarioRec CollectScenario(const ScenarioFields& fields);
/// Writes the record into the fields in record order through their setters, unchecked.
void ShowScenario(const ScenarioFields& fields, const TScenarioRec& rec);
/// The values of New: the client name and description emptied, the preparer kept, COLA,
/// rate, years and the benefits 0, age 62, both months 1, early year 2001, later year 2004.
void ResetScenario(const ScenarioFields& fields);

}  // namespace velmora
