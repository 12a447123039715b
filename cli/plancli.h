#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "planner/dates.h"
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
};

/// Reads the arguments after "plan" into the request; the benefit, COLA, rate and years
/// pass the same rules as the table's options. Returns the refusal naming the option,
/// or an empty text. Without --as-of the plan is made for `today`.
std::string ParsePlanArguments(const std::vector<std::string>& args, const planner::Date& today,
                               PlanRequest& request);

/// The options listed in the plan output: every one with --monthly, otherwise the short
/// list of planner::SummaryOptions.
std::string FormatPlan(const planner::Plan& plan, const PlanRequest& request);

/// Runs `velmora-cli plan` on the arguments after "plan"; exit statuses as the table form.
int RunPlanCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const planner::Date& today);
/// The local calendar date.
planner::Date Today();

}  // namespace velmora::cli
