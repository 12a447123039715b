// Test main for widget tests: a QApplication on the offscreen platform, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/money.h"

// Whatever Qt or the program would store goes to fresh folders of the test's own,
// never into the user's configuration; they are removed at the end.
std::string FreshFolder(const char* variable) {
    std::string folder = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr)
        return {};
    setenv(variable, folder.c_str(), 1);
    return folder;
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string folders[] = {FreshFolder("XDG_CONFIG_HOME"), FreshFolder("XDG_DATA_HOME"),
                                   FreshFolder("XDG_CACHE_HOME")};
    velmora::SetArithmeticContext();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    for (const std::string& folder : folders) {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }
    return result;
}
