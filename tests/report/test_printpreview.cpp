// The print preview: how it opens, runs the report, zooms, moves between pages,
// prints through the print dialog and reports failures. No dialog here blocks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "report/preview/breakevenreport.h"
#include "report/preview/printdialog.h"
#include "workedexample.h"

namespace velmora {
namespace {

using testing::HookedInputs;
using testing::WorkedExampleScenario;

class PreviewTest : public ::testing::Test {
  protected:
    PreviewTest() {
        auto owned = std::make_unique<HookedInputs>(rec);
        inputs = owned.get();
        report = std::make_unique<BreakEvenReport>(std::move(owned), table, cursor,
                                                   testing::FixedDateEnvironment());
        report->services.printersInstalled = [] { return true; };
        report->services.warn = [this](QWidget*, const QString& text) { warnings.append(text); };
        report->services.choosePrinter = [this](QPrinter& printer, int current, int count,
                                                QWidget*) {
            askedWith = {current, count};
            return choose ? choose(printer) : false;
        };
    }

    // Runs the preview as the Print command does, with `inside` in place of the modal loop.
    void RunPreview(const std::function<void(PrintPreviewDialog&)>& inside) {
        report->runPreview = [&](PrintPreviewDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            inside(dialog);
            dialog.reject();
        };
        report->Preview(nullptr);
    }

    static std::vector<std::string> DetailYears(const ReportPage& page) {
        std::vector<std::string> years;
        for (const auto& band : page.bands)
            if (band.kind == BandKind::Detail)
                years.push_back(band.texts.at(0));
        return years;
    }

