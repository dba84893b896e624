#include "process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace hz::test {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

ProcessResult runProcess(const ProcessCall& call) {
    std::string folder = (std::filesystem::temp_directory_path() / "hz-process-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        throw std::runtime_error("cannot make a temporary folder");
    const std::string inPath = folder + "/stdin", outPath = folder + "/stdout", errPath = folder + "/stderr";
    std::ofstream(inPath, std::ios::binary) << call.input;

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
    std::vector<char*> envp;
    for (auto& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
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
    if (!call.closedOutput)
        result.out = readAll(outPath);
    result.err = readAll(errPath);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}

} // namespace hz::test
