#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tarv::system::KeychainTool {

// The keychain stand-in tool. It understands exactly the commands that the
// secret store sends to the system's keychain tool:
//
//   -i                    reads command lines from `input`, one per line:
//     add-generic-password [-U] -s SERVICE -a ACCOUNT -l "LABEL" -X HEX ["KEYCHAIN"]
//   find-generic-password -s SERVICE -w [KEYCHAIN]     prints the data and a line feed
//   delete-generic-password -s SERVICE [KEYCHAIN]
//
// A command line is split at blanks; a double-quoted stretch is one word
// without its quotes; there is no other escaping. Items live in the item file
// at KEYCHAIN when given, else at `defaultKeychain`. The exit status is 0 on
// success, 44 when no item matches, 45 when an item exists already (add
// without -U), 1 for other failures and 2 for a command it does not know;
// messages go to `errors`. In interactive mode the status is that of the
// first command that failed.
int run(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output, std::ostream& errors,
        const std::string& defaultKeychain);

// Where the stand-in executable lives: "tarv-keychain" beside this process's
// own executable (both are built and installed into one folder).
std::string standInPath();

// The words of one interactive command line.
std::vector<std::string> splitCommandLine(const std::string& line);

}  // namespace tarv::system::KeychainTool
