#pragma once

#include <QAccessibleWidget>

namespace velmora {

class TEntryField;

/// What assistive technology learns of an entry field: an editable text named by the
/// field's accessible name (its label), the shown text as value, and the caret and the
/// selection. The field's own keys and rules are the only way to change it, so the caret
/// and selection are read-only here.
class EntryFieldAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit EntryFieldAccessible(TEntryField* field);

    /// Makes Qt's accessibility layer use this class for every entry field; safe to call
    /// more than once.
    static void Install();

    /// Where the fields' change events go: Qt's accessibility layer while assistive
    /// technology listens, or the given listener (tests). Returns the previous listener.
    using Listener = void (*)(QAccessibleEvent* event);
    static Listener SetListener(Listener listener);
    /// Whether anyone hears the events; building them is skipped otherwise.
    static bool Heard();
    static void Send(QAccessibleEvent* event);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    TEntryField* field() const;
};

}  // namespace velmora
