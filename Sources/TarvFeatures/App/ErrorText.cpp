#include "TarvFeatures/App/ErrorText.hpp"

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

std::string describeGit(const core::GitError& error) {
    return std::visit(
        [](const auto& failure) -> std::string {
            using Case = std::decay_t<decltype(failure)>;
            if constexpr (std::is_same_v<Case, core::GitError::CommandFailed>) {
                return failure.stderr.empty() ? "git terminó con error" : failure.stderr;
            } else if constexpr (std::is_same_v<Case, core::GitError::InvalidOutput> ||
                                 std::is_same_v<Case, core::GitError::InvalidArgument>) {
                return failure.message;
            } else if constexpr (std::is_same_v<Case, core::GitError::NotARepository>) {
                return failure.path + " no es un repositorio git";
            } else {
                return "No se encontró git";
            }
        },
        error.value);
}

std::string describeProcess(const core::ProcessError& error) {
    return std::visit(
        [](const auto& failure) -> std::string {
            using Case = std::decay_t<decltype(failure)>;
            if constexpr (std::is_same_v<Case, core::ProcessError::SpawnFailed>) {
                return "No se pudo ejecutar el proceso (errno " + std::to_string(failure.errorNumber) + ")";
            } else if constexpr (std::is_same_v<Case, core::ProcessError::TimedOut>) {
                return "La operación tardó demasiado y se canceló.";
            } else {
                return "Operación cancelada";
            }
        },
        error.value);
}

// The file store refuses a symbolic link inside a working tree with
// ELOOP, the error number the system gives for a link it will not follow.
std::string describeFile(const std::filesystem::filesystem_error& error) {
    if (error.code() == std::errc::too_many_symbolic_link_levels) {
        return "No se sigue un enlace simbólico: " + error.path1().string();
    }
    return error.what();
}

}  // namespace

std::string describe(const std::exception& error) {
    if (const auto* git = dynamic_cast<const core::GitError*>(&error)) return describeGit(*git);
    if (const auto* process = dynamic_cast<const core::ProcessError*>(&error)) return describeProcess(*process);
    if (const auto* hosting = dynamic_cast<const core::HostingError*>(&error)) return hosting->description();
    if (const auto* remote = dynamic_cast<const core::RemoteFailure*>(&error)) return remote->description();
    if (const auto* secret = dynamic_cast<const core::SecretStoreError*>(&error)) return secret->description();
    if (const auto* config = dynamic_cast<const core::ConfigurationError*>(&error)) return config->description();
    if (const auto* discard = dynamic_cast<const core::UnfinishedDiscard*>(&error)) return describe(discard->cause);
    if (const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) return describeFile(*file);
    return error.what();
}

std::string describe(const std::exception_ptr& error) {
    if (!error) return "Error desconocido";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& thrown) {
        return describe(thrown);
    } catch (...) {
        return "Error desconocido";
    }
}

}  // namespace tarv::features::ErrorText
