#pragma once

#include <string>
#include <string_view>

namespace tarv::features {

// A typed filter matched as a substring, letter case ignored: the filter is
// trimmed and lower-cased once, and a text matches when its lower-cased form
// contains it. Texts of plain ASCII are compared in place, without building
// their lower-cased copy.
class SubstringFilter {
public:
    explicit SubstringFilter(std::string_view filter);

    // The trimmed, lower-cased query.
    const std::string& query() const { return query_; }
    // A blank filter: everything matches.
    bool isEmpty() const { return query_.empty(); }
    bool matches(std::string_view text) const;

private:
    std::string query_;
};

}  // namespace tarv::features
