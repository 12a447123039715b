#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velmora {

/// Settings shared by every entry field of the window.
class EntrySettings {
public:
    bool insertMode = true;
    bool errorPending = false;
    /// Shows a refused field's "Error" box; tests replace it so that nothing blocks.
    std::function<void(QWidget* field, const QString& message)> reportError;
};

}  // namespace velmora
