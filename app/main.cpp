// The window program. A file named on the command line (as the desktop passes a
// double-clicked scenario file) is opened at start; further arguments are ignored.
#include <QByteArray>
#include <QGuiApplication>
#include <QStringList>
#include <clocale>

#include "engine/money.h"
#include "engine/moneytext.h"
#include "ui/application.h"
#include "ui/errorbox.h"
#include "ui/glyphs.h"
#include "ui/main.h"

int main(int argc, char* argv[]) {
    // Sizes are pixels whatever the desktop's scale or font-size setting.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    std::setlocale(LC_ALL, "");
    velmora::SetArithmeticContext();
    velmora::ReadMoneyFormat();

    velmora::TApplication app(argc, argv);
    QGuiApplication::setApplicationName(QString::fromLatin1(velmora::kApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    QGuiApplication::setWindowIcon(velmora::GlyphIcon(QStringLiteral("velmora"), 64));

    velmora::TfrmMain frmMain;
    app.exceptionHandler = [&frmMain](std::exception_ptr error) { frmMain.HandleException(error); };
    frmMain.show();
    // Qt has taken its own options out of the arguments by now.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        frmMain.OpenFileAtStart(arguments.at(1));
    const int result = velmora::TApplication::exec();
    app.exceptionHandler = nullptr;
    return result;
}
