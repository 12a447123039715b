// The Print command of the main window: the report shows the entry fields as they stand
// and the table of the last calculation; a failure reaches the window's error box.
#include <gtest/gtest.h>

#include <clocale>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QToolButton>

#include "engine/moneytext.h"
#include "report/preview/breakevenreport.h"

#include <QDate>
#include <QLocale>
#include "report/rptss.h"
#include "ui/mainwindow_fixture.h"

namespace velmora {
namespace {

class PrintCommandTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        BreakEvenReport& report = window->rptSS();
        report.services.printersInstalled = [] { return true; };
        report.services.warn = [](QWidget*, const QString&) { ADD_FAILURE() << "warning box"; };
        report.services.choosePrinter = [this](QPrinter& printer, int, int, QWidget*) {
            return choose && choose(printer);
        };
        report.runPreview = [this](PrintPreviewDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            ++previews;
            pages = dialog.ProducedPages();
            if (inside)
                inside(dialog);
            if (dialog.isVisible())
                dialog.reject();
        };
    }

    void EnterWorkedExample() {
        f().oClientName->SetValueText("Pat Example");
        f().oPreparer->SetValueText("Lee Advisor");
        f().oEarlyYear->SetValueInteger(2001);
        f().oEarlyMonth->SetValueInteger(1);
        f().oAge->SetValueInteger(62);
        f().oEarlyBenefit->SetValueExtended(1000.0L);
        f().oLaterYear->SetValueInteger(2004);
        f().oLaterMonth->SetValueInteger(1);
        f().oLaterBenefit->SetValueExtended(1400.0L);
        f().oCola->SetValueExtended(2.5L);
        f().oRate->SetValueExtended(3.0L);
        f().oYears->SetValueInteger(20);
    }

    // The text of a header or footer element of a produced page, by element name.
    static std::string Text(const ReportPage& page, BandKind kind, const std::string& name) {
        const auto& elements = RptSSLayout().Band(kind).elements;
        for (const auto& band : page.bands) {
            if (band.kind != kind)
                continue;
            for (std::size_t i = 0; i < elements.size(); ++i)
                if (elements[i].name == name)
                    return band.texts.at(i);
        }
        return "<missing>";
    }

    static std::vector<std::string> Column(const std::vector<ReportPage>& all,
                                           std::size_t element) {
        std::vector<std::string> texts;
        for (const auto& page : all)
            for (const auto& band : page.bands)
                if (band.kind == BandKind::Detail)
                    texts.push_back(band.texts.at(element));
        return texts;
    }

    static std::string Summary(const std::vector<ReportPage>& all) {
        std::string text;
        for (const auto& page : all)
            for (const auto& band : page.bands)
                if (band.kind == BandKind::Summary)
                    text += band.texts.at(0) + ";";
        return text;
    }

    int previews = 0;
    std::vector<ReportPage> pages;
    std::function<void(PrintPreviewDialog&)> inside;
    std::function<bool(QPrinter&)> choose;
};

TEST_F(PrintCommandTest, BeforeAnyCalculationPrintAsksToCalculateFirst) {
    // Cancelled, nothing is printed: the blank table and its message belong to no inputs.
    printAnswer = Answer::Cancel;
    window->Print1->trigger();
    EXPECT_EQ(questions, std::vector<Question>{Question::CalculateBeforePrint});
    EXPECT_EQ(previews, 0);

    printAnswer = Answer::Calculate;
    window->Print1->trigger();
    ASSERT_EQ(previews, 1);
    EXPECT_TRUE(reported.empty());
    ASSERT_EQ(pages.size(), 1u);
    // The window start's one year, calculated.
    const auto years = Column(pages, 0);
    EXPECT_EQ(years, std::vector<std::string>({"", "2000"}));
    EXPECT_EQ(Summary(pages), "Breakeven point not reached using these parameters.;");
    // The window-start values of the entry fields.
    const struct {
        const char* element;
        const char* text;
    } header[] = {{"ppDBText1", ""},       {"ppDBText3", ".0000%"}, {"ppDBText4", ".0000%"},
                  {"ppDBText5", "1"},      {"ppDBText6", "1"},      {"ppDBText7", "2000"},
                  {"ppDBText8", "$0.00"},  {"ppDBText9", "1"},      {"ppDBText10", "2000"},
                  {"ppDBText11", "$0.00"}, {"ppDBText12", "1"}};
    for (const auto& h : header) {
        SCOPED_TRACE(h.element);
        EXPECT_EQ(Text(pages[0], BandKind::Header, h.element), h.text);
    }
    EXPECT_EQ(Text(pages[0], BandKind::Footer, "ppSystemVariable2"), "1 of 1");
    EXPECT_EQ(window->ReportCursor, 2);
}

