// The Open and Save commands with a scripted file dialog: what the dialogs offer, what
// reaches the file and the fields, and what a cancel or a failure leaves alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractFileIconProvider>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWidget>
#include <cerrno>
#include <deque>
#include <fstream>
#include <iterator>
#include <vector>

#include "../support/plannerinputs.h"
#include "../support/readonlyfiles.h"
#include "fields/entrysettings.h"
#include "mainwindow_fixture.h"
#include "scenario/fileerror.h"
#include "scenario/filesystem.h"
#include "scenario/scenariofile.h"
#include "ui/notebook.h"
#include "ui/resultsview.h"
#include "ui/scenariofilecommands.h"

namespace velmora {
namespace {

using velmora::testing::SingleClient;

std::vector<std::uint8_t> ReadWholeFile(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a dialog looked like when the command ran it.
struct DialogSeen {
    QFileDialog::AcceptMode mode;
    QFileDialog::FileMode fileMode;
    QStringList filters;
    QString suffix;
    bool asksBeforeReplacing;
    QString folder;
    QStringList offered;
};

class ScenarioFileCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_.reportError = [](QWidget*, const QString&) {};
        fields_ = CreateScenarioFields(settings_, &window_);
        commands_ =
            std::make_unique<ScenarioFileCommands>(&window_, fields_, [this] { ++pageSwitches_; });
        commands_->SetDialogRunner([this](QFileDialog& dialog) -> std::optional<QString> {
            seen_.push_back({dialog.acceptMode(), dialog.fileMode(), dialog.nameFilters(),
                             dialog.defaultSuffix(),
                             !dialog.testOption(QFileDialog::DontConfirmOverwrite),
                             dialog.directory().absolutePath(), dialog.selectedFiles()});
            if (answers_.empty())
                return std::nullopt;
            std::optional<QString> answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        ASSERT_TRUE(folder_.isValid());
    }

    QString PathOf(const QString& name) const { return folder_.filePath(name); }

    void TypeScenario(const QString& client, long double cola, int years) {
        fields_.oClientName->SetValueText(client);
        fields_.oCola->SetValueExtended(cola);
        fields_.oYears->SetValueInteger(years);
        fields_.oEarlyBenefit->SetValueExtended(1234.56L);
    }

    EntrySettings settings_;
    QWidget window_;
    ScenarioFields fields_;
    std::unique_ptr<ScenarioFileCommands> commands_;
    int pageSwitches_ = 0;
    std::deque<std::optional<QString>> answers_;
    std::vector<DialogSeen> seen_;
    QTemporaryDir folder_;
};

TEST_F(ScenarioFileCommandsTest, DialogsAreSetUpForScenarioFiles) {
    commands_->Save();
    commands_->Open();
    ASSERT_EQ(2u, seen_.size());
    const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString expectedFolder =
        QDir(QFileInfo(documents).isDir() ? documents : QDir::homePath()).absolutePath();
    const struct {
        const char* name;
        QFileDialog::AcceptMode mode;
        QFileDialog::FileMode fileMode;
        bool asksBeforeReplacing;
    } expected[] = {{"Save", QFileDialog::AcceptSave, QFileDialog::AnyFile, true},
                    {"Open", QFileDialog::AcceptOpen, QFileDialog::ExistingFile, false}};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(expected[i].mode, seen_[i].mode);
        EXPECT_EQ(expected[i].fileMode, seen_[i].fileMode);
        EXPECT_EQ(QStringList{"Social Security Data (*.ss)"}, seen_[i].filters);
        EXPECT_EQ("ss", seen_[i].suffix);
        EXPECT_EQ(expected[i].asksBeforeReplacing, seen_[i].asksBeforeReplacing);
        // With no file yet, the user's documents (or home), never the program's folder.
        EXPECT_EQ(expectedFolder, seen_[i].folder);
        EXPECT_NE(programFolder, seen_[i].folder);
    }
}

TEST_F(ScenarioFileCommandsTest, DialogsStartInTheFilesFolderAndSaveSuggestsTheClient) {
    const struct {
        const char* client;
        const char* suggested;
    } names[] = {
        {"Pat Example", "Pat Example.ss"},
        {"  Pat / Example ", "Pat Example.ss"},
        {"..hidden", "hidden.ss"},
    };
    for (const auto& n : names) {
        SCOPED_TRACE(n.client);
        seen_.clear();
        fields_.oClientName->SetValueText(QString::fromUtf8(n.client));
        commands_->Save();
        ASSERT_EQ(1u, seen_.size());
        ASSERT_EQ(1, seen_[0].offered.size());
        EXPECT_EQ(QFileInfo(seen_[0].offered[0]).fileName(), QString::fromUtf8(n.suggested));
    }

    // Once a file is saved, both dialogs start in its folder; without a client the name
    // chosen before is offered.
    const QString sub = PathOf("clients");
    ASSERT_TRUE(QDir().mkpath(sub));
    fields_.oClientName->SetValueText(QString());
    answers_ = {sub + "/pat.ss"};
    commands_->Save();
    seen_.clear();
    commands_->Open();
    commands_->Save();
    ASSERT_EQ(2u, seen_.size());
    EXPECT_EQ(sub, seen_[0].folder);
    EXPECT_EQ(sub, seen_[1].folder);
    EXPECT_EQ(QStringList{sub + "/pat.ss"}, seen_[1].offered);
}

// The program keeps no state between runs: the dialogs, shown and closed as a user
// does, leave nothing in the configuration folder (the test main points
// XDG_CONFIG_HOME at an empty folder of its own).
TEST_F(ScenarioFileCommandsTest, TheDialogsStoreNoSettings) {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    for (QFileDialog* dialog : {&commands_->SaveDialog(), &commands_->OpenDialog()}) {
        dialog->setDirectory(folder_.path());
        dialog->show();
        QCoreApplication::processEvents();
        dialog->reject();
    }
    commands_.reset();  // the dialogs go with the window; Qt writes its settings then
    for (QWidget* child : window_.findChildren<QFileDialog*>())
        delete child;
    QCoreApplication::processEvents();
    EXPECT_EQ(QDir(config).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

// The dialogs name a file's type from its name alone and never read it: a special
// file such as /proc/kmsg would block them, and the window with them.
TEST_F(ScenarioFileCommandsTest, TheDialogsDoNotReadFilesToNameTheirType) {
    const QString pdfWithoutSuffix = PathOf("statement");
    {
        QFile file(pdfWithoutSuffix);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }
    {
        QFile named(PathOf("report.pdf"));  // by its name a PDF, whatever it holds
        ASSERT_TRUE(named.open(QIODevice::WriteOnly));
        named.write("plain words\n");
    }
    const QString pipe = PathOf("pipe.ss");
    ASSERT_EQ(0, ::mkfifo(QFile::encodeName(pipe).constData(), 0600));
    for (QFileDialog* dialog : {&commands_->SaveDialog(), &commands_->OpenDialog()}) {
        const QAbstractFileIconProvider* icons = dialog->iconProvider();
        ASSERT_NE(icons, nullptr);
        EXPECT_EQ(icons->type(QFileInfo(pdfWithoutSuffix)), "File");
        EXPECT_EQ(icons->type(QFileInfo(pipe)), "Special file");
        EXPECT_EQ(icons->type(QFileInfo(folder_.path())), "Folder");
        EXPECT_EQ(icons->type(QFileInfo(PathOf("report.pdf"))), "PDF document");
    }
}

TEST_F(ScenarioFileCommandsTest, EachDialogOffersItsLastChosenNameAgain) {
    const QString saved = PathOf("saved.ss");
    answers_ = {saved, std::nullopt, saved, std::nullopt, std::nullopt};
    commands_->Save();  // chooses saved.ss
    commands_->Save();  // offers it, cancelled
    commands_->Open();  // its own first run: nothing offered; chooses saved.ss
    commands_->Open();  // offers it
    commands_->Save();  // still offers saved.ss after a cancel
    ASSERT_EQ(5u, seen_.size());
    EXPECT_EQ(QStringList{saved}, seen_[1].offered);
    EXPECT_EQ(folder_.path(), seen_[1].folder);  // the name brings its own folder
    EXPECT_TRUE(seen_[2].offered.isEmpty());
    EXPECT_EQ(QStringList{saved}, seen_[3].offered);
    EXPECT_EQ(QStringList{saved}, seen_[4].offered);
    EXPECT_EQ(saved, commands_->FileName());
}

TEST_F(ScenarioFileCommandsTest, SaveWritesWhatTheGettersDeliverAndOpenShowsItAgain) {
    TypeScenario("Jane", 2.5L, 20);
    const QString path = PathOf("jane.ss");
    answers_ = {path};
    commands_->Save();
    const TScenarioRec written = CollectScenario(fields_);
    const ScenarioBytes expected = EncodeScenarioRecord(written);
    EXPECT_EQ(std::vector<std::uint8_t>(expected.begin(), expected.end()), ReadWholeFile(path));
    EXPECT_EQ(expected, commands_->RecordBuffer());
    EXPECT_EQ(0, pageSwitches_);  // Save leaves the page alone

    ResetScenario(fields_);
    answers_ = {path};
    commands_->Open();
    EXPECT_EQ(QStringLiteral("Jane"), fields_.oClientName->ValueAsText());
    EXPECT_EQ(2.5L, fields_.oCola->ValueAsExtended());
    EXPECT_EQ(20, fields_.oYears->ValueAsInteger());
    EXPECT_EQ(1234.56L, fields_.oEarlyBenefit->ValueAsExtended());
    EXPECT_EQ(1, pageSwitches_);
}

TEST_F(ScenarioFileCommandsTest, YearsZeroAfterNewComesBackAsZero) {
    ResetScenario(fields_);
    answers_ = {PathOf("new.ss"), PathOf("new.ss")};
    commands_->Save();
    fields_.oYears->SetValueInteger(30);
    commands_->Open();
    EXPECT_EQ(0, fields_.oYears->ValueAsInteger());
    EXPECT_EQ(62, fields_.oAge->ValueAsInteger());
    EXPECT_EQ(2004, fields_.oLaterYear->ValueAsInteger());
}

TEST_F(ScenarioFileCommandsTest, OpenShowsTheIndependentWritersFile) {
    answers_ = {QStringLiteral(VELMORA_FIXTURES_DIR "/cents-and-limits.ss")};
    commands_->Open();
    EXPECT_EQ(QString(100, 'N'), fields_.oClientName->ValueAsText());
    EXPECT_EQ(QString::fromUtf8("Zo\xC3\xAB M\xC3\xBCller"), fields_.oPreparer->ValueAsText());
    EXPECT_EQ(0.0001L, fields_.oRate->ValueAsExtended());
    EXPECT_EQ(99999.99L, fields_.oEarlyBenefit->ValueAsExtended());
    EXPECT_EQ(2030, fields_.oEarlyYear->ValueAsInteger());
    EXPECT_EQ(99, fields_.oAge->ValueAsInteger());
}

TEST_F(ScenarioFileCommandsTest, CancelledSaveTouchesNothing) {
    const QString path = PathOf("old.ss");
    SaveScenarioFile(QFile::encodeName(path).toStdString(), TScenarioRec{});
    const std::vector<std::uint8_t> before = ReadWholeFile(path);
    TypeScenario("Someone else", 1, 2);
    answers_ = {std::nullopt};
    commands_->Save();
    EXPECT_EQ(before, ReadWholeFile(path));
    EXPECT_EQ(QStringList{"old.ss"}, QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden));
    EXPECT_EQ(ScenarioBytes{}, commands_->RecordBuffer());
    EXPECT_TRUE(commands_->FileName().isEmpty());
}

TEST_F(ScenarioFileCommandsTest, CancelledOpenKeepsFieldsAndPage) {
    TypeScenario("Kept", 3, 4);
    commands_->Open();
    EXPECT_EQ(QStringLiteral("Kept"), fields_.oClientName->ValueAsText());
    EXPECT_EQ(0, pageSwitches_);
}

// Every open (and every read) answers with the same system error.
class DenyingFileSystem : public FileSystem {
  public:
    explicit DenyingFileSystem(int err) : err_(err) {}
    int Open(const std::string&, int, mode_t) override {
        errno = err_;
        return -1;
    }

  private:
    int err_;
};

TEST_F(ScenarioFileCommandsTest, FailedOpenThrowsAndLeavesFieldsAndPage) {
    std::ofstream(QFile::encodeName(PathOf("short.ss")).toStdString()) << "too short";
    SaveScenarioFile(QFile::encodeName(PathOf("ok.ss")).toStdString(), TScenarioRec{});
    QDir(folder_.path()).mkdir("folder.ss");
    DenyingFileSystem readOnly(EACCES);
    DenyingFileSystem tooMany(EMFILE);
    const struct {
        const char* name;
        QString file;
        FileSystem* fs;
        const char* message;
    } cases[] = {
        {"gone since the dialog closed", PathOf("gone.ss"), nullptr, "File not found"},
        {"a folder", PathOf("folder.ss"), nullptr, "File not found"},
        {"shorter than a record", PathOf("short.ss"), nullptr, "Read beyond end of file"},
        {"not readable", PathOf("ok.ss"), &readOnly, "File access denied"},
        {"too many open files", PathOf("ok.ss"), &tooMany, "Too many open files"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TypeScenario("Kept", 3, 4);
        const ScenarioBytes bufferBefore = commands_->RecordBuffer();
        commands_->SetFileSystem(c.fs != nullptr ? *c.fs : SystemFileSystem());
        answers_ = {c.file};
        try {
            commands_->Open();
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_STREQ(c.message, e.what());
        }
        EXPECT_EQ(QStringLiteral("Kept"), fields_.oClientName->ValueAsText());
        EXPECT_EQ(3, fields_.oCola->ValueAsExtended());
        EXPECT_EQ(4, fields_.oYears->ValueAsInteger());
        EXPECT_EQ(bufferBefore, commands_->RecordBuffer());
        EXPECT_EQ(0, pageSwitches_);
    }
}

// A file the user may read but not write (an archive of client files) opens; Save to it
// fails as any refused Save does. The permissions come from the file system seam, as
// root may write any file.
TEST_F(ScenarioFileCommandsTest, AReadOnlyFileOpensAndSaveToItIsRefused) {
    velmora::testing::ReadOnlyFiles readOnly;
    const QString path = PathOf("archived.ss");
    TypeScenario("Archived", 2.5L, 20);
    answers_ = {path};
    commands_->Save();
    const std::vector<std::uint8_t> before = ReadWholeFile(path);

    commands_->SetFileSystem(readOnly);
    ResetScenario(fields_);
    answers_ = {path, path};
    commands_->Open();
    EXPECT_EQ(QStringLiteral("Archived"), fields_.oClientName->ValueAsText());
    EXPECT_EQ(1, pageSwitches_);
    fields_.oClientName->SetValueText(QStringLiteral("Changed"));
    try {
        commands_->Save();
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ("File access denied", e.what());
    }
    EXPECT_EQ(before, ReadWholeFile(path));
}

TEST_F(ScenarioFileCommandsTest, FailedSaveThrowsAndKeepsTheOldFile) {
    const QString path = PathOf("old.ss");
    SaveScenarioFile(QFile::encodeName(path).toStdString(), TScenarioRec{});
    const std::vector<std::uint8_t> before = ReadWholeFile(path);
    DenyingFileSystem readOnly(EACCES);
    commands_->SetFileSystem(readOnly);
    TypeScenario("New", 1, 2);
    answers_ = {path};
    try {
        commands_->Save();
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ("File access denied", e.what());
    }
    EXPECT_EQ(before, ReadWholeFile(path));
}

// The planner's companion through the commands: only the companion of the opened record
// is shown; another one is reported once the scenario is shown, and kept.
TEST_F(ScenarioFileCommandsTest, OpenShowsOnlyTheCompanionSavedWithTheRecord) {
    const planner::PlannerInputs jane =
        SingleClient({1962, 3, 15}, planner::Sex::Female, 200000, {2026, 12, 10});
    std::optional<planner::PlannerInputs> typed = jane;
    std::vector<std::optional<planner::PlannerInputs>> shown;
    commands_->SetPlannerCompanion(
        [&] { return typed; },
        [&](const std::optional<planner::PlannerInputs>& inputs) { shown.push_back(inputs); });
    const QString path = PathOf("jane.ss");
    TypeScenario("Jane", 2.5L, 20);
    answers_ = {path, path};
    commands_->Save();
    commands_->Open();
    EXPECT_EQ(shown, (std::vector<std::optional<planner::PlannerInputs>>{jane}));

    // The record saved again by another program (velmora-cli --save) for another client.
    TScenarioRec other = CollectScenario(fields_);
    other.ClientName = "Someone else";
    SaveScenarioFile(QFile::encodeName(path).toStdString(), other);
    const std::vector<std::uint8_t> companion = ReadWholeFile(PathOf("jane.ssp"));
    shown.clear();
    answers_ = {path};
    try {
        commands_->Open();
        ADD_FAILURE() << "no message";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(),
                     "The planner file jane.ssp belongs to another version of this scenario; its "
                     "inputs were not used.");
    }
    EXPECT_EQ(QStringLiteral("Someone else"), fields_.oClientName->ValueAsText());
    EXPECT_EQ(shown, (std::vector<std::optional<planner::PlannerInputs>>{std::nullopt}));
    EXPECT_EQ(companion, ReadWholeFile(PathOf("jane.ssp")));

    // Saving that scenario without planner inputs keeps the other version's companion.
    typed.reset();
    answers_ = {path};
    commands_->Save();
    EXPECT_EQ(companion, ReadWholeFile(PathOf("jane.ssp")));
}

// A companion that fails after the record was written is reported as such.
TEST_F(ScenarioFileCommandsTest, SaveSaysWhenOnlyTheScenarioWasSaved) {
    class CompanionDiskFull : public FileSystem {
      public:
        ssize_t Write(int fd, const void* buffer, std::size_t count) override {
            if (count > 0 && static_cast<const char*>(buffer)[0] == '#') {
                errno = ENOSPC;
                return -1;
            }
            return FileSystem::Write(fd, buffer, count);
        }
    } diskFull;
    commands_->SetFileSystem(diskFull);
    commands_->SetPlannerCompanion(
        [] {
            return std::optional<planner::PlannerInputs>(
                SingleClient({1962, 3, 15}, planner::Sex::Male, 1, {2026, 12, 10}));
        },
        [](const std::optional<planner::PlannerInputs>&) {});
    TypeScenario("Jane", 2.5L, 20);
    answers_ = {PathOf("jane.ss")};
    try {
        commands_->Save();
        ADD_FAILURE() << "no message";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(),
                     "The scenario was saved; the planner file jane.ssp could not be written: "
                     "Disk full");
    }
    EXPECT_EQ("Jane",
              LoadScenarioFile(QFile::encodeName(PathOf("jane.ss")).toStdString()).ClientName);
    EXPECT_EQ(QStringList{"jane.ss"}, QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden));
}

// The commands as the window runs them: from the toolbar and the menu, with the window's
// error box recording instead of showing.
class WindowFileCommandsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
        window->fileCommands().SetDialogRunner([this](QFileDialog&) -> std::optional<QString> {
            ++dialogRuns_;
            return answer_;
        });
    }
    void Calculate() {
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
        window->btnCalculateClick();
        ASSERT_TRUE(reported.empty());
    }

    std::optional<QString> answer_;
    int dialogRuns_ = 0;
    QTemporaryDir folder_;
};

