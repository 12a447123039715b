// The text field model: caret, selection, insert and overwrite, insert pushes, trimming.
#include <gtest/gtest.h>

#include <string>

#include "scenario/fieldtext.h"
#include "scenario/textfieldmodel.h"

namespace velmora {
namespace {

using Move = TextFieldModel::Move;

std::string Utf8(const FieldText& t) {
    return Utf8FromFieldText(t);
}

// Shows the text with the caret as '|' and the selection in brackets.
std::string Picture(const TextFieldModel& f) {
    FieldText t = f.Text();
    if (f.HasSelection()) {
        t.insert(f.SelectionEnd(), 1, U']');
        t.insert(f.SelectionStart(), 1, U'[');
        const bool caretAtEnd = f.Caret() == f.SelectionEnd();
        t.insert(caretAtEnd ? f.SelectionEnd() + 2 : f.SelectionStart(), 1, U'|');
    } else {
        t.insert(f.Caret(), 1, U'|');
    }
    return Utf8(t);
}

TextFieldModel Entered(const std::string& text, std::size_t caret, bool insert = true) {
    TextFieldModel f;
    f.SetText(FieldTextFromUtf8(text));
    f.Enter(false);
    f.PlaceCaret(caret, false);
    f.SetInsertMode(insert);
    return f;
}

TEST(TextField, FocusByKeyboardSelectsAllByClickNothing) {
    TextFieldModel f;
    f.SetText(U"Jane Doe");
    f.Enter(true);
    EXPECT_EQ(Picture(f), "[Jane Doe]|");
    f.Leave(true);
    f.Enter(false);
    EXPECT_EQ(Picture(f), "Jane Doe|");
}

TEST(TextField, Typing) {
    struct Case {
        const char* name;
        const char* text;
        std::size_t caret;
        bool insert;
        const char* keys;
        const char* after;
        int beeps;
    };
    const Case cases[] = {
        {"insert in the middle", "Jne", 1, true, "a", "Ja|ne", 0},
        {"overwrite in the middle", "Jxne", 1, false, "a", "Ja|ne", 0},
        {"overwrite appends at the end", "Ja", 2, false, "n", "Jan|", 0},
        {"euro sign is one character", "5 ", 2, true, "\u20ac", "5 \u20ac|", 0},
        {"control characters are not typed", "ab", 2, true, "\t\n\x7f", "ab|", 0},
        {"Windows-1252 letters are typed", "", 0, true, "\u00e9\u2122\u0178\u017e",
         "\u00e9\u2122\u0178\u017e|", 0},
        {"what the file cannot hold is refused", "ab", 2, true, "\u674e\u0100\U0001F600", "ab|", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextFieldModel f = Entered(c.text, c.caret, c.insert);
        int beeps = 0;
        for (char32_t k : FieldTextFromUtf8(c.keys))
            beeps += f.Type(k) == KeyOutcome::Refused;
        EXPECT_EQ(Picture(f), c.after);
        EXPECT_EQ(beeps, c.beeps);
    }
}

TEST(TextField, FullTextInsertPushesAndRefusesAtTheEnd) {
    const std::string full = std::string(50, 'a') + std::string(49, 'b') + "Z";
    struct Case {
        const char* name;
        std::size_t caret;
        bool insert;
        bool refused;
        std::string after;
    };
    const Case cases[] = {
        {"insert in the middle pushes the last out", 50, true, false,
         std::string(50, 'a') + "X" + std::string(49, 'b')},
        {"insert at the start", 0, true, false, "X" + std::string(50, 'a') + std::string(49, 'b')},
        {"insert at the end refused", 100, true, true, full},
        {"overwrite in the middle", 50, false, false,
         std::string(50, 'a') + "X" + std::string(48, 'b') + "Z"},
        {"overwrite at the end refused", 100, false, true, full},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextFieldModel f = Entered(full, c.caret, c.insert);
        EXPECT_EQ(f.Type(U'X') == KeyOutcome::Refused, c.refused);
        EXPECT_EQ(Utf8(f.Text()), c.after);
        EXPECT_EQ(f.Text().size(), 100u);
        EXPECT_EQ(f.Caret(), c.refused ? c.caret : c.caret + 1);
    }
}

TEST(TextField, TypingReplacesTheSelectionEvenWhenFull) {
    TextFieldModel f;
    f.SetText(FieldText(100, U'a'));
    f.Enter(true);
    EXPECT_EQ(f.Type(U'Q'), KeyOutcome::Accepted);
    EXPECT_EQ(Picture(f), "Q|");
    f.SetInsertMode(false);
    f.SelectAll();
    f.Type(U'R');
    EXPECT_EQ(Picture(f), "R|") << "overwrite mode replaces a selection too";
}

TEST(TextField, MovesAndSelection) {
    struct Case {
        const char* name;
        std::size_t caret;
        Move move;
        bool extend;
        int times;
        const char* after;
    };
    const char* text = "John  Smith Jr";
    const Case cases[] = {
        {"left", 4, Move::Left, false, 1, "Joh|n  Smith Jr"},
        {"left stops at the start", 0, Move::Left, false, 1, "|John  Smith Jr"},
        {"right stops at the end", 14, Move::Right, false, 1, "John  Smith Jr|"},
        {"word right", 0, Move::WordRight, false, 1, "John  |Smith Jr"},
        {"word right twice", 0, Move::WordRight, false, 2, "John  Smith |Jr"},
        {"word right to the end", 12, Move::WordRight, false, 1, "John  Smith Jr|"},
        {"word left from the end", 14, Move::WordLeft, false, 1, "John  Smith |Jr"},
        {"word left over blanks", 6, Move::WordLeft, false, 1, "|John  Smith Jr"},
        {"word left from inside a word", 8, Move::WordLeft, false, 1, "John  |Smith Jr"},
        {"home", 8, Move::Home, false, 1, "|John  Smith Jr"},
        {"end", 3, Move::End, false, 1, "John  Smith Jr|"},
        {"shift left", 4, Move::Left, true, 2, "Jo|[hn]  Smith Jr"},
        {"shift home", 4, Move::Home, true, 1, "|[John]  Smith Jr"},
        {"shift end", 4, Move::End, true, 1, "John[  Smith Jr]|"},
        {"shift word right", 0, Move::WordRight, true, 1, "[John  ]|Smith Jr"},
        {"shift word left", 14, Move::WordLeft, true, 1, "John  Smith |[Jr]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextFieldModel f = Entered(text, c.caret);
        for (int i = 0; i < c.times; ++i)
            f.MoveCaret(c.move, c.extend);
        EXPECT_EQ(Picture(f), c.after);
    }
}

TEST(TextField, MoveWithoutShiftCollapsesTheSelection) {
    TextFieldModel f = Entered("abcdef", 2);
    f.PlaceCaret(4, true);
    EXPECT_EQ(Picture(f), "ab[cd]|ef");
    f.MoveCaret(Move::Left, false);
    EXPECT_EQ(Picture(f), "ab|cdef");
    f.PlaceCaret(4, true);
    f.MoveCaret(Move::Right, false);
    EXPECT_EQ(Picture(f), "abcd|ef");
}

TEST(TextField, Deleting) {
    struct Case {
        const char* name;
        std::size_t anchor;
        std::size_t caret;
        bool forward;
        const char* after;
    };
    const Case cases[] = {
        {"backspace", 3, 3, false, "ab|def"},
        {"backspace at the start", 0, 0, false, "|abcdef"},
        {"delete", 3, 3, true, "abc|ef"},
        {"delete at the end", 6, 6, true, "abcdef|"},
        {"backspace a selection", 1, 4, false, "a|ef"},
        {"delete a selection", 4, 1, true, "a|ef"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextFieldModel f = Entered("abcdef", c.anchor);
        f.PlaceCaret(c.caret, true);
        c.forward ? f.Delete() : f.Backspace();
        EXPECT_EQ(Picture(f), c.after);
    }
}

TEST(TextField, ClipboardCommandsAndRestore) {
    TextFieldModel f = Entered("Jane Doe", 0);
    f.PlaceCaret(4, true);
    EXPECT_EQ(Utf8(f.SelectedText()), "Jane");
    EXPECT_EQ(Utf8(f.Cut()), "Jane");
    EXPECT_EQ(Picture(f), "| Doe");
    EXPECT_TRUE(f.Modified());
    f.Paste(U"Mary\nAnn");  // pasted as if typed: the line break is not a character here
    EXPECT_EQ(Picture(f), "MaryAnn| Doe");
    f.Restore();
    EXPECT_EQ(Picture(f), "[Jane Doe]|");
    EXPECT_FALSE(f.Modified());
}

TEST(TextField, PasteIntoAFullTextPushes) {
    TextFieldModel f = Entered(std::string(98, 'a') + "YZ", 10);
    f.Paste(U"123");
    EXPECT_EQ(Utf8(f.Text()), std::string(10, 'a') + "123" + std::string(87, 'a'));
    EXPECT_EQ(f.Caret(), 13u);
}

TEST(TextField, LeavingTrimsBlanks) {
    TextFieldModel f;
    f.SetText(U"  Jane  Doe  ");
    EXPECT_EQ(Utf8(f.Text()), "  Jane  Doe  ") << "a setter trims nothing";
    f.Enter(true);
    f.Leave(false);
    EXPECT_EQ(Utf8(f.Text()), "  Jane  Doe  ")
        << "no rules while another field's report is pending";
    f.Enter(true);
    f.Leave(true);
    EXPECT_EQ(Utf8(f.Text()), "Jane  Doe");
}

TEST(TextField, Setter) {
    struct Case {
        const char* name;
        FieldText in;
        FieldText out;
    };
    const Case cases[] = {
        {"first hundred characters", FieldText(150, U'x'), FieldText(100, U'x')},
        {"a NUL ends the text", FieldText(U"ab\0cd", 5), U"ab"},
        {"euro signs count one each", FieldText(120, U'\u20ac'), FieldText(100, U'\u20ac')},
        {"blanks kept", U"  a  ", U"  a  "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextFieldModel f;
        f.SetText(c.in);
        EXPECT_EQ(f.Text(), c.out);
    }
}

TEST(FieldText, Utf8RoundTripAndMalformedInput) {
    EXPECT_EQ(FieldTextFromUtf8("a\u00e9\u20ac\U0001F600"), U"a\u00e9\u20ac\U0001F600");
    EXPECT_EQ(Utf8FromFieldText(U"a\u00e9\u20ac\U0001F600"), "a\u00e9\u20ac\U0001F600");
    EXPECT_EQ(FieldTextFromUtf8("a\xff"
                                "b"),
              U"a\uFFFDb");
    EXPECT_EQ(FieldTextFromUtf8("a\xe2\x82"), U"a\uFFFD") << "cut short at the end";
    EXPECT_EQ(FieldTextFromUtf8("\xc0\xaf"), U"\uFFFD") << "overlong";
    EXPECT_EQ(FieldTextFromUtf8("\xed\xa0\x80"), U"\uFFFD") << "surrogate";
    EXPECT_EQ(FieldTextFromUtf8("\xe2\x82x"), U"\uFFFDx");
}

}  // namespace
}  // namespace velmora
