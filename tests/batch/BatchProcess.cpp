#include "BatchProcess.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace brisko::test {

namespace {

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t count;
    while ((count = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(count));
    return text;
}

ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment, int signal,
                         const std::function<bool()>& ready, const char* outputFile = nullptr) {
    // Output goes to temporary files so that neither pipe can fill up and block the child.
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    if (out == nullptr || err == nullptr)
        throw std::runtime_error("cannot create temporary files");

    std::vector<std::string> argv{BRISKO_BATCH_EXECUTABLE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> argp;
    for (std::string& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.emplace_back(*e);
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFile != nullptr)
        posix_spawn_file_actions_addopen(&actions, 1, outputFile, O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, fileno(out), 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(err), 2);
    pid_t pid;
    int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start brisko2-batch");

    int status = 0;
    pid_t ended = 0;
    if (signal != 0) {
        while (!ready() && (ended = waitpid(pid, &status, WNOHANG)) == 0)
            usleep(1000);
        if (ended == 0)
            kill(pid, signal);
    }
    if (ended == 0)
        waitpid(pid, &status, 0);
    ProcessResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::rewind(out);
    std::rewind(err);
    result.out = readAll(fileno(out));
    result.err = readAll(fileno(err));
    std::fclose(out);
    std::fclose(err);
    return result;
}

} // namespace

ProcessResult runBatchProcess(const std::vector<std::string>& arguments,
                              const std::vector<std::string>& environment) {
    return runProcess(arguments, environment, 0, {});
}

ProcessResult runBatchProcessWritingTo(const std::vector<std::string>& arguments,
                                       const std::string& outputFile) {
    return runProcess(arguments, {}, 0, {}, outputFile.c_str());
}

ProcessResult runBatchProcessAndSignal(const std::vector<std::string>& arguments, int signal,
                                       const std::function<bool()>& ready) {
    return runProcess(arguments, {}, signal, ready);
}

} // namespace brisko::test
