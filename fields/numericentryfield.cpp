#include "fields/numericentryfield.h"

#include <QMouseEvent>

#include "fields/entrysettings.h"
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
      editor_(input.Number(), input.mask, input.low, input.high, FormatOf(settings)) {}

QString TNumericEntryField::ValueAsText() {
    return QString::fromStdU32String(editor_.model.DrawnText());
}

long double TNumericEntryField::ValueAsExtended() {
    const long double value = editor_.model.ValueAsExtended();
    Redraw();
    return value;
}

double TNumericEntryField::ValueAsDouble() {
    const double value = editor_.model.ValueAsDouble();
    Redraw();
    return value;
}

std::int32_t TNumericEntryField::ValueAsInteger() {
    const std::int32_t value = editor_.model.ValueAsInteger();
    Redraw();
    return value;
}

void TNumericEntryField::SetValueExtended(long double value) {
    editor_.model.SetValueExtended(value);
    Redraw();
}

void TNumericEntryField::SetValueInteger(std::int32_t value) {
    editor_.model.SetValueInteger(value);
    Redraw();
}

TEntryField::View TNumericEntryField::CurrentView() const {
    View view;
    view.text = editor_.model.DrawnText();
    view.caret = editor_.model.CaretPosition();
    // A number wider than the field (only a hand-made file brings one) would be cut at the
    // left edge and read as another amount; the mask's unfit marks say it cannot be shown.
    const int room = width() - 2 * (kEntryFrame + kEntryMargin);
    if (fontMetrics().horizontalAdvance(QString::fromStdU32String(view.text)) > room) {
        view.text = TrimBlanks(editor_.model.Mask().ShowUnfit());
        view.caret = view.text.size();
    }
    if (editor_.model.HasSelection())
        view.selectionEnd = view.text.size();
    view.alignRight = true;
    return view;
}

void TNumericEntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    editor_.model.Deselect();
    Changed();
}

void TNumericEntryField::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    editor_.model.SelectAll();
    Changed();
}

}  // namespace velmora
