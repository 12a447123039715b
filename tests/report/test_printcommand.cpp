// The Print command of the main window: the report shows the entry fields as they stand
// and the table of the last calculation; a failure reaches the window's error box.
#include <gtest/gtest.h>

#include <clocale>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QToolButton>

#include "engine/moneytext.h"
#include "report/breakevenreport.h"

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

TEST_F(PrintCommandTest, BeforeAnyCalculationTwentyFiveBlankLinesOverTwoPages) {
    window->Print1->trigger();
    ASSERT_EQ(previews, 1);
    EXPECT_TRUE(reported.empty());
    ASSERT_EQ(pages.size(), 2u);
    const auto years = Column(pages, 0);
    EXPECT_EQ(years, std::vector<std::string>(25, ""));
    EXPECT_EQ(Column(pages, 11), std::vector<std::string>(25, ""));
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
        EXPECT_EQ(Text(pages[1], BandKind::Header, h.element), h.text);
    }
    EXPECT_EQ(Text(pages[0], BandKind::Footer, "ppSystemVariable2"), "1 of 2");
    EXPECT_EQ(Text(pages[1], BandKind::Footer, "ppSystemVariable2"), "2 of 2");
    EXPECT_EQ(window->ReportCursor, 25);
}

TEST_F(PrintCommandTest, AfterOpenWithoutCalculateTheOpenedInputsStandBesideTheOldTable) {
    EnterWorkedExample();
    window->btnCalculate->click();
    ASSERT_TRUE(reported.empty());
    TScenarioRec opened;
    opened.ClientName = "Sam Other";
    opened.Description = "Opened, not calculated";
    opened.Preparer = "Lee Advisor";
    opened.Cola = 3.5L;
    opened.Rate = 0.25L;
    opened.Years = 5;
    opened.EarlyMonth = 6;
    opened.EarlyYear = 2005;
    opened.EarlyBenefit = 1234.5L;
    opened.LaterMonth = 12;
    opened.LaterYear = 2010;
    opened.LaterBenefit = 2000;
    opened.Age = 63;
    ShowScenario(f(), opened);

    window->tbPrint->click();
    ASSERT_EQ(previews, 1);
    ASSERT_EQ(pages.size(), 2u);  // 21 lines: the table of 20 years
    const struct {
        const char* element;
        const char* text;
    } header[] = {{"ppDBText1", "Sam Other"},  {"ppDBText2", "Opened, not calculated"},
                  {"ppDBText3", "3.5000%"},    {"ppDBText4", ".2500%"},
                  {"ppDBText5", "5"},          {"ppDBText6", "6"},
                  {"ppDBText7", "2005"},       {"ppDBText8", "$1,234.50"},
                  {"ppDBText9", "12"},         {"ppDBText10", "2010"},
                  {"ppDBText11", "$2,000.00"}, {"ppDBText12", "63"}};
    for (const auto& h : header) {
        SCOPED_TRACE(h.element);
        EXPECT_EQ(Text(pages[0], BandKind::Header, h.element), h.text);
        EXPECT_EQ(Text(pages[1], BandKind::Header, h.element), h.text);
    }
    const auto years = Column(pages, 0);
    ASSERT_EQ(years.size(), 21u);
    EXPECT_EQ(years[0], "");
    EXPECT_EQ(years[1], "2001");
    EXPECT_EQ(years[20], "2020");
    EXPECT_EQ(Column(pages, 11)[14], "($2,272)");
    EXPECT_EQ(Summary(pages), "Breakeven point occurs in the year 2014;");
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
