#include "TarvApp/Subcommands/Gallery/GallerySamples.hpp"

#include <string>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Rules/FailureRemedies.hpp"
#include "TarvFeatures/Overlay/BranchPickerState.hpp"
#include "TarvFeatures/Overlay/Overlay.hpp"
#include "TarvFeatures/Palette/PaletteState.hpp"

namespace tarv::app::GallerySamples {
namespace {

using core::ChangeKind;
using core::DiffLine;
using features::AppState;
using features::WorkspaceState;

const std::string sampleHome = "/home/zumbrel";
const std::string repositoryPath = sampleHome + "/src/tarv";
const std::string branch = "feature/galeria";
const std::string keymapSource = "Sources/TarvUI/Keymap/KeymapDefaults.cpp";
const std::string conflictedPath = "Sources/TarvApp/Runtime/RuntimeLoop.cpp";

core::FileChange change(std::string path, ChangeKind kind) {
    core::FileChange file;
    file.path = std::move(path);
    file.kind = kind;
    file.hasUnstagedChanges = true;
    return file;
}

std::vector<core::FileChange> files() {
    return {
        change(keymapSource, ChangeKind::modified),
        change("Sources/TarvUI/Screens/WorkspaceScreen.cpp", ChangeKind::modified),
        change("Sources/TarvApp/Subcommands/Gallery/GallerySamples.cpp", ChangeKind::added),
        change("Notas.md", ChangeKind::untracked),
        change("README.md", ChangeKind::modified),
        change("docs/README.md", ChangeKind::modified),
    };
}

std::vector<core::Commit> commits(std::int64_t now) {
    struct Sample {
        const char* prefix;
        std::int64_t age;
        const char* summary;
    };
    const Sample samples[] = {
        {"4f2c9a1", 300, "Galería: recorre las pantallas"},
        {"b81d3e7", 5400, "Atajos: ctrl-z suspende"},
        {"0c9e4f2", 86400, "Diff: resalta palabras"},
        {"d27a6b5", 172800, "Ramas: filtro en el selector"},
        {"93e1c08", 345600, "Primer commit"},
    };
    std::vector<core::Commit> out;
    for (std::size_t i = 0; i < std::size(samples); ++i) {
        core::Commit commit;
        commit.sha = std::string(samples[i].prefix) + std::string(33, '0');
        if (i + 1 < std::size(samples)) commit.parents = {std::string(samples[i + 1].prefix) + std::string(33, '0')};
        commit.authorName = "Zumbrel Arnau";
        commit.authorEmail = "zumbrel@example.com";
        commit.timestamp = now - samples[i].age;
        commit.summary = samples[i].summary;
        out.push_back(std::move(commit));
    }
    return out;
}

// The text is a literal: the line views it.
DiffLine line(DiffLine::Kind kind, std::string_view text, std::optional<std::int64_t> oldNumber,
              std::optional<std::int64_t> newNumber) {
    return DiffLine{kind, text, oldNumber, newNumber};
}

// Old lines 12 to 18, new lines 12 to 20: six lines of context, one removal
// and three additions.
core::Diff diff() {
    using K = DiffLine::Kind;
    core::DiffHunk hunk;
    hunk.header = "@@ -12,7 +12,9 @@ std::vector<Binding> globalBindings() {";
    hunk.oldStart = 12;
    hunk.oldCount = 7;
    hunk.newStart = 12;
    hunk.newCount = 9;
    hunk.lines = {
        line(K::context, "    std::vector<Binding> table;", 12, 12),
        line(K::context, "    table.push_back(bind(AppCommand::showChanges, {\"1\"}));", 13, 13),
        line(K::context, "    table.push_back(bind(AppCommand::showHistory, {\"2\"}));", 14, 14),
        line(K::removed, "    table.push_back(bind(AppCommand::sync, {\"s\"}));", 15, std::nullopt),
        line(K::added, "    // Sync gets its own key and the palette keeps a name for it.", std::nullopt, 15),
        line(K::added, "    table.push_back(bind(AppCommand::sync, {\"S\"}));", std::nullopt, 16),
        line(K::added, "    table.push_back(bind(AppCommand::fetch, {\"f\"}));", std::nullopt, 17),
        line(K::context, "    table.push_back(bind(AppCommand::commandPalette, {\"ctrl+p\"}));", 16, 18),
        line(K::context, "    table.push_back(bind(AppCommand::help, {\"?\"}));", 17, 19),
        line(K::context, "    return table;", 18, 20),
    };
    core::Diff out;
    out.hunks.push_back(std::move(hunk));
    return out;
}

std::vector<core::CommitFile> commitFiles() {
    return {
        core::CommitFile{keymapSource, ChangeKind::modified, 3, 1},
        core::CommitFile{"Sources/TarvApp/Subcommands/Gallery/GallerySamples.cpp", ChangeKind::added, 180, 0},
        core::CommitFile{"README.md", ChangeKind::modified, 2, 2},
    };
}

std::vector<core::Branch> branches(std::int64_t now) {
    core::Branch current{branch, false, true, "origin/" + branch, 1, 0, now - 300};
    core::Branch main{"main", false, false, "origin/main", 0, 0, now - 86400};
    core::Branch remote{"origin/main", true, false, std::nullopt, 0, 0, now - 86400};
    core::Branch other{"arreglo/atajos", false, false, std::nullopt, 0, 0, now - 604800};
    return {current, main, other, remote};
}

void finishLaunch(AppState& state) {
    state.onboarding.step = features::OnboardingState::Step::done();
    state.registryLoaded = true;
    state.startResolved = true;
    state.launchHandled = true;
}

AppState workspace(core::Language language, std::int64_t now) {
    AppState state = base(language, now);
    const auto history = commits(now);
    WorkspaceState ws(repositoryPath, "tarv", "git@github.com:zumbrel/tarv.git");
    ws.status.branch.head = branch;
    ws.status.branch.objectID = history.front().sha;
    ws.status.branch.upstream = "origin/" + branch;
    ws.status.branch.ahead = 1;
    ws.status.files = files();
    ws.isStatusLoaded = true;
    for (const core::FileChange& file : ws.status.files) ws.changes.knownPaths.insert(file.path);
    ws.changes.included = {keymapSource, "Sources/TarvApp/Subcommands/Gallery/GallerySamples.cpp"};
    ws.changes.selectedPath = keymapSource;
    ws.changes.list.selected = 0;
    ws.changes.diff.begin(keymapSource);
    ws.changes.diff.setDiff(diff());
    ws.summary = core::EditableText("Galería: recorre las pantallas");
    ws.history.commits = history;
    ws.history.hasMore = false;
    ws.history.list.selected = 0;
    ws.history.files = commitFiles();
    ws.history.filesList.selected = 0;
    ws.history.selectedFilePath = keymapSource;
    ws.history.diff.begin(keymapSource);
    ws.history.diff.setDiff(diff());
    ws.branches = branches(now);
    state.workspace = std::move(ws);
    return state;
}

AppState withOverlay(core::Language language, std::int64_t now, features::Overlay overlay) {
    AppState state = workspace(language, now);
    state.overlay = std::move(overlay);
    return state;
}

AppState splitDiff(core::Language language, std::int64_t now) {
    AppState state = workspace(language, now);
    state.workspace->splitDiff = true;
    state.workspace->changes.diff.setSplit(true);
    return state;
}

AppState historyTab(core::Language language, std::int64_t now) {
    AppState state = workspace(language, now);
    state.workspace->tab = WorkspaceState::Tab::history;
    state.workspace->focus = WorkspaceState::Focus::historyList;
    return state;
}

AppState merging(core::Language language, std::int64_t now) {
    AppState state = workspace(language, now);
    WorkspaceState& ws = *state.workspace;
    ws.status.operation = core::RepositoryOperation::merge;
    ws.status.files.insert(ws.status.files.begin(), change(conflictedPath, ChangeKind::conflicted));
    ws.changes.knownPaths.insert(conflictedPath);
    ws.changes.conflicts[conflictedPath] = core::ConflictDocument::parse(
        "void RuntimeLoop::render() {\n"
        "<<<<<<< HEAD\n"
        "    if (externalRunning_) return;\n"
        "=======\n"
        "    if (externalRunning_ || !session_.isRunning()) return;\n"
        ">>>>>>> arreglo/atajos\n"
        "    draw();\n"
        "}\n");
    ws.changes.selectedPath = conflictedPath;
    ws.changes.diff.begin(conflictedPath);
    ws.summary = core::EditableText("Merge branch 'arreglo/atajos' into " + branch);
    return state;
}

AppState syncFailure(core::Language language, std::int64_t now) {
    return withOverlay(
        language, now,
        features::Overlay::message(core::Text::syncFailedTitle(),
                                   core::Text::remoteFailure(core::RemoteFailure::sshKeyMissing()),
                                   {core::FailureFix::useRemoteURL("https://github.com/zumbrel/tarv.git"),
                                    core::FailureFix::openURL(core::FailureRemedies::githubSSHKeysURL())}));
}

AppState onboarding(core::Language language, std::int64_t now) {
    AppState state(language);
    state.now = now;
    state.onboarding.step = features::OnboardingState::Step::identity();
    state.onboarding.name = core::EditableText("Zumbrel Arnau");
    return state;
}

}  // namespace

AppState base(core::Language language, std::int64_t now) {
    AppState state(language);
    state.now = now;
    finishLaunch(state);
    state.repositories = {
        core::RepositoryEntry{repositoryPath, "tarv", "git@github.com:zumbrel/tarv.git", now - 60, std::nullopt},
        core::RepositoryEntry{sampleHome + "/src/Pelk", "Pelk", "git@github.com:zumbrel/Pelk.git", now - 7200, true},
        core::RepositoryEntry{sampleHome + "/notas", "notas", std::nullopt, now - 259200, std::nullopt},
    };
    return state;
}

std::vector<Page> pages(core::Language language, std::int64_t now) {
    using core::AppCommand;
    using core::Text;
    std::vector<Page> out;
    out.push_back({Text::tabChanges(0), workspace(language, now)});
    out.push_back({Text::command(AppCommand::toggleSplitDiff), splitDiff(language, now)});
    out.push_back({Text::tabHistory(), historyTab(language, now)});
    out.push_back({Text::operationConflictsTitle(core::RepositoryOperation::merge), merging(language, now)});
    out.push_back({Text::command(AppCommand::commandPalette), withOverlay(language, now, features::PaletteState())});
    out.push_back({Text::branchesTitle(), withOverlay(language, now, features::BranchPickerState())});
    out.push_back({Text::syncFailedTitle(), syncFailure(language, now)});
    out.push_back({Text::command(AppCommand::help), withOverlay(language, now, features::Overlay::Help{})});
    out.push_back({Text::noRepositoryOpen(), base(language, now)});
    out.push_back({Text::raw("Onboarding"), onboarding(language, now)});
    return out;
}

}  // namespace tarv::app::GallerySamples
