#include "report/reportinputs.h"

#include "scenario/scenariorec.h"

namespace velmora {

std::string RecordInputs::ClientName() {
    return rec_.ClientName;
}
std::string RecordInputs::Description() {
    return rec_.Description;
}
std::string RecordInputs::Preparer() {
    return rec_.Preparer;
}
long double RecordInputs::Cola() {
    return rec_.Cola;
}
long double RecordInputs::Rate() {
    return rec_.Rate;
}
std::int32_t RecordInputs::Years() {
    return rec_.Years;
}
std::int32_t RecordInputs::EarlyMonth() {
    return rec_.EarlyMonth;
}
std::int32_t RecordInputs::EarlyYear() {
    return rec_.EarlyYear;
}
long double RecordInputs::EarlyBenefit() {
    return rec_.EarlyBenefit;
}
std::int32_t RecordInputs::LaterMonth() {
    return rec_.LaterMonth;
}
std::int32_t RecordInputs::LaterYear() {
    return rec_.LaterYear;
}
long double RecordInputs::LaterBenefit() {
    return rec_.LaterBenefit;
}
std::int32_t RecordInputs::Age() {
    return rec_.Age;
}

}  // namespace velmora
