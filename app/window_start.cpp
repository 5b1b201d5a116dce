// \brief Checks before the window opens; see window_start.h.
#include "app/window_start.h"

#include <algorithm>
#include <string_view>

#include "data/input_stream.h"

namespace gatool {

const char* const NoDisplayMessage =
    "gatool: cannot open the window without a display (DISPLAY or WAYLAND_DISPLAY); "
    "\"gatool analyze\" works without one";

void RequireReadable(const std::filesystem::path& file) {
    InputStream::FromFile(file).Peek();
}

namespace {

bool IsSet(const EnvironmentReader& environment, const char* name) {
    const char* value = environment(name);
    return value != nullptr && *value != '\0';
}

// Whether the platform plugin `name` finds what it draws on.
bool PlatformUsable(std::string_view name, const EnvironmentReader& environment) {
    if (name == "xcb") {
        return IsSet(environment, "DISPLAY");
    }
    if (name.starts_with("wayland")) {
        return IsSet(environment, "WAYLAND_DISPLAY");
    }
    return !name.empty();
}

}  // namespace

bool DisplayAvailable(const EnvironmentReader& environment) {
    const char* platforms = environment("QT_QPA_PLATFORM");
    if (platforms == nullptr || *platforms == '\0') {
        return IsSet(environment, "DISPLAY") || IsSet(environment, "WAYLAND_DISPLAY");
    }
    std::string_view list = platforms;
    while (!list.empty()) {
        const std::string_view entry = list.substr(0, list.find(';'));
        if (PlatformUsable(entry.substr(0, entry.find(':')), environment)) {
            return true;
        }
        list.remove_prefix(std::min(entry.size() + 1, list.size()));
    }
    return false;
}

}  // namespace gatool
