#include "Support/ActionPrinting.hpp"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Localization/Text.hpp"

namespace tarv::features {
namespace {

// The type's name without the program's namespaces.
std::string nameOf(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : type.name();
    for (const std::string prefix : {"tarv::features::", "tarv::core::"}) {
        for (auto at = name.find(prefix); at != std::string::npos; at = name.find(prefix)) name.erase(at, prefix.size());
    }
    return name;
}

template <class T>
inline constexpr bool isVariant = false;
template <class... Cases>
inline constexpr bool isVariant<std::variant<Cases...>> = true;
template <class T>
inline constexpr bool isVector = false;
template <class T, class A>
inline constexpr bool isVector<std::vector<T, A>> = true;
template <class T>
inline constexpr bool isOptional = false;
template <class T>
inline constexpr bool isOptional<std::optional<T>> = true;

// Converts to anything: counts the members an aggregate is built from.
struct AnyMember {
    template <class U>
    operator U() const;
};
template <class T, class... Members>
constexpr std::size_t memberCount() {
    if constexpr (sizeof...(Members) > 8) {
        return 0;
    } else if constexpr (requires { T{Members{}..., AnyMember{}}; }) {
        return memberCount<T, Members..., AnyMember>();
    } else {
        return sizeof...(Members);
    }
}

template <class T>
void print(std::ostream& os, const T& value);

template <class... Members>
void printMembers(std::ostream& os, const Members&... members) {
    const char* separator = "";
    ((os << separator, print(os, members), separator = ", "), ...);
}

// An aggregate as its name and its members in braces (up to eight).
template <class T>
void printAggregate(std::ostream& os, const T& value) {
    os << nameOf(typeid(T)) << "{";
    constexpr std::size_t count = memberCount<T>();
    if constexpr (count == 1) {
        const auto& [a] = value;
        printMembers(os, a);
    } else if constexpr (count == 2) {
        const auto& [a, b] = value;
        printMembers(os, a, b);
    } else if constexpr (count == 3) {
        const auto& [a, b, c] = value;
        printMembers(os, a, b, c);
    } else if constexpr (count == 4) {
        const auto& [a, b, c, d] = value;
        printMembers(os, a, b, c, d);
    } else if constexpr (count == 5) {
        const auto& [a, b, c, d, e] = value;
        printMembers(os, a, b, c, d, e);
    } else if constexpr (count == 6) {
        const auto& [a, b, c, d, e, f] = value;
        printMembers(os, a, b, c, d, e, f);
    } else if constexpr (count == 7) {
        const auto& [a, b, c, d, e, f, g] = value;
        printMembers(os, a, b, c, d, e, f, g);
    } else if constexpr (count == 8) {
        const auto& [a, b, c, d, e, f, g, h] = value;
        printMembers(os, a, b, c, d, e, f, g, h);
    }
    os << "}";
}

template <class T>
void print(std::ostream& os, const T& value) {
    if constexpr (std::is_same_v<T, AppAction> || std::is_same_v<T, WorkspaceAction> ||
                  std::is_same_v<T, OverlayAction> || std::is_same_v<T, AuthAction> ||
                  std::is_same_v<T, OnboardingAction>) {
        print(os, value.value);
    } else if constexpr (isVariant<T>) {
        std::visit([&os](const auto& payload) { print(os, payload); }, value);
    } else if constexpr (std::is_same_v<T, core::Text>) {
        os << ::testing::PrintToString(value.render(core::Language::en));
    } else if constexpr (isOptional<T>) {
        if (value) {
            print(os, *value);
        } else {
            os << "none";
        }
    } else if constexpr (isVector<T>) {
        os << "[";
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (i > 0) os << ", ";
            print(os, value[i]);
        }
        os << "]";
    } else if constexpr (std::is_enum_v<T>) {
        os << nameOf(typeid(T)) << "(" << static_cast<long long>(value) << ")";
    } else if constexpr (std::is_aggregate_v<T> && !std::is_array_v<T>) {
        printAggregate(os, value);
    } else {
        os << ::testing::PrintToString(value);
    }
}

}  // namespace

void PrintTo(const AppAction& action, std::ostream* os) { print(*os, action); }
void PrintTo(const WorkspaceAction& action, std::ostream* os) { print(*os, action); }
void PrintTo(const OverlayAction& action, std::ostream* os) { print(*os, action); }
void PrintTo(const AuthAction& action, std::ostream* os) { print(*os, action); }
void PrintTo(const OnboardingAction& action, std::ostream* os) { print(*os, action); }

}  // namespace tarv::features
