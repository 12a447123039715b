#include "ui/errorbox.h"

#include <QMessageBox>

#include "engine/messagetext.h"

namespace velmora {

QString ErrorBoxText(const QString& message) {
    return QString::fromStdString(WithFullStop(message.toStdString()));
}

void ShowErrorBox(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace velmora
