#pragma once
// Runs a program found on PATH, as a shell would, and keeps what it printed.

#include <string>
#include <vector>

namespace hz::test {

struct ProcessResult {
    int status = -1;    // exit status; -1 when it did not exit normally
    std::string output; // standard output and standard error together
};

ProcessResult runProgram(const std::vector<std::string>& command);

} // namespace hz::test
