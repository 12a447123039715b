#pragma once

// The planner's inputs kept beside a scenario file: same name, extension ".ssp", plain
// text of "key = value" lines. The scenario record keeps its fixed layout, which other
// programs read, so the planner's inputs live here instead.
//
//   # Velmora Analysis planner inputs
//   born = 1962-03-15
//   sex = female
//   fra_benefit = 2000.00
//   as_of = 2026-12-10
//   claimed = 2024-05            (optional: benefits received since that month)
//   mortality = cohort           (optional: cohort or period)
//   mortality_factor = 1.00      (optional: 0.25 to 4)
//   spouse_born = 1961-07-02     (optional, with spouse_sex and spouse_fra_benefit)
//   spouse_sex = male
//   spouse_fra_benefit = 1500.00
//   spouse_claimed = 2023-08     (optional)
//   spouse_mortality_factor = 1.50
//   earnings = 2023:61250.00 2024:64000.00   (optional: the record the PIA came from;
//                                             spouse_earnings for the spouse's)

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "planner/dates.h"
#include "planner/household.h"
#include "planner/lifetable.h"
#include "scenario/filesystem.h"

namespace velmora::planner {

/// The planner page's own inputs are the model's household inputs (COLA and rate belong
/// to the scenario and are not kept here).
using PlannerInputs = HouseholdInputs;

/// A companion file that cannot be read as planner inputs; what() says why.
class CompanionFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The years a date of the companion may take: those the Planner page's date fields take.
inline constexpr int kLowestYear = 1900;
inline constexpr int kHighestYear = 2100;
/// The longest companion file read.
inline constexpr std::size_t kMaxCompanionBytes = 64 * 1024;
/// The ending of the companion of a scenario file whose name does not end in ".ss".
inline constexpr const char* kOtherCompanionSuffix = ".velmora-planner";

/// "jane.ss" -> "jane.ssp"; any other name keeps itself whole and gets
/// kOtherCompanionSuffix ("jane.SS" -> "jane.SS.velmora-planner"), so that no two
/// scenario names share a companion. The name is taken as given (see CompanionPathOf).
std::string CompanionPath(const std::string& scenarioPath);

std::string FormatCompanion(const PlannerInputs& inputs);
/// Blank lines and lines starting with '#' are skipped; keys the program does not know
/// are left out and named in `unknownKeys` (when given), so that a file of a later version
/// still opens. Each of born, sex, fra_benefit and as_of must appear once with a valid
/// value (dates in kLowestYear to kHighestYear), the other keys at most once, the three
/// spouse keys all or none;
/// CompanionFileError names the line otherwise.
PlannerInputs ParseCompanion(const std::string& text,
                             std::vector<std::string>* unknownKeys = nullptr);

// Open and Save take the companion together with its scenario file through
// planner/scenariopair.h, which ties it to the record; these read and write it alone.

/// A key or value of a line of the file without the blanks (spaces, tabs, a CR) around it.
std::string_view Trim(std::string_view text);

/// A value of the file as a message shows it: control characters escaped, a long value cut.
std::string ShownInMessage(const std::string& value);

/// Writes the file atomically, as the scenario record is written (FileError on failure).
void SaveCompanion(const std::string& path, const PlannerInputs& inputs,
                   FileSystem& fs = SystemFileSystem());
/// Removes a companion left from an earlier save; a missing one is fine (FileError
/// otherwise).
void RemoveCompanion(const std::string& path, FileSystem& fs = SystemFileSystem());
/// nullopt when there is no such file; CompanionFileError when it is damaged or cannot
/// be read.
std::optional<PlannerInputs> LoadCompanion(const std::string& path,
                                           FileSystem& fs = SystemFileSystem(),
                                           std::vector<std::string>* unknownKeys = nullptr);

}  // namespace velmora::planner
