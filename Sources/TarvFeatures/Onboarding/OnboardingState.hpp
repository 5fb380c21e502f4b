#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/EnvironmentReport.hpp"

namespace tarv::features {

// The checks of the git environment before the welcome screen or a
// workspace: a small state machine, and the identity form it may show.
struct OnboardingState {
    struct Step {
        // Git is older than the minimum version (both as text).
        struct GitTooOld {
            std::string found;
            std::string minimum;
            bool operator==(const GitTooOld&) const = default;
        };
        // The probe or the save failed with this description.
        struct Failed {
            std::string message;
            bool operator==(const Failed&) const = default;
        };
        struct Idle {
            bool operator==(const Idle&) const = default;
        };
        struct Checking {
            bool operator==(const Checking&) const = default;
        };
        struct GitMissing {
            bool operator==(const GitMissing&) const = default;
        };
        // The identity form is shown.
        struct Identity {
            bool operator==(const Identity&) const = default;
        };
        struct Done {
            bool operator==(const Done&) const = default;
        };

        using Value = std::variant<GitTooOld, Failed, Idle, Checking, GitMissing, Identity, Done>;
        Value value;

        // Idle.
        Step() : value(Idle{}) {}
        template <class Case>
            requires std::is_constructible_v<Value, Case&&>
        Step(Case&& step) : value(std::forward<Case>(step)) {}  // NOLINT: implicit on purpose

        static Step gitTooOld(std::string found, std::string minimum) {
            return GitTooOld{std::move(found), std::move(minimum)};
        }
        static Step failed(std::string message) { return Failed{std::move(message)}; }
        static Step idle() { return Idle{}; }
        static Step checking() { return Checking{}; }
        static Step gitMissing() { return GitMissing{}; }
        static Step identity() { return Identity{}; }
        static Step done() { return Done{}; }

        template <class Case>
        bool is() const {
            return std::holds_alternative<Case>(value);
        }

        bool operator==(const Step&) const = default;
    };

    // The fields of the identity form, in focus order.
    enum class Field { name, email, defaultBranch };
    static constexpr std::array<Field, 3> allFields = {Field::name, Field::email, Field::defaultBranch};

    enum class ValidationError { invalidName, invalidEmail };

    Step step{};
    core::EditableText name{};
    core::EditableText email{};
    core::EditableText defaultBranch{"main"};
    Field focusedField = Field::name;
    // Configure a credential helper when saving.
    bool storeCredentials = false;
    std::optional<ValidationError> validationError;
    bool isSaving = false;
    // The last environment report.
    std::optional<core::EnvironmentReport> report;

    // The field after `field` in focus order (before it with `reverse`),
    // wrapping around.
    static Field cycled(Field field, bool reverse);

    // The text of a field.
    core::EditableText& text(Field field);
    const core::EditableText& text(Field field) const;

    bool operator==(const OnboardingState&) const = default;
};

}  // namespace tarv::features
