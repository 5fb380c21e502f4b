// Submitting the open prompt (Enter in a text prompt, the create offer of
// the add-repository prompt): its fields are validated, then the state
// changes through the workspace reducer or the job that does the work
// starts. Invalid input keeps the prompt open; only the co-author and clone
// prompts say why.
//
// Paths typed into the add-repository and clone prompts are trimmed, and a
// lone "~" or a leading "~/" stands for the home folder; any other text is
// used as typed (a relative path is not resolved here).
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Models/CoAuthor.hpp"
#include "TarvCore/Models/RemoteURL.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

std::string expandedPath(std::string_view text, const std::string& home) {
    std::string path = core::trimmed(text);
    if (path == "~") return home;
    if (path.starts_with("~/")) return home + path.substr(1);
    return path;
}

// The open overlay as `Case`, to change it in place; null when another kind
// is open.
template <class Case>
Case* openAs(AppState& state) {
    return state.overlay ? std::get_if<Case>(&state.overlay->value) : nullptr;
}

// Job "pathCheck": the repository holding `path`, or, when creating, a new
// repository made there. A check that fails counts as no repository, unless
// git itself refused the folder (one owned by another user): then its words
// go along. A creation that fails says why, unless the job was cancelled.
AppEffect pathCheck(std::shared_ptr<core::GitRepositoryClient> repository, std::string path, bool creating) {
    return AppEffect::run("pathCheck", [repository = std::move(repository), path = std::move(path),
                                        creating](AppEffect::Send send, std::stop_token stop) {
        const auto rootOf = [&]() -> std::optional<std::string> {
            try {
                return repository->repositoryRoot(path, stop);
            } catch (...) {
                return std::nullopt;
            }
        };
        if (!creating) {
            std::optional<std::string> root;
            try {
                root = repository->repositoryRoot(path, stop);
            } catch (const core::GitError& error) {
                if (std::holds_alternative<core::GitError::CommandFailed>(error.value)) {
                    // git's reason and advice become the prompt's error, as a
                    // failure to create would; no new repository is offered.
                    send(OverlayAction::CreateRepositoryFailed{
                        core::Text::raw(ErrorText::describe(std::current_exception()))});
                    return;
                }
            } catch (...) {
            }
            send(OverlayAction::PathChecked{std::move(root)});
            return;
        }
        try {
            repository->initRepository(path, stop);
        } catch (...) {
            if (stop.stop_requested()) return;
            send(OverlayAction::CreateRepositoryFailed{
                core::Text::raw(ErrorText::describe(std::current_exception()))});
            return;
        }
        send(OverlayAction::RepositoryCreated{rootOf().value_or(path)});
    });
}

// A folder name the clone may create inside the destination: not empty,
// not "." or "..", and a single path component.
bool isFolderName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// The clone's address and folder name: the chosen hosted repository, else
// the typed address. An address in the scp form or with a user ("@", ":")
// is cloned as typed; any other is rebuilt as an https address.
std::optional<std::pair<std::string, std::string>> cloneSource(const ClonePromptState& prompt) {
    if (prompt.field == ClonePromptState::Field::url && prompt.list.selected) {
        if (auto repository = prompt.selectedRepository()) return std::pair{repository->cloneURL, repository->name()};
    }
    const auto remote = core::RemoteURLParser::parse(prompt.url.text());
    if (!remote) return std::nullopt;
    if (remote->original.find_first_of(":@") != std::string::npos) return std::pair{remote->original, remote->name};
    return std::pair{"https://" + remote->host + "/" + remote->owner.value_or("") + "/" + remote->name + ".git",
                     remote->name};
}

// The add-repository prompt: job "pathCheck", refused while one runs or for
// an empty path.
AppEffect submitPath(const AppReducer& reducer, AppState& state, const PathPromptState& prompt) {
    std::string path = expandedPath(prompt.path.text(), reducer.dependencies().files->homeDirectory());
    if (path.empty() || prompt.isChecking) return AppEffect::none();
    if (auto* open = openAs<PathPromptState>(state)) {
        open->error.reset();
        open->isChecking = true;
        open->offersCreate = false;
    }
    return pathCheck(reducer.dependencies().repository, std::move(path), prompt.isCreating);
}

// The new-branch prompt, also renaming: the sanitised name created or given
// to the branch; a rename to the same name only closes the prompt.
AppEffect submitBranch(const AppReducer& reducer, AppState& state, const NewBranchState& prompt) {
    std::string name = core::BranchNameRules::sanitize(prompt.name.text());
    if (!core::BranchNameRules::isValid(name)) return AppEffect::none();
    std::optional<std::string> renaming = prompt.renaming;
    std::optional<std::string> start = prompt.start;
    state.overlay.reset();
    if (renaming) {
        if (name == *renaming) return AppEffect::none();
        return reducer.reduceWorkspace(state, WorkspaceAction::RenameBranch{std::move(*renaming), std::move(name)});
    }
    return reducer.reduceWorkspace(state, WorkspaceAction::CreateBranch{std::move(name), std::move(start)});
}

