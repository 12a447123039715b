#include "scenario/textfieldmodel.h"

#include <algorithm>

#include "scenario/codepage.h"

namespace velmora {

namespace {
bool Printable(char32_t c) {
    return c >= U' ' && !(c >= 0x7F && c <= 0x9F) && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}
bool Blank(char32_t c) {
    return c <= U' ';
}
}  // namespace

void TextFieldModel::Enter(bool selectAll) {
    entered_ = true;
    remembered_ = text_;
    modified_ = false;
    caret_ = text_.size();
    anchor_ = selectAll ? 0 : caret_;
}

void TextFieldModel::Leave(bool applyRules) {
    entered_ = false;
    if (applyRules)
        Trim();
    Collapse(caret_);
}

void TextFieldModel::Trim() {
    text_ = TrimBlanks(text_);
    caret_ = std::min(caret_, text_.size());
    anchor_ = std::min(anchor_, text_.size());
}

void TextFieldModel::Collapse(std::size_t position) {
    caret_ = std::min(position, text_.size());
    anchor_ = caret_;
}

void TextFieldModel::EraseSelection() {
    const std::size_t start = SelectionStart();
    text_.erase(start, SelectionEnd() - start);
    Collapse(start);
}

KeyOutcome TextFieldModel::Type(char32_t c) {
    if (!Printable(c))
        return KeyOutcome::Ignored;
    // The scenario file stores Windows-1252: what it cannot hold is refused here, so the
    // field never shows a text that would be saved differently.
    if (!Cp1252Holds(c))
        return KeyOutcome::Refused;
    if (HasSelection()) {
        EraseSelection();
        text_.insert(caret_, 1, c);
    } else if (insertMode_) {
        if (text_.size() >= maxLength_) {
            // Insert pushes: the last character drops off to make room, except at the end.
            if (caret_ >= text_.size())
                return KeyOutcome::Refused;
            text_.resize(maxLength_ - 1);
        }
        text_.insert(caret_, 1, c);
    } else if (caret_ < text_.size()) {
        text_[caret_] = c;
    } else {
        if (caret_ >= maxLength_)
            return KeyOutcome::Refused;
        text_.push_back(c);
    }
    Collapse(caret_ + 1);
    modified_ = true;
    return KeyOutcome::Accepted;
}

void TextFieldModel::Backspace() {
    if (HasSelection()) {
        DeleteSelection();
    } else if (caret_ > 0) {
        text_.erase(caret_ - 1, 1);
        Collapse(caret_ - 1);
        modified_ = true;
    }
}

void TextFieldModel::Delete() {
    if (HasSelection()) {
        DeleteSelection();
    } else if (caret_ < text_.size()) {
        text_.erase(caret_, 1);
        modified_ = true;
    }
}

void TextFieldModel::MoveCaret(Move move, bool extend) {
    std::size_t to = caret_;
    switch (move) {
        case Move::Left:
            if (!extend && HasSelection()) {
                to = SelectionStart();
            } else if (to > 0) {
                --to;
            }
            break;
        case Move::Right:
            if (!extend && HasSelection()) {
                to = SelectionEnd();
            } else if (to < text_.size()) {
                ++to;
            }
            break;
        case Move::WordLeft:
            while (to > 0 && Blank(text_[to - 1]))
                --to;
            while (to > 0 && !Blank(text_[to - 1]))
                --to;
            break;
        case Move::WordRight:
            while (to < text_.size() && !Blank(text_[to]))
                ++to;
            while (to < text_.size() && Blank(text_[to]))
                ++to;
            break;
        case Move::Home:
            to = 0;
            break;
        case Move::End:
            to = text_.size();
            break;
    }
    PlaceCaret(to, extend);
}

void TextFieldModel::PlaceCaret(std::size_t position, bool extend) {
    caret_ = std::min(position, text_.size());
    if (!extend)
        anchor_ = caret_;
}

void TextFieldModel::SelectAll() {
    anchor_ = 0;
    caret_ = text_.size();
}

void TextFieldModel::SelectWordAt(std::size_t position) {
    position = std::min(position, text_.size());
    if (text_.empty())
        return;
    if (position == text_.size())
        --position;
    const bool blank = Blank(text_[position]);
    std::size_t start = position;
    std::size_t end = position;
    while (start > 0 && Blank(text_[start - 1]) == blank)
        --start;
    while (end < text_.size() && Blank(text_[end]) == blank)
        ++end;
    anchor_ = start;
    caret_ = end;
}

FieldText TextFieldModel::SelectedText() const {
    return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

FieldText TextFieldModel::Cut() {
    FieldText cut = SelectedText();
    DeleteSelection();
    return cut;
}

void TextFieldModel::DeleteSelection() {
    if (!HasSelection())
        return;
    EraseSelection();
    modified_ = true;
}

bool TextFieldModel::Paste(const FieldText& text) {
    if (text.empty())
        return true;
    DeleteSelection();
    bool allTaken = true;
    for (char32_t c : text) {
        if (Type(c) == KeyOutcome::Refused)
            allTaken = false;
    }
    return allTaken;
}

void TextFieldModel::Restore() {
    text_ = remembered_;
    SelectAll();
    modified_ = false;
}

void TextFieldModel::SetText(const FieldText& text) {
    FieldText t = text.substr(0, text.find(U'\0'));
    if (t.size() > maxLength_)
        t.resize(maxLength_);
    text_ = t;
    Collapse(text_.size());
    if (entered_)
        modified_ = text_ != remembered_;
}

}  // namespace velmora
