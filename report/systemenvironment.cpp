#include "report/systemenvironment.h"

#include <QDate>

#include "engine/moneytext.h"

namespace velmora {

ReportEnvironment SystemReportEnvironment() {
    ReportEnvironment environment;
    // From the C library's locale, as the money texts are.
    environment.dateText = [] {
        const QDate today = QDate::currentDate();
        return RegionalShortDate(today.year(), today.month(), today.day());
    };
    return environment;
}

}  // namespace velmora
