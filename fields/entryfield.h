#pragma once

#include <QBasicTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "fields/fieldeditor.h"
#include "scenario/fieldtext.h"

class QMenu;

namespace velmora {

/// The fields' frame line and the margin inside it, in pixels.
inline constexpr int kEntryFrame = 1;
inline constexpr int kEntryMargin = 2;

class EntrySettings;
struct ScenarioInput;

/// Base of the scenario's entry fields: a flat, self-drawn widget over a plain model. A
/// getter or setter of the wrong kind throws InvalidFieldType ("Invalid data type for this
/// field"), a std::logic_error.
///
/// When the focus moves to another control of the window (Tab, Shift+Tab, a click), the
/// field applies its rules; a refusal gives the focus back with the whole text selected and
/// then shows one "Error" report through EntrySettings. A click on a push button that took
/// the focus from a refusing field is cancelled. A move to another window (a dialog, a
/// popup menu) runs no rules. Esc, Tab and Alt+letter keys are left to the window.
class TEntryField : public QWidget {
    Q_OBJECT
  public:
    ~TEntryField() override;
    TEntryField(const TEntryField&) = delete;
    TEntryField& operator=(const TEntryField&) = delete;

    virtual QString ValueAsText();
    virtual long double ValueAsExtended();
    virtual double ValueAsDouble();
    virtual std::int32_t ValueAsInteger();
    virtual void SetValueText(const QString& text);
    virtual void SetValueExtended(long double value);
    virtual void SetValueInteger(std::int32_t value);

    /// Insert (true) or overwrite mode; the field takes it from EntrySettings on entry.
    bool InsertMode() const { return insertMode_; }
    /// The right-click menu, its items enabled for the present state; the caller owns it.
    QMenu* CreateContextMenu(QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// The text as the field draws it now.
    QString ShownText() const;

  signals:
    /// The drawn text changed: typed, pasted, set or shown again in full.
    void TextChanged();

  protected:
    TEntryField(EntrySettings& settings, QWidget* parent);

    /// What the field draws: the text, the selected part and the caret, in characters.
    struct View {
        FieldText text;
        std::size_t selectionStart = 0;
        std::size_t selectionEnd = 0;
        std::size_t caret = 0;
        bool alignRight = false;
    };
    virtual View CurrentView() const = 0;
    /// The field's model, for every editing key and command.
    virtual FieldEditor& Editor() = 0;
    virtual const FieldEditor& Editor() const = 0;

    /// Redraws with the caret shown, after any change.
    void Changed();
    /// Redraws after the text may have changed, and tells assistive technology.
    void Redraw();
    /// The character position nearest to x in the drawn text.
    std::size_t PositionAt(int x) const;
    bool Entered() const { return entered_; }
    EntrySettings& settings_;

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

  private:
    friend class EntryFieldAccessible;

    void LeaveForControl(Qt::FocusReason reason);
    void FocusChangedElsewhere(QWidget* old, QWidget* now);
    void Refuse(const QString& message, Qt::FocusReason reason);
    void ReturnAndReport(const QString& message);
    bool ClaimsKey(const QKeyEvent* e) const;
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    int TextLeft(const View& view, int textWidth) const;
    /// The box of one drawn character, in field coordinates.
    QRect CharacterBox(int offset) const;
    /// Tells assistive technology what changed since it was last told: text, caret,
    /// selection.
    void Announce();

    bool insertMode_ = true;
    bool entered_ = false;
    QPointer<QObject> clickCanceller_;
    bool caretOn_ = true;
    QBasicTimer blink_;
    mutable int scroll_ = 0;
    QString announcedText_;
    std::size_t announcedCaret_ = 0;
    std::size_t announcedSelectionStart_ = 0;
    std::size_t announcedSelectionEnd_ = 0;
};

}  // namespace velmora
