// A scenario file named when the program starts, as the desktop passes a double-clicked
// file: opened as Open opens it, or reported, leaving the window as it starts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <fstream>

#include "mainwindow_fixture.h"
#include "scenario/scenariocodec.h"
#include "ui/notebook.h"
#include "ui/resultsview.h"

namespace velmora {
namespace {

class StartFileTest : public MainWindowTest {
  protected:
    ScenarioBytes Shown() const { return EncodeScenarioRecord(CollectScenario(f())); }
};

TEST_F(StartFileTest, OpensTheFileOnDataInputWithoutCalculating) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(VELMORA_FIXTURES_DIR)));
    window->OpenFileAtStart(QStringLiteral("worked-example.ss"));  // relative to the folder
    // The full name as the process knows its folder: with the links of the fixture path
    // resolved, as the working folder always is.
    const QString full = QDir::current().absoluteFilePath(QStringLiteral("worked-example.ss"));
    QDir::setCurrent(previous);

    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(QStringLiteral("Jane Q. Client"), f().oClientName->ValueAsText());
    EXPECT_EQ(QStringLiteral("A. Planner"), f().oPreparer->ValueAsText());
    EXPECT_EQ(20, f().oYears->ValueAsInteger());
    EXPECT_EQ(2004, f().oLaterYear->ValueAsInteger());
    EXPECT_EQ(QStringLiteral("$1,400.00"), f().oLaterBenefit->DisplayedText());
    EXPECT_EQ(0, window->OvcNotebook1->CurrentIndex());
    // Nothing calculated: no message, the table as created.
    EXPECT_TRUE(window->lblResult->isHidden());
    EXPECT_EQ(25, window->grdSS->cells().RowCount());
    EXPECT_EQ("", window->grdSS->cells().GetCellText(0, 1));

    // The next Open offers the file by its full name.
    EXPECT_EQ(full, window->fileCommands().FileName());
    QStringList offered;
    window->fileCommands().SetDialogRunner([&offered](QFileDialog& dialog) {
        offered = dialog.selectedFiles();
        return std::optional<QString>();
    });
    window->Open1Click();
    EXPECT_EQ(QStringList{full}, offered);
}

TEST_F(StartFileTest, AFileThatCannotBeReadIsReportedAndTheWindowStartsEmpty) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString shortFile = folder.filePath("short.ss");
    std::ofstream(QFile::encodeName(shortFile).toStdString()) << "not a scenario";
    const ScenarioBytes atStart = Shown();
    const struct {
        const char* name;
        QString file;
        const char* shown;
    } cases[] = {
        {"missing", folder.filePath("missing.ss"), "File not found."},
        {"folder", folder.path(), "File not found."},
        {"short", shortFile, "Read beyond end of file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reported.clear();
        window->OpenFileAtStart(c.file);
        EXPECT_EQ(std::vector<QString>{QString::fromLatin1(c.shown)}, reported);
        EXPECT_EQ(atStart, Shown());
        EXPECT_EQ(0, window->OvcNotebook1->CurrentIndex());
    }
}

}  // namespace
}  // namespace velmora
