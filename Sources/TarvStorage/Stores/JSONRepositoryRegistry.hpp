#pragma once

#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/RepositoryRegistry.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarv::storage {

// The remembered repositories, "repositories.json" in the state folder: a
// JSON object {"repositories": [entries], "version": 1}, written
// pretty-printed with sorted keys and replaced atomically. Every load reads
// the file and every save rewrites it whole.
//
// A file that cannot be used (not such a document, one bad entry, a newer
// version) loads as the empty list. So that the next save does not destroy
// it, the save first keeps its bytes under
// "repositories.json.unreadable-<seconds since 1970>" and only then writes
// the new list.
class JSONRepositoryRegistry final : public core::RepositoryRegistry {
public:
    JSONRepositoryRegistry(std::shared_ptr<core::FileStore> files, const std::string& stateDirectory);

    const std::string& path() const { return path_; }

    // The entries in file order; [] without a usable file. Throws the file
    // store's error when the file cannot be read.
    std::vector<core::RepositoryEntry> load(std::stop_token stop) override;
    // Throws the file store's error; the old file then stays as it was.
    void save(const std::vector<core::RepositoryEntry>& entries, std::stop_token stop) override;

    // The entries of a registry document; none when it cannot be used.
    static std::optional<std::vector<core::RepositoryEntry>> decode(std::string_view text);
    static std::string encode(const std::vector<core::RepositoryEntry>& entries);

private:
    std::string unusedAsideName() const;

    std::shared_ptr<core::FileStore> files_;
    std::string path_;
};

}  // namespace tarv::storage
