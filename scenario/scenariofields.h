#pragma once

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
ScenarioFields CreateScenarioFields(EntrySettings& settings, QWidget* parent);
TScenarioRec CollectScenario(const ScenarioFields& fields);
void ShowScenario(const ScenarioFields& fields, const TScenarioRec& rec);
void ResetScenario(const ScenarioFields& fields);

}  // namespace velmora
