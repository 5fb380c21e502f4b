#include "TarvCore/Text/StoredJSON.hpp"

#include "TarvCore/Text/JSONNesting.hpp"

#include <nlohmann/json.hpp>

namespace tarv::core::text {

nlohmann::json parseStoredJSON(std::string_view text) {
    if (!jsonNestingWithin(text, storedJSONMaxDepth)) return nlohmann::json(nlohmann::json::value_t::discarded);
    return nlohmann::json::parse(text, nullptr, false);
}

}  // namespace tarv::core::text
