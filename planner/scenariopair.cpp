#include "planner/scenariopair.h"

#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "scenario/fileerror.h"
#include "scenario/scenariofile.h"
#include "scenario/sha256.h"

namespace velmora::planner {

namespace {

constexpr std::string_view kDigestKey = "scenario_sha256";

std::string DigestOf(const ScenarioBytes& record) {
    return Sha256Hex(std::string_view(reinterpret_cast<const char*>(record.data()), record.size()));
}

// The digest line's value, read by the companion's own line rules; nothing when there is
// none. CompanionFileError when it is given twice.
std::optional<std::string> RecordedDigest(const std::string& text) {
    std::optional<std::string> digest;
    std::string_view rest = text;
    int line = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view content = Trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++line;
        const std::size_t eq = content.find('=');
        if (content.empty() || content.front() == '#' || eq == std::string_view::npos ||
            Trim(content.substr(0, eq)) != kDigestKey)
            continue;
        if (digest)
            throw CompanionFileError("line " + std::to_string(line) + ": " +
                                     std::string(kDigestKey) + " given twice");
        digest = std::string(Trim(content.substr(eq + 1)));
        // Hexadecimal digits in either case, as a person copying one might write them.
        for (char& c : *digest) {
            if (c >= 'A' && c <= 'F')
                c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return digest;
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string NotReadNotice(const std::string& companion, const std::string& why) {
    return "The planner file " + NameOf(companion) + " could not be read (" + why +
           "). The scenario was opened; the planner's inputs were cleared.";
}

std::string OtherVersionNotice(const std::string& companion) {
    return "The planner file " + NameOf(companion) +
           " belongs to another version of this scenario; its inputs were not used.";
}

bool Earlier(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// A companion from before digests were recorded: Save wrote the record and then the
// companion, so one of the same save is never older than the record.
bool WrittenWithTheRecord(const std::string& companion, const std::string& scenarioPath,
                          FileSystem& fs) {
    struct stat companionStat {};
    struct stat scenarioStat {};
    if (fs.Status(companion, companionStat) != 0 ||
        fs.Status(RealFilePath(scenarioPath), scenarioStat) != 0)
        return false;
    return !Earlier(companionStat.st_mtim, scenarioStat.st_mtim);
}

}  // namespace

std::string CompanionPathOf(const std::string& scenarioPath) {
    return CompanionPath(RealFilePath(scenarioPath));
}

std::string FormatCompanionFor(const PlannerInputs& inputs, const ScenarioBytes& record) {
    return FormatCompanion(inputs) + std::string(kDigestKey) + " = " + DigestOf(record) + "\n";
}

CompanionReading ReadCompanionFor(const std::string& scenarioPath, const ScenarioBytes& record,
                                  FileSystem& fs) {
    const std::string companion = CompanionPathOf(scenarioPath);
    std::string text;
    try {
        text = LoadSmallFile(companion, kMaxCompanionBytes, fs);
    } catch (const FileError& e) {
        if (e.cause() == FileError::Cause::NotFound)
            return {};
        return {std::nullopt, NotReadNotice(companion, e.what())};
    } catch (const FileTooLarge&) {
        return {std::nullopt, NotReadNotice(companion, "longer than a planner file can be")};
    }
    try {
        const std::optional<std::string> digest = RecordedDigest(text);
        if (digest ? *digest != DigestOf(record)
                   : !WrittenWithTheRecord(companion, scenarioPath, fs))
            return {std::nullopt, OtherVersionNotice(companion)};
        std::vector<std::string> unknown;
        CompanionReading reading{ParseCompanion(text, &unknown), {}};
        std::erase(unknown, std::string(kDigestKey));
        if (!unknown.empty()) {
            // A file of a later version: what this one knows is used, the rest is named.
            std::string keys;
            for (const std::string& key : unknown)
                keys += (keys.empty() ? "" : ", ") + ShownInMessage(key);
            reading.notice = "The planner file " + NameOf(companion) +
                             " has entries this version does not know (" + keys +
                             "); they were left out and the rest was opened.";
        }
        return reading;
    } catch (const CompanionFileError& e) {
        return {std::nullopt, NotReadNotice(companion, e.what())};
    }
}

OpenedScenario OpenScenarioPair(const std::string& scenarioPath, FileSystem& fs) {
    OpenedScenario opened;
    opened.record = LoadScenarioBytes(scenarioPath, fs);
    opened.planner = ReadCompanionFor(scenarioPath, opened.record, fs);
    return opened;
}

void SaveScenarioPair(const std::string& scenarioPath, const ScenarioBytes& record,
                      const std::optional<PlannerInputs>& inputs, FileSystem& fs) {
    const auto failed = [](const std::string& companion, const char* what, const FileError& e,
                           bool saved) {
        return PairSaveError(
            std::string(saved ? "The scenario was saved" : "The scenario was not saved") +
                "; the planner file " + NameOf(companion) + " could not be " + what + ": " +
                e.what(),
            saved);
    };
    bool removeOld = false;
    if (inputs) {
        // What can be known before: a companion that cannot be replaced (read-only, a
        // folder, a name too long) stops the save before the record is touched. So does a
        // link in its place: the user never named that file, and following a link that
        // someone else put there would overwrite wherever it leads.
        const std::string companion = CompanionPathOf(scenarioPath);
        try {
            struct stat st {};
            if (::lstat(companion.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
                throw FileError(FileError::Cause::AccessDenied, EACCES);
            CheckSavable(companion, fs);
        } catch (const FileError& e) {
            throw failed(companion, "written", e, false);
        }
    } else {
        // The replaced record's own companion goes with it; another one stays.
        try {
            removeOld = ReadCompanionFor(scenarioPath, LoadScenarioBytes(scenarioPath, fs), fs)
                            .inputs.has_value();
        } catch (const FileError&) {
        }
    }

    SaveScenarioBytes(scenarioPath, record, fs);

    const std::string companion = CompanionPathOf(scenarioPath);
    try {
        if (inputs) {
            SaveFileBytes(companion, FormatCompanionFor(*inputs, record), fs);
        } else if (removeOld) {
            RemoveCompanion(companion, fs);
        }
    } catch (const FileError& e) {
        throw failed(companion, inputs ? "written" : "removed", e, true);
    }
}

}  // namespace velmora::planner
