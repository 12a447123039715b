#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

class QWidget;

namespace velmora {

/// The title of the program's message boxes.
inline constexpr const char* kApplicationTitle = "Velmora Analysis";

/// Ends a command without a message box.
class SilentAbort : public std::exception {
  public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

/// Shows an error that ended a command; the owner is the window the box belongs to.
using ErrorReporter = std::function<void(QWidget* owner, const QString& text)>;

/// The text the error box shows: a full stop is appended when the message's last
/// character comes after '.' in character order; an empty message stays empty.
QString ErrorBoxText(const QString& message);

/// The modal error box: the program's title, the stop icon and an OK button.
void ShowErrorBox(QWidget* owner, const QString& text);

}  // namespace velmora
