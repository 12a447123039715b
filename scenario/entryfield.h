#pragma once

#include <QBasicTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "scenario/datefieldmodel.h"
#include "scenario/fielderrors.h"
#include "scenario/fieldtext.h"
#include "scenario/numericfieldmodel.h"
#include "scenario/textfieldmodel.h"

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
    virtual void Enter(bool selectAll, bool returning) = 0;
    /// Returns the refusal message when the rules refuse the content.
    virtual std::optional<std::string> Leave(bool applyRules) = 0;
    virtual KeyOutcome TypeCharacter(char32_t c) = 0;
    virtual void MoveKey(int key, bool shift, bool control) = 0;
    virtual void DeleteBackward() = 0;
    virtual void DeleteForward() = 0;
    virtual bool IsModified() const = 0;
    virtual bool HasSelection() const = 0;
    virtual bool AllSelected() const = 0;
    virtual void Restore() = 0;
    virtual FieldText Copy() const = 0;
    virtual FieldText Cut() = 0;
    /// Gives false when characters of the text were refused and dropped.
    virtual bool Paste(const FieldText& text) = 0;
    virtual void DeleteSelection() = 0;
    virtual void SelectAll() = 0;

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

class TTextEntryField final : public TEntryField {
    Q_OBJECT
  public:
    explicit TTextEntryField(EntrySettings& settings, QWidget* parent = nullptr,
                             int maxLength = 100);
    /// The text; while the field has the focus, blanks at both ends are removed first.
    QString ValueAsText() override;
    /// The first MaxLength characters of text, ended by a NUL; nothing trimmed.
    void SetValueText(const QString& text) override;
    const TextFieldModel& Model() const { return model_; }

  protected:
    View CurrentView() const override;
    void Enter(bool selectAll, bool returning) override;
    std::optional<std::string> Leave(bool applyRules) override;
    KeyOutcome TypeCharacter(char32_t c) override;
    void MoveKey(int key, bool shift, bool control) override;
    void DeleteBackward() override;
    void DeleteForward() override;
    bool IsModified() const override { return model_.Modified(); }
    bool HasSelection() const override { return model_.HasSelection(); }
    bool AllSelected() const override { return model_.AllSelected(); }
    void Restore() override;
    FieldText Copy() const override { return model_.SelectedText(); }
    FieldText Cut() override;
    bool Paste(const FieldText& text) override;
    void DeleteSelection() override;
    void SelectAll() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    TextFieldModel model_;
};

class TNumericEntryField final : public TEntryField {
    Q_OBJECT
  public:
    /// A field for one of the scenario's numeric inputs: its kind, mask and bounds.
    TNumericEntryField(const ScenarioInput& input, EntrySettings& settings,
                       QWidget* parent = nullptr);
    /// The shown text as drawn, without the blanks at both ends.
    /// What the field draws now: the shown text, or the mask's unfit marks when the
    /// number is too wide for the field.
    QString DisplayedText() const { return QString::fromStdU32String(CurrentView().text); }
    QString ValueAsText() override;
    /// 0 when the text breaks the field's rules, without any message; with the focus, a
    /// number that stands is shown again in its full format.
    long double ValueAsExtended() override;
    double ValueAsDouble() override;
    std::int32_t ValueAsInteger() override;
    void SetValueExtended(long double value) override;
    void SetValueInteger(std::int32_t value) override;
    const NumericFieldModel& Model() const { return model_; }

  protected:
    View CurrentView() const override;
    void Enter(bool selectAll, bool returning) override;
    std::optional<std::string> Leave(bool applyRules) override;
    KeyOutcome TypeCharacter(char32_t c) override;
    void MoveKey(int key, bool shift, bool control) override;
    void DeleteBackward() override;
    void DeleteForward() override { DeleteBackward(); }
    bool IsModified() const override { return model_.Modified(); }
    bool HasSelection() const override { return model_.HasSelection(); }
    bool AllSelected() const override;
    void Restore() override;
    FieldText Copy() const override { return model_.Copy(); }
    FieldText Cut() override;
    bool Paste(const FieldText& text) override;
    void DeleteSelection() override;
    void SelectAll() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    NumericFieldModel model_;
};

/// A date field over DateFieldModel: "MM/DD/YYYY", empty meaning no date. It has no
/// number getters; ValueAsText gives the shown date or an empty text.
class TDateEntryField final : public TEntryField {
    Q_OBJECT
  public:
    TDateEntryField(int lowYear, int highYear, EntrySettings& settings, QWidget* parent = nullptr);
    QString ValueAsText() override;
    /// Sets the date from "MM/DD/YYYY" (or empties it for an empty text), unchecked.
    void SetValueText(const QString& text) override;
    std::optional<FieldDate> Date() const { return model_.Value(); }
    void SetDate(const std::optional<FieldDate>& date);
    const DateFieldModel& Model() const { return model_; }

  protected:
    View CurrentView() const override;
    void Enter(bool selectAll, bool returning) override;
    std::optional<std::string> Leave(bool applyRules) override;
    KeyOutcome TypeCharacter(char32_t c) override { return model_.Type(c); }
    void MoveKey(int key, bool shift, bool control) override;
    void DeleteBackward() override { model_.DeleteBackward(); }
    void DeleteForward() override { model_.DeleteBackward(); }
    bool IsModified() const override { return model_.Modified(); }
    bool HasSelection() const override { return model_.HasSelection(); }
    bool AllSelected() const override { return model_.HasSelection(); }
    void Restore() override { model_.Restore(); }
    FieldText Copy() const override { return model_.Copy(); }
    FieldText Cut() override { return model_.Cut(); }
    bool Paste(const FieldText& text) override { return model_.Paste(text); }
    void DeleteSelection() override { model_.DeleteSelection(); }
    void SelectAll() override { model_.SelectAll(); }
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    DateFieldModel model_;
};

}  // namespace velmora
