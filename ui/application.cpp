#include "ui/application.h"

namespace velmora {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!exceptionHandler)
            throw;
        exceptionHandler(std::current_exception());
        return true;
    }
}

}  // namespace velmora