TEST_F(WindowFileCommandsTest, OpenShowsTheFileOnDataInputAndClearsTheOldResults) {
    Calculate();
    const QString message = window->lblResult->text();
    const std::string cell = window->grdSS->cells().GetCellText(11, 14);
    window->OvcNotebook1->SetCurrentIndex(1);
    answer_ = QStringLiteral(VELMORA_FIXTURES_DIR "/cents-and-limits.ss");
    window->tbOpen->click();
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(1, dialogRuns_);
    EXPECT_EQ(0, window->OvcNotebook1->CurrentIndex());
    EXPECT_EQ(40, f().oYears->ValueAsInteger());
    EXPECT_EQ(2030, f().oEarlyYear->ValueAsInteger());
    EXPECT_EQ(QString::fromUtf8("Zo\xC3\xAB M\xC3\xBCller"), f().oPreparer->ValueAsText());
    // The message and the table belonged to the earlier inputs: they go, the break-even
    // result with them, and nothing is recalculated.
    EXPECT_NE(message, QString());
    EXPECT_EQ(QString(), window->lblResult->text());
    EXPECT_TRUE(window->lblResult->isHidden());
    EXPECT_EQ(21, window->grdSS->cells().RowCount());
    EXPECT_NE(cell, "");
    EXPECT_EQ("", window->grdSS->cells().GetCellText(11, 14));
    EXPECT_FALSE(window->resultTable().BreakEvenFound);
    EXPECT_EQ("", window->resultTable().BreakEvenYear);
    // The file is the window's now, with nothing unsaved.
    EXPECT_EQ(QStringLiteral("Velmora Analysis - cents-and-limits.ss"), window->windowTitle());
    EXPECT_FALSE(window->HasUnsavedChanges());
}

