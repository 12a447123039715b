// The entry field widgets: focus, keys, the refusal and its single report, the cancelled
// click, the right-click menu, the clipboard and the scenario operations.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "fields/entrysettings.h"
#include "fields/scenariofields.h"

namespace velmora {
namespace {

struct Report {
    QWidget* field;
    QString message;
    QWidget* focus;  // where the focus was when the report showed
    bool wholeTextSelected;
    bool pendingWhileShown;
};

class EntryFieldsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.moneyFormat = TMoneyFormat::UnitedStates();
        settings.beep = [this] { ++beeps; };
        settings.reportError = [this](QWidget* field, const QString& message) {
            auto* numeric = qobject_cast<TNumericEntryField*>(field);
            reports.push_back({field, message, QApplication::focusWidget(),
                               numeric && numeric->Model().HasSelection(), settings.errorPending});
        };
        Build();
    }

    void Build() {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        f = CreateScenarioFields(settings, window.get());
        for (TEntryField* field : TabOrder(f))
            layout->addWidget(field);
        button = new QPushButton(QStringLiteral("C&alculate"), window.get());
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Puts the focus in a field as the Tab key does.
    void TabInto(TEntryField* field) {
        const auto order = TabOrder(f);
        QWidget* before = field == order.front() ? static_cast<QWidget*>(button) : nullptr;
        for (std::size_t i = 1; i < order.size() && !before; ++i) {
            if (order[i] == field)
                before = order[i - 1];
        }
        before->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(before, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), field);
    }

    static void Settle() { QCoreApplication::processEvents(); }

    EntrySettings settings;
    std::unique_ptr<QWidget> window;
    ScenarioFields f;
    QPushButton* button = nullptr;
    std::vector<Report> reports;
    int beeps = 0;
    int clicks = 0;
};

// Keys: characters are typed; {Name} is a key, with S- (Shift), C- (Ctrl) and A- (Alt).
void PressKeys(QWidget* w, const std::string& keys) {
    static const std::map<std::string, Qt::Key> names = {
        {"Home", Qt::Key_Home},   {"End", Qt::Key_End},      {"Left", Qt::Key_Left},
        {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},        {"Down", Qt::Key_Down},
        {"Del", Qt::Key_Delete},  {"BS", Qt::Key_Backspace}, {"Ins", Qt::Key_Insert},
        {"Esc", Qt::Key_Escape},  {"Enter", Qt::Key_Return}, {"z", Qt::Key_Z},
        {"x", Qt::Key_X},         {"c", Qt::Key_C},          {"v", Qt::Key_V},
        {"b", Qt::Key_B},         {"a", Qt::Key_A},
    };
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != '{') {
            QTest::keyClick(w, keys[i]);
            continue;
        }
        const std::size_t close = keys.find('}', i);
        std::string name = keys.substr(i + 1, close - i - 1);
        i = close;
        Qt::KeyboardModifiers mods;
        while (name.size() > 2 && name[1] == '-') {
            mods |= name[0] == 'S'   ? Qt::ShiftModifier
                    : name[0] == 'C' ? Qt::ControlModifier
                                     : Qt::AltModifier;
            name.erase(0, 2);
        }
        QTest::keyClick(w, names.at(name), mods);
    }
}

