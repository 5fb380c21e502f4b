#include "TarvFeatures/Overlay/Overlay.hpp"

namespace tarv::features {

static_assert(std::variant_size_v<Overlay::Value> == Overlay::kindCount);
static_assert(std::is_same_v<std::variant_alternative_t<static_cast<std::size_t>(Overlay::Kind::addRepository),
                                                        Overlay::Value>,
                             PathPromptState>);
static_assert(std::is_same_v<std::variant_alternative_t<static_cast<std::size_t>(Overlay::Kind::credentials),
                                                        Overlay::Value>,
                             CredentialPromptState>);
static_assert(std::is_same_v<std::variant_alternative_t<static_cast<std::size_t>(Overlay::Kind::help), Overlay::Value>,
                             Overlay::Help>);

Overlay Overlay::message(core::Text title, core::Text body, std::vector<core::FailureFix> fixes) {
    return Overlay(Message{std::move(title), std::move(body), std::move(fixes)});
}

Overlay::Overlay(const Overlay& other) : value(copyThroughMove(other.value)) {}
Overlay::Overlay(Overlay&&) noexcept = default;
Overlay& Overlay::operator=(const Overlay& other) {
    if (this != &other) value = copyThroughMove(other.value);
    return *this;
}
Overlay& Overlay::operator=(Overlay&&) noexcept = default;
Overlay::~Overlay() = default;
bool Overlay::operator==(const Overlay& other) const {
    return value == other.value;
}

}  // namespace tarv::features
