// The window's Open and Save commands.
#include <functional>

#include "ui/main.h"
#include "ui/notebook.h"
#include "ui/planner/plannerpage.h"

namespace velmora {

ScenarioFileCommands& TfrmMain::fileCommands() {
    if (!fileCommands_) {
        fileCommands_ =
            std::make_unique<ScenarioFileCommands>(this, fields_, [this] { ScenarioShown(); });
        fileCommands_->SetPlannerCompanion(
            [this] { return HasPlanner() ? Planner()->Inputs() : std::nullopt; },
            [this](const std::optional<planner::PlannerInputs>& inputs) {
                // Nothing to clear on a page not made yet.
                if (inputs || HasPlanner())
                    Planner()->ShowInputs(inputs);
            });
    }
    return *fileCommands_;
}

namespace {
// Runs an Open; once the file's scenario is in the fields it is the current one, even when
// the planner file beside it then fails.
template <typename OpenCommand>
void OpenAndTake(bool& shown, OpenCommand open, const std::function<void()>& take) {
    shown = false;
    try {
        open();
    } catch (...) {
        if (shown)
            take();
        throw;
    }
    if (shown)
        take();
}
}  // namespace

void TfrmMain::Open1Click() {
    if (!MayDiscardChanges())
        return;
    OpenAndTake(
        scenarioShown_, [this] { fileCommands().Open(); },
        [this] {
            documentName_ = fileCommands().FileName();
            MarkSaved();
        });
}

void TfrmMain::OpenFileAtStart(const QString& name) {
    RunCommand([this, &name] {
        OpenAndTake(
            scenarioShown_, [this, &name] { fileCommands().OpenFile(name); },
            [this] {
                documentName_ = fileCommands().FileName();
                MarkSaved();
            });
    });
}

void TfrmMain::Save1Click() {
    SaveScenario(false);
}

void TfrmMain::SaveAs1Click() {
    SaveScenario(true);
}

}  // namespace velmora