TEST_F(EntryFieldsTest, WindowStartAndNewValues) {
    TScenarioRec start = CollectScenario(f);
    EXPECT_EQ(start.Years, 1);
    EXPECT_EQ(start.EarlyMonth, 1);
    EXPECT_EQ(start.EarlyYear, 2000);
    EXPECT_EQ(start.LaterMonth, 1);
    EXPECT_EQ(start.LaterYear, 2000);
    EXPECT_EQ(start.Age, 1);
    EXPECT_EQ(f.oCola->ValueAsText(), "0.0000%");
    EXPECT_EQ(f.oEarlyBenefit->ValueAsText(), "$0.00");

    f.oClientName->SetValueText("Jane");
    f.oPreparer->SetValueText("Ann Advisor");
    f.oCola->SetValueExtended(2.5L);
    ResetScenario(f);
    const TScenarioRec reset = CollectScenario(f);
    EXPECT_EQ(reset.ClientName, "");
    EXPECT_EQ(reset.Preparer, "Ann Advisor");
    EXPECT_EQ(reset.Cola, 0);
    EXPECT_EQ(reset.Years, 0);
    EXPECT_EQ(f.oYears->ValueAsText(), "0") << "New sets a value the rules refuse";
    EXPECT_EQ(reset.EarlyYear, 2001);
    EXPECT_EQ(reset.LaterYear, 2004);
    EXPECT_EQ(reset.Age, 62);
    EXPECT_EQ(reset.EarlyMonth, 1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EntryFieldsTest, TabOrderAndNames) {
    const auto order = TabOrder(f);
    const char* names[] = {"oClientName",   "oDescription", "oPreparer",   "oCola",
                           "oRate",         "oYears",       "oEarlyMonth", "oEarlyYear",
                           "oEarlyBenefit", "oLaterMonth",  "oLaterYear",  "oLaterBenefit",
                           "oAge"};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i]->objectName(), names[i]);
        if (i > 0) {
            EXPECT_EQ(order[i - 1]->nextInFocusChain(), order[i]);
        }
    }
}

TEST_F(EntryFieldsTest, ShowAndCollectScenario) {
    button->setFocus(Qt::OtherFocusReason);
    TScenarioRec rec;
    rec.ClientName = "  Jos\u00e9 \u20ac  ";
    rec.Description = std::string(150, 'd');
    rec.Preparer = std::string("Ann\0Bob", 7);
    rec.Cola = 1.23456L;
    rec.Years = 25;
    rec.Rate = 3;
    rec.EarlyMonth = 6;
    rec.EarlyYear = 2010;
    rec.LaterMonth = 7;
    rec.LaterYear = 70000;
    rec.Age = 62;
    rec.EarlyBenefit = 1234.567L;
    rec.LaterBenefit = 2000;
    ShowScenario(f, rec);
    EXPECT_EQ(f.oLaterYear->ValueAsText(), "4464");
    const TScenarioRec back = CollectScenario(f);
    EXPECT_EQ(back.ClientName, rec.ClientName) << "blanks stay until the user leaves the field";
    EXPECT_EQ(back.Description, std::string(100, 'd'));
    EXPECT_EQ(back.Preparer, "Ann");
    EXPECT_EQ(back.Cola, 1.2346L);
    EXPECT_EQ(back.Years, 25);
    EXPECT_EQ(back.Rate, 3);
    EXPECT_EQ(back.EarlyMonth, 6);
    EXPECT_EQ(back.EarlyYear, 2010);
    EXPECT_EQ(back.LaterMonth, 7);
    EXPECT_EQ(back.LaterYear, 0) << "4464 is outside 2000 to 2030";
    EXPECT_EQ(back.Age, 62);
    EXPECT_EQ(back.EarlyBenefit, 1234.57L);
    EXPECT_EQ(back.LaterBenefit, 2000);
    EXPECT_TRUE(reports.empty());
}

// A number too wide for its field must not be drawn cut at the left edge, where it would
// read as another amount; the value itself stays what it is.
TEST_F(EntryFieldsTest, NumberTooWideForTheFieldShowsUnfitMarks) {
    f.oEarlyBenefit->setFixedWidth(98);  // the window's benefit field
    const struct {
        long double value;
        const char* drawn;
    } cases[] = {
        {99999.99L, "$99,999.99"},
        {1000000.0L, "$1,000,000.00"},
        {562949953421312.0L, "$**,***.**"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drawn);
        f.oEarlyBenefit->SetValueExtended(c.value);
        EXPECT_EQ(f.oEarlyBenefit->DisplayedText(), QString::fromUtf8(c.drawn));
        EXPECT_EQ(f.oEarlyBenefit->ValueAsExtended(), c.value);
    }
}

