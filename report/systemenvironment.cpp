#include "report/systemenvironment.h"

#include <QDate>
#include <QLocale>

namespace velmora {

std::string ShortDateText(const QLocale& locale, const QDate& date) {
    // The C/POSIX locale has no date format of its own; like the money text, it takes
    // the United States settings there.
    if (locale.language() == QLocale::C)
        return date.toString(QStringLiteral("M/d/yyyy")).toStdString();
    return locale.toString(date, QLocale::ShortFormat).toStdString();
}

ReportEnvironment SystemReportEnvironment() {
    ReportEnvironment environment;
    environment.dateText = [] { return ShortDateText(QLocale::system(), QDate::currentDate()); };
    return environment;
}

}  // namespace velmora
