#pragma once

#include <cstddef>

#include "scenario/fielderrors.h"
#include "scenario/fieldtext.h"

namespace velmora {

/// A text entry field without its widget: the text of at most MaxLength characters, the
/// caret and the selection (between an anchor and the caret), insert or overwrite mode, the
/// text remembered for Restore and the trimming rule applied when the user leaves.
class TextFieldModel {
  public:
    enum class Move { Left, Right, WordLeft, WordRight, Home, End };

    explicit TextFieldModel(std::size_t maxLength = 100) : maxLength_(maxLength) {}

    const FieldText& Text() const { return text_; }
    std::size_t MaxLength() const { return maxLength_; }
    std::size_t Caret() const { return caret_; }
    std::size_t SelectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
    std::size_t SelectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
    bool HasSelection() const { return caret_ != anchor_; }
    bool AllSelected() const { return SelectionStart() == 0 && SelectionEnd() == text_.size(); }
    bool Modified() const { return modified_; }
    bool Entered() const { return entered_; }
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool on) { insertMode_ = on; }

    /// The focus arrives: the caret goes to the end, the whole text selected or nothing
    /// (a mouse click then places the caret).
    void Enter(bool selectAll);
    /// The focus leaves; with the rules, blanks at both ends are removed.
    void Leave(bool applyRules);
    /// Removes blanks at both ends now (a getter while the field has the focus).
    void Trim();

    KeyOutcome Type(char32_t c);
    void Backspace();
    void Delete();
    void MoveCaret(Move move, bool extend);
    void PlaceCaret(std::size_t position, bool extend);
    void SelectAll();
    void SelectWordAt(std::size_t position);
    FieldText SelectedText() const;
    FieldText Cut();
    /// Types each character; false when one was refused (and dropped).
    bool Paste(const FieldText& text);
    void DeleteSelection();
    void Restore();

    /// The setter: the first MaxLength characters, ended by a NUL; nothing trimmed.
    void SetText(const FieldText& text);

  private:
    void EraseSelection();
    void Collapse(std::size_t position);

    std::size_t maxLength_;
    FieldText text_;
    FieldText remembered_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    bool insertMode_ = true;
    bool modified_ = false;
    bool entered_ = false;
};

}  // namespace velmora