TEST_F(EntryFieldsTest, WrongKindThrows) {
    const auto wrongKind = [](auto&& call) {
        try {
            call();
        } catch (const std::logic_error& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    const std::string message = "Invalid data type for this field";
    EXPECT_EQ(wrongKind([&] { f.oCola->ValueAsInteger(); }), message);
    EXPECT_EQ(wrongKind([&] { f.oCola->SetValueInteger(1); }), message);
    EXPECT_EQ(wrongKind([&] { f.oYears->SetValueExtended(1); }), message);
    EXPECT_EQ(wrongKind([&] { f.oYears->SetValueText("1"); }), message);
    EXPECT_EQ(wrongKind([&] { f.oClientName->ValueAsExtended(); }), message);
    EXPECT_EQ(wrongKind([&] { f.oClientName->SetValueInteger(1); }), message);
    EXPECT_EQ(f.oCola->ValueAsText(), "0.0000%");
    EXPECT_EQ(f.oYears->ValueAsInteger(), 1);
}

TEST_F(EntryFieldsTest, ColaTypedThenTab) {
    TabInto(f.oCola);
    QTest::keyClicks(f.oCola, "2.5");
    EXPECT_EQ(f.oCola->ValueAsText(), "2.5%");
    QTest::keyClick(f.oCola, Qt::Key_Tab);
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), f.oRate);
    EXPECT_EQ(f.oCola->ValueAsText(), "2.5000%");
    EXPECT_EQ(f.oCola->ValueAsExtended(), 2.5L);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EntryFieldsTest, FocusByTabSelectsAllByClickNothing) {
    f.oEarlyYear->SetValueInteger(2001);
    TabInto(f.oEarlyYear);
    QTest::keyClick(f.oEarlyYear, Qt::Key_Backspace);
    EXPECT_EQ(f.oEarlyYear->ValueAsText(), "0");

    f.oEarlyYear->SetValueInteger(2001);
    f.oEarlyBenefit->setFocus(Qt::OtherFocusReason);
    Settle();
    QTest::mouseClick(f.oEarlyYear, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), f.oEarlyYear);
    QTest::keyClick(f.oEarlyYear, Qt::Key_Backspace);
    EXPECT_EQ(f.oEarlyYear->ValueAsText(), "200");

    f.oClientName->SetValueText("Jane Doe");
    TabInto(f.oClientName);
    EXPECT_TRUE(f.oClientName->Model().AllSelected());
    f.oCola->setFocus(Qt::OtherFocusReason);
    Settle();
    reports.clear();  // the early year refused 200 meanwhile
    QTest::mouseClick(f.oClientName, Qt::LeftButton, {}, QPoint(4, f.oClientName->height() / 2));
    EXPECT_FALSE(f.oClientName->Model().HasSelection());
    EXPECT_EQ(f.oClientName->Model().Caret(), 0u);
}

TEST_F(EntryFieldsTest, RefusalReturnsFocusWithOneReport) {
    f.oEarlyMonth->SetValueInteger(13);  // would refuse too if it applied its rules
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    QTest::keyClick(f.oYears, Qt::Key_Tab);
    EXPECT_TRUE(reports.empty()) << "the report is queued behind the key";
    Settle();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].field, f.oYears);
    EXPECT_EQ(reports[0].message, "Value is not within required range (1 to 40)");
    EXPECT_EQ(reports[0].focus, f.oYears) << "the focus comes back before the report";
    EXPECT_TRUE(reports[0].wholeTextSelected);
    EXPECT_FALSE(reports[0].pendingWhileShown);
    EXPECT_EQ(f.oYears->ValueAsText(), "41");
    EXPECT_EQ(QApplication::focusWidget(), f.oYears);

    // Back in the field: the user corrects it and goes on.
    QTest::keyClicks(f.oYears, "12");
    QTest::keyClick(f.oYears, Qt::Key_Tab);
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), f.oEarlyMonth);
    QTest::keyClick(f.oEarlyMonth, Qt::Key_Tab);
    Settle();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].field, f.oEarlyMonth);
    EXPECT_EQ(QApplication::focusWidget(), f.oEarlyMonth);
}

