#include "fields/entrysettings.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora {

void EntrySettings::ReportError(QWidget* field, const QString& message) {
    if (reportError) {
        reportError(field, message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok,
                    field ? field->window() : nullptr);
    box.exec();
}

void EntrySettings::Beep() {
    if (beep) {
        beep();
    } else {
        QApplication::beep();
    }
}

}  // namespace velmora
