#include "ui/accessiblenames.h"

#include <QString>
#include <utility>

namespace velmora {

void NameEntryFields(const ScenarioFields& f) {
    const std::pair<TEntryField*, const char*> names[] = {
        {f.oClientName, "Client Name"},
        {f.oDescription, "Description"},
        {f.oPreparer, "Preparer"},
        {f.oCola, "COLA"},
        {f.oRate, "Discount Rate"},
        {f.oYears, "Number of Years to Calculate"},
        {f.oEarlyMonth, "Early Date of Retirement Month"},
        {f.oEarlyYear, "Early Date of Retirement Year"},
        {f.oEarlyBenefit, "Early Date of Retirement Monthly Benefit"},
        {f.oLaterMonth, "Later Date of Retirement Month"},
        {f.oLaterYear, "Later Date of Retirement Year"},
        {f.oLaterBenefit, "Later Date of Retirement Monthly Benefit"},
        {f.oAge, "Age at Early Retirement"},
    };
    for (const auto& [field, name] : names) {
        if (field)
            field->setAccessibleName(QString::fromLatin1(name));
    }
}

}  // namespace velmora
