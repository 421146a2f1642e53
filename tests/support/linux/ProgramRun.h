#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace varnok {

// What a program run printed and how it ended.
struct ProgramResult {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs program in the working directory with the arguments, its environment changed by the
// given variables, standard input fed from input, and waits for it. Standard output and error
// are captured apart; standard output goes to outputFile instead when one is named (such as
// /dev/full). The closed descriptors (0, 1, 2) are closed when the program starts.
ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment,
                         const std::filesystem::path& workingDirectory,
                         const std::string& input = "",
                         const std::filesystem::path& outputFile = {},
                         const std::vector<int>& closedDescriptors = {});

}  // namespace varnok
