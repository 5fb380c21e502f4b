#pragma once

#include <exception>
#include <string>

#include "TarvCore/Localization/Language.hpp"

namespace tarv::features::ErrorText {

// The one-line message for a failure that no rule classifies more precisely,
// as jobs put it into their failure actions, in `language`. Not trimmed (a
// multi-line standard error stays multi-line):
//   GitError        commandFailed: git's standard error when not empty, else
//                   "git terminó con error" / "git ended with an error";
//                   invalidOutput: its text; invalidArgument: its text
//                   (its English text in English, when it has one);
//                   notARepository: the path followed by " no es un
//                   repositorio git" / " is not a git repository";
//                   gitNotFound: "No se encontró git" / "git was not found"
//   ProcessError    spawnFailed: "No se pudo ejecutar el proceso (errno N)" /
//                   "The process could not be started (errno N)";
//                   timedOut: "La operación tardó demasiado y se canceló." /
//                   "The operation took too long and was cancelled.";
//                   cancelled: "Operación cancelada" / "Operation cancelled"
//   anything else   the error's own description (`description()` where the
//                   error has one, else `what()`); a thrown value that is no
//                   exception at all: "Error desconocido" / "Unknown error"
std::string describe(const std::exception& error, core::Language language);
// For a failure caught with `catch (...)`: describes what `error` holds.
// An empty pointer counts as an unknown error.
std::string describe(const std::exception_ptr& error, core::Language language);

// The same in the interface's language: the jobs describe their failures
// with these.
std::string describe(const std::exception& error);
std::string describe(const std::exception_ptr& error);

// The interface's language, for the descriptions made by the jobs. The
// program sets it once at start-up, before any job runs; until then it is
// Spanish.
void useLanguage(core::Language language);
core::Language language();

}  // namespace tarv::features::ErrorText
