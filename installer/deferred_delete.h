#pragma once
#include <string>

namespace bv::installer {

// When `path` is the running program's own file, starts a hidden helper that
// deletes it as soon as the program has ended, and returns true. Works for a
// standard user: a delete-at-reboot entry would need administrator rights.
bool deleteOwnFileAfterExit(const std::string& path);

}  // namespace bv::installer
