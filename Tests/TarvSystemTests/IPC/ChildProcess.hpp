#pragma once

#include <map>
#include <string>
#include <vector>

namespace tarv::testing {

// Runs a program to its end with exactly the given environment (nothing
// inherited) and standard input on /dev/null; returns its exit status
// (128 + signal when a signal ended it) and what it wrote.
struct ChildOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ChildOutcome runChild(const std::string& path, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment,
                      const std::string& workingDirectory = {});

}  // namespace tarv::testing
