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
                         const std::function<bool()>& ready) {
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

ProcessResult runBatchProcessAndSignal(const std::vector<std::string>& arguments, int signal,
                                       const std::function<bool()>& ready) {
    return runProcess(arguments, {}, signal, ready);
}

Records records(const std::string& out) {
    std::vector<std::vector<std::string>> result;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::vector<std::string> fields;
        std::size_t fieldStart = start;
        while (true) {
            std::size_t tab = out.find('\t', fieldStart);
            if (tab == std::string::npos || tab > end) {
                fields.push_back(out.substr(fieldStart, end - fieldStart));
                break;
            }
            fields.push_back(out.substr(fieldStart, tab - fieldStart));
            fieldStart = tab + 1;
        }
        result.push_back(std::move(fields));
        start = end + 1;
    }
    return result;
}

Records only(const Records& all, const std::string& name) {
    Records picked;
    for (const auto& record : all)
        if (!record.empty() && record[0] == name)
            picked.push_back(record);
    return picked;
}

} // namespace brisko::test
