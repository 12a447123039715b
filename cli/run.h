#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmora::cli {

/// Exit statuses of velmora-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the calculation or the output failed
inline constexpr int kExitUsage = 2;   // an option is missing or refused

/// Runs velmora-cli on its arguments (program name excluded). The table goes to out,
/// messages to err; on a refusal or an error nothing is written to out. Expects the
/// money format and the arithmetic context to be set up by the caller.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmora::cli
