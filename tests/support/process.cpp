#include "process.h"

#include "temp_folder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace hz::test {

ProcessResult runProcess(const ProcessCall& call) {
    TempFolder io;
    const std::string inPath = io.file("stdin"), errPath = io.file("stderr");
    const std::string outPath = call.stdoutPath.empty() ? io.file("stdout") : call.stdoutPath;
    writeFile(inPath, call.input);

    int pipeEnds[2] = {-1, -1};
    if (call.closedOutput && ::pipe(pipeEnds) != 0)
        throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    if (call.closedOutput) {
        ::close(pipeEnds[0]);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> store = call.command;
    std::vector<char*> argv;
    for (auto& arg : store)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e)
        envStore.emplace_back(*e);
    envStore.insert(envStore.end(), call.environment.begin(), call.environment.end());
    if (call.failAllocationAt > 0)
        envStore.insert(envStore.end(),
                        {"LD_PRELOAD=" HZ_FAIL_NEW_PATH, "HZ_FAIL_NEW_AT=" + std::to_string(call.failAllocationAt)});
    std::vector<char*> envp;
    for (auto& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (call.closedOutput)
        ::close(pipeEnds[1]);
    if (rc != 0)
        throw std::runtime_error("cannot start " + call.command.front());
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);

    ProcessResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.signal = WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0;
    if (!call.closedOutput && call.stdoutPath.empty())
        result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

long countAllocations(ProcessCall call) {
    TempFolder io;
    const std::string countPath = io.file("count");
    call.failAllocationAt = 0;
    call.environment.insert(call.environment.end(), {"LD_PRELOAD=" HZ_FAIL_NEW_PATH, "HZ_COUNT_NEW_TO=" + countPath});
    if (runProcess(call).status != 0)
        return 0;
    const std::string count = readFile(countPath);
    return count.empty() ? 0 : std::stol(count);
}

ProcessResult runMkfont(const std::vector<std::string>& args) {
    ProcessCall call;
    call.command = {HZDOT_MKFONT_PATH};
    call.command.insert(call.command.end(), args.begin(), args.end());
    return runProcess(call);
}

} // namespace hz::test