// The co-author prompt: appended once to the next commit's co-authors.
AppEffect submitCoAuthor(AppState& state, const CoAuthorPromptState& prompt) {
    std::optional<core::CoAuthor> coAuthor = core::CoAuthor::parse(prompt.input.text());
    if (!coAuthor) {
        if (auto* open = openAs<CoAuthorPromptState>(state)) open->error = core::Text::coAuthorInvalid();
        return AppEffect::none();
    }
    state.overlay.reset();
    if (state.workspace) {
        auto& coAuthors = state.workspace->coAuthors;
        if (std::find(coAuthors.begin(), coAuthors.end(), *coAuthor) == coAuthors.end()) {
            coAuthors.push_back(std::move(*coAuthor));
        }
    }
    return AppEffect::none();
}

// The destination must name a folder and the address must give a folder
// name inside it: an empty destination would clone into "/" + name, and a
// name of "..", or one holding "/", outside the folder the user chose.
AppEffect submitClone(const AppReducer& reducer, AppState& state, const ClonePromptState& prompt) {
    if (prompt.isCloning) return AppEffect::none();
    auto* open = openAs<ClonePromptState>(state);
    const auto fail = [&](core::Text text) {
        if (open) open->error = std::move(text);
        return AppEffect::none();
    };
    auto source = cloneSource(prompt);
    if (!source || !isFolderName(source->second)) return fail(core::Text::cloneInvalidURL());
    const std::string folder = expandedPath(prompt.destination.text(), reducer.dependencies().files->homeDirectory());
    if (folder.empty()) return fail(core::Text::cloneInvalidDestination());
    if (open) {
        open->isCloning = true;
        open->error.reset();
    }
    return reducer.startClone(state, source->first, folder + "/" + source->second);
}

// Each overlay kind has its overload and there is no catch-all, so a kind
// added to Overlay does not compile until it says what Enter submits.
struct Submission {
    const AppReducer& reducer;
    AppState& state;

    AppEffect operator()(const PathPromptState& prompt) { return submitPath(reducer, state, prompt); }
    AppEffect operator()(const NewBranchState& prompt) { return submitBranch(reducer, state, prompt); }
    AppEffect operator()(const CoAuthorPromptState& prompt) { return submitCoAuthor(state, prompt); }
    AppEffect operator()(const NewTagState& prompt) {
        const std::string name = core::trimmed(prompt.name.text());
        if (!core::BranchNameRules::isValid(name)) return AppEffect::none();
        std::string commit = prompt.commit;
        state.overlay.reset();
        return reducer.reduceWorkspace(state, WorkspaceAction::CreateTag{name, std::move(commit)});
    }
    AppEffect operator()(const NewWorktreeState& prompt) {
        if (!state.workspace) return AppEffect::none();
        if (!core::BranchNameRules::isValid(core::trimmed(prompt.branch.text()))) return AppEffect::none();
        const NewWorktreeState request = prompt;
        state.overlay = WorktreePickerState({}, core::ListScroll{.offset = 0, .selected = std::nullopt});
        return reducer.addWorktree(state, request);
    }
    AppEffect operator()(const ClonePromptState& prompt) { return submitClone(reducer, state, prompt); }
    AppEffect operator()(const PublishRepositoryState& prompt) {
        const PublishRepositoryState form = prompt;
        return reducer.submitPublish(state, form);
    }
    AppEffect operator()(const CredentialPromptState& prompt) {
        const core::CredentialPrompt request = prompt.prompt;
        return reducer.answerCredential(state, request, prompt.input.text());
    }
    // The overlays without a prompt submit nothing.
    AppEffect operator()(const RepositoryPickerState&) { return AppEffect::none(); }
    AppEffect operator()(const BranchPickerState&) { return AppEffect::none(); }
    AppEffect operator()(const PaletteState&) { return AppEffect::none(); }
    AppEffect operator()(const Overlay::ConfirmDiscard&) { return AppEffect::none(); }
    AppEffect operator()(const DeleteBranchState&) { return AppEffect::none(); }
    AppEffect operator()(const Overlay::Message&) { return AppEffect::none(); }
    AppEffect operator()(const SignInState&) { return AppEffect::none(); }
    AppEffect operator()(const TagPickerState&) { return AppEffect::none(); }
    AppEffect operator()(const WorktreePickerState&) { return AppEffect::none(); }
    AppEffect operator()(const ContextMenuState&) { return AppEffect::none(); }
    AppEffect operator()(const StashPickerState&) { return AppEffect::none(); }
    AppEffect operator()(const Overlay::Help&) { return AppEffect::none(); }
};

}  // namespace

AppEffect AppReducer::submit(AppState& state, const Overlay& overlay) const {
    return std::visit(Submission{*this, state}, overlay.value);
}

}  // namespace tarv::features
