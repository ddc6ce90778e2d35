#pragma once
// Running the file system tools (mkfs.fat, mtools, umount) without a shell: arguments are
// passed as they are, so names with blanks or quotes need no escaping.

#include <string>
#include <vector>

namespace kx::settings {

// The full path of `name` on PATH, then in /usr/sbin and /sbin (where mkfs.fat lives but a
// user's PATH often does not look); empty when there is none.
std::string FindProgram(const std::string& name);

// Runs argv[0] (looked up with FindProgram) with the rest as its arguments, stdin from
// /dev/null and MTOOLS_SKIP_CHECK=1 added to the environment. Standard output and error go to
// `output` when given and are dropped otherwise. The exit status; -1 when the program cannot
// be found or started, or did not exit normally.
int RunProgram(const std::vector<std::string>& argv, std::string* output = nullptr);

}  // namespace kx::settings
