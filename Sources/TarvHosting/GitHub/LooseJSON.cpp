#include "TarvHosting/GitHub/LooseJSON.hpp"

#include "TarvCore/Text/JSONNesting.hpp"

#include <nlohmann/json.hpp>

#include <limits>

namespace tarv::hosting {

namespace {

using Json = nlohmann::json;

const Json& node(const void* pointer) { return *static_cast<const Json*>(pointer); }

// The member of an object, or null when there is none.
const Json* member(const void* pointer, std::string_view key) {
    const Json& value = node(pointer);
    if (!value.is_object()) return nullptr;
    const auto it = value.find(key);
    return it == value.end() ? nullptr : &*it;
}

std::optional<std::vector<const Json*>> objectElements(const Json& value) {
    if (!value.is_array()) return std::nullopt;
    std::vector<const Json*> out;
    out.reserve(value.size());
    for (const Json& element : value) {
        if (!element.is_object()) return std::nullopt;
        out.push_back(&element);
    }
    return out;
}

}  // namespace

bool LooseJSON::isWithinLimits(std::string_view text) noexcept {
    return text.size() <= maxBytes && core::text::jsonNestingWithin(text, maxDepth);
}

std::optional<LooseJSON> LooseJSON::parse(std::string_view text) {
    if (!isWithinLimits(text)) return std::nullopt;
    auto document = std::make_shared<Json>(Json::parse(text.begin(), text.end(), nullptr, false));
    if (document->is_discarded()) return std::nullopt;
    const void* root = document.get();
    return LooseJSON(std::shared_ptr<const void>(std::move(document)), root);
}

bool LooseJSON::isObject() const { return node(node_).is_object(); }

bool LooseJSON::isArray() const { return node(node_).is_array(); }

std::optional<std::string> LooseJSON::string(std::string_view key) const {
    const Json* value = member(node_, key);
    if (value == nullptr || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

std::optional<std::int64_t> LooseJSON::integer(std::string_view key) const {
    const Json* value = member(node_, key);
    if (value == nullptr || !value->is_number_integer()) return std::nullopt;
    if (value->is_number_unsigned()) {
        const auto unsignedValue = value->get<std::uint64_t>();
        if (unsignedValue > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(unsignedValue);
    }
    return value->get<std::int64_t>();
}

std::optional<bool> LooseJSON::boolean(std::string_view key) const {
    const Json* value = member(node_, key);
    if (value == nullptr || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

std::optional<LooseJSON> LooseJSON::object(std::string_view key) const {
    const Json* value = member(node_, key);
    if (value == nullptr || !value->is_object()) return std::nullopt;
    return LooseJSON(document_, value);
}

std::optional<std::vector<LooseJSON>> LooseJSON::objects(std::string_view key) const {
    const Json* value = member(node_, key);
    if (value == nullptr) return std::nullopt;
    return LooseJSON(document_, value).asObjects();
}

std::optional<std::vector<LooseJSON>> LooseJSON::asObjects() const {
    const auto elements = objectElements(node(node_));
    if (!elements) return std::nullopt;
    std::vector<LooseJSON> out;
    out.reserve(elements->size());
    for (const Json* element : *elements) out.push_back(LooseJSON(document_, element));
    return out;
}

}  // namespace tarv::hosting
