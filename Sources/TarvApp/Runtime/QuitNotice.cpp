#include "TarvApp/Runtime/QuitNotice.hpp"

#include <optional>

namespace tarv::app::QuitNotice {
namespace {

enum class Work { commit, amend, stash, undo, pull, push, other };

// The write the state shows under way; a fetch is a read and is not waited
// for by name.
Work runningWork(const features::AppState& state) {
    if (!state.workspace) return Work::other;
    const features::WorkspaceState& workspace = *state.workspace;
    if (workspace.isCommitting) return workspace.isAmending ? Work::amend : Work::commit;
    if (workspace.isStashing) return Work::stash;
    if (workspace.isUndoing) return Work::undo;
    using Activity = features::SyncState::Activity;
    if (workspace.sync.activity == Activity::pulling) return Work::pull;
    if (workspace.sync.activity == Activity::pushing) return Work::push;
    return Work::other;
}

const char* english(Work work) {
    switch (work) {
        case Work::commit: return "the commit";
        case Work::amend: return "the amended commit";
        case Work::stash: return "the stash";
        case Work::undo: return "the undo";
        case Work::pull: return "the pull";
        case Work::push: return "the push";
        case Work::other: return "its work on the repository";
    }
    return "";
}

const char* spanish(Work work) {
    switch (work) {
        case Work::commit: return "el commit";
        case Work::amend: return "el commit corregido";
        case Work::stash: return "el stash";
        case Work::undo: return "la acci\xC3\xB3n de deshacer";
        case Work::pull: return "el pull";
        case Work::push: return "el push";
        case Work::other: return "su trabajo en el repositorio";
    }
    return "";
}

}  // namespace

std::string waiting(const features::AppState& state) {
    const Work work = runningWork(state);
    if (state.language == core::Language::es) {
        return std::string("tarv: esperando a que git termine ") + spanish(work) +
               "\xE2\x80\xA6 (\xE2\x8C\x83" "C sale ya; git terminar\xC3\xA1 por su cuenta)";
    }
    return std::string("tarv: waiting for git to finish ") + english(work) +
           "\xE2\x80\xA6 (\xE2\x8C\x83" "C quits now; git will finish on its own)";
}

}  // namespace tarv::app::QuitNotice
