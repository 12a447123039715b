#pragma once

#include <QApplication>
#include <QProxyStyle>
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

/// The desktop's own style, but for its standard icons, which are loaded only when first
/// drawn or measured. Loading one from its image file starts every image format plugin
/// (and their libraries) to find which of them reads it, and the menu bar asks for one
/// (its overflow button's) as it is made, which slowed the window's start by milliseconds.
class DeferredIconStyle final : public QProxyStyle {
    Q_OBJECT
  public:
    DeferredIconStyle();
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace velmora
