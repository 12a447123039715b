// velmora-cli --save killed at random moments, as a batch job or a closed terminal kills
// it: the file is always the old or the new scenario, and once another save has run in
// the folder nothing else is left there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "scenario/scenariofile.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

pid_t StartSave(const std::string& target, const std::string& client) {
    std::vector<std::string> args = {
        VELMORA_CLI, "--early-year",    "2001", "--early-month", "1",    "--age",
        "62",        "--early-benefit", "1000", "--later-year",  "2004", "--later-month",
        "1",         "--later-benefit", "1400", "--cola",        "2.5",  "--rate",
        "3",         "--years",         "3",    "--client",      client, "--save",
        target};
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return child;
}

int Wait(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(CliKills, ASaveKilledAtAnyMomentLeavesNothingOnceAnotherSaveRan) {
    std::string pattern = (fs::temp_directory_path() / "velmora-kills-XXXXXX").string();
    ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
    const fs::path folder = pattern;
    const std::string target = (folder / "client.ss").string();

    // How long a whole run takes, so that the kills fall anywhere in it.
    std::vector<long> durations;
    for (int i = 0; i < 9; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const int status = Wait(StartSave(target, "Client"));
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        durations.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count()));
    }
    std::sort(durations.begin(), durations.end());
    const long run = durations[durations.size() / 2];

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, run + run / 5);
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer run repeats the tests for memory faults; its processes take several
    // times as long to start and end, so fewer kills keep it within its time.
    constexpr int kKills = 300;
#else
    constexpr int kKills = 1500;
#endif
    for (int i = 0; i < kKills; ++i) {
        const pid_t child = StartSave(target, "Client " + std::to_string(i));
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        Wait(child);
        ASSERT_EQ(384u, fs::file_size(target)) << "after kill " << i;
    }

    const int status = Wait(StartSave(target, "Final"));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(std::set<std::string>{"client.ss"}, names);
    EXPECT_EQ("Final", LoadScenarioFile(target).ClientName);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace velmora
