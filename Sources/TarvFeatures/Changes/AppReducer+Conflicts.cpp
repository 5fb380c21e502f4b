// Conflict resolution in the Changes tab: reading a conflicted file into a
// document, choosing a side per block (each choice is written back at once,
// and the file is marked resolved when no block is left), the block cursor
// and scrolling, and resolving or marking a whole file.
//
// Reads and writes go through the file store's working-tree calls, which
// never follow a symbolic link on the way (the file or a folder of its path
// may point outside the repository). Writes replace the file atomically
// (a temporary file in the same folder, renamed over it), so a failed write
// leaves the previous text whole. They are writes of the repository's lane:
// never stopped half-way, and run in the order of the choices, so the text
// of the newest choice (which holds the ones before it) lands last. A
// choice is made on the text that was read; when the file holds something
// else by the time it is written (saved from an editor meanwhile), nothing
// is written and the file is read again.
#include <algorithm>
#include <exception>
#include <utility>

#include "TarvCore/Models/Bytes.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Text/Utf8.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// The stored document of the selected file while it is conflicted.
const core::ConflictDocument* selectedDocument(const WorkspaceState& workspace) {
    const ChangesState& changes = workspace.changes;
    const core::FileChange* file = changes.selectedFile(workspace.status);
    if (!file || file->kind != core::ChangeKind::conflicted) return nullptr;
    const auto found = changes.conflicts.find(file->path);
    return found == changes.conflicts.end() ? nullptr : &found->second;
}

void clampOffset(WorkspaceState& workspace, const core::ConflictDocument& document, std::int64_t offset) {
    const auto rows = static_cast<std::int64_t>(document.rows().size());
    const std::int64_t page = std::max<std::int64_t>(workspace.viewports.diff, 1);
    workspace.changes.conflictOffset = std::clamp<std::int64_t>(offset, 0, std::max<std::int64_t>(rows - page, 0));
}

std::int64_t lastBlock(const core::ConflictDocument& document) {
    return std::max<std::int64_t>(document.conflictCount() - 1, 0);
}

std::optional<core::ConflictDocument> parsedDocument(const std::optional<core::Bytes>& bytes) {
    if (!bytes) return std::nullopt;
    const std::string_view text = core::byteView(*bytes);
    if (!core::text::isValidUtf8(text)) return std::nullopt;
    return core::ConflictDocument::parse(text);
}

// The answer of a read of `path` that gave `bytes`.
WorkspaceAction::ConflictLoaded loaded(const std::string& path, const std::optional<core::Bytes>& bytes) {
    const std::uint64_t fingerprint = bytes ? conflictFingerprint(core::byteView(*bytes)) : 0;
    return {path, parsedDocument(bytes), fingerprint};
}

bool holdsOneOf(const std::optional<core::Bytes>& bytes, const std::vector<std::uint64_t>& known) {
    return bytes && std::find(known.begin(), known.end(), conflictFingerprint(core::byteView(*bytes))) != known.end();
}

}  // namespace

AppEffect AppReducer::loadConflict(const WorkspaceState& workspace, const std::string& path) const {
    return AppEffect::run("conflict-read-" + path, [files = dependencies_.files, root = workspace.path,
                                                    path](AppEffect::Send send, std::stop_token) {
        WorkspaceAction::ConflictLoaded answer{path, std::nullopt};
        try {
            answer = loaded(path, files->readFileInWorkingTree(root, path));
        } catch (...) {
            answer.document.reset();
        }
        send(std::move(answer));
    });
}

void AppReducer::conflictLoaded(WorkspaceState& workspace, const std::string& path,
                                std::optional<core::ConflictDocument> document, std::uint64_t fingerprint) const {
    const auto& files = workspace.status.files;
    const bool conflicted = std::any_of(files.begin(), files.end(), [&](const core::FileChange& file) {
        return file.path == path && file.kind == core::ChangeKind::conflicted;
    });
    if (!conflicted) return;
    ChangesState& changes = workspace.changes;
    if (!document) {
        changes.conflicts.erase(path);
        changes.conflictTexts.erase(path);
        return;
    }
    changes.conflictTexts[path] = {fingerprint};
    const core::ConflictDocument& stored = changes.conflicts.insert_or_assign(path, std::move(*document)).first->second;
    if (changes.selectedPath != path) return;
    changes.conflictCursor = std::min(changes.conflictCursor, lastBlock(stored));
    clampOffset(workspace, stored, changes.conflictOffset);
}

