#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnok {

// What the command line asks for. Without options Varnok looks for the real keyboard.
struct CommandLineOptions {
    std::optional<std::string> virtualKeyboardFile;  // run against the simulated keyboard
    std::optional<std::string> hidTraceFile;         // log every feature report
    std::optional<std::string> mapFile;              // msmap.dat elsewhere than the data folder
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    CommandLineOptions options;
    std::string error;  // empty when the command line is usable
    // What Qt's own options left for the toolkit (program name first).
    std::vector<std::string> toolkitArguments;
};

// Reads the program's arguments (argv[0] included). Options take their value as the next
// argument or after "="; single-dash options are the toolkit's (-platform offscreen, -style
// fusion, ...) and are handed on untouched.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The options, and where this user's files are: the map file (msmap.dat) and the settings.
std::string UsageText(const std::string& program, const std::string& mapFile,
                      const std::string& settingsFile);

}  // namespace varnok
