#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {
namespace {

struct Row {
    const char* name;
    std::exception_ptr error;
    std::string expected;
};

TEST(ErrorTextTests, DescribesEachCaseInSpanish) {
    const Row rows[] = {
        {"command failed with output", std::make_exception_ptr(core::GitError::commandFailed("git x", 1, "fatal: no")),
         "fatal: no"},
        {"command failed, empty output", std::make_exception_ptr(core::GitError::commandFailed("git x", 1, "")),
         "git terminó con error"},
        {"command failed, only a line break", std::make_exception_ptr(core::GitError::commandFailed("git x", 1, "\n")),
         "\n"},
        {"command failed, several lines",
         std::make_exception_ptr(core::GitError::commandFailed("git x", 128, "a\nb")), "a\nb"},
        {"invalid output", std::make_exception_ptr(core::GitError::invalidOutput("salida rara")), "salida rara"},
        {"invalid argument", std::make_exception_ptr(core::GitError::invalidArgument("Nombre de rama inválido: x")),
         "Nombre de rama inválido: x"},
        {"not a repository", std::make_exception_ptr(core::GitError::notARepository("/tmp/x")),
         "/tmp/x no es un repositorio git"},
        {"git not found", std::make_exception_ptr(core::GitError::gitNotFound()), "No se encontró git"},
        {"spawn failed", std::make_exception_ptr(core::ProcessError::spawnFailed(2)),
         "No se pudo ejecutar el proceso (errno 2)"},
        {"timed out", std::make_exception_ptr(core::ProcessError::timedOut()),
         "La operación tardó demasiado y se canceló."},
        {"cancelled", std::make_exception_ptr(core::ProcessError::cancelled()), "Operación cancelada"},
        {"other error type", std::make_exception_ptr(core::HostingError::network("offline")),
         core::HostingError::network("offline").description()},
        {"plain exception", std::make_exception_ptr(std::runtime_error("disk full")), "disk full"},
        {"not an exception", std::make_exception_ptr(42), "Error desconocido"},
        {"nothing", std::exception_ptr(), "Error desconocido"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ErrorText::describe(row.error), row.expected) << row.name;
    }
}

TEST(ErrorTextTests, DescribesAnErrorCaughtByItsBaseClass) {
    const std::exception& error = core::GitError::notARepository("/a");
    EXPECT_EQ(ErrorText::describe(error), "/a no es un repositorio git");
}

}  // namespace
}  // namespace tarv::features
