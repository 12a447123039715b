#include <QMouseEvent>

#include "scenario/entryfield.h"
#include "scenario/entrysettings.h"
#include "scenario/scenarioinputs.h"

namespace velmora {

namespace {
EntryFormat FormatOf(const EntrySettings& settings) {
    return EntryFormat::FromMoneyFormat(settings.moneyFormat ? *settings.moneyFormat
                                                             : MoneyFormat());
}

}  // namespace

TNumericEntryField::TNumericEntryField(const ScenarioInput& input, EntrySettings& settings,
                                       QWidget* parent)
    : TEntryField(settings, parent),
      model_(input.Number(), input.mask, input.low, input.high, FormatOf(settings)) {}

QString TNumericEntryField::ValueAsText() {
    return QString::fromStdU32String(model_.DrawnText());
}

long double TNumericEntryField::ValueAsExtended() {
    const long double value = model_.ValueAsExtended();
    Redraw();
    return value;
}

double TNumericEntryField::ValueAsDouble() {
    const double value = model_.ValueAsDouble();
    Redraw();
    return value;
}

std::int32_t TNumericEntryField::ValueAsInteger() {
    const std::int32_t value = model_.ValueAsInteger();
    Redraw();
    return value;
}

void TNumericEntryField::SetValueExtended(long double value) {
    model_.SetValueExtended(value);
    Redraw();
}

void TNumericEntryField::SetValueInteger(std::int32_t value) {
    model_.SetValueInteger(value);
    Redraw();
}

TEntryField::View TNumericEntryField::CurrentView() const {
    View view;
    view.text = model_.DrawnText();
    view.caret = model_.CaretPosition();
    // A number wider than the field (only a hand-made file brings one) would be cut at the
    // left edge and read as another amount; the mask's unfit marks say it cannot be shown.
    const int room = width() - 2 * (kEntryFrame + kEntryMargin);
    if (fontMetrics().horizontalAdvance(QString::fromStdU32String(view.text)) > room) {
        view.text = TrimBlanks(model_.Mask().ShowUnfit());
        view.caret = view.text.size();
    }
    if (model_.HasSelection())
        view.selectionEnd = view.text.size();
    view.alignRight = true;
    return view;
}

void TNumericEntryField::Enter(bool selectAll, bool returning) {
    if (returning) {
        model_.Return();
    } else {
        model_.Enter(selectAll);
    }
}

std::optional<std::string> TNumericEntryField::Leave(bool applyRules) {
    if (applyRules)
        return model_.Leave();
    model_.LeaveWithoutRules();
    return std::nullopt;
}

KeyOutcome TNumericEntryField::TypeCharacter(char32_t c) {
    return model_.Type(c);
}

void TNumericEntryField::MoveKey(int key, bool shift, bool) {
    // The caret never moves; Shift with a horizontal move selects the whole text.
    const bool horizontal =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
    if (shift && horizontal)
        model_.SelectAll();
}

void TNumericEntryField::DeleteBackward() {
    model_.DeleteBackward();
}
bool TNumericEntryField::AllSelected() const {
    return model_.HasSelection();
}
void TNumericEntryField::Restore() {
    model_.Restore();
}
FieldText TNumericEntryField::Cut() {
    return model_.Cut();
}
bool TNumericEntryField::Paste(const FieldText& text) {
    // A pasted amount's currency sign and group marks are left out, as intended.
    model_.Paste(text);
    return true;
}
void TNumericEntryField::DeleteSelection() {
    model_.DeleteSelection();
}
void TNumericEntryField::SelectAll() {
    model_.SelectAll();
}

void TNumericEntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    model_.Deselect();
    Changed();
}

void TNumericEntryField::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    model_.SelectAll();
    Changed();
}

}  // namespace velmora
