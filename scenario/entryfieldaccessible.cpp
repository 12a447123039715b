#include "scenario/entryfieldaccessible.h"

#include <QFontMetrics>
#include <utility>

#include "scenario/entryfield.h"

namespace velmora {

namespace {

EntryFieldAccessible::Listener listener = nullptr;

QAccessibleInterface* MakeEntryFieldAccessible(const QString&, QObject* object) {
    if (auto* field = qobject_cast<TEntryField*>(object))
        return new EntryFieldAccessible(field);
    return nullptr;
}

}  // namespace

EntryFieldAccessible::EntryFieldAccessible(TEntryField* field)
    : QAccessibleWidget(field, QAccessible::EditableText) {}

void EntryFieldAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeEntryFieldAccessible);
        return true;
    }();
    (void)installed;
}

EntryFieldAccessible::Listener EntryFieldAccessible::SetListener(Listener l) {
    return std::exchange(listener, l);
}

bool EntryFieldAccessible::Heard() {
    return listener != nullptr || QAccessible::isActive();
}

void EntryFieldAccessible::Send(QAccessibleEvent* event) {
    if (listener)
        listener(event);
    else
        QAccessible::updateAccessibility(event);
}

TEntryField* EntryFieldAccessible::field() const {
    return static_cast<TEntryField*>(widget());
}

void* EntryFieldAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString EntryFieldAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return field()->ShownText();
    return QAccessibleWidget::text(t);
}

QAccessible::State EntryFieldAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    s.selectableText = true;
    return s;
}

void EntryFieldAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
    const auto view = field()->CurrentView();
    if (selectionIndex == 0 && view.selectionEnd > view.selectionStart) {
        *startOffset = static_cast<int>(view.selectionStart);
        *endOffset = static_cast<int>(view.selectionEnd);
    }
}

int EntryFieldAccessible::selectionCount() const {
    const auto view = field()->CurrentView();
    return view.selectionEnd > view.selectionStart ? 1 : 0;
}

void EntryFieldAccessible::addSelection(int, int) {}
void EntryFieldAccessible::removeSelection(int) {}
void EntryFieldAccessible::setSelection(int, int, int) {}

int EntryFieldAccessible::cursorPosition() const {
    return static_cast<int>(field()->CurrentView().caret);
}

void EntryFieldAccessible::setCursorPosition(int) {}

QString EntryFieldAccessible::text(int startOffset, int endOffset) const {
    const QString shown = field()->ShownText();
    if (startOffset < 0 || endOffset > shown.size() || startOffset > endOffset)
        return {};
    return shown.mid(startOffset, endOffset - startOffset);
}

int EntryFieldAccessible::characterCount() const {
    return static_cast<int>(field()->ShownText().size());
}

QRect EntryFieldAccessible::characterRect(int offset) const {
    const QString shown = field()->ShownText();
    if (offset < 0 || offset >= shown.size())
        return {};
    const QRect box = field()->CharacterBox(offset);
    return QRect(field()->mapToGlobal(box.topLeft()), box.size());
}

int EntryFieldAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = field()->mapFromGlobal(point);
    if (!field()->rect().contains(local))
        return -1;
    return static_cast<int>(field()->PositionAt(local.x()));
}

void EntryFieldAccessible::scrollToSubstring(int, int) {}

QString EntryFieldAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One run of plain text without attributes.
    *startOffset = 0;
    *endOffset = characterCount();
    if (offset < 0 || offset > *endOffset)
        *startOffset = *endOffset = -1;
    return {};
}

}  // namespace velmora
