// "From earnings..." on the Planner page: the dialog that computes the benefit at FRA
// from the earnings record, its keyboard and names, and the record kept with the scenario.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "cli/piacli.h"
#include "mainwindow_fixture.h"
#include "ui/planner/earningsdialog.h"
#include "ui/planner/plannerpage.h"

namespace velmora {
namespace {

// Typed as an advisor types it: a header, amounts with '$' and group marks.
const char* const kRecordLines[] = {"year,earnings",       "1986,$17,321.82", "1990,21027.98",
                                    "2000,\"$32,154.82\"", "2010,41673.83",   "2024,69846.57"};

class EarningsDialogTest : public MainWindowTest {
  protected:
    EarningsDialog::Setup Client() const {
        EarningsDialog::Setup setup;
        setup.born = planner::Date{1964, 5, 20};
        setup.asOf = planner::Date{2026, 12, 10};
        setup.colaPercent = 2.5;
        return setup;
    }
    static void Type(EarningsDialog& dialog, const std::vector<std::string>& lines) {
        dialog.txtRecord->clear();
        dialog.txtRecord->setFocus();
        for (const auto& line : lines) {
            QTest::keyClicks(dialog.txtRecord, QString::fromStdString(line));
            QTest::keyClick(dialog.txtRecord, Qt::Key_Return);
        }
    }
    static std::string CliJson(const std::string& record, const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"--born", "1964-05-20", "--as-of", "2026-12-10", "--cola",
                                         "2.5",    "--earnings", "-",       "--format",   "json"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::istringstream in(record);
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunPiaCli(args, in, out, err, {2026, 12, 10}), 0) << err.str();
        return out.str();
    }
    static std::string JsonNumber(const std::string& json, const std::string& key) {
        const auto at = json.find("\"" + key + "\": ");
        EXPECT_NE(at, std::string::npos) << key;
        const auto start = at + key.size() + 4;
        return json.substr(start, json.find_first_of(",\n", start) - start);
    }
};

TEST_F(EarningsDialogTest, ARecordTypedIntoTheDialogGivesTheSamePiaAsTheCommandLine) {
    // Enough years for 40 credits: the five typed lines and 1991-1999 at $30,000.
    std::vector<std::string> lines(std::begin(kRecordLines), std::end(kRecordLines));
    for (int year = 1991; year <= 1999; ++year)
        lines.push_back(std::to_string(year) + ",30000");
    std::string record;
    for (const auto& line : lines)
        record += line + "\n";

    struct Case {
        const char* name;
        bool future;
        std::vector<std::string> cliExtra;
    };
    const Case cases[] = {
        {"record only", false, {"--wage-growth", "4.16"}},
        {"keeps working to 67 at $50,000",
         true,
         {"--wage-growth", "3", "--future-earnings", "50000", "--until-age", "67"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window->OvcNotebook1->SetCurrentIndex(TfrmMain::kPlannerPage);
        window->Planner()->client.born->SetDate(FieldDate{1964, 5, 20});
        window->Planner()->asOfDate->SetDate(FieldDate{2026, 12, 10});
        f().oCola->SetValueExtended(2.5L);
        std::optional<std::int64_t> shown;
        window->earningsDialogRunner = [&](EarningsDialog& dialog) {
            Type(dialog, lines);
            if (c.future) {
                dialog.chkFuture->setChecked(true);
                dialog.oFutureEarnings->SetValueExtended(50000);
                dialog.oWageGrowth->SetValueExtended(3);
                dialog.Recompute();
            }
            shown = dialog.PiaCents();
            QTest::mouseClick(dialog.btnUse, Qt::LeftButton);
            return dialog.result();
        };
        QTest::mouseClick(window->Planner()->client.fromEarnings, Qt::LeftButton);
        ASSERT_TRUE(shown.has_value());
        const std::string json = CliJson(record, c.cliExtra);
        char cents[32];
        std::snprintf(cents, sizeof cents, "%lld.%02lld", static_cast<long long>(*shown / 100),
                      static_cast<long long>(*shown % 100));
        EXPECT_EQ(JsonNumber(json, "pia_as_of"), cents);
        // "Use" put it into the page's field, and the record goes with the scenario.
        EXPECT_EQ(MoneyFromReal(window->Planner()->client.benefit->ValueAsExtended()).count / 100,
                  *shown);
        const auto inputs = window->Planner()->Inputs();
        ASSERT_TRUE(inputs.has_value());
        EXPECT_EQ(inputs->client.earnings, planner::ReadEarningsRecord(record));
    }
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(fieldErrors.empty());
}

TEST_F(EarningsDialogTest, WhatTheDialogSaysWhenThereIsNoBenefitToUse) {
    struct Case {
        const char* name;
        bool withDates;
        std::string text;
        const char* says;
    };
    const Case cases[] = {
        {"no dates", false, "2020,50000\n", "Type the date of birth and the as-of date"},
        {"empty", true, "", "Paste or open the earnings record."},
        {"bad line", true, "year,earnings\n2020,fifty\n",
         "line 2: \"fifty\" is not an amount of money"},
        {"year after the as-of year", true, "2027,100\n", "after the as-of year 2026"},
        {"fewer than 40 credits", true, "2020,50000\n2021,50000\n", "no benefit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EarningsDialog::Setup setup = c.withDates ? Client() : EarningsDialog::Setup{};
        EarningsDialog dialog(setup, window->entrySettings());
        dialog.txtRecord->setPlainText(QString::fromStdString(c.text));
        EXPECT_FALSE(dialog.PiaCents().has_value());
        EXPECT_FALSE(dialog.btnUse->isEnabled());
        EXPECT_TRUE(dialog.lblPia->text().contains(QString::fromLatin1(c.says)))
            << dialog.lblPia->text().toStdString();
    }
}

TEST_F(EarningsDialogTest, OpensAFileKeepsTheRecordAndNamesEveryControl) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("statement.txt"));
    std::ofstream(path.toStdString()) << "Work Year\tSocial Security\tMedicare\n"
                                         "2023\t$61,250\t$61,250\n2024\t$64,000\t$64,000\n";
    EarningsDialog::Setup setup = Client();
    setup.record.years = {{2000, 100}};  // kept with the scenario: shown again
    EarningsDialog dialog(setup, window->entrySettings());
    EXPECT_EQ(dialog.Record(), setup.record);
    EXPECT_EQ(dialog.grdYears->rowCount(), 1);

    std::optional<QString> answer = path;
    dialog.SetFileChooser([&] { return answer; });
    QTest::mouseClick(dialog.btnOpen, Qt::LeftButton);
    EXPECT_EQ(dialog.Record(), (planner::EarningsRecord{{{2023, 6125000}, {2024, 6400000}}}));
    EXPECT_EQ(dialog.grdYears->rowCount(), 2);
    EXPECT_EQ(dialog.grdYears->item(1, 6)->text(), QStringLiteral("$64,000.00"));

    answer = folder.filePath(QStringLiteral("missing.csv"));
    QTest::mouseClick(dialog.btnOpen, Qt::LeftButton);
    EXPECT_TRUE(dialog.lblPia->text().startsWith(*answer)) << dialog.lblPia->text().toStdString();

    // Keeping on working adds the future years; the fields follow the box.
    EXPECT_FALSE(dialog.oFutureEarnings->isEnabled());
    dialog.chkFuture->setChecked(true);
    EXPECT_TRUE(dialog.oFutureEarnings->isEnabled());
    dialog.oFutureEarnings->SetValueExtended(40000);
    dialog.Recompute();
    ASSERT_TRUE(dialog.Computation().has_value());
    EXPECT_EQ(dialog.Computation()->Years().back().year, 2031);

    for (QWidget* widget :
         {static_cast<QWidget*>(dialog.txtRecord), static_cast<QWidget*>(dialog.btnOpen),
          static_cast<QWidget*>(dialog.chkFuture), static_cast<QWidget*>(dialog.oFutureEarnings),
          static_cast<QWidget*>(dialog.oUntilAge), static_cast<QWidget*>(dialog.oWageGrowth),
          static_cast<QWidget*>(dialog.grdYears), static_cast<QWidget*>(dialog.lblPia)})
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
    EXPECT_EQ(window->Planner()->client.fromEarnings->accessibleName(),
              QStringLiteral("Client's benefit at full retirement age from earnings"));
}

TEST_F(EarningsDialogTest, AltIOpensItTabRunsThroughItAndCancelKeepsTheField) {
    ShowActive();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    window->Planner()->client.benefit->SetValueExtended(1234.5L);
    bool opened = false;
    window->earningsDialogRunner = [&opened](EarningsDialog& dialog) {
        opened = true;
        dialog.show();
        dialog.txtRecord->setFocus();
        QApplication::processEvents();
        QStringList visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        EXPECT_EQ(visited, (QStringList{"btnOpen", "chkFuture", "oWageGrowth", "grdYears"}));
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        return dialog.result();
    };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(opened);
    EXPECT_EQ(window->Planner()->client.benefit->ValueAsExtended(), 1234.5L);
}

}  // namespace
}  // namespace velmora
