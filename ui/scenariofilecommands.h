#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "fields/scenariofields.h"
#include "planner/companionfile.h"
#include "scenario/scenariocodec.h"

class QFileDialog;
class QWidget;

namespace velmora {

class FileSystem;

/// The work of the window's Open and Save commands: the two file dialogs, the record
/// buffer and the chosen name, all living as long as the window. A failure is thrown
/// as FileError for the window's error handler.
class ScenarioFileCommands {
  public:
    /// Runs a configured dialog; the chosen name, or nothing when the user cancels.
    using DialogRunner = std::function<std::optional<QString>(QFileDialog&)>;

    /// showInputPage switches the notebook to "Data Input".
    ScenarioFileCommands(QWidget* window, const ScenarioFields& fields,
                         std::function<void()> showInputPage);
    ScenarioFileCommands(const ScenarioFileCommands&) = delete;
    ScenarioFileCommands& operator=(const ScenarioFileCommands&) = delete;

    /// Asks for a name and writes the fields' scenario there. Cancelling touches nothing
    /// and gives false.
    bool Save();
    /// What Save does once a name is chosen; the name is offered by the next Save.
    void SaveFile(const QString& name);
    /// Asks for a file and shows its scenario, then "Data Input". Cancelling or failing
    /// leaves the fields and the page as they were. Never recalculates.
    void Open();
    /// What Open does once a name is chosen, for a file named when the program starts;
    /// the name is offered by the next Open.
    void OpenFile(const QString& name);

    QFileDialog& OpenDialog() { return *openDialog_; }
    QFileDialog& SaveDialog() { return *saveDialog_; }
    const ScenarioBytes& RecordBuffer() const { return buffer_; }
    /// The name last chosen in either dialog.
    const QString& FileName() const { return fileName_; }

    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    /// The planner's inputs travel in a companion file beside the scenario, tied to the
    /// record it was saved with (see SaveScenarioPair): Save writes what collect gives (and
    /// removes the replaced record's companion when it gives nothing); Open hands show the
    /// companion's inputs, or nothing when there is none, it is damaged or it belongs to
    /// another version of the scenario (the last two reported once shown).
    using CollectPlanner = std::function<std::optional<planner::PlannerInputs>()>;
    using ShowPlanner = std::function<void(const std::optional<planner::PlannerInputs>&)>;
    void SetPlannerCompanion(CollectPlanner collect, ShowPlanner show) {
        collectPlanner_ = std::move(collect);
        showPlanner_ = std::move(show);
    }
    void SetFileSystem(FileSystem& fs) { fs_ = &fs; }

  private:
    std::optional<QString> Choose(QFileDialog& dialog, QString& lastChosen,
                                  const QString& suggested);
    void Load(const QString& name);

    ScenarioFields fields_;
    std::function<void()> showInputPage_;
    QFileDialog* openDialog_;
    QFileDialog* saveDialog_;
    QString lastOpened_;
    QString lastSaved_;
    QString fileName_;
    ScenarioBytes buffer_{};
    DialogRunner runDialog_;
    CollectPlanner collectPlanner_;
    ShowPlanner showPlanner_;
    FileSystem* fs_;
};

}  // namespace velmora