TEST_F(WindowFileCommandsTest, FailedOpenShowsTheErrorAndLeavesFieldsAndPage) {
    const QString shortFile = folder_.filePath("short.ss");
    std::ofstream(QFile::encodeName(shortFile).toStdString()) << "200 bytes would do as well";
    const struct {
        const char* name;
        QString file;
        const char* shown;
    } cases[] = {
        {"missing", folder_.filePath("missing.ss"), "File not found."},
        {"short", shortFile, "Read beyond end of file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reported.clear();
        f().oClientName->SetValueText(QStringLiteral("Kept"));
        f().oYears->SetValueInteger(7);
        window->OvcNotebook1->SetCurrentIndex(1);
        answer_ = c.file;
        window->Open1->trigger();
        EXPECT_EQ(std::vector<QString>{QString::fromLatin1(c.shown)}, reported);
        EXPECT_EQ(QStringLiteral("Kept"), f().oClientName->ValueAsText());
        EXPECT_EQ(7, f().oYears->ValueAsInteger());
        EXPECT_EQ(1, window->OvcNotebook1->CurrentIndex());
    }
}

TEST_F(WindowFileCommandsTest, SaveFromTheToolbarWritesWhatTheGettersDeliver) {
    Calculate();
    f().oClientName->SetValueText(QStringLiteral("Jane"));
    f().oYears->SetValueInteger(41);  // refused by its rule: saved as 0
    window->OvcNotebook1->SetCurrentIndex(1);
    const QString path = folder_.filePath("jane.ss");
    answer_ = path;
    window->tbSave->click();
    EXPECT_TRUE(reported.empty());
    const TScenarioRec saved = LoadScenarioFile(QFile::encodeName(path).toStdString());
    EXPECT_EQ("Jane", saved.ClientName);
    EXPECT_EQ(0, saved.Years);
    EXPECT_EQ(2.5L, saved.Cola);
    EXPECT_EQ(1400.0L, saved.LaterBenefit);
    EXPECT_EQ(1, window->OvcNotebook1->CurrentIndex());  // Save leaves the page alone
}

TEST_F(WindowFileCommandsTest, CancelledSaveTouchesNothingAndSaysNothing) {
    window->Save1->trigger();
    EXPECT_EQ(1, dialogRuns_);
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(
        QDir(folder_.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(WindowFileCommandsTest, FailedSaveShowsTheError) {
    DenyingFileSystem tooMany(EMFILE);
    window->fileCommands().SetFileSystem(tooMany);
    answer_ = folder_.filePath("x.ss");
    window->Save1->trigger();
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Too many open files.")}, reported);
}

}  // namespace
}  // namespace velmora