AppEffect AppReducer::chooseConflict(WorkspaceState& workspace, std::int64_t block, core::ConflictChoice choice) const {
    ChangesState& changes = workspace.changes;
    if (!changes.selectedPath) return AppEffect::none();
    const std::string path = *changes.selectedPath;
    const auto found = changes.conflicts.find(path);
    if (found == changes.conflicts.end() || block < 0 || block >= found->second.conflictCount()) {
        return AppEffect::none();
    }
    found->second = found->second.resolving(block, choice);
    const core::ConflictDocument& document = found->second;
    changes.conflictCursor = std::min(block, lastBlock(document));
    clampOffset(workspace, document, changes.conflictOffset);

    std::vector<std::uint64_t>& texts = changes.conflictTexts[path];
    std::vector<std::uint64_t> known = texts;
    std::string text = document.render();
    texts.push_back(conflictFingerprint(text));
    return AppEffect::write("conflict-write", writeLane(workspace.path),
                            [files = dependencies_.files, repository = dependencies_.repository,
                             repositoryPath = workspace.path, path, text = std::move(text), known = std::move(known),
                             resolved = !document.hasConflicts()](AppEffect::Send send, std::stop_token) {
        try {
            const std::optional<core::Bytes> onDisk = files->readFileInWorkingTree(repositoryPath, path);
            if (!holdsOneOf(onDisk, known)) {
                send(loaded(path, onDisk));
                return;
            }
            files->writeFileInWorkingTree(repositoryPath, path, core::toBytes(text));
            if (!resolved) return;
            repository->markResolved(repositoryPath, {path}, std::stop_token());
            send(WorkspaceAction::ConflictHandled{});
        } catch (...) {
            send(WorkspaceAction::OperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

void AppReducer::moveConflictCursor(WorkspaceState& workspace, std::int64_t by) const {
    const core::ConflictDocument* document = selectedDocument(workspace);
    if (!document || !document->hasConflicts()) return;
    ChangesState& changes = workspace.changes;
    changes.conflictCursor = std::clamp<std::int64_t>(changes.conflictCursor + by, 0, document->conflictCount() - 1);
    if (const auto header = document->headerRow(changes.conflictCursor)) clampOffset(workspace, *document, *header);
}

void AppReducer::scrollConflict(WorkspaceState& workspace, std::int64_t by) const {
    if (const core::ConflictDocument* document = selectedDocument(workspace)) {
        clampOffset(workspace, *document, workspace.changes.conflictOffset + by);
    }
}

void AppReducer::scrollConflictTo(WorkspaceState& workspace, std::int64_t row) const {
    if (const core::ConflictDocument* document = selectedDocument(workspace)) clampOffset(workspace, *document, row);
}

AppEffect AppReducer::resolveConflict(WorkspaceState& workspace, const std::string& path,
                                      core::ConflictResolution resolution) const {
    return AppEffect::write("conflict", writeLane(workspace.path),
                            [repository = dependencies_.repository, repositoryPath = workspace.path, path,
                             resolution](AppEffect::Send send, std::stop_token) {
        try {
            repository->resolve(repositoryPath, path, resolution, std::stop_token());
            send(WorkspaceAction::ConflictHandled{});
        } catch (...) {
            send(WorkspaceAction::OperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::markResolved(WorkspaceState& workspace, const std::string& path) const {
    return AppEffect::write("conflict", writeLane(workspace.path),
                            [repository = dependencies_.repository, repositoryPath = workspace.path,
                             path](AppEffect::Send send, std::stop_token) {
        try {
            repository->markResolved(repositoryPath, {path}, std::stop_token());
            send(WorkspaceAction::ConflictHandled{});
        } catch (...) {
            send(WorkspaceAction::OperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::conflictHandled(AppState& state) const {
    AppEffect toast = showToast(state, core::Text::toastConflictResolved(), false);
    return AppEffect::merge(std::move(toast), reloadStatus(*state.workspace));
}

AppEffect AppReducer::operationFailed(AppState& state, const std::string& message) const {
    state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::raw(message));
    return refreshStatus(state.workspace->path);
}

}  // namespace tarv::features
