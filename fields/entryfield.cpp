#include "fields/entryfield.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyleHints>
#include <memory>
#include <utility>

#include "fields/entryfieldaccessible.h"
#include "fields/entrysettings.h"

namespace velmora {

namespace {

FieldEditor::CaretKey CaretKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return FieldEditor::CaretKey::Left;
        case Qt::Key_Right:
            return FieldEditor::CaretKey::Right;
        case Qt::Key_Up:
            return FieldEditor::CaretKey::Up;
        case Qt::Key_Down:
            return FieldEditor::CaretKey::Down;
        case Qt::Key_Home:
            return FieldEditor::CaretKey::Home;
        default:
            return FieldEditor::CaretKey::End;
    }
}

const QColor kFrameColour(48, 159, 214);
constexpr int kFrame = kEntryFrame;
constexpr int kInset = kEntryFrame + kEntryMargin;

// Focus moving to another window, a popup menu or the menu bar: the field is still the
// window's focus and applies no rules.
bool StaysInField(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

QString Prefix(const FieldText& text, std::size_t n) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(n));
}

bool Printable(char32_t c) {
    return c >= U' ' && !(c >= 0x7F && c <= 0x9F);
}

bool ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

// Eats the mouse press that a button is receiving after it took the focus from a field
// that refused its content: the button then never goes down and its command does not run.
class PressCanceller final : public QObject {
  public:
    explicit PressCanceller(QWidget* button) : QObject(button) { button->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
            deleteLater();
            return true;
        }
        return false;
    }
};

}  // namespace

TEntryField::TEntryField(EntrySettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings), insertMode_(settings.insertMode) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    EntryFieldAccessible::Install();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        connect(app, &QApplication::focusChanged, this, &TEntryField::FocusChangedElsewhere);
    }
}

TEntryField::~TEntryField() {
    if (settings_.refusingField.data() == this) {
        settings_.errorPending = false;
        settings_.refusingField = nullptr;
    }
    delete clickCanceller_;
}

QString TEntryField::ValueAsText() {
    throw InvalidFieldType();
}
long double TEntryField::ValueAsExtended() {
    throw InvalidFieldType();
}
double TEntryField::ValueAsDouble() {
    throw InvalidFieldType();
}
std::int32_t TEntryField::ValueAsInteger() {
    throw InvalidFieldType();
}
void TEntryField::SetValueText(const QString&) {
    throw InvalidFieldType();
}
void TEntryField::SetValueExtended(long double) {
    throw InvalidFieldType();
}
void TEntryField::SetValueInteger(std::int32_t) {
    throw InvalidFieldType();
}

QSize TEntryField::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.averageCharWidth() * 12 + 2 * kInset, fm.height() + 2 * kInset};
}

QSize TEntryField::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.averageCharWidth() + 2 * kInset, fm.height() + 2 * kInset};
}

void TEntryField::Changed() {
    caretOn_ = true;
    if (blink_.isActive()) {
        blink_.start(QGuiApplication::styleHints()->cursorFlashTime() / 2, this);
    }
    Redraw();
}

void TEntryField::Redraw() {
    update();
    Announce();
}

QString TEntryField::ShownText() const {
    const View view = CurrentView();
    return Prefix(view.text, view.text.size());
}

void TEntryField::Announce() {
    const View view = CurrentView();
    const QString text = Prefix(view.text, view.text.size());
    const QString oldText = std::exchange(announcedText_, text);
    const std::size_t oldCaret = std::exchange(announcedCaret_, view.caret);
    const std::size_t oldStart = std::exchange(announcedSelectionStart_, view.selectionStart);
    const std::size_t oldEnd = std::exchange(announcedSelectionEnd_, view.selectionEnd);
    if (text != oldText)
        emit TextChanged();
    if (!EntryFieldAccessible::Heard())
        return;
    if (text != oldText) {
        QAccessibleTextUpdateEvent update(this, 0, oldText, text);
        EntryFieldAccessible::Send(&update);
        QAccessibleValueChangeEvent value(this, text);
        EntryFieldAccessible::Send(&value);
    }
    // An empty selection is no selection, wherever the model keeps its ends.
    const bool hadSelection = oldEnd > oldStart;
    const bool hasSelection = view.selectionEnd > view.selectionStart;
    if (hadSelection != hasSelection ||
        (hasSelection && (view.selectionStart != oldStart || view.selectionEnd != oldEnd))) {
        QAccessibleTextSelectionEvent selection(
            this, hasSelection ? static_cast<int>(view.selectionStart) : -1,
            hasSelection ? static_cast<int>(view.selectionEnd) : -1);
        selection.setCursorPosition(static_cast<int>(view.caret));
        EntryFieldAccessible::Send(&selection);
    }
    if (view.caret != oldCaret) {
        QAccessibleTextCursorEvent cursor(this, static_cast<int>(view.caret));
        EntryFieldAccessible::Send(&cursor);
    }
}

