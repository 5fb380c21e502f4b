#pragma once

#include <string_view>

// The refusals of the write commands, shown to the user as they are (the
// engine's refusals exist only in Spanish). A refusal is thrown as
// GitError::invalidArgument before git runs; texts ending in a blank get the
// offending value appended.
namespace tarv::engine::WriteMessages {

inline constexpr std::string_view emptySelection = "No hay archivos incluidos en el commit";
inline constexpr std::string_view emptySummary = "El resumen del commit es obligatorio";
inline constexpr std::string_view invalidRevision = "Revisión inválida: ";
inline constexpr std::string_view deletingCurrentBranch = "No se puede eliminar la rama en la que estás";
inline constexpr std::string_view invalidBranchName = "Nombre de rama inválido: ";
inline constexpr std::string_view invalidTagName = "Nombre de etiqueta inválido: ";
inline constexpr std::string_view nothingToAmend = "No hay ningún commit que modificar";
inline constexpr std::string_view nothingToStash = "No hay cambios que guardar";
inline constexpr std::string_view noOperationInProgress = "No hay ninguna operación en curso";
inline constexpr std::string_view nothingToUndo = "No hay commits que deshacer";
inline constexpr std::string_view commitNotOnBranch = "El commit no está en la rama actual";
inline constexpr std::string_view alreadyNewest = "Ya es el commit más reciente";
inline constexpr std::string_view firstCommit = "Es el primer commit: no tiene uno anterior";
inline constexpr std::string_view uncommittedChanges = "Guarda o descarta tus cambios antes de reescribir el historial";
inline constexpr std::string_view alreadyPushed = "Ese commit ya se subió: reescribirlo obligaría a forzar el push";
inline constexpr std::string_view mergeInRange = "Hay commits de merge en medio: no se puede reescribir con seguridad";
inline constexpr std::string_view invalidScriptFolder = "Carpeta temporal inválida: ";
inline constexpr std::string_view invalidRemote = "Remoto inválido: ";
inline constexpr std::string_view invalidPullRequestNumber = "Número de PR inválido: ";
inline constexpr std::string_view undoPublished = "Ese commit ya se subió; no se puede deshacer desde aquí";
inline constexpr std::string_view undoMerge = "Es un commit de merge; no se puede deshacer desde aquí";
inline constexpr std::string_view stashGone = "Ese stash ya no está en la lista: no se ha tocado nada";

// "La rama " + name + " no existe"
inline constexpr std::string_view branchMissingPrefix = "La rama ";
inline constexpr std::string_view tagMissingPrefix = "La etiqueta ";
inline constexpr std::string_view missingSuffix = " no existe";

// "Resuelve el conflicto de " + path + " antes de descartarlo"
inline constexpr std::string_view conflictPrefix = "Resuelve el conflicto de ";
inline constexpr std::string_view conflictSuffix = " antes de descartarlo";

}  // namespace tarv::engine::WriteMessages