TEST_F(EntryFieldsTest, RefusalMessages) {
    struct Case {
        const char* name;
        const char* field;
        long double set;  // NaN: leave as New left it
        std::string keys;
        Qt::Key leaveBy;
        const char* message;
    };
    const long double keep = std::numeric_limits<long double>::quiet_NaN();
    // A range refusal names the field's range after the rule's sentence.
    const char* percent = "Value is not within required range (0 to 100)";
    const char* years = "Value is not within required range (1 to 40)";
    const Case cases[] = {
        {"minus before a nonzero number", "oCola", keep, "-5", Qt::Key_Tab, percent},
        {"100.0001", "oCola", keep, "100.0001", Qt::Key_Tab, percent},
        {"41 years", "oYears", keep, "41", Qt::Key_Tab, years},
        {"years after New, untouched", "oYears", keep, "", Qt::Key_Tab, years},
        {"digits all deleted", "oAge", keep, "{BS}", Qt::Key_Backtab,
         "Value is not within required range (1 to 99)"},
        {"year 4464 from 70000", "oEarlyYear", 70000, "", Qt::Key_Tab,
         "Value is not within required range (2000 to 2100)"},
        {"unshowable benefit", "oEarlyBenefit", std::numeric_limits<long double>::infinity(), "",
         Qt::Key_Tab, "Value is not valid for this field type"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetScenario(f);
        auto* field = window->findChild<TNumericEntryField*>(QString::fromLatin1(c.field));
        if (field != f.oYears)
            f.oYears->SetValueInteger(5);
        if (c.set == c.set) {
            field->Model().Kind() == NumberKind::Integer
                ? field->SetValueInteger(static_cast<std::int32_t>(c.set))
                : field->SetValueExtended(c.set);
        }
        TabInto(field);
        PressKeys(field, c.keys);
        QTest::keyClick(field, c.leaveBy);
        Settle();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].field, field);
        EXPECT_EQ(reports[0].message.toStdString(), c.message);
        EXPECT_EQ(QApplication::focusWidget(), field);
        // The user puts it right and leaves.
        ResetScenario(f);
        f.oYears->SetValueInteger(5);
        button->setFocus(Qt::OtherFocusReason);
        Settle();
        EXPECT_EQ(reports.size(), 1u);
        reports.clear();
    }
}

TEST_F(EntryFieldsTest, ClickOnButtonCancelledByRefusal) {
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 0);
    Settle();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), f.oYears);
    EXPECT_FALSE(button->isDown());

    QTest::keyClicks(f.oYears, "12");
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
    EXPECT_EQ(clicks, 1) << "a click after a good value runs the command";
    EXPECT_EQ(QApplication::focusWidget(), button);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(EntryFieldsTest, GettersWhileTheFieldHasTheFocus) {
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    EXPECT_EQ(CollectScenario(f).Years, 0) << "saved from the toolbar: read as 0";
    EXPECT_EQ(f.oYears->ValueAsText(), "41");
    Settle();
    EXPECT_TRUE(reports.empty()) << "a getter shows no message";
    EXPECT_EQ(QApplication::focusWidget(), f.oYears);

    QTest::keyClicks(f.oYears, "<");
    f.oYears->SetValueInteger(7);
    TabInto(f.oCola);
    QTest::keyClicks(f.oCola, "2.12346");
    EXPECT_EQ(f.oCola->ValueAsExtended(), 2.1235L);
    EXPECT_EQ(f.oCola->ValueAsText(), "2.1235%") << "shown in full while it has the focus";

    f.oClientName->SetValueText("  Jane  ");
    EXPECT_EQ(f.oClientName->ValueAsText(), "  Jane  ");
    TabInto(f.oClientName);
    EXPECT_EQ(f.oClientName->ValueAsText(), "Jane") << "read while it has the focus";
    EXPECT_TRUE(reports.empty());
}

TEST_F(EntryFieldsTest, TextLeavingTrims) {
    TabInto(f.oClientName);
    QTest::keyClicks(f.oClientName, "  Jane  Doe  ");
    QTest::keyClick(f.oClientName, Qt::Key_Tab);
    EXPECT_EQ(f.oClientName->ValueAsText(), "Jane  Doe");
}

