#pragma once

#include <type_traits>
#include <variant>

namespace tarv::features {

// Whether `T` is exactly one of the alternatives of the variant `V`.
template <class T, class V>
inline constexpr bool isVariantCase = false;
template <class T, class... Cases>
inline constexpr bool isVariantCase<T, std::variant<Cases...>> = (std::is_same_v<T, Cases> || ...);

// A value (of any reference kind) whose type is a case of the variant `V`.
// The big action and overlay variants construct their value in place from
// such a case (`std::in_place_type`), which spares every including file the
// overload resolution over all the alternatives that the variant's
// converting constructor would do.
template <class T, class V>
concept CaseOf = isVariantCase<std::remove_cvref_t<T>, V>;

// A copy of a variant value made by copying its case and moving that in.
// The special members of the big variants (defined out of line) copy this
// way, so that copying, moving and assigning all go through the one path
// that moves a case in: building a case in place costs the compiler one step
// per case before it, and each other path would repeat all those steps.
template <class V>
V copyThroughMove(const V& value) {
    return std::visit(
        [](const auto& payload) -> V {
            using Case = std::decay_t<decltype(payload)>;
            return V(std::in_place_type<Case>, Case(payload));
        },
        value);
}

}  // namespace tarv::features
