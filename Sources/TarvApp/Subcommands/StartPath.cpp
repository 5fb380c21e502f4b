#include "TarvApp/Subcommands/StartPath.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tarv::app::StartPath {
namespace {

std::string expandTilde(const std::string& path, const std::string& home) {
    if (path.empty() || path.front() != '~') return path;
    const std::size_t slash = path.find('/');
    const std::string name = path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
    const std::string rest = slash == std::string::npos ? "" : path.substr(slash);
    const std::string folder = name.empty() ? home : homeOfUser(name);
    if (folder.empty()) return path;
    return folder + rest;
}

std::string standardised(const std::string& absolutePath) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= absolutePath.size()) {
        const std::size_t end = absolutePath.find('/', start);
        const std::string part = absolutePath.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

}  // namespace

std::string homeOfUser(const std::string& name) {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    for (;;) {
        const int error = getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr || found->pw_dir == nullptr) return "";
        return found->pw_dir;
    }
}

std::string absolute(const std::string& path, const std::string& currentDirectory, const std::string& home) {
    std::string expanded = expandTilde(path, home);
    if (expanded.empty() || expanded.front() != '/') expanded = currentDirectory + "/" + expanded;
    return standardised(expanded);
}

}  // namespace tarv::app::StartPath