    TResultTable table;
    TScenarioRec rec = WorkedExampleScenario();
    HookedInputs* inputs = nullptr;
    std::int32_t cursor = 0;
    std::unique_ptr<BreakEvenReport> report;
    QStringList warnings;
    std::function<bool(QPrinter&)> choose;
    std::pair<int, int> askedWith{0, 0};
};

TEST_F(PreviewTest, TheCreationHandlerMaximizesAndZoomsToActualSize) {
    PrintPreviewDialog dialog(report->Bands(), report->services);
    rptSSPreviewFormCreate(dialog);
    EXPECT_TRUE(dialog.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(dialog.ActualSizeAction()->isChecked());
    EXPECT_FALSE(dialog.WholePageAction()->isChecked());
    EXPECT_FALSE(dialog.PageWidthAction()->isChecked());
    EXPECT_EQ(dialog.Preview()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    EXPECT_DOUBLE_EQ(dialog.Preview()->zoomFactor(), 1.0);
    EXPECT_EQ(dialog.windowTitle(), "Print Preview");
    EXPECT_TRUE(dialog.isModal());
}

TEST_F(PreviewTest, ToolBarButtonsCarryTheirHints) {
    PrintPreviewDialog dialog(report->Bands(), report->services);
    const std::pair<QAction*, const char*> hints[] = {
        {dialog.PrintAction(), "Print"},          {dialog.WholePageAction(), "Whole Page"},
        {dialog.PageWidthAction(), "Page Width"}, {dialog.ActualSizeAction(), "100 %"},
        {dialog.FirstPageAction(), "First Page"}, {dialog.PriorPageAction(), "Prior Page"},
        {dialog.NextPageAction(), "Next Page"},   {dialog.LastPageAction(), "Last Page"},
    };
    for (const auto& [action, hint] : hints) {
        SCOPED_TRACE(hint);
        EXPECT_EQ(action->toolTip(), hint);
    }
    EXPECT_EQ(dialog.ZoomBox()->maxLength(), 3);
    EXPECT_EQ(dialog.PageBox()->maxLength(), 5);
}

TEST_F(PreviewTest, BeforeAnyCalculationTheReportHas25BlankLinesOverTwoPages) {
    QStringList buttonWhileProducing;
    RunPreview([&](PrintPreviewDialog& dialog) {
        EXPECT_EQ(dialog.PageCount(), 2);
        EXPECT_EQ(dialog.CurrentPage(), 1);
        EXPECT_EQ(dialog.CloseButton()->text(), "Close");
        EXPECT_EQ(dialog.StatusLine()->currentMessage(), "Page 1 of 2");
        const auto& pages = dialog.ProducedPages();
        ASSERT_EQ(pages.size(), 2u);
        EXPECT_EQ(DetailYears(pages[0]), std::vector<std::string>(17, ""));
        EXPECT_EQ(DetailYears(pages[1]), std::vector<std::string>(8, ""));
        EXPECT_EQ(pages[1].bands[9].kind, BandKind::Summary);
        EXPECT_EQ(pages[1].bands[9].texts.at(0),
                  "Breakeven point not reached using these parameters.");
    });
    EXPECT_EQ(cursor, 25);  // left where the engine stopped: the end position

    report->runPreview = [&](PrintPreviewDialog& dialog) {
        inputs->onRead = [&] { buttonWhileProducing.append(dialog.CloseButton()->text()); };
        dialog.show();
        QApplication::processEvents();
        dialog.reject();
    };
    report->Preview(nullptr);
    ASSERT_FALSE(buttonWhileProducing.isEmpty());
    EXPECT_EQ(buttonWhileProducing.count("Cancel"), buttonWhileProducing.size());
}

TEST_F(PreviewTest, ZoomButtonsAndTheZoomBox) {
    RunPreview([](PrintPreviewDialog& dialog) {
        QPrintPreviewWidget* preview = dialog.Preview();
        dialog.WholePageAction()->trigger();
        EXPECT_EQ(preview->zoomMode(), QPrintPreviewWidget::FitInView);
        EXPECT_TRUE(dialog.WholePageAction()->isChecked());
        EXPECT_FALSE(dialog.ActualSizeAction()->isChecked());
        dialog.PageWidthAction()->trigger();
        EXPECT_EQ(preview->zoomMode(), QPrintPreviewWidget::FitToWidth);
        EXPECT_TRUE(dialog.PageWidthAction()->isChecked());
        EXPECT_FALSE(dialog.WholePageAction()->isChecked());

        const struct {
            const char* typed;
            double factor;
        } cases[] = {{"50", 0.5}, {"abc", 1.0}, {"250", 2.5}, {"", 1.0},
                     {"0", 1.0},  {"-5", 1.0},  {"7", 0.07}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            dialog.PageWidthAction()->trigger();
            dialog.ZoomBox()->setText(QString::fromLatin1(c.typed));
            QTest::keyClick(dialog.ZoomBox(), Qt::Key_Return);
            EXPECT_EQ(preview->zoomMode(), QPrintPreviewWidget::CustomZoom);
            EXPECT_DOUBLE_EQ(preview->zoomFactor(), c.factor);
            EXPECT_FALSE(dialog.WholePageAction()->isChecked());
            EXPECT_FALSE(dialog.PageWidthAction()->isChecked());
            EXPECT_FALSE(dialog.ActualSizeAction()->isChecked());
        }
        dialog.ActualSizeAction()->trigger();
        EXPECT_DOUBLE_EQ(preview->zoomFactor(), 1.0);
        EXPECT_TRUE(dialog.ActualSizeAction()->isChecked());
    });
}

TEST_F(PreviewTest, MovingBetweenPages) {
    table.cells.SetRowCount(41);
    RunPreview([](PrintPreviewDialog& dialog) {
        ASSERT_EQ(dialog.PageCount(), 3);
        const struct {
            const char* step;
            std::function<void()> act;
            int page;
        } steps[] = {
            {"next", [&] { dialog.NextPageAction()->trigger(); }, 2},
            {"last", [&] { dialog.LastPageAction()->trigger(); }, 3},
            {"prior", [&] { dialog.PriorPageAction()->trigger(); }, 2},
            {"first", [&] { dialog.FirstPageAction()->trigger(); }, 1},
            {"page box 3",
             [&] {
                 dialog.PageBox()->setText("3"), QTest::keyClick(dialog.PageBox(), Qt::Key_Return);
             },
             3},
            {"page box past the end",
             [&] {
                 dialog.PageBox()->setText("99999"),
                     QTest::keyClick(dialog.PageBox(), Qt::Key_Return);
             },
             3},
            {"page box 0",
             [&] {
                 dialog.PageBox()->setText("0"), QTest::keyClick(dialog.PageBox(), Qt::Key_Return);
             },
             1},
            {"page box not a number",
             [&] {
                 dialog.PageBox()->setText("x"), QTest::keyClick(dialog.PageBox(), Qt::Key_Return);
             },
             1},
        };
        for (const auto& s : steps) {
            SCOPED_TRACE(s.step);
            s.act();
            EXPECT_EQ(dialog.CurrentPage(), s.page);
            EXPECT_EQ(dialog.PageBox()->text(), QString::number(s.page));
            EXPECT_EQ(dialog.StatusLine()->currentMessage(),
                      QStringLiteral("Page %1 of 3").arg(s.page));
            EXPECT_EQ(dialog.FirstPageAction()->isEnabled(), s.page > 1);
            EXPECT_EQ(dialog.LastPageAction()->isEnabled(), s.page < 3);
        }
    });
}

QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(PreviewTest, PrintSendsTheChosenPagesAsAJobNamedReport) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    table.cells.SetRowCount(41);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    QString jobName;
    choose = [&](QPrinter& printer) {
        jobName = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(QStringLiteral("1,3")));
        return true;
    };
    RunPreview([&](PrintPreviewDialog& dialog) {
        dialog.GoToPage(2);
        dialog.Print();
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(jobName, "Report");
    EXPECT_EQ(askedWith, (std::pair<int, int>{2, 3}));
    const QStringList pages = PdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QRegularExpression("Page 1 of 3\\n")));
    EXPECT_TRUE(pages[1].contains(QRegularExpression("Page 3 of 3\\n")));
}

TEST_F(PreviewTest, CancellingThePrintDialogPrintsNothing) {
    choose = [](QPrinter&) { return false; };
    RunPreview([&](PrintPreviewDialog& dialog) {
        dialog.Print();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.findChildren<QProgressDialog*>().size(), 0);
    });
    EXPECT_EQ(askedWith, (std::pair<int, int>{1, 2}));
}

TEST_F(PreviewTest, APrinterThatFailsEndsTheRunWithCannotGenerateReport) {
    choose = [](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("/no/such/folder/out.pdf"));
        return true;
    };
    bool closedItself = false;
    report->runPreview = [&](PrintPreviewDialog& dialog) {
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.Print(); });
        QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(99); });
        closedItself = dialog.exec() != 99;
    };
    try {
        report->Preview(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "Cannot generate report.\n\nThe printer did not accept the job.");
    }
    EXPECT_TRUE(closedItself);
}

