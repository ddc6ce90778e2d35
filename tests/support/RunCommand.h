#pragma once
// Runs a shell command for a test and captures what it prints.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kx::test {

struct CommandResult {
    int status = -1;
    std::string output;  // stdout, and stderr when asked to merge
};

inline CommandResult RunCommand(const std::string& command) {
    CommandResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.output.append(buf.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace kx::test
