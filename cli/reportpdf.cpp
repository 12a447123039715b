#include "cli/reportpdf.h"

#include <QApplication>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "cli/echo.h"
#include "cli/plancli.h"
#include "engine/schedule.h"
#include "planner/optimiser.h"
#include "planner/plantable.h"
#include "report/bandreport.h"
#include "report/reportinputs.h"
#include "report/reportoutput.h"
#include "report/rptss.h"
#include "report/scenariopipeline.h"
#include "report/summary/clientsummary.h"
#include "report/systemenvironment.h"

namespace velmora::cli {

namespace {

// The program's messages are its own: Qt's notes about the session (a missing runtime
// folder and the like) stay off the error output; only Qt's critical errors pass.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "velmora-cli: %s\n", message.toLocal8Bit().constData());
}

// Fonts and PDF painting need an application object (the summary's chart a widget
// one), but never a screen.
std::unique_ptr<QApplication> MakeApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    qInstallMessageHandler(QuietQtMessages);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velmora-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace

std::string WriteReportPdfFile(const std::string& path, const TScenarioRec& scenario,
                               const TResultTable& table) {
    const auto application = MakeApplication();
    RecordInputs inputs(scenario);
    std::int32_t cursor = 0;
    ScenarioPipeline source(inputs, table, cursor);
    BandReport report(RptSSLayout(), source, SystemReportEnvironment());
    try {
        WriteReportPdf(report, path);
    } catch (const std::exception& e) {
        // The file name in the message is shown as every echoed name is.
        std::string message = e.what();
        if (const auto at = message.find(path); !path.empty() && at != std::string::npos)
            message.replace(at, path.size(), Echoed(path, 200));
        return message;
    }
    return {};
}

std::string WriteSummaryPdfFile(const PlanRequest& request, const planner::Plan& plan) {
    const auto application = MakeApplication();
    try {
        // The summary of the plan alone, as the window's Planner page prints it.
        HouseholdSummaryInputs in;
        in.clientName = request.client;
        in.spouseName = request.spouseName;
        in.preparer = request.preparer;
        in.dateText = SystemReportEnvironment().dateText();
        in.inputs = HouseholdOfRequest(request);
        std::optional<planner::CoupleSearch> search;
        if (request.spouse) {
            search = planner::HouseholdModel(in.inputs).SearchCouple();
            in.couple = &*search;
        } else {
            in.plan = &plan;
        }
        WriteClientSummaryPdf(BuildHouseholdSummary(in), request.pdfPath);
    } catch (const std::exception& e) {
        // The file name in the message is shown as every echoed name is.
        std::string message = e.what();
        const std::string& path = request.pdfPath;
        if (const auto at = message.find(path); !path.empty() && at != std::string::npos)
            message.replace(at, path.size(), Echoed(path, 200));
        return message;
    }
    return {};
}

}  // namespace velmora::cli
