#include "TarvEngine/Commands/GitWriteCommands.hpp"

#include <filesystem>
#include <set>
#include <variant>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngine/Commands/CommitIndex.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Parsers/GitFailureClassifier.hpp"
#include "TarvEngine/Parsers/StatusParser.hpp"
#include "TarvEngine/Patch/PatchBuilder.hpp"

namespace tarv::engine {

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The mode git would give the working file `path` when adding it: a link
// stays a link, an executable file stays executable unless the repository
// tells git not to trust executable bits.
std::string_view newFileMode(const GitExecutor& executor, const std::string& repository, const std::string& path,
                             std::stop_token stop) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(fs::path(repository) / fs::path(path), error);
    if (error) return PatchBuilder::regularMode;
    if (status.type() == fs::file_type::symlink) return PatchBuilder::symlinkMode;
    if (status.type() != fs::file_type::regular) return PatchBuilder::regularMode;
    if ((status.permissions() & fs::perms::owner_exec) == fs::perms::none) return PatchBuilder::regularMode;
    auto fileMode =
        executor.run({"config", "--type=bool", "--get", "core.fileMode"}, repository, write::reading({0, 1}), stop);
    if (write::trimmedOutput(fileMode) == "false") return PatchBuilder::regularMode;
    return PatchBuilder::executableMode;
}

// Adds to `paths` the original path of every staged rename whose new path
// is in it: committing only the new path would leave the old one in the
// commit, a copy instead of a move. Runs against the index as the user left
// it.
void addRenameSources(const GitExecutor& executor, const std::string& repository, std::vector<std::string>& paths,
                      std::stop_token stop) {
    auto renames = executor.run({"diff", "--cached", "--name-status", "-z", "-M", "--diff-filter=R", "HEAD"},
                                repository, stop);
    // Records of three NUL-ended fields: status, original path, new path.
    std::vector<std::string_view> fields;
    bytes::forEachPiece(renames.stdoutBytes(), '\0', [&](std::string_view field) { fields.push_back(field); });
    const std::set<std::string_view> chosen(paths.begin(), paths.end());
    std::vector<std::string> sources;
    for (std::size_t i = 0; i + 2 < fields.size(); i += 3) {
        if (chosen.contains(fields[i + 2]) && !chosen.contains(fields[i + 1])) sources.emplace_back(fields[i + 1]);
    }
    paths.insert(paths.end(), sources.begin(), sources.end());
}

// From how many whole paths a commit of whole files first asks git whether
// they are every change there is: "add" matches each path it is given
// against every entry, so thousands of paths cost far more than one walk of
// the whole tree.
constexpr std::size_t wholeTreeFrom = 200;

// Whether `path` (an index entry) is one of `chosen` or lies in a folder
// that is.
bool isChosen(const std::set<std::string>& chosen, const std::string& path) {
    if (chosen.contains(path) || chosen.contains(path + "/")) return true;
    for (auto slash = path.rfind('/'); slash != std::string::npos && slash > 0; slash = path.rfind('/', slash - 1)) {
        if (chosen.contains(path.substr(0, slash)) || chosen.contains(path.substr(0, slash + 1))) return true;
    }
    return false;
}

// When the working tree's changes against the index named by `environment`
// are all among `paths`, stages them with one whole-tree "add -A" and
// returns the paths still to add one by one (chosen paths without a change,
// or ignored ones, which the whole-tree add leaves out); otherwise returns
// `paths` untouched. The index then holds exactly what adding `paths` one
// by one gives.
std::vector<std::string> addWholeTreeWhenAllChosen(const GitExecutor& executor, const std::string& repository,
                                                    std::vector<std::string> paths,
                                                    const std::map<std::string, std::string>& environment,
                                                    std::stop_token stop) {
    GitExecutor::Options listing = write::reading({0});
    listing.environment = environment;
    auto status =
        executor.run({"status", "--porcelain=v2", "-z", "--untracked-files=all"}, repository, listing, stop);
    std::set<std::string> changed;
    for (const auto& file : StatusParser::parse(status.stdoutBytes()).files) {
        changed.insert(file.path);
        if (file.originalPath) changed.insert(*file.originalPath);
    }
    const std::set<std::string_view> chosen(paths.begin(), paths.end());
    for (const auto& path : changed) {
        if (!chosen.contains(path)) return paths;
    }
    GitExecutor::Options adding = write::writing();
    adding.environment = environment;
    executor.run({"add", "-A"}, repository, adding, stop);
    std::erase_if(paths, [&](const std::string& path) { return changed.contains(path); });
    return paths;
}