TEST_F(EntryFieldsTest, InsertModeHandedOver) {
    TabInto(f.oClientName);
    EXPECT_TRUE(f.oClientName->InsertMode());
    QTest::keyClick(f.oClientName, Qt::Key_Insert);
    EXPECT_FALSE(f.oClientName->InsertMode());
    QTest::keyClick(f.oClientName, Qt::Key_Tab);
    EXPECT_FALSE(f.oDescription->InsertMode()) << "the next field takes the mode over";
    f.oDescription->SetValueText("abc");
    QTest::keyClick(f.oDescription, Qt::Key_Home);
    QTest::keyClick(f.oDescription, 'X');
    EXPECT_EQ(f.oDescription->ValueAsText(), "Xbc");
    QTest::keyClick(f.oDescription, Qt::Key_Tab);
    QTest::keyClick(f.oPreparer, Qt::Key_Tab);
    EXPECT_FALSE(f.oCola->InsertMode());
    QTest::keyClick(f.oCola, Qt::Key_Insert);
    QTest::keyClick(f.oCola, Qt::Key_Tab);
    EXPECT_TRUE(f.oRate->InsertMode());
    EXPECT_TRUE(settings.insertMode);
}

TEST_F(EntryFieldsTest, KeysOfTheTable) {
    const std::string hundred = std::string(99, 'a') + "Z";
    struct Case {
        const char* name;
        const char* field;
        std::string start;  // text fields only
        std::string keys;   // after entering by Tab
        std::string after;
        int beeps;
    };
    const Case cases[] = {
        {"sixth benefit digit beeps", "oEarlyBenefit", "", "123456", "$12,345", 1},
        {"point in years beeps", "oYears", "", ".", "1", 1},
        {"second point in COLA beeps", "oCola", "", "2..5", "2.5%", 1},
        {"leading zero ignored", "oYears", "", "05", "5", 0},
        {"blank beeps", "oYears", "", " ", "1", 1},
        {"shift+left selects all", "oCola", "", "25{S-Left}7", "7%", 0},
        {"shift+ctrl+right selects all", "oCola", "", "25{S-C-Right}7", "7%", 0},
        {"moves do nothing", "oCola", "", "25{Left}{Home}{Up}7", "257%", 0},
        {"del deletes backwards", "oCola", "", "25{Del}", "2%", 0},
        {"ctrl+z restores", "oCola", "", "25{C-z}", "0.0000%", 0},
        {"alt+backspace restores", "oCola", "", "25{A-BS}", "0.0000%", 0},
        {"enter and esc type nothing", "oCola", "", "2{Enter}{Esc}5", "25%", 0},
        {"ctrl letters type nothing", "oCola", "", "2{C-b}{A-a}5", "25%", 0},
        {"home then type", "oClientName", "Jane", "{Home}X", "XJane", 0},
        {"word left", "oClientName", "Jane Doe", "{End}{C-Left}X", "Jane XDoe", 0},
        {"up acts as left", "oClientName", "abc", "{End}{Up}X", "abXc", 0},
        {"down acts as right", "oClientName", "abc", "{Home}{Down}X", "aXbc", 0},
        {"shift+home selects", "oClientName", "abc", "{End}{Left}{S-Home}X", "Xc", 0},
        {"shift+ctrl+left selects a word", "oClientName", "ab cd", "{End}{S-C-Left}X", "ab X", 0},
        {"delete forwards", "oClientName", "abc", "{Home}{Del}", "bc", 0},
        {"backspace", "oClientName", "abc", "{End}{BS}{S-BS}", "a", 0},
        {"insert pushes the last character out", "oClientName", hundred, "{Home}X",
         "X" + std::string(99, 'a'), 0},
        {"full text refuses at the end", "oClientName", hundred, "{End}X", hundred, 1},
        {"overwrite", "oClientName", "abc", "{Home}{Ins}XY", "XYc", 0},
        {"overwrite refuses at position 100", "oClientName", hundred, "{End}{Ins}X", hundred, 1},
        {"restore in a text field", "oClientName", "abc", "{End}de{C-z}", "abc", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetScenario(f);
        f.oYears->SetValueInteger(1);
        settings.insertMode = true;
        auto* field = window->findChild<TEntryField*>(QString::fromLatin1(c.field));
        ASSERT_NE(field, nullptr);
        if (auto* text = qobject_cast<TTextEntryField*>(field)) {
            text->SetValueText(QString::fromStdString(c.start));
        }
        TabInto(field);
        beeps = 0;
        PressKeys(field, c.keys);
        EXPECT_EQ(field->ValueAsText().toStdString(), c.after);
        EXPECT_EQ(beeps, c.beeps);
        EXPECT_EQ(QApplication::focusWidget(), field);
        button->setFocus(Qt::OtherFocusReason);
        Settle();
        reports.clear();
    }
}

// A pasted character goes in as if typed, so a dropped one beeps as a refused key
// does: at the end of a full text, or one the scenario file cannot store.
TEST_F(EntryFieldsTest, PastingIntoATextFieldBeepsWhenCharactersAreDropped) {
    const std::string full = std::string(99, 'a') + "Z";
    const struct {
        const char* name;
        std::string start;
        QString clipboard;
        std::string after;
        int beeps;
    } cases[] = {
        {"all taken", "Jane", QStringLiteral(" Doe"), "Jane Doe", 0},
        {"a line break is no character here", "Jane", QStringLiteral(" Doe\n"), "Jane Doe", 0},
        {"a full text", full, QStringLiteral("XYZ"), full, 1},
        {"room for part", std::string(98, 'a'), QStringLiteral("XYZ"), std::string(98, 'a') + "XY",
         1},
        {"characters the file cannot hold", "", QString::fromUtf8("Li \u674E Na\u0308"), "Li  Na",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.oClientName->SetValueText(QString::fromStdString(c.start));
        TabInto(f.oClientName);
        PressKeys(f.oClientName, "{End}");
        QGuiApplication::clipboard()->setText(c.clipboard);
        beeps = 0;
        PressKeys(f.oClientName, "{C-v}");
        EXPECT_EQ(f.oClientName->ValueAsText().toStdString(), c.after);
        EXPECT_EQ(beeps, c.beeps);
        button->setFocus(Qt::OtherFocusReason);
        Settle();
    }
}

TEST_F(EntryFieldsTest, Clipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    f.oEarlyBenefit->SetValueExtended(1234.5L);
    TabInto(f.oEarlyBenefit);
    PressKeys(f.oEarlyBenefit, "{C-c}");
    EXPECT_EQ(clipboard->text(), "$1,234.50");
    clipboard->setText("x");
    PressKeys(f.oEarlyBenefit, "{C-Ins}");
    EXPECT_EQ(clipboard->text(), "$1,234.50");
    TabInto(f.oLaterBenefit);
    PressKeys(f.oLaterBenefit, "{C-v}");
    EXPECT_EQ(f.oLaterBenefit->ValueAsText(), "$1,234.50") << "pasted through the typing rules";
    PressKeys(f.oLaterBenefit, "{S-Ins}");
    EXPECT_EQ(f.oLaterBenefit->ValueAsText(), "$1,234.501")
        << "after the point digits go on up to the capacity, the rest is refused";
    clipboard->setText("7");
    PressKeys(f.oLaterBenefit, "{S-Left}{S-Del}");
    EXPECT_EQ(clipboard->text(), "$1,234.501");
    EXPECT_EQ(f.oLaterBenefit->ValueAsText(), "$0");

    f.oClientName->SetValueText("Jane Doe");
    TabInto(f.oClientName);
    PressKeys(f.oClientName, "{C-x}");
    EXPECT_EQ(clipboard->text(), "Jane Doe");
    EXPECT_EQ(f.oClientName->ValueAsText(), "");
    PressKeys(f.oClientName, "Dr {S-Ins}");
    EXPECT_EQ(f.oClientName->ValueAsText(), "Dr Jane Doe");
    Settle();
    EXPECT_TRUE(reports.empty());
}

QStringList Items(const QMenu& menu) {
    QStringList items;
    for (QAction* a : menu.actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") : (a->isEnabled() ? "+" : "") + a->text());
    }
    return items;
}

TEST_F(EntryFieldsTest, ContextMenuItemsAndEnablement) {
    QGuiApplication::clipboard()->clear();
    f.oClientName->SetValueText("Jane");
    TabInto(f.oClientName);
    std::unique_ptr<QMenu> menu(f.oClientName->CreateContextMenu(nullptr));
    EXPECT_EQ(Items(*menu), QStringList({"&Restore", "-", "+Cu&t", "+&Copy", "&Paste", "+&Delete",
                                         "-", "Select &All"}));
    QTest::keyClick(f.oClientName, 'X');
    QGuiApplication::clipboard()->setText("zz");
    menu.reset(f.oClientName->CreateContextMenu(nullptr));
    EXPECT_EQ(Items(*menu), QStringList({"+&Restore", "-", "Cu&t", "&Copy", "+&Paste", "&Delete",
                                         "-", "+Select &All"}));
    menu->actions().at(7)->trigger();
    EXPECT_TRUE(f.oClientName->Model().AllSelected());
    menu.reset(f.oClientName->CreateContextMenu(nullptr));
    menu->actions().at(5)->trigger();
    EXPECT_EQ(f.oClientName->ValueAsText(), "");
    menu->actions().at(0)->trigger();
    EXPECT_EQ(f.oClientName->ValueAsText(), "Jane");

    f.oCola->SetValueExtended(2.5L);
    f.oCola->setFocus(Qt::MouseFocusReason);
    Settle();
    menu.reset(f.oCola->CreateContextMenu(nullptr));
    EXPECT_EQ(Items(*menu), QStringList({"&Restore", "-", "Cu&t", "&Copy", "+&Paste", "&Delete",
                                         "-", "+Select &All"}));
    menu->actions().at(4)->trigger();
    EXPECT_EQ(f.oCola->ValueAsText(), "2.5000%") << "\"zz\" holds nothing to type";
}

// Opens the field's menu with a right click and reports its items; closes it at once.
QStringList RightClick(TEntryField* field) {
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            seen = Items(*popup);
            popup->close();
        }
    });
    const QPoint at(field->width() / 2, field->height() / 2);
    QTest::mousePress(field, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, field->mapToGlobal(at));
    QApplication::sendEvent(field, &event);
    QTest::mouseRelease(field, Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
    // The offscreen platform leaves the popup's activation behind; a desktop does not.
    field->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(field->window()));
    return seen;
}

