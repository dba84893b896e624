#pragma once
// Runs hzdot-cli as a user would, capturing what it says and its exit status.

#include <string>
#include <utility>
#include <vector>

struct CliResult {
    int status = -1; // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

struct CliCall {
    explicit CliCall(std::vector<std::string> arguments, std::string stdinBytes = {})
        : args(std::move(arguments)), input(std::move(stdinBytes)) {}

    std::vector<std::string> args;
    std::string input;      // standard input
    std::string stdoutPath; // when set, standard output goes there instead of being captured
    std::string program = HZDOT_CLI_PATH;
};

CliResult runCli(const CliCall& call);
CliResult runCli(const std::vector<std::string>& args);
