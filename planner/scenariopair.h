#pragma once

// A scenario file and the planner's companion file beside it, saved and opened as a
// pair. The companion records the SHA-256 of the scenario record it was saved with, and
// is used only with exactly that record: a companion left from another version of the
// scenario (a save cut short, a --save that wrote the record alone, a copy of one file
// of the pair) is reported and kept, never shown beside the wrong client.

#include <optional>
#include <stdexcept>
#include <string>

#include "planner/companionfile.h"
#include "scenario/filesystem.h"
#include "scenario/scenariocodec.h"

namespace velmora::planner {

/// The companion of the scenario file at scenarioPath, beside the file its links lead to.
std::string CompanionPathOf(const std::string& scenarioPath);

/// The companion's text for inputs saved with record: FormatCompanion and the digest line.
std::string FormatCompanionFor(const PlannerInputs& inputs, const ScenarioBytes& record);

/// What the companion of an opened scenario gave.
struct CompanionReading {
    /// The inputs, when a companion of this very record was read.
    std::optional<PlannerInputs> inputs;
    /// Why a companion that is there was not used, or what of it was left out (keys of a
    /// later version), as the user's message; empty when it was used whole or there is none.
    std::string notice;
};

/// Reads the companion of the scenario file at scenarioPath whose record is record.
/// Never throws for the companion's sake: what stops it from being used is the notice.
/// A companion without a digest (written before the digest was recorded) is taken when
/// it is not older than the scenario file, as Save always wrote the scenario first;
/// an older one may belong to an earlier version and is refused.
CompanionReading ReadCompanionFor(const std::string& scenarioPath, const ScenarioBytes& record,
                                  FileSystem& fs = SystemFileSystem());

struct OpenedScenario {
    ScenarioBytes record{};
    CompanionReading planner;
};

/// Reads the scenario's record (FileError as LoadScenarioBytes throws it) and then its
/// companion.
OpenedScenario OpenScenarioPair(const std::string& scenarioPath,
                                FileSystem& fs = SystemFileSystem());

/// A Save of the pair that failed for the companion's sake; what() is the user's message
/// and says whether the scenario itself was saved.
class PairSaveError : public std::runtime_error {
  public:
    PairSaveError(const std::string& message, bool scenarioSaved)
        : std::runtime_error(message), scenarioSaved_(scenarioSaved) {}
    bool scenarioSaved() const noexcept { return scenarioSaved_; }

  private:
    bool scenarioSaved_;
};

/// Saves record to scenarioPath and then the planner's inputs beside it. Before anything
/// is written, a companion that cannot be replaced stops the save (PairSaveError, nothing
/// written); a failure of the record is its FileError (nothing written); a failure of the
/// companion after the record was written is a PairSaveError that says so. Without
/// inputs, the companion of the replaced record is removed (its inputs were the replaced
/// file's); any other companion there (damaged, or of another version) is kept.
void SaveScenarioPair(const std::string& scenarioPath, const ScenarioBytes& record,
                      const std::optional<PlannerInputs>& inputs,
                      FileSystem& fs = SystemFileSystem());

}  // namespace velmora::planner