TEST_F(EntryFieldsTest, RightClickMenu) {
    TabInto(f.oCola);
    const QStringList items = RightClick(f.oRate);
    EXPECT_EQ(items.size(), 8);
    EXPECT_EQ(QApplication::focusWidget(), f.oRate) << "a right click gives the focus first";
    EXPECT_TRUE(f.oRate->Model().Entered());

    // The field that had the focus refuses: its report comes instead of the menu.
    PressKeys(f.oRate, "{S-Left}200");  // entered by a click: nothing was selected
    EXPECT_TRUE(RightClick(f.oYears).isEmpty());
    Settle();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].field, f.oRate);
    EXPECT_EQ(QApplication::focusWidget(), f.oRate);
}

TEST_F(EntryFieldsTest, AnotherWindowRunsNoRules) {
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Settle();
    EXPECT_TRUE(reports.empty());
    dialog.hide();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(QApplication::focusWidget(), f.oYears);
    QTest::keyClick(f.oYears, Qt::Key_Backspace);
    EXPECT_EQ(f.oYears->ValueAsText(), "4") << "typing goes on where it was";
    QTest::keyClicks(f.oYears, "5");
    QTest::keyClick(f.oYears, Qt::Key_Tab);
    Settle();
    ASSERT_EQ(reports.size(), 1u);
}

