#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace velmora {

/// The application object. An exception that escapes an event handler goes to
/// exceptionHandler instead of ending the program.
class TApplication final : public QApplication {
    Q_OBJECT
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    std::function<void(std::exception_ptr)> exceptionHandler;
};

}  // namespace velmora