void TEntryField::focusInEvent(QFocusEvent* e) {
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0)
        blink_.start(flash / 2, this);
    caretOn_ = true;
    if (entered_ && StaysInField(e->reason())) {
        update();
        return;
    }
    const bool returning = settings_.refusingField.data() == this;
    if (returning) {
        settings_.errorPending = false;
        settings_.refusingField = nullptr;
    }
    entered_ = true;
    insertMode_ = settings_.insertMode;
    Editor().Enter(returning || e->reason() != Qt::MouseFocusReason, returning);
    Changed();
}

void TEntryField::focusOutEvent(QFocusEvent* e) {
    blink_.stop();
    if (!entered_ || StaysInField(e->reason())) {
        update();
        return;
    }
    LeaveForControl(e->reason());
}

// The field was left through another window, and the focus came back to another control of
// this window without passing through the field (a click that arrived before the window
// was active again): the focus has moved on, so the rules run now.
void TEntryField::FocusChangedElsewhere(QWidget* old, QWidget* now) {
    if (!entered_ || old == this || now == nullptr || now == this || hasFocus())
        return;
    if (now->window() != window())
        return;
    LeaveForControl(Qt::OtherFocusReason);
}

void TEntryField::LeaveForControl(Qt::FocusReason reason) {
    entered_ = false;
    settings_.insertMode = insertMode_;
    // A control that only holds the focus until a refusing field takes it back applies no
    // rules of its own.
    const auto refusal = Editor().Leave(!settings_.errorPending);
    Redraw();
    if (refusal)
        Refuse(QString::fromStdString(*refusal), reason);
}

void TEntryField::Refuse(const QString& message, Qt::FocusReason reason) {
    settings_.errorPending = true;
    settings_.refusingField = this;
    // The press that took the focus is being delivered right now, after this event.
    if (reason == Qt::MouseFocusReason) {
        if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget())) {
            clickCanceller_ = new PressCanceller(button);
        }
    }
    // Queued behind the event being handled: first the focus comes back, then the report.
    QMetaObject::invokeMethod(
        this, [this, message] { ReturnAndReport(message); }, Qt::QueuedConnection);
}

void TEntryField::ReturnAndReport(const QString& message) {
    delete clickCanceller_;
    setFocus(Qt::OtherFocusReason);
    // The focus could not arrive (the field was hidden meanwhile, or the window is not
    // active): the report must not stay pending for ever.
    if (settings_.refusingField.data() == this) {
        settings_.errorPending = false;
        settings_.refusingField = nullptr;
    }
    const QPointer<TEntryField> self(this);
    settings_.ReportError(this, message);
    if (!self)
        return;
    // Back in the field after "OK": without a window manager to do it, nothing would make
    // the window active again, and keys and clicks would then bypass the fields.
    if (isVisible() && !window()->isActiveWindow())
        window()->activateWindow();
}

bool TEntryField::ClaimsKey(const QKeyEvent* e) const {
    const auto mods = e->modifiers();
    const bool alt = mods & Qt::AltModifier;
    const bool control = mods & Qt::ControlModifier;
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Insert:
            return !alt;
        case Qt::Key_Backspace:
            return !control;
        case Qt::Key_Delete:
            return !alt && !control;
        case Qt::Key_Z:
        case Qt::Key_X:
        case Qt::Key_C:
        case Qt::Key_V:
            if (control && !alt && !(mods & Qt::ShiftModifier))
                return true;
            break;
        default:
            break;
    }
    if (alt != control)
        return false;  // accelerators and Ctrl letters belong to the window
    const QString text = e->text();
    return !text.isEmpty() && Printable(text.at(0).unicode());
}

