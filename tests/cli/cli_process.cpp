#include "cli_process.h"

#include "temp_folder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

extern char** environ;

CliResult runCli(const CliCall& call) {
    TempFolder io;
    const std::string inPath = io.file("stdin");
    const std::string outPath = call.stdoutPath.empty() ? io.file("stdout") : call.stdoutPath;
    const std::string errPath = io.file("stderr");
    writeFile(inPath, call.input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> argStore{call.program};
    argStore.insert(argStore.end(), call.args.begin(), call.args.end());
    std::vector<char*> argv;
    for (auto& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    int rc = posix_spawn(&pid, call.program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + call.program);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);

    CliResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    if (call.stdoutPath.empty())
        result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

CliResult runCli(const std::vector<std::string>& args) {
    return runCli(CliCall{args});
}
