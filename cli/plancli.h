#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "planner/dates.h"
#include "planner/household.h"
#include "planner/payments.h"
#include "planner/plan.h"

namespace velmora::cli {

enum class PlanFormat { Text, Tsv, Csv, Json };

/// What `velmora-cli plan` was asked for.
struct PlanRequest {
    planner::PlanInputs inputs;
    bool asOfGiven = false;
    bool monthly = false;
    PlanFormat format = PlanFormat::Text;
    bool help = false;
    /// Where the benefit at FRA came from when it was computed (--earnings), for the output.
    std::string fraBenefitNote;
    /// The same for the spouse's benefit at FRA computed from --spouse-earnings.
    std::string spouseBenefitNote;
    /// --pdf: the one-page client summary instead of the list, with its texts.
    std::string pdfPath;
    std::string client;
    std::string spouseName;
    std::string preparer;
    /// --claimed: the client already receives benefits from this month.
    std::optional<planner::Month> claimed;
    /// The spouse, with --spouse-born, --spouse-sex and --spouse-fra-benefit (all or none).
    std::optional<planner::PersonInputs> spouse;
    /// --payments: the month-by-month payments of these claim months instead of the list.
    std::optional<planner::Month> paymentsClient;
    std::optional<planner::Month> paymentsSpouse;
    /// --death with --death-month: the payments follow that death.
    std::optional<planner::Death> death;
    /// --grid: every pair's expected value, for a couple.
    bool grid = false;
};

/// The household the request describes (the client's inputs, the spouse's, the claims).
planner::HouseholdInputs HouseholdOfRequest(const PlanRequest& request);

/// Writes the client summary of a plan into a PDF file; gives the error message, or an
/// empty text. The program has one when it is built with the report.
using SummaryPdfWriter =
    std::function<std::string(const PlanRequest& request, const planner::Plan& plan)>;

/// Reads the arguments after "plan" into the request; the benefit, COLA, rate and years
/// pass the same rules as the table's options. Returns the refusal naming the option,
/// or an empty text. Without --as-of the plan is made for `today`.
/// With withSummary, --pdf, --client and --preparer are offered too.
std::string ParsePlanArguments(const std::vector<std::string>& args, const planner::Date& today,
                               PlanRequest& request, bool withSummary = false);

/// The options listed in the plan output: every one with --monthly, otherwise the short
/// list of planner::SummaryOptions.
std::string FormatPlan(const planner::Plan& plan, const PlanRequest& request);

/// Runs `velmora-cli plan` on the arguments after "plan"; exit statuses as the table form.
int RunPlanCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const planner::Date& today, const SummaryPdfWriter& writeSummary = {});
/// The local calendar date.
planner::Date Today();

}  // namespace velmora::cli