TEST_F(PreviewTest, AnErrorWhileProducingPagesClosesThePreviewAndReachesTheCaller) {
    inputs->failure = "Invalid data type for this field";
    bool closedItself = false;
    report->runPreview = [&](PrintPreviewDialog& dialog) {
        QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(99); });
        closedItself = dialog.exec() != 99;
    };
    try {
        report->Preview(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "Cannot generate report.\n\nInvalid data type for this field");
    }
    EXPECT_TRUE(closedItself);
}

TEST(ReportPrintDialog, WithoutPrintersItSaysSoAndOkOnlyWarns) {
    QPrinter printer;
    QStringList warnings;
    ReportPrintDialog dialog(&printer, 3, false,
                             [&](QWidget*, const QString& text) { warnings.append(text); });
    dialog.show();
    QApplication::processEvents();
    ASSERT_NE(dialog.NoPrintersLabel(), nullptr);
    EXPECT_EQ(dialog.NoPrintersLabel()->text(),
              "There are no printers connected to your computer.");
    EXPECT_TRUE(dialog.NoPrintersLabel()->isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Print");

    dialog.accept();
    dialog.done(QDialog::Accepted);
    EXPECT_EQ(warnings, QStringList(2, "There are no printers connected to your computer."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(warnings.size(), 2);
}

TEST(ReportPrintDialog, WithPrintersThereIsNoMessage) {
    QPrinter printer;
    ReportPrintDialog dialog(&printer, 3, true, [](QWidget*, const QString&) { ADD_FAILURE(); });
    EXPECT_EQ(dialog.NoPrintersLabel(), nullptr);
    EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintCurrentPage));
    EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintCollateCopies));
    EXPECT_EQ(dialog.printRange(), QAbstractPrintDialog::AllPages);
    EXPECT_EQ(dialog.maxPage(), 3);
}

}  // namespace
}  // namespace velmora
