#include "TarvEngine/Commands/BackupRefs.hpp"

#include <map>
#include <string_view>

#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

std::string BackupRefs::transaction(const std::string& repository, const std::string& backup,
                                    const std::string& commit, std::stop_token stop) const {
    // The backup and its numbered siblings, each with the commit it holds.
    auto listing = executor.run({"for-each-ref", "--format=%(refname) %(objectname)", backup, backup + "-*"},
                                repository, stop);
    std::map<std::string, std::string, std::less<>> held;
    bytes::forEachPiece(listing.stdoutBytes(), '\n', [&](std::string_view line) {
        const std::size_t space = line.rfind(' ');
        if (space != std::string_view::npos) held.emplace(line.substr(0, space), line.substr(space + 1));
    });

    const auto taken = held.find(backup);
    if (taken == held.end() || taken->second == commit) return "start\nupdate " + backup + " " + commit + "\n";
    int number = 1;
    while (held.contains(backup + "-" + std::to_string(number))) ++number;
    const std::string older = backup + "-" + std::to_string(number);
    return "start\ncreate " + older + " " + taken->second + "\nupdate " + backup + " " + commit + " " +
           taken->second + "\n";
}

void BackupRefs::check(const std::string& repository, const std::string& lines, std::stop_token stop) const {
    GitExecutor::Options options = write::writing();
    options.stdin = core::toBytes(lines + "prepare\nabort\n");
    executor.run({"update-ref", "--stdin"}, repository, options, stop);
}

void BackupRefs::write(const std::string& repository, const std::string& lines, std::stop_token stop) const {
    GitExecutor::Options options = write::writing();
    options.stdin = core::toBytes(lines + "prepare\ncommit\n");
    executor.run({"update-ref", "--stdin"}, repository, options, stop);
}

void BackupRefs::keep(const std::string& repository, const std::string& backup, const std::string& commit,
                      std::stop_token stop) const {
    write(repository, transaction(repository, backup, commit, stop), stop);
}

}  // namespace tarv::engine