// Adds the whole `paths` and applies the chosen lines of `partials` to the
// index named by `environment` (none: the user's own).
void stageSelection(const GitExecutor& executor, const std::string& repository, std::vector<std::string> paths,
                    const std::vector<core::PartialSelection>& partials,
                    const std::map<std::string, std::string>& environment, bool mayAddWholeTree,
                    std::stop_token stop) {
    if (mayAddWholeTree && partials.empty() && paths.size() >= wholeTreeFrom) {
        paths = addWholeTreeWhenAllChosen(executor, repository, std::move(paths), environment, stop);
    }
    // What is in the working tree is added; what is gone is removed from the
    // index, and a path already gone from both (a deletion staged during a
    // merge) is a deletion to commit, not an error.
    std::vector<std::string> present;
    std::vector<std::string> missing;
    for (auto& path : paths) {
        (write::presentInWorkingTree(repository, path) ? present : missing).push_back(std::move(path));
    }
    GitExecutor::Options naming = write::writingPaths();
    naming.environment.insert(environment.begin(), environment.end());
    write::runWithPathsOnInput(executor, {"add", "-A", "-f"}, present, repository, naming, stop);
    write::runWithPathsOnInput(executor, {"rm", "--cached", "-r", "-f", "-q", "--ignore-unmatch"}, missing, repository,
                               naming, stop);

    // The patches of all partial files go to one "apply", which takes all of
    // them or none (one git process however many files).
    std::string patches;
    for (const auto& partial : partials) {
        const std::string_view mode =
            partial.isNewFile ? newFileMode(executor, repository, partial.path, stop) : PatchBuilder::regularMode;
        if (auto patch = PatchBuilder::patch(partial.path, partial.isNewFile, partial.diff, partial.lines, mode)) {
            patches += *patch;
        }
    }
    if (!patches.empty()) {
        GitExecutor::Options options = write::writing();
        options.environment = environment;
        options.stdin = core::toBytes(patches);
        executor.run({"apply", "--cached", "--recount", "--whitespace=nowarn", "-"}, repository, options, stop);
    }
}

// Commits the index named by `environment` (none: the user's own).
void commitIndex(const GitExecutor& executor, const std::string& repository, const core::CommitMessage& message,
                 bool amend, const std::map<std::string, std::string>& environment, std::stop_token stop) {
    std::vector<std::string> arguments{"commit", "-q"};
    if (amend) arguments.push_back("--amend");
    arguments.insert(arguments.end(), {"-F", "-"});
    GitExecutor::Options options = write::writing();
    options.environment = environment;
    options.stdin = core::toBytes(message.fullText());
    try {
        executor.run(arguments, repository, options, stop);
    } catch (const core::GitError& error) {
        if (const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value)) {
            if (auto local = GitFailureClassifier::classifyLocal(failed->stderr)) throw *local;
        }
        throw;
    }
}

}  // namespace

void GitWriteCommands::commit(const std::string& repository, const core::CommitMessage& message,
                              const core::CommitSelection& selection, bool amend, std::stop_token stop) const {
    if (!amend && selection.isEmpty()) write::refuse(WriteMessages::emptySelection);
    if (core::text::trimmedView(message.summary).empty()) write::refuse(WriteMessages::emptySummary);

    // While a merge is in progress its index (with the user's resolutions)
    // is the base, and the selection is added on top of it.
    auto merge = executor.run({"rev-parse", "-q", "--verify", "MERGE_HEAD"}, repository, write::reading({0, 1}), stop);
    if (merge.exitCode == 0) {
        stageSelection(executor, repository, selection.wholePaths, selection.partials, {}, false, stop);
        commitIndex(executor, repository, message, amend, {}, stop);
        return;
    }

    // Otherwise the commit is built in a private index that starts from
    // HEAD, so that it holds the selection and nothing else; afterwards the
    // committed paths of the user's index follow the commit and every other
    // path keeps what the user staged. The user's index stays locked from
    // before it is first read until it follows the commit.
    std::optional<std::string> head;
    auto probe = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (probe.exitCode == 0) head = write::trimmedOutput(probe);
    CommitIndex index(executor, repository, head, stop);
    std::vector<std::string> paths = selection.wholePaths;
    if (head && !paths.empty()) addRenameSources(executor, repository, paths, stop);
    std::set<std::string> chosen(paths.begin(), paths.end());
    for (const auto& partial : selection.partials) chosen.insert(partial.path);

    stageSelection(executor, repository, std::move(paths), selection.partials, index.environment(), true, stop);
    index.prepare([&](const std::string& path) { return isChosen(chosen, path); }, stop);
    commitIndex(executor, repository, message, amend, index.environment(), stop);
    index.publish(stop);
}

void GitWriteCommands::amend(const std::string& repository, const core::CommitMessage& message,
                             const core::CommitSelection& selection, std::stop_token stop) const {
    auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (head.exitCode != 0) write::refuse(WriteMessages::nothingToAmend);
    commit(repository, message, selection, true, stop);
}

void GitWriteCommands::initRepository(const std::string& path, std::stop_token stop) const {
    auto configured = executor.run({"config", "--get", "init.defaultBranch"}, path, write::reading({0, 1}), stop);
    if (!write::trimmedOutput(configured).empty()) {
        executor.run({"init", "-q"}, path, write::writing(), stop);
    } else {
        executor.run({"init", "-q", "-b", "main"}, path, write::writing(), stop);
    }
}

}  // namespace tarv::engine
