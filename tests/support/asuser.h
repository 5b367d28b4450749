#pragma once

#include <functional>
#include <string>

// Runs `work` in a child process as the unprivileged user "nobody" (when this process is root,
// as in CI; otherwise as the current user, who is unprivileged already) and returns what it
// returned. File permissions hold for that user as they would for any user. A child that
// crashes returns "child failed".
std::string RunAsUnprivileged(const std::function<std::string()>& work);

// Runs `work` in a child process whose files may grow to at most `maxBytes`: writes beyond
// that fail as on a full disk.
std::string RunWithFileSizeLimit(long maxBytes, const std::function<std::string()>& work);

// Runs `work` in a child process that ends as a kill would (no clean-up) at its `writes`-th
// write or sync of an SQLite file, or never when `writes` is 0; "child failed" when it ended so.
std::string RunKilledAtWrite(int writes, const std::function<std::string()>& work);
