#include "TarvFeatures/App/ErrorText.hpp"

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <type_traits>
#include <variant>

#include "TarvCore/Errors/ConfigurationError.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Errors/SecretStoreError.hpp"
#include "TarvCore/Errors/UnfinishedDiscard.hpp"

namespace tarv::features::ErrorText {

namespace {

std::atomic<core::Language> interfaceLanguage{core::Language::es};

// The Spanish text, or the English one.
std::string in(core::Language language, const char* spanish, const char* english) {
    return language == core::Language::es ? spanish : english;
}

std::string describeGit(const core::GitError& error, core::Language language) {
    return std::visit(
        [language](const auto& failure) -> std::string {
            using Case = std::decay_t<decltype(failure)>;
            if constexpr (std::is_same_v<Case, core::GitError::CommandFailed>) {
                return failure.stderr.empty() ? in(language, "git terminó con error", "git ended with an error")
                                              : failure.stderr;
            } else if constexpr (std::is_same_v<Case, core::GitError::InvalidOutput>) {
                return failure.message;
            } else if constexpr (std::is_same_v<Case, core::GitError::InvalidArgument>) {
                const bool english = language == core::Language::en && !failure.englishMessage.empty();
                return english ? failure.englishMessage : failure.message;
            } else if constexpr (std::is_same_v<Case, core::GitError::NotARepository>) {
                return failure.path + in(language, " no es un repositorio git", " is not a git repository");
            } else {
                return in(language, "No se encontró git", "git was not found");
            }
        },
        error.value);
}

std::string describeProcess(const core::ProcessError& error, core::Language language) {
    return std::visit(
        [language](const auto& failure) -> std::string {
            using Case = std::decay_t<decltype(failure)>;
            if constexpr (std::is_same_v<Case, core::ProcessError::SpawnFailed>) {
                return in(language, "No se pudo ejecutar el proceso (errno ",
                          "The process could not be started (errno ") +
                       std::to_string(failure.errorNumber) + ")";
            } else if constexpr (std::is_same_v<Case, core::ProcessError::TimedOut>) {
                return in(language, "La operación tardó demasiado y se canceló.",
                          "The operation took too long and was cancelled.");
            } else {
                return in(language, "Operación cancelada", "Operation cancelled");
            }
        },
        error.value);
}

// The file store refuses a symbolic link inside a working tree with
// ELOOP, the error number the system gives for a link it will not follow.
std::string describeFile(const std::filesystem::filesystem_error& error, core::Language language) {
    if (error.code() == std::errc::too_many_symbolic_link_levels) {
        return in(language, "No se sigue un enlace simbólico: ", "Not following a symbolic link: ") +
               error.path1().string();
    }
    return error.what();
}

std::string unknown(core::Language language) { return in(language, "Error desconocido", "Unknown error"); }

}  // namespace

void useLanguage(core::Language language) { interfaceLanguage.store(language); }

core::Language language() { return interfaceLanguage.load(); }

std::string describe(const std::exception& error) { return describe(error, language()); }

std::string describe(const std::exception_ptr& error) { return describe(error, language()); }

std::string describe(const std::exception& error, core::Language language) {
    if (const auto* git = dynamic_cast<const core::GitError*>(&error)) return describeGit(*git, language);
    if (const auto* process = dynamic_cast<const core::ProcessError*>(&error)) {
        return describeProcess(*process, language);
    }
    if (const auto* hosting = dynamic_cast<const core::HostingError*>(&error)) return hosting->description();
    if (const auto* remote = dynamic_cast<const core::RemoteFailure*>(&error)) return remote->description();
    if (const auto* secret = dynamic_cast<const core::SecretStoreError*>(&error)) return secret->description();
    if (const auto* config = dynamic_cast<const core::ConfigurationError*>(&error)) return config->description();
    if (const auto* discard = dynamic_cast<const core::UnfinishedDiscard*>(&error)) {
        return describe(discard->cause, language);
    }
    if (const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        return describeFile(*file, language);
    }
    return error.what();
}

std::string describe(const std::exception_ptr& error, core::Language language) {
    if (!error) return unknown(language);
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& thrown) {
        return describe(thrown, language);
    } catch (...) {
        return unknown(language);
    }
}

}  // namespace tarv::features::ErrorText