bool TEntryField::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && ClaimsKey(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void TEntryField::keyPressEvent(QKeyEvent* e) {
    const auto mods = e->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool control = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            if (alt)
                break;
            Editor().PressCaretKey(CaretKeyOf(e->key()), shift, control);
            Changed();
            return;
        case Qt::Key_Insert:
            if (alt)
                break;
            if (control && !shift) {
                CopyToClipboard();
            } else if (shift && !control) {
                PasteFromClipboard();
            } else if (!shift && !control) {
                insertMode_ = !insertMode_;
                Changed();
            }
            return;
        case Qt::Key_Delete:
            if (alt || control)
                break;
            if (shift) {
                CutToClipboard();
            } else {
                Editor().Apply(FieldEditor::Edit::DeleteForward);
                Changed();
            }
            return;
        case Qt::Key_Backspace:
            if (control)
                break;
            if (alt) {
                Editor().Apply(FieldEditor::Edit::Restore);
            } else {
                Editor().Apply(FieldEditor::Edit::DeleteBackward);
            }
            Changed();
            return;
        case Qt::Key_Z:
        case Qt::Key_X:
        case Qt::Key_C:
        case Qt::Key_V:
            if (!control || alt || shift)
                break;
            if (e->key() == Qt::Key_Z) {
                Editor().Apply(FieldEditor::Edit::Restore);
                Changed();
            } else if (e->key() == Qt::Key_X) {
                CutToClipboard();
            } else if (e->key() == Qt::Key_C) {
                CopyToClipboard();
            } else {
                PasteFromClipboard();
            }
            return;
        default:
            break;
    }
    // Alt+letter and Ctrl+letter without a command go to the window; Ctrl+Alt is AltGr.
    const QString text = e->text();
    if (alt != control || text.isEmpty()) {
        e->ignore();
        return;
    }
    bool typed = false;
    for (char32_t c : text.toStdU32String()) {
        if (!Printable(c))
            continue;
        typed = true;
        if (Editor().Type(c, insertMode_) == KeyOutcome::Refused)
            settings_.Beep();
    }
    if (!typed) {
        e->ignore();  // Esc, Enter and the like have no command here
        return;
    }
    Changed();
}

void TEntryField::CopyToClipboard() {
    const FieldText text = Editor().Copy();
    if (!text.empty())
        QGuiApplication::clipboard()->setText(QString::fromStdU32String(text));
}

void TEntryField::CutToClipboard() {
    const FieldText text = Editor().Cut();
    if (!text.empty())
        QGuiApplication::clipboard()->setText(QString::fromStdU32String(text));
    Changed();
}

void TEntryField::PasteFromClipboard() {
    // Dropping pasted characters beeps, as refusing a typed one does.
    if (!Editor().Paste(QGuiApplication::clipboard()->text().toStdU32String(), insertMode_))
        settings_.Beep();
    Changed();
}

QMenu* TEntryField::CreateContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    auto add = [&](const char* caption, bool enabled, auto&& command) {
        QAction* action = menu->addAction(QString::fromLatin1(caption), this, command);
        action->setEnabled(enabled);
    };
    add("&Restore", Editor().CurrentState().modified, [this] {
        Editor().Apply(FieldEditor::Edit::Restore);
        Changed();
    });
    menu->addSeparator();
    add("Cu&t", Editor().CurrentState().hasSelection, [this] { CutToClipboard(); });
    add("&Copy", Editor().CurrentState().hasSelection, [this] { CopyToClipboard(); });
    add("&Paste", ClipboardHasText(), [this] { PasteFromClipboard(); });
    add("&Delete", Editor().CurrentState().hasSelection, [this] {
        Editor().Apply(FieldEditor::Edit::DeleteSelection);
        Changed();
    });
    menu->addSeparator();
    add("Select &All", !Editor().CurrentState().allSelected, [this] {
        Editor().Apply(FieldEditor::Edit::SelectAll);
        Changed();
    });
    return menu;
}

void TEntryField::contextMenuEvent(QContextMenuEvent* e) {
    // A refusing field takes the focus back first; its report comes instead of the menu.
    if (settings_.errorPending)
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (settings_.errorPending)
        return;
    const std::unique_ptr<QMenu> menu(CreateContextMenu(this));
    menu->exec(e->globalPos());
}

void TEntryField::timerEvent(QTimerEvent* e) {
    if (e->timerId() == blink_.timerId()) {
        caretOn_ = !caretOn_;
        update();
        return;
    }
    QWidget::timerEvent(e);
}

