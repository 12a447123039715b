#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "engine/moneytext.h"

namespace velmora {

/// Settings shared by every entry field of the window. Fields keep a reference: it must
/// outlive them.
class EntrySettings {
  public:
    /// Insert (true) or overwrite mode, handed from field to field with the focus.
    bool insertMode = true;
    /// A refused field's report is queued and not yet shown; no other field applies its
    /// rules meanwhile.
    bool errorPending = false;
    /// Shows a refused field's "Error" box; tests replace it so that nothing blocks. Empty:
    /// a modal message box with the error icon and "OK".
    std::function<void(QWidget* field, const QString& message)> reportError;
    /// Sounds for a refused keystroke; empty: QApplication::beep().
    std::function<void()> beep;
    /// The regional marks a field takes when it is made; empty: MoneyFormat() at that moment.
    std::optional<TMoneyFormat> moneyFormat;
    /// The field whose refusal is pending.
    QPointer<QWidget> refusingField;

    void ReportError(QWidget* field, const QString& message);
    void Beep();
};

}  // namespace velmora
