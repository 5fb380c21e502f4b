#pragma once

#include <string>

namespace tarv::app::StartPath {

// The absolute, standardised form of a start path given on the command line:
//
// - A leading "~" alone or before "/" stands for `home`. "~name" stands for
//   the home folder of the user `name` as the password database records it;
//   when there is no such user (or no home recorded), the path is kept as
//   written. A home folder is never guessed from a name.
// - A relative result is taken from `currentDirectory`.
// - "." components and empty ones are dropped; ".." removes the component
//   before it (never climbing above "/"). No link is resolved.
// - The result has no trailing "/" (except "/" itself).
std::string absolute(const std::string& path, const std::string& currentDirectory, const std::string& home);

// The home folder of a user from the password database; empty when the user
// is unknown.
std::string homeOfUser(const std::string& name);

}  // namespace tarv::app::StartPath
