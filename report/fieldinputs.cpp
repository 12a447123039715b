#include "report/fieldinputs.h"

namespace velmora {

std::string EntryFieldInputs::ClientName() {
    return fields_.oClientName->ValueAsText().toStdString();
}
std::string EntryFieldInputs::Description() {
    return fields_.oDescription->ValueAsText().toStdString();
}
std::string EntryFieldInputs::Preparer() {
    return fields_.oPreparer->ValueAsText().toStdString();
}
long double EntryFieldInputs::Cola() {
    return fields_.oCola->ValueAsExtended();
}
long double EntryFieldInputs::Rate() {
    return fields_.oRate->ValueAsExtended();
}
std::int32_t EntryFieldInputs::Years() {
    return fields_.oYears->ValueAsInteger();
}
std::int32_t EntryFieldInputs::EarlyMonth() {
    return fields_.oEarlyMonth->ValueAsInteger();
}
std::int32_t EntryFieldInputs::EarlyYear() {
    return fields_.oEarlyYear->ValueAsInteger();
}
long double EntryFieldInputs::EarlyBenefit() {
    return fields_.oEarlyBenefit->ValueAsExtended();
}
std::int32_t EntryFieldInputs::LaterMonth() {
    return fields_.oLaterMonth->ValueAsInteger();
}
std::int32_t EntryFieldInputs::LaterYear() {
    return fields_.oLaterYear->ValueAsInteger();
}
long double EntryFieldInputs::LaterBenefit() {
    return fields_.oLaterBenefit->ValueAsExtended();
}
std::int32_t EntryFieldInputs::Age() {
    return fields_.oAge->ValueAsInteger();
}

}  // namespace velmora
