#pragma once
// Runs a program as a user would, capturing what it says and how it ended.

#include <string>
#include <vector>

namespace hz::test {

struct ProcessCall {
    std::vector<std::string> command;     // the program (a full path, or a name looked up on PATH), then its arguments
    std::vector<std::string> environment; // NAME=VALUE added to this process's own
    std::string input;                    // standard input
    std::string stdoutPath;               // when set, standard output goes to this file instead of being captured
    bool closedOutput = false;            // standard output is a pipe whose reader has already gone
    long failAllocationAt = 0;            // when set, the allocation failure injector makes that operator new fail
};

struct ProcessResult {
    int status = -1; // exit status; -1 when ended by a signal
    int signal = 0;  // the signal that ended it
    std::string out;
    std::string err;
};

ProcessResult runProcess(const ProcessCall& call);

// How many allocations the call makes, counted by the injector; 0 when the run fails.
long countAllocations(ProcessCall call);

// hzdot-mkfont as the build made it, with nothing on standard input.
ProcessResult runMkfont(const std::vector<std::string>& args);

} // namespace hz::test
