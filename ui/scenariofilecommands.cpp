#include "ui/scenariofilecommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSettings>
#include <stdexcept>

#include "scenario/scenariofile.h"

namespace velmora {

namespace {

// Icons and type names from the kind of entry and its name only. Qt's own provider
// reads a file's first bytes to guess its type when the name does not tell, and a
// special file (/proc/kmsg) then blocks the dialog, and the whole window with it.
class NameOnlyIconProvider : public QFileIconProvider {
  public:
    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir())
            return QFileIconProvider::icon(QAbstractFileIconProvider::Folder);
        return QFileIconProvider::icon(QAbstractFileIconProvider::File);
    }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("Folder");
        if (!info.isFile())
            return QStringLiteral("Special file");
        const QMimeType mime = names_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.isDefault() || mime.comment().isEmpty() ? QStringLiteral("File")
                                                            : mime.comment();
    }

  private:
    QMimeDatabase names_;
};

// Keeps a dialog's icon provider alive as long as the dialog. Made after the dialog's
// own children, it is deleted after them, the file model among them.
class IconProviderHolder : public QObject {
  public:
    explicit IconProviderHolder(QObject* parent) : QObject(parent) {}
    NameOnlyIconProvider icons;
};

// The program keeps no state between runs: Qt's file dialog would store its last
// folder, history and view in the user's QtProject.conf and read them back. Its
// settings are sent where they can be neither read nor written.
void KeepNoDialogSettings() {
    const QString nowhere = QStringLiteral("/dev/null/velmora-keeps-no-settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

QFileDialog* MakeDialog(QWidget* window, QFileDialog::AcceptMode mode) {
    KeepNoDialogSettings();
    auto* dialog = new QFileDialog(window);
    dialog->setIconProvider(&(new IconProviderHolder(dialog))->icons);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("Social Security Data (*.ss)"));
    dialog->setDefaultSuffix(QStringLiteral("ss"));
    // Only Save asks before replacing a file.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptOpen);
    return dialog;
}

std::optional<QString> RunModal(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::string PathOf(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

}  // namespace

ScenarioFileCommands::ScenarioFileCommands(QWidget* window, const ScenarioFields& fields,
                                           std::function<void()> showInputPage)
    : fields_(fields),
      showInputPage_(std::move(showInputPage)),
      openDialog_(MakeDialog(window, QFileDialog::AcceptOpen)),
      saveDialog_(MakeDialog(window, QFileDialog::AcceptSave)),
      runDialog_(RunModal),
      fs_(&SystemFileSystem()) {}

std::optional<QString> ScenarioFileCommands::Choose(QFileDialog& dialog, QString& lastChosen) {
    dialog.setDirectory(QCoreApplication::applicationDirPath());
    // The name chosen before is offered again; being a full name, it brings its folder.
    if (!lastChosen.isEmpty())
        dialog.selectFile(lastChosen);
    std::optional<QString> chosen = runDialog_(dialog);
    if (chosen) {
        lastChosen = *chosen;
        fileName_ = *chosen;
    }
    return chosen;
}

void ScenarioFileCommands::Save() {
    const std::optional<QString> name = Choose(*saveDialog_, lastSaved_);
    if (!name)
        return;
    buffer_ = EncodeScenarioRecord(CollectScenario(fields_));
    SaveScenarioBytes(PathOf(*name), buffer_, *fs_);
    if (collectPlanner_) {
        const std::string companion = planner::CompanionPath(PathOf(*name));
        if (const auto inputs = collectPlanner_()) {
            planner::SaveCompanion(companion, *inputs, *fs_);
        } else {
            // A companion of an earlier save would bring another client's inputs back.
            planner::RemoveCompanion(companion, *fs_);
        }
    }
}

void ScenarioFileCommands::Open() {
    const std::optional<QString> name = Choose(*openDialog_, lastOpened_);
    if (!name)
        return;
    Load(*name);
}

void ScenarioFileCommands::OpenFile(const QString& name) {
    // A full name, as the dialog gives it, so that it still names the file for the dialog.
    const QString full = QFileInfo(name).absoluteFilePath();
    lastOpened_ = full;
    fileName_ = full;
    Load(full);
}

void ScenarioFileCommands::Load(const QString& name) {
    buffer_ = LoadScenarioBytes(PathOf(name), *fs_);
    ShowScenario(fields_, DecodeScenarioRecord(buffer_));
    showInputPage_();
    if (!showPlanner_)
        return;
    const std::string companion = planner::CompanionPath(PathOf(name));
    const std::string shortName =
        QFileInfo(QFile::decodeName(companion.c_str())).fileName().toStdString();
    std::optional<planner::PlannerInputs> inputs;
    std::vector<std::string> unknown;
    try {
        inputs = planner::LoadCompanion(companion, *fs_, &unknown);
    } catch (const planner::CompanionFileError& e) {
        showPlanner_(std::nullopt);
        throw std::runtime_error("The planner file " + shortName + " could not be read (" +
                                 e.what() +
                                 "). The scenario was opened; the planner's inputs were cleared.");
    }
    showPlanner_(inputs);
    if (!unknown.empty()) {
        // A file of a later version: what this one knows is used, the rest is named.
        std::string keys;
        for (const std::string& key : unknown)
            keys += (keys.empty() ? "" : ", ") + key;
        throw std::runtime_error("The planner file " + shortName +
                                 " has entries this version does not know (" + keys +
                                 "); they were left out and the rest was opened.");
    }
}

}  // namespace velmora
