#pragma once
// Runs hzdot-cli as a user would, through the shared process runner, and brings the shared
// helpers the cli tests use into view.

#include "process.h"
#include "temp_folder.h"
#include "tiny_library.h"

#include <string>
#include <utility>
#include <vector>

using hz::test::fileExists;
using hz::test::kLibraryFiles;
using hz::test::readFile;
using hz::test::recordOf;
using hz::test::TempFolder;
using hz::test::TinyGlyph;
using hz::test::writeFile;
using hz::test::writeLibrary;

using CliResult = hz::test::ProcessResult;

struct CliCall {
    explicit CliCall(std::vector<std::string> arguments, std::string stdinBytes = {})
        : args(std::move(arguments)), input(std::move(stdinBytes)) {}

    std::vector<std::string> args;
    std::string input;      // standard input
    std::string stdoutPath; // when set, standard output goes there instead of being captured
    std::string program = HZDOT_CLI_PATH;
};

inline CliResult runCli(const CliCall& call) {
    hz::test::ProcessCall process;
    process.command = {call.program};
    process.command.insert(process.command.end(), call.args.begin(), call.args.end());
    process.input = call.input;
    process.stdoutPath = call.stdoutPath;
    return hz::test::runProcess(process);
}

inline CliResult runCli(const std::vector<std::string>& args) {
    return runCli(CliCall{args});
}
