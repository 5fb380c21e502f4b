#include "TarvCore/Rules/RepoGrouping.hpp"

#include "TarvCore/Rules/FuzzyMatcher.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvCore/Text/Unicode.hpp"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

namespace tarv::core::RepoGrouping {

namespace {

struct Parsed {
    const RepositoryEntry* entry;
    std::optional<std::string> owner;
    // Lower-cased, canonically composed name: the order inside groups.
    std::string sortName;
};

std::vector<RepositoryEntry> sortedByName(std::vector<const Parsed*> members) {
    std::stable_sort(members.begin(), members.end(),
                     [](const Parsed* a, const Parsed* b) { return a->sortName < b->sortName; });
    std::vector<RepositoryEntry> entries;
    entries.reserve(members.size());
    for (const Parsed* p : members) entries.push_back(*p->entry);
    return entries;
}

}  // namespace

std::vector<RepoGroup> groups(const std::vector<RepositoryEntry>& entries, std::string_view filter,
                              std::int64_t recentCount) {
    // Parse every remote once.
    std::vector<Parsed> parsed;
    parsed.reserve(entries.size());
    for (const RepositoryEntry& entry : entries) {
        std::optional<std::string> owner;
        if (entry.remoteURL) {
            if (auto url = RemoteURLParser::parse(*entry.remoteURL)) owner = std::move(url->owner);
        }
        parsed.push_back(Parsed{&entry, std::move(owner), text::nfc(text::lowercased(entry.name))});
    }

    std::vector<const Parsed*> all;
    all.reserve(parsed.size());
    for (const Parsed& p : parsed) all.push_back(&p);
    const std::vector<const Parsed*> filtered = FuzzyMatcher::filter(all, filter, [](const Parsed* p) {
        return p->owner ? *p->owner + " " + p->entry->name : p->entry->name;
    });

    std::vector<RepoGroup> result;
    if (text::trimmedView(filter).empty()) {
        std::vector<const Parsed*> opened;
        for (const Parsed* p : filtered)
            if (p->entry->lastOpened > 0) opened.push_back(p);
        std::stable_sort(opened.begin(), opened.end(), [](const Parsed* a, const Parsed* b) {
            return a->entry->lastOpened > b->entry->lastOpened;
        });
        const auto keep = static_cast<std::size_t>(std::max<std::int64_t>(recentCount, 0));
        if (opened.size() > keep) opened.resize(keep);
        if (!opened.empty()) {
            RepoGroup recent{RepoGroup::Kind::recent(), {}};
            for (const Parsed* p : opened) recent.entries.push_back(*p->entry);
            result.push_back(std::move(recent));
        }
    }

    // Owners in order of their lower-cased form; owners that differ only in
    // letter case stay separate groups (ordered by their exact text).
    std::map<std::pair<std::string, std::string>, std::vector<const Parsed*>> owners;
    std::vector<const Parsed*> other;
    for (const Parsed* p : filtered) {
        if (p->owner) {
            owners[{text::nfc(text::lowercased(*p->owner)), *p->owner}].push_back(p);
        } else {
            other.push_back(p);
        }
    }
    for (auto& [key, members] : owners) {
        result.push_back(RepoGroup{RepoGroup::Kind::owner(key.second), sortedByName(std::move(members))});
    }
    if (!other.empty()) result.push_back(RepoGroup{RepoGroup::Kind::other(), sortedByName(std::move(other))});
    return result;
}

}  // namespace tarv::core::RepoGrouping
