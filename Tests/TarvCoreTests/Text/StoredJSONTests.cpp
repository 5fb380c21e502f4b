#include "TarvCore/Text/StoredJSON.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace tarv::core::text {
namespace {

std::string arrays(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(StoredJSON, RefusesNestingBeyondTheLimitBeforeParsing) {
    const int limit = storedJSONMaxDepth;
    const std::string deepObjects = [&] {
        std::string text;
        for (int i = 0; i <= limit; ++i) text += "{\"a\":";
        text += "1";
        return text + std::string(limit + 1, '}');
    }();
    struct Case {
        std::string text;
        bool parsed;
    };
    const Case cases[] = {
        {R"({"version": 1, "repositories": [{"path": "/r"}]})", true},
        {arrays(limit), true},
        {arrays(limit + 1), false},
        {deepObjects, false},
        // Brackets inside strings, escaped quotes included, are text.
        {"[\"" + std::string(limit + 1, '[') + "\\\"" + std::string(limit + 1, '{') + "\"]", true},
        {"not json", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(!parseStoredJSON(c.text).is_discarded(), c.parsed) << c.text;
    }
}

}  // namespace
}  // namespace tarv::core::text
