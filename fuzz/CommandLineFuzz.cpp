// Varnok's command line: whatever it accepts, written back as options, is read the same.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "app/CommandLine.h"

namespace {

// The input's NUL-separated parts, after the program name.
std::vector<std::string> Arguments(const std::uint8_t* bytes, std::size_t size) {
    std::vector<std::string> arguments = {"varnok"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(bytes[i]);
        }
    }
    arguments.push_back(current);
    return arguments;
}

void AddOption(std::vector<std::string>& arguments, const char* name,
               const std::optional<std::string>& value) {
    if (value) arguments.push_back(std::string(name) + "=" + *value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const ParsedCommandLine parsed = ParseCommandLine(Arguments(bytes, size));
    if (!parsed.error.empty()) return 0;

    // The options first: a toolkit option at the end would take the next argument as its value.
    std::vector<std::string> written = {"varnok"};
    const CommandLineOptions& options = parsed.options;
    AddOption(written, "--virtual-keyboard", options.virtualKeyboardFile);
    AddOption(written, "--hid-trace", options.hidTraceFile);
    AddOption(written, "--map", options.mapFile);
    if (options.help) written.push_back("--help");
    if (options.version) written.push_back("--version");
    written.insert(written.end(), parsed.toolkitArguments.begin() + 1,
                   parsed.toolkitArguments.end());

    const ParsedCommandLine again = ParseCommandLine(written);
    Require(again.error.empty(), "what was accepted is accepted again");
    const CommandLineOptions& read = again.options;
    Require(read.virtualKeyboardFile == options.virtualKeyboardFile &&
                read.hidTraceFile == options.hidTraceFile && read.mapFile == options.mapFile &&
                read.help == options.help && read.version == options.version,
            "parse-write-parse gives the same options");
    Require(again.toolkitArguments == parsed.toolkitArguments,
            "the toolkit gets the same arguments");
    return 0;
}
