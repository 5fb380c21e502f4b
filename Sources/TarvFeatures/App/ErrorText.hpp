#pragma once

#include <exception>
#include <string>

namespace tarv::features::ErrorText {

// The one-line message for a failure that no rule classifies more precisely,
// as jobs put it into their failure actions. Spanish only, and not trimmed
// (a multi-line standard error stays multi-line):
//   GitError        commandFailed: git's standard error when not empty, else
//                   "git terminó con error"; invalidOutput and
//                   invalidArgument: their text; notARepository: the path
//                   followed by " no es un repositorio git"; gitNotFound:
//                   "No se encontró git"
//   ProcessError    spawnFailed: "No se pudo ejecutar el proceso (errno N)";
//                   timedOut: "La operación tardó demasiado y se canceló.";
//                   cancelled: "Operación cancelada"
//   anything else   the error's own description (`description()` where the
//                   error has one, else `what()`); a thrown value that is no
//                   exception at all: "Error desconocido"
std::string describe(const std::exception& error);
// For a failure caught with `catch (...)`: describes what `error` holds.
// An empty pointer counts as an unknown error.
std::string describe(const std::exception_ptr& error);

}  // namespace tarv::features::ErrorText
