#pragma once

#include <string>

namespace korvex::platform {

// rename(2) that fails with EEXIST instead of replacing `to`; answers 0 or
// the error number. The names are relative to the open folders `fromFd` and
// `toFd` (or AT_FDCWD).
int renameAtWithoutReplacing(int fromFd, const std::string& from, int toFd, const std::string& to);
int renameWithoutReplacing(const std::string& from, const std::string& to);

// The same for file systems whose rename cannot be told not to replace:
// a file gets a second link under the new name (which fails if the name is
// taken) before the old one goes; where links are not allowed, and for a
// folder, the new name is first taken by an empty entry of the same kind
// that only this call made, which the rename then replaces.
int renameAtWithoutReplacingByReserving(int fromFd, const std::string& from, int toFd,
                                        const std::string& to);

}  // namespace korvex::platform
