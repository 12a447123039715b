// The window's Open and Save commands.
#include "ui/main.h"
#include "ui/notebook.h"
#include "ui/planner/plannerpage.h"

namespace velmora {

ScenarioFileCommands& TfrmMain::fileCommands() {
    if (!fileCommands_) {
        fileCommands_ = std::make_unique<ScenarioFileCommands>(
            this, fields_, [this] { OvcNotebook1->SetCurrentIndex(0); });
        fileCommands_->SetPlannerCompanion(
            [this] { return plannerPage->Inputs(); },
            [this](const std::optional<planner::PlannerInputs>& inputs) {
                plannerPage->ShowInputs(inputs);
            });
    }
    return *fileCommands_;
}

void TfrmMain::Open1Click() {
    fileCommands().Open();
}

void TfrmMain::OpenFileAtStart(const QString& name) {
    RunCommand([this, &name] { fileCommands().OpenFile(name); });
}

void TfrmMain::Save1Click() {
    fileCommands().Save();
}

}  // namespace velmora
