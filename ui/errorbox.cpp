#include "ui/errorbox.h"

#include <QMessageBox>

namespace velmora {

QString ErrorBoxText(const QString& message) {
    if (message.isEmpty() || message.back() <= QLatin1Char('.'))
        return message;
    return message + QLatin1Char('.');
}

void ShowErrorBox(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace velmora
