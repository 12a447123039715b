#pragma once

#include "scenario/scenariofields.h"

namespace velmora {

/// Gives each entry field the name assistive technology reads for it: the label of its
/// pill, and for the date and benefit fields the row's label with the column's.
void NameEntryFields(const ScenarioFields& fields);

}  // namespace velmora