// The focus comes back from another window straight to another control (a click that
// arrived before the window was active again): the field that was left applies its rules.
TEST_F(EntryFieldsTest, ReturningToAnotherControlRunsTheRules) {
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    f.oAge->setFocus(Qt::MouseFocusReason);  // recorded only: the window is not active
    dialog.hide();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Settle();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].field, f.oYears);
    EXPECT_EQ(QApplication::focusWidget(), f.oYears);
}

TEST_F(EntryFieldsTest, EscAndAcceleratorsReachTheWindow) {
    int escapes = 0;
    int accelerators = 0;
    QShortcut esc(QKeySequence(Qt::Key_Escape), window.get());
    QShortcut alt(QKeySequence(Qt::ALT | Qt::Key_B), window.get());
    QObject::connect(&esc, &QShortcut::activated, [&] { ++escapes; });
    QObject::connect(&alt, &QShortcut::activated, [&] { ++accelerators; });
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    QTest::keyClick(f.oYears, Qt::Key_Escape);
    QTest::keyClick(f.oYears, Qt::Key_B, Qt::AltModifier);
    Settle();
    EXPECT_EQ(escapes, 1);
    EXPECT_EQ(accelerators, 1);
    EXPECT_EQ(QApplication::focusWidget(), f.oYears);
    EXPECT_EQ(f.oYears->ValueAsText(), "41");
    EXPECT_TRUE(reports.empty());
}

