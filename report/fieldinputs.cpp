#include "report/fieldinputs.h"

namespace velmora {

std::string EntryFieldInputs::Text(const ScenarioInput& input) {
    return TextField(fields_, input)->ValueAsText().toStdString();
}
std::int32_t EntryFieldInputs::Integer(const ScenarioInput& input) {
    return NumericField(fields_, input)->ValueAsInteger();
}
long double EntryFieldInputs::Real(const ScenarioInput& input) {
    return NumericField(fields_, input)->ValueAsExtended();
}

}  // namespace velmora
