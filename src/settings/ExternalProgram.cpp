#include "settings/ExternalProgram.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kx::settings {

namespace {

bool IsExecutable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutable(name) ? name : std::string();
    std::string dirs = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    dirs += ":/usr/sbin:/sbin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && IsExecutable(dir + "/" + name)) return dir + "/" + name;
        start = end + 1;
    }
    return {};
}

int RunProgram(const std::vector<std::string>& argv, std::string* output) {
    if (argv.empty()) return -1;
    const std::string program = FindProgram(argv[0]);
    if (program.empty()) return -1;

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::string skipCheck = "MTOOLS_SKIP_CHECK=1";
    std::vector<char*> env;
    for (char** e = environ; e && *e; ++e)
        if (std::string_view(*e).rfind("MTOOLS_SKIP_CHECK=", 0) != 0) env.push_back(*e);
    env.push_back(skipCheck.data());
    env.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string collected;
    if (spawned == 0) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
            if (n < 0) {
                if (errno == EINTR) continue;
                break;
            }
            collected.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(pipeFds[0]);
    if (spawned != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (output) *output = std::move(collected);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace kx::settings
