// Shared main for tests that need a QApplication. Widget tests run on the
// offscreen platform so they never need a display and never block on a window.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        std::string runtime = (std::filesystem::temp_directory_path() /
                               ("tessella-tests-runtime-" + std::to_string(getuid())))
                                  .string();
        mkdir(runtime.c_str(), 0700);
        chmod(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    // Recovery copies of the editors the tests start stay out of the user's own folder.
    const std::filesystem::path state = std::filesystem::temp_directory_path() /
                                        ("tessella-tests-state-" + std::to_string(getpid()));
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code error;
    std::filesystem::remove_all(state, error);
    return result;
}
