#pragma once
// Runs a program as a user would, capturing what it says and how it ended.

#include <string>
#include <vector>

namespace hz::test {

struct ProcessCall {
    std::vector<std::string> command;     // the program's full path, then its arguments
    std::vector<std::string> environment; // NAME=VALUE added to this process's own
    std::string input;                    // standard input
    bool closedOutput = false;            // standard output is a pipe whose reader has already gone
};

struct ProcessResult {
    int status = -1; // exit status; -1 when ended by a signal
    int signal = 0;  // the signal that ended it
    std::string out;
    std::string err;
};

ProcessResult runProcess(const ProcessCall& call);

} // namespace hz::test
