#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::testing {

// A private temporary folder for tests that run the real git: a home folder,
// a global configuration file (identity set, signing off, default branch
// "main") and a repository folder. Every git command it runs gets HOME,
// GIT_CONFIG_GLOBAL, GIT_CONFIG_NOSYSTEM and the XDG folders pointing into
// the temporary folder, so the user's own configuration is never read. The
// folder is removed when the object goes.
class TempGitRepo {
public:
    struct Output {
        int exitCode = -1;
        std::string out;
        std::string err;
    };

    enum class Start { initialised, emptyFolder };

    explicit TempGitRepo(Start start = Start::initialised);
    ~TempGitRepo();
    TempGitRepo(const TempGitRepo&) = delete;
    TempGitRepo& operator=(const TempGitRepo&) = delete;

    // The temporary folder holding everything below.
    const std::string& root() const { return root_; }
    // The repository's working tree.
    const std::string& path() const { return path_; }
    const std::string& home() const { return home_; }
    const std::string& globalConfig() const { return globalConfig_; }

    // The variables every git run of this object gets on top of the test's
    // environment (HOME, GIT_CONFIG_GLOBAL, GIT_CONFIG_NOSYSTEM, XDG_*).
    std::map<std::string, std::string> environment() const;

    // `git init -b <branch>` in the repository folder.
    void init(const std::string& branch = "main");

    // Writes a file below the working tree (folders are created); the
    // relative path is used as bytes, so any file name works.
    void writeFile(std::string_view relativePath, std::string_view contents);
    std::string readFile(std::string_view relativePath) const;
    void removeFile(std::string_view relativePath);
    bool exists(std::string_view relativePath) const;

    // A new folder inside the temporary folder (for clones, bare remotes,
    // worktrees); returns its absolute path.
    std::string makeFolder(std::string_view name);

    // Runs git with the given arguments in `directory` (default: the
    // repository) and returns what happened; never fails the test itself.
    Output run(const std::vector<std::string>& arguments, const std::optional<std::string>& directory = std::nullopt,
               std::string_view input = {}, const std::map<std::string, std::string>& extraEnvironment = {}) const;

    // Runs git and fails the current test (ADD_FAILURE) when it exits with
    // anything but 0; returns its standard output.
    std::string git(const std::vector<std::string>& arguments,
                    const std::optional<std::string>& directory = std::nullopt) const;

    // Stages everything (`add -A`) and commits with a fixed, increasing date;
    // returns the new commit's id.
    std::string commitAll(const std::string& message);
    // Commits what is staged, with the same dates; returns the id.
    std::string commit(const std::string& message, const std::vector<std::string>& extraArguments = {});

    // `git config <key> <value>` in the repository.
    void setConfig(const std::string& key, const std::string& value) const;

    // The full id of a revision.
    std::string revParse(const std::string& revision) const;

private:
    std::string root_;
    std::string home_;
    std::string globalConfig_;
    std::string path_;
    int commitCount_ = 0;
};

// Runs a program to its end with the given environment overrides layered on
// the test's own environment; standard input gets `input`.
TempGitRepo::Output runProgram(const std::string& executable, const std::vector<std::string>& arguments,
                               const std::optional<std::string>& directory,
                               const std::map<std::string, std::string>& environment, std::string_view input = {});

}  // namespace tarv::testing
