// Opening an entry of the registry of known repositories: its folder is
// checked first; an entry whose folder is gone is dropped from the registry
// (and from an open picker) instead of being opened. A check that fails
// proves nothing: the entry stays and the open goes ahead (and reports its
// own failure).
#include <algorithm>
#include <utility>
#include <variant>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Ports/RepositoryRegistry.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"

namespace tarv::features {

AppEffect AppReducer::openFromList(const std::string& path) const {
    return AppEffect::run(std::nullopt, [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                     std::stop_token stop) {
        bool exists = true;  // an entry is never dropped because the check itself failed
        try {
            exists = repository->repositoryExists(path, stop);
        } catch (...) {
            exists = true;
        }
        send(AppAction::RepositoryChecked{path, exists});
    });
}

AppEffect AppReducer::repositoryChecked(AppState& state, const std::string& path, bool exists) const {
    if (exists) return open(state, path);
    auto& entries = state.repositories;
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const core::RepositoryEntry& entry) { return entry.path == path; });
    if (found == entries.end()) return AppEffect::none();
    std::string name = std::move(found->name);
    entries.erase(found);

    if (state.overlay) {
        if (auto* picker = std::get_if<RepositoryPickerState>(&state.overlay->value)) {
            const auto rows = RepositoryRows::selectable(entries, picker->filter.text());
            picker->list.clamp(static_cast<std::int64_t>(rows.size()), state.viewports.picker);
        }
    }
    auto save = AppEffect::run("registry", [registry = dependencies_.registry, entries](AppEffect::Send,
                                                                                       std::stop_token stop) {
        try {
            registry->save(entries, stop);
        } catch (...) {
            // The pruned list still holds for this run.
        }
    });
    return AppEffect::merge(std::move(save), showToast(state, core::Text::toastRepositoriesMissing({std::move(name)}), false));
}

}  // namespace tarv::features
