// Tests of the checks before the window opens: readable files and a display.
#include "app/window_start.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "base/exceptions.h"

namespace gatool {
namespace {

TEST(DisplayAvailable, FollowsTheDisplayVariablesAndTheChosenPlatform) {
    using Environment = std::map<std::string, std::string>;
    struct Case {
        Environment environment;
        bool available;
    } const cases[] = {
        {{}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, false},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{{"QT_QPA_PLATFORM", ""}}, false},
        {{{"QT_QPA_PLATFORM", "xcb"}}, false},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":1"}}, true},
        {{{"QT_QPA_PLATFORM", "xcb:nograb"}, {"DISPLAY", ":1"}}, true},
        {{{"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":1"}}, false},
        {{{"QT_QPA_PLATFORM", "wayland-egl;xcb"}, {"DISPLAY", ":1"}}, true},
        {{{"QT_QPA_PLATFORM", "wayland;xcb"}}, false},
        {{{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, true},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const auto& [name, value] : c.environment) {
            trace += name + "=" + value + " ";
        }
        SCOPED_TRACE(trace);
        const auto read = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(DisplayAvailable(read), c.available);
    }
}

TEST(RequireReadable, NamesTheFileThatCannotBeRead) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto file = folder / "GA_readable.txt";
    std::ofstream(file) << "Integration time is 0.5 seconds per sample\n";
    EXPECT_NO_THROW(RequireReadable(file));
    std::filesystem::remove(file);
    try {
        RequireReadable(file);
        ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open \"" + file.string() + "\": No such file or directory");
    }
    EXPECT_THROW(RequireReadable(folder), Exception);
}

}  // namespace
}  // namespace gatool