// A report never shows a table or message of other inputs than those printed beside it.
TEST_F(PrintCommandTest, ChangedInputsAreCalculatedBeforeTheyArePrinted) {
    TScenarioRec other;
    other.ClientName = "Sam Other";
    other.Description = "Not calculated yet";
    other.Cola = 3.5L;
    other.Rate = 0.25L;
    other.Years = 5;
    other.EarlyMonth = 6;
    other.EarlyYear = 2005;
    other.EarlyBenefit = 1234.5L;
    other.LaterMonth = 12;
    other.LaterYear = 2010;
    other.LaterBenefit = 2000;
    other.Age = 63;
    const struct {
        const char* change;
        std::function<void()> run;
        bool asked;
    } cases[] = {
        {"nothing changed", [] {}, false},
        {"another scenario's inputs", [&] { ShowScenario(f(), other); }, true},
        {"one number typed", [&] { f().oYears->SetValueInteger(21); }, true},
        {"the client's name only", [&] { f().oClientName->SetValueText("Pat Renamed"); }, false},
        {"New", [&] { window->btnClearClick(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        EnterWorkedExample();
        window->btnCalculate->click();
        ASSERT_TRUE(reported.empty());
        c.run();
        questions.clear();
        previews = 0;

        printAnswer = Answer::Cancel;
        window->tbPrint->click();
        EXPECT_EQ(previews, c.asked ? 0 : 1);
        EXPECT_EQ(questions.size(), c.asked ? 1u : 0u);

        // Calculated now, the table is that of the inputs printed beside it.
        printAnswer = Answer::Calculate;
        window->tbPrint->click();
        ASSERT_EQ(previews, c.asked ? 1 : 2);
        const int years = f().oYears->ValueAsInteger();
        EXPECT_EQ(Text(pages[0], BandKind::Header, "ppDBText5"), std::to_string(years));
        EXPECT_EQ(Column(pages, 0).size(), static_cast<std::size_t>(years) + 1);
        EXPECT_EQ(Summary(pages), ResultMessage(window->resultTable()) + ";");
    }
    EXPECT_TRUE(reported.empty());
}

TEST_F(PrintCommandTest, AFailedPrintReachesTheErrorBoxAsCannotGenerateReport) {
    choose = [](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("/no/such/folder/out.pdf"));
        return true;
    };
    inside = [](PrintPreviewDialog& dialog) {
        dialog.Print();
        QApplication::processEvents();
        EXPECT_FALSE(dialog.isVisible());
    };
    window->Print1->trigger();
    ASSERT_EQ(previews, 1);
    EXPECT_EQ(reported, std::vector<QString>{
                            "Cannot generate report.\n\nThe printer did not accept the job."});

    // The window carries on: the next Print runs the report again.
    inside = nullptr;
    window->Print1->trigger();
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(reported.size(), 1u);
}

// The date comes from the C library's regional settings, as the money texts do: one
// source, and a four-digit year where the locale has one.
TEST(ReportDate, ShortDateOfTheLocale) {
    const std::string saved = std::setlocale(LC_TIME, nullptr);
    const struct {
        const char* locale;
        const char* text;
    } cases[] = {
        {"C", "12/9/2026"},  // no date format of its own: United States
        {"POSIX", "12/9/2026"},  {"en_US.UTF-8", "12/09/2026"}, {"de_DE.UTF-8", "09.12.2026"},
        {"de_DE", "09.12.2026"},  // ISO-8859-1
    };
    for (const auto& c : cases) {
        if (std::setlocale(LC_TIME, c.locale) == nullptr)
            continue;  // Debian's locales-all provides them
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(RegionalShortDate(2026, 12, 9), c.text);
    }
    std::setlocale(LC_TIME, saved.c_str());
}

}  // namespace
}  // namespace velmora
