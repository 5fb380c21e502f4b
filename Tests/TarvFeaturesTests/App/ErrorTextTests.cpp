#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Errors/UnfinishedDiscard.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {
namespace {

struct Row {
    const char* name;
    std::exception_ptr error;
    std::string spanish;
    std::string english;
};

TEST(ErrorTextTests, DescribesEachCaseInTheInterfaceLanguage) {
    const std::string hosting = core::HostingError::network("offline").description();
    const Row rows[] = {
        {"command failed with output", std::make_exception_ptr(core::GitError::commandFailed("git x", 1, "fatal: no")),
         "fatal: no", "fatal: no"},
        {"command failed, empty output", std::make_exception_ptr(core::GitError::commandFailed("git x", 1, "")),
         "git terminó con error", "git ended with an error"},
        {"command failed, only a line break", std::make_exception_ptr(core::GitError::commandFailed("git x", 1, "\n")),
         "\n", "\n"},
        {"command failed, several lines",
         std::make_exception_ptr(core::GitError::commandFailed("git x", 128, "a\nb")), "a\nb", "a\nb"},
        {"invalid output", std::make_exception_ptr(core::GitError::invalidOutput("salida rara")), "salida rara",
         "salida rara"},
        {"invalid argument", std::make_exception_ptr(core::GitError::invalidArgument("Nombre de rama inválido: x")),
         "Nombre de rama inválido: x", "Nombre de rama inválido: x"},
        {"refusal with an English twin",
         std::make_exception_ptr(core::GitError::invalidArgument("Remoto inválido: o", "Invalid remote: o")),
         "Remoto inválido: o", "Invalid remote: o"},
        {"not a repository", std::make_exception_ptr(core::GitError::notARepository("/tmp/x")),
         "/tmp/x no es un repositorio git", "/tmp/x is not a git repository"},
        {"git not found", std::make_exception_ptr(core::GitError::gitNotFound()), "No se encontró git",
         "git was not found"},
        {"spawn failed", std::make_exception_ptr(core::ProcessError::spawnFailed(2)),
         "No se pudo ejecutar el proceso (errno 2)", "The process could not be started (errno 2)"},
        {"timed out", std::make_exception_ptr(core::ProcessError::timedOut()),
         "La operación tardó demasiado y se canceló.", "The operation took too long and was cancelled."},
        {"cancelled", std::make_exception_ptr(core::ProcessError::cancelled()), "Operación cancelada",
         "Operation cancelled"},
        {"unfinished discard", std::make_exception_ptr(core::UnfinishedDiscard("refs/tarv/x", std::make_exception_ptr(core::GitError::gitNotFound()))),
         "No se encontró git", "git was not found"},
        {"other error type", std::make_exception_ptr(core::HostingError::network("offline")), hosting, hosting},
        {"plain exception", std::make_exception_ptr(std::runtime_error("disk full")), "disk full", "disk full"},
        {"not an exception", std::make_exception_ptr(42), "Error desconocido", "Unknown error"},
        {"nothing", std::exception_ptr(), "Error desconocido", "Unknown error"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ErrorText::describe(row.error, core::Language::es), row.spanish) << row.name;
        EXPECT_EQ(ErrorText::describe(row.error, core::Language::en), row.english) << row.name;
    }
}

TEST(ErrorTextTests, JobsDescribeInTheLanguageSetAtStartUp) {
    const auto empty = std::make_exception_ptr(core::GitError::commandFailed("git x", 1, ""));
    EXPECT_EQ(ErrorText::describe(empty), "git terminó con error");
    ErrorText::useLanguage(core::Language::en);
    EXPECT_EQ(ErrorText::describe(empty), "git ended with an error");
    EXPECT_EQ(ErrorText::describe(*std::make_unique<core::GitError>(core::GitError::gitNotFound())),
              "git was not found");
    ErrorText::useLanguage(core::Language::es);
    EXPECT_EQ(ErrorText::describe(empty), "git terminó con error");
}

TEST(ErrorTextTests, DescribesAnErrorCaughtByItsBaseClass) {
    const std::exception& error = core::GitError::notARepository("/a");
    EXPECT_EQ(ErrorText::describe(error), "/a no es un repositorio git");
}

}  // namespace
}  // namespace tarv::features