// A push button's own mnemonic ("C&alculate": Alt+A) clicks it without taking the focus,
// as long as nothing else claims the same keys.
TEST_F(EntryFieldsTest, ButtonMnemonicLeavesTheFocus) {
    TabInto(f.oYears);
    QTest::keyClicks(f.oYears, "41");
    QTest::keyClick(f.oYears, Qt::Key_A, Qt::AltModifier);
    for (int i = 0; i < 100 && clicks == 0; ++i)
        QTest::qWait(10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), f.oYears);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EntryFieldsTest, EuroSettings) {
    TMoneyFormat euro;
    euro.CurrencySymbol = "\u20ac";
    euro.DecimalMark = ",";
    euro.GroupMark = ".";
    settings.moneyFormat = euro;
    Build();
    f.oEarlyBenefit->SetValueExtended(1234.5L);
    EXPECT_EQ(f.oEarlyBenefit->ValueAsText(), "\u20ac1.234,50");
    TabInto(f.oLaterBenefit);
    QTest::keyClicks(f.oLaterBenefit, "98.7,65");
    EXPECT_EQ(beeps, 1) << "'.' is not the decimal mark here";
    EXPECT_EQ(f.oLaterBenefit->ValueAsText(), "\u20ac987,65");
    QTest::keyClick(f.oLaterBenefit, Qt::Key_Tab);
    EXPECT_EQ(f.oLaterBenefit->ValueAsExtended(), 987.65L);
}

// Counts the pixels drawn in the text colour.
int Inked(TEntryField* field) {
    const QImage image = field->grab().toImage();
    const QRgb ink = field->palette().color(QPalette::Text).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == ink;
    }
    return n;
}

TEST_F(EntryFieldsTest, FrameAndCaretShapes) {
    TabInto(f.oDescription);
    const QImage image = f.oClientName->grab().toImage();
    const QRgb frame = QColor(48, 159, 214).rgb();
    EXPECT_EQ(image.pixel(0, 0), frame);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), frame);
    EXPECT_EQ(image.pixel(image.width() / 2, 0), frame);
    EXPECT_NE(image.pixel(image.width() / 2, 1), frame) << "one pixel wide";

    TabInto(f.oClientName);
    // The focus is marked whether or not the caret is on: a double frame in the
    // highlight colour.
    const QImage focused = f.oClientName->grab().toImage();
    const QRgb mark = f.oClientName->palette().color(QPalette::Highlight).rgb();
    for (const QPoint at : {QPoint(0, 0), QPoint(focused.width() / 2, 1),
                            QPoint(focused.width() - 2, focused.height() / 2)})
        EXPECT_EQ(focused.pixel(at), mark) << at.x() << "," << at.y();
    const int line = Inked(f.oClientName);
    QTest::keyClick(f.oClientName, Qt::Key_Insert);
    const int block = Inked(f.oClientName);
    EXPECT_GT(line, 0);
    EXPECT_GT(block, 3 * line) << "overwrite mode draws a block";
    EXPECT_EQ(f.oClientName->cursor().shape(), Qt::IBeamCursor);

    // A numeric field's caret stands after its last digit, at the right edge.
    f.oYears->SetValueInteger(7);
    const int unfocused = Inked(f.oYears);
    TabInto(f.oYears);
    const int withBlock = Inked(f.oYears);
    QTest::keyClick(f.oYears, Qt::Key_Insert);
    const int withLine = Inked(f.oYears);
    EXPECT_GT(withLine, unfocused);
    EXPECT_GT(withBlock - unfocused, 3 * (withLine - unfocused));
}

TEST_F(EntryFieldsTest, NumbersAreRightAligned) {
    f.oYears->SetValueInteger(7);
    const QImage image = f.oYears->grab().toImage();
    const QRgb ink = f.oYears->palette().color(QPalette::Text).rgb();
    int leftmost = image.width();
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            if (image.pixel(x, y) == ink)
                leftmost = std::min(leftmost, x);
        }
    }
    EXPECT_GT(leftmost, image.width() / 2);
}

}  // namespace
}  // namespace velmora