int TEntryField::TextLeft(const View& view, int textWidth) const {
    const QRect area = rect().adjusted(kInset, kInset, -kInset, -kInset);
    if (view.alignRight) {
        // The caret after the last character stands in the margin; a block caret there
        // needs a character cell, so the text moves over while it shows.
        const bool blockAtEnd = hasFocus() && !insertMode_ && view.caret >= view.text.size();
        return area.right() + 1 - textWidth - (blockAtEnd ? fontMetrics().averageCharWidth() : 0);
    }
    // Left-aligned text scrolls so that the caret stays inside the field.
    const QFontMetrics fm = fontMetrics();
    const int caretX = fm.horizontalAdvance(Prefix(view.text, view.caret));
    const int room = std::max(1, area.width() - 1);
    if (caretX - scroll_ < 0)
        scroll_ = caretX;
    if (caretX - scroll_ > room)
        scroll_ = caretX - room;
    scroll_ = std::clamp(scroll_, 0, std::max(0, textWidth - room));
    return area.left() - scroll_;
}

QRect TEntryField::CharacterBox(int offset) const {
    const View view = CurrentView();
    const QFontMetrics fm = fontMetrics();
    const auto advance = [&](std::size_t n) { return fm.horizontalAdvance(Prefix(view.text, n)); };
    const int left = TextLeft(view, advance(view.text.size()));
    const auto at = static_cast<std::size_t>(offset);
    const QRect area = rect().adjusted(kInset, kInset, -kInset, -kInset);
    return {left + advance(at), area.top(), advance(at + 1) - advance(at), area.height()};
}

std::size_t TEntryField::PositionAt(int x) const {
    const View view = CurrentView();
    const QFontMetrics fm = fontMetrics();
    const int left = TextLeft(view, fm.horizontalAdvance(Prefix(view.text, view.text.size())));
    std::size_t best = 0;
    int bestDistance = std::abs(left - x);
    for (std::size_t i = 1; i <= view.text.size(); ++i) {
        const int distance = std::abs(left + fm.horizontalAdvance(Prefix(view.text, i)) - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void TEntryField::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(isEnabled() ? QPalette::Base : QPalette::Window));
    p.setPen(kFrameColour);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        // The focus is marked even while the caret blinks off: the frame doubles in the
        // highlight colour, inside the field's margin.
        p.setPen(pal.color(QPalette::Highlight));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }

    const QRect area = rect().adjusted(kInset, kInset, -kInset, -kInset);
    const View view = CurrentView();
    const QString text = Prefix(view.text, view.text.size());
    const QFontMetrics fm = fontMetrics();
    const auto advance = [&](std::size_t n) { return fm.horizontalAdvance(Prefix(view.text, n)); };
    const int left = TextLeft(view, fm.horizontalAdvance(text));
    const int baseline = area.top() + (area.height() - fm.height()) / 2 + fm.ascent();
    p.setClipRect(area);
    p.setPen(pal.color(QPalette::Text));
    p.drawText(left, baseline, text);

    // The selection and the block caret redraw the text under them in other colours.
    const auto overlay = [&](const QRect& box, const QRect& clip, const QColor& fill,
                             const QColor& ink) {
        p.save();
        p.setClipRect(box.intersected(clip));
        p.fillRect(box, fill);
        p.setPen(ink);
        p.drawText(left, baseline, text);
        p.restore();
    };
    if (view.selectionEnd > view.selectionStart) {
        const int x0 = left + advance(view.selectionStart);
        const int x1 = left + advance(view.selectionEnd);
        overlay(QRect(x0, area.top(), x1 - x0, area.height()), area, pal.color(QPalette::Highlight),
                pal.color(QPalette::HighlightedText));
    }
    if (hasFocus() && caretOn_) {
        // The caret may stand in the margin, inside the frame.
        const QRect inside = rect().adjusted(kFrame, kFrame, -kFrame, -kFrame);
        p.setClipRect(inside);
        const int x = left + advance(view.caret);
        if (insertMode_) {
            p.fillRect(QRect(x, area.top(), 1, area.height()), pal.color(QPalette::Text));
        } else {
            const int width = view.caret < view.text.size()
                                  ? advance(view.caret + 1) - advance(view.caret)
                                  : fm.averageCharWidth();
            overlay(QRect(x, area.top(), std::max(width, 2), area.height()), inside,
                    pal.color(QPalette::Text), pal.color(QPalette::Base));
        }
    }
}

}  // namespace velmora
