// What assistive technology reads from the window: each entry field's name, role, value,
// caret and selection while the user types, the changes it is told of, and the grid's
// titles and cells.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QPushButton>
#include <vector>

#include "mainwindow_fixture.h"
#include "scenario/entryfield.h"
#include "scenario/entryfieldaccessible.h"

namespace velmora {
namespace {

struct Heard {
    QObject* object;
    QAccessible::Event type;
    QString value;  // the new text of a text or value change
};
std::vector<Heard> heard;

void Listen(QAccessibleEvent* event) {
    QString value;
    if (event->type() == QAccessible::TextUpdated)
        value = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
    else if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
    heard.push_back({event->object(), event->type(), value});
}

class AccessibilityTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        heard.clear();
        // Offscreen there is no assistive technology; the test listens in its place.
        previous_ = EntryFieldAccessible::SetListener(Listen);
    }
    void TearDown() override {
        EntryFieldAccessible::SetListener(previous_);
        MainWindowTest::TearDown();
    }
    static bool WasTold(QObject* object, QAccessible::Event type, const QString& value) {
        for (const Heard& h : heard) {
            if (h.object == object && h.type == type && h.value == value)
                return true;
        }
        return false;
    }

  private:
    EntryFieldAccessible::Listener previous_ = nullptr;
};

TEST_F(AccessibilityTest, EachFieldReadsItsLabelAndTheTextItShowsAfterTyping) {
    ShowActive();
    const struct {
        TEntryField* field;
        const char* name;
        const char* keys;
        const char* shown;
    } cases[] = {
        {f().oClientName, "Client Name", "Pat Example", "Pat Example"},
        {f().oDescription, "Description", "Early or later", "Early or later"},
        {f().oPreparer, "Preparer", "Lee", "Lee"},
        {f().oCola, "COLA", "2.5", "2.5%"},
        {f().oRate, "Discount Rate", "3", "3%"},
        {f().oYears, "Number of Years to Calculate", "20", "20"},
        {f().oEarlyMonth, "Early Date of Retirement Month", "7", "7"},
        {f().oEarlyYear, "Early Date of Retirement Year", "2001", "2001"},
        {f().oEarlyBenefit, "Early Date of Retirement Monthly Benefit", "1000", "$1,000"},
        {f().oLaterMonth, "Later Date of Retirement Month", "9", "9"},
        {f().oLaterYear, "Later Date of Retirement Year", "2004", "2004"},
        {f().oLaterBenefit, "Later Date of Retirement Monthly Benefit", "1400.5", "$1,400.5"},
        {f().oAge, "Age at Early Retirement", "62", "62"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.field->setFocus(Qt::TabFocusReason);  // enters with the whole text selected
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c.field);
        ASSERT_NE(nullptr, iface);
        QAccessibleTextInterface* text = iface->textInterface();
        ASSERT_NE(nullptr, text);
        EXPECT_EQ(QAccessible::EditableText, iface->role());
        EXPECT_EQ(QString::fromLatin1(c.name), iface->text(QAccessible::Name));
        EXPECT_TRUE(iface->state().editable);
        EXPECT_TRUE(iface->state().focused);
        if (!c.field->ShownText().isEmpty()) {
            EXPECT_EQ(1, text->selectionCount());
            int start = -1;
            int end = -1;
            text->selection(0, &start, &end);
            EXPECT_EQ(c.field->ShownText().size(), end - start);
        }

        heard.clear();
        QTest::keyClicks(c.field, QString::fromLatin1(c.keys));
        const QString shown = QString::fromLatin1(c.shown);
        EXPECT_EQ(shown, c.field->ShownText());
        EXPECT_EQ(shown, iface->text(QAccessible::Value));
        EXPECT_EQ(shown, text->text(0, text->characterCount()));
        EXPECT_EQ(0, text->selectionCount());
        EXPECT_TRUE(WasTold(c.field, QAccessible::ValueChanged, shown));
        EXPECT_TRUE(WasTold(c.field, QAccessible::TextUpdated, shown));
    }
}

TEST_F(AccessibilityTest, CaretAndReformattingOnLeavingAreTold) {
    ShowActive();
    TEntryField* client = f().oClientName;
    client->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(client, QStringLiteral("Pat"));
    heard.clear();
    QTest::keyClick(client, Qt::Key_Left);
    EXPECT_EQ(2, QAccessible::queryAccessibleInterface(client)->textInterface()->cursorPosition());
    EXPECT_TRUE(WasTold(client, QAccessible::TextCaretMoved, QString()));

    TEntryField* cola = f().oCola;
    cola->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(cola, QStringLiteral("2.5"));
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(cola)->textInterface();
    EXPECT_EQ(3, text->cursorPosition());  // after "2.5", before the percent sign

    // Leaving COLA shows the full format; the screen reader hears the new text.
    heard.clear();
    f().oRate->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QStringLiteral("2.5000%"),
              QAccessible::queryAccessibleInterface(cola)->text(QAccessible::Value));
    EXPECT_TRUE(WasTold(cola, QAccessible::ValueChanged, QStringLiteral("2.5000%")));

    // A value set by a command (Open, New) is told as well.
    heard.clear();
    f().oYears->SetValueInteger(35);
    EXPECT_TRUE(WasTold(f().oYears, QAccessible::ValueChanged, QStringLiteral("35")));
}

TEST_F(AccessibilityTest, GridReadsItsTitlesAndCells) {
    f().oEarlyYear->SetValueInteger(2001);
    f().oAge->SetValueInteger(62);
    f().oEarlyBenefit->SetValueExtended(1000.0L);
    f().oYears->SetValueInteger(3);
    window->btnCalculateClick();
    ASSERT_TRUE(reported.empty());

    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(window->grdSS);
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(QStringLiteral("Table of Results"), grid->text(QAccessible::Name));
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(nullptr, table);
    EXPECT_EQ(kResultColumns, table->columnCount());
    EXPECT_EQ(3, table->rowCount());  // the year rows; the titles are the column headers
    const struct {
        int row;  // year row in the table interface, 0 = first year
        int column;
        const char* title;
        const char* cell;
    } cells[] = {
        {0, 0, "Year", "2001"},
        {2, 2, "Age", "64"},
        {0, 3, "Monthly Benefit at Early Retirement", "$1,000.00"},
        {1, 11, "Difference PV Cumulative Benefits", "$24,000"},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(QString::fromLatin1(c.title), table->columnDescription(c.column));
        QAccessibleInterface* cell = table->cellAt(c.row, c.column);
        ASSERT_NE(nullptr, cell);
        EXPECT_EQ(QString::fromLatin1(c.cell), cell->text(QAccessible::Name));
        const QList<QAccessibleInterface*> headers =
            cell->tableCellInterface()->columnHeaderCells();
        ASSERT_EQ(1, headers.size());
        EXPECT_EQ(QString::fromLatin1(c.title), headers.front()->text(QAccessible::Name));
    }
}

}  // namespace
}  // namespace velmora
