#include "app/CommandLine.h"

#include <array>
#include <string_view>

namespace varnok {
namespace {

// The toolkit's options that take a value as the next argument.
constexpr std::array<std::string_view, 14> kToolkitOptionsWithValue = {
    "-platform",        "-platformpluginpath",
    "-platformtheme",   "-plugin",
    "-display",         "-style",
    "-stylesheet",      "-geometry",
    "-qwindowgeometry", "-title",
    "-qwindowtitle",    "-qwindowicon",
    "-session",         "-name"};

bool TakesToolkitValue(std::string_view option) {
    for (std::string_view known : kToolkitOptionsWithValue) {
        if (option == known) return true;
    }
    return false;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    ParsedCommandLine parsed;
    if (!arguments.empty()) parsed.toolkitArguments.push_back(arguments[0]);

    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.starts_with("--")) {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            std::optional<std::string> value;
            if (equals != std::string::npos) value = argument.substr(equals + 1);

            std::optional<std::string>* target = nullptr;
            if (name == "--virtual-keyboard") {
                target = &parsed.options.virtualKeyboardFile;
            } else if (name == "--hid-trace") {
                target = &parsed.options.hidTraceFile;
            } else if (name == "--map") {
                target = &parsed.options.mapFile;
            } else if ((name == "--help" || name == "--version") && !value) {
                (name == "--help" ? parsed.options.help : parsed.options.version) = true;
                continue;
            } else {
                parsed.error = "unknown option: " + argument;
                return parsed;
            }
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    parsed.error = "option " + name + " needs a FILE";
                    return parsed;
                }
                value = arguments[++i];
            }
            if (value->empty()) {
                parsed.error = "option " + name + " needs a FILE";
                return parsed;
            }
            *target = *value;
        } else if (argument.size() > 1 && argument[0] == '-') {
            parsed.toolkitArguments.push_back(argument);
            if (TakesToolkitValue(argument) && i + 1 < arguments.size()) {
                parsed.toolkitArguments.push_back(arguments[++i]);
            }
        } else {
            parsed.error = "unexpected argument: " + argument;
            return parsed;
        }
    }
    return parsed;
}

std::string UsageText(const std::string& program, const std::string& mapFile,
                      const std::string& settingsFile) {
    return "Usage: " + program +
           " [options]\n"
           "Configure the keys of a programmable USB keyboard.\n"
           "\n"
           "Options:\n"
           "  --map FILE               keep the keys' texts and definitions in FILE instead of\n"
           "                           the map file below (to carry them to another machine)\n"
           "  --virtual-keyboard FILE  use a simulated keyboard whose key table is kept in FILE\n"
           "                           (created when missing) instead of the real keyboard\n"
           "  --hid-trace FILE         log every feature report exchanged with the keyboard\n"
           "  --help                   show this help and exit\n"
           "  --version                show the version and exit\n"
           "\n"
           "Files:\n"
           "  " +
           mapFile +
           "\n"
           "      the map file: each key's text and definition as the window shows them; a\n"
           "      msmap.dat in the working directory is copied here at the first start\n"
           "  " +
           settingsFile +
           "\n"
           "      the language, the number of keys shown and each key's function\n";
}

}  // namespace varnok
