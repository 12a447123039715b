#include "ui/scenariofilecommands.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSettings>
#include <QStandardPaths>
#include <stdexcept>

#include "planner/scenariopair.h"
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

// Where a dialog starts without a file to start from: the user's documents, else home;
// never the program's own folder.
QString StartFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

// The client's name as a file name: what a name may not hold becomes a blank.
QString FileNameFor(const QString& client) {
    QString name;
    for (const QChar c : client)
        name += c == QLatin1Char('/') || c.category() == QChar::Other_Control ? QChar(u' ') : c;
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name.isEmpty() ? QString() : name + QStringLiteral(".ss");
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

std::optional<QString> ScenarioFileCommands::Choose(QFileDialog& dialog, QString& lastChosen,
                                                    const QString& suggested) {
    // The folder of the file last opened or saved, else the user's documents.
    dialog.setDirectory(fileName_.isEmpty() ? StartFolder() : QFileInfo(fileName_).absolutePath());
    if (!suggested.isEmpty()) {
        dialog.selectFile(suggested);
    } else if (!lastChosen.isEmpty()) {
        // The name chosen before is offered again; being a full name, it brings its folder.
        dialog.selectFile(lastChosen);
    }
    std::optional<QString> chosen = runDialog_(dialog);
    if (chosen) {
        lastChosen = *chosen;
        fileName_ = *chosen;
    }
    return chosen;
}

bool ScenarioFileCommands::Save() {
    // Saving suggests the client's name, in the folder the dialog starts in.
    const std::optional<QString> name =
        Choose(*saveDialog_, lastSaved_, FileNameFor(fields_.oClientName->ValueAsText()));
    if (!name)
        return false;
    SaveFile(*name);
    return true;
}

void ScenarioFileCommands::SaveFile(const QString& name) {
    buffer_ = EncodeScenarioRecord(CollectScenario(fields_));
    // The name becomes the current file once its record is on disk, also when only the
    // planner file then failed.
    const auto adopt = [&] {
        lastSaved_ = name;
        fileName_ = name;
    };
    if (collectPlanner_) {
        try {
            planner::SaveScenarioPair(PathOf(name), buffer_, collectPlanner_(), *fs_);
        } catch (const planner::PairSaveError& e) {
            if (e.scenarioSaved())
                adopt();
            throw;
        }
    } else {
        SaveScenarioBytes(PathOf(name), buffer_, *fs_);
    }
    adopt();
}

void ScenarioFileCommands::Open() {
    const std::optional<QString> name = Choose(*openDialog_, lastOpened_, QString());
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
    // Only a companion saved with this very record is shown; another is reported and kept.
    const planner::CompanionReading companion =
        planner::ReadCompanionFor(PathOf(name), buffer_, *fs_);
    showPlanner_(companion.inputs);
    if (!companion.notice.empty())
        throw std::runtime_error(companion.notice);
}

}  // namespace velmora
