#include <QApplication>
#include <QMainWindow>

#include "engine/money.h"
#include "engine/moneytext.h"

int main(int argc, char* argv[]) {
    velmora::SetArithmeticContext();
    velmora::ReadMoneyFormat();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora Analysis"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("frmMain"));
    window.resize(800, 480);
    window.show();
    return QApplication::exec();
}
