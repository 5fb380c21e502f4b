#pragma once

#include <string_view>

// The refusals of the write commands, shown to the user as they are, in
// Spanish or in English after the interface's language. A refusal is thrown
// as GitError::invalidArgument before git runs; texts ending in a blank get
// the offending value appended.
namespace tarv::engine::WriteMessages {

// One refusal text in both languages.
struct Refusal {
    std::string_view spanish;
    std::string_view english;
};

inline constexpr Refusal emptySelection{"No hay archivos incluidos en el commit", "No files are included in the commit"};
inline constexpr Refusal emptySummary{"El resumen del commit es obligatorio", "The commit summary is required"};
inline constexpr Refusal invalidRevision{"Revisión inválida: ", "Invalid revision: "};
inline constexpr Refusal deletingCurrentBranch{"No se puede eliminar la rama en la que estás",
                                               "The branch you are on cannot be deleted"};
inline constexpr Refusal invalidBranchName{"Nombre de rama inválido: ", "Invalid branch name: "};
inline constexpr Refusal invalidTagName{"Nombre de etiqueta inválido: ", "Invalid tag name: "};
inline constexpr Refusal nothingToAmend{"No hay ningún commit que modificar", "There is no commit to amend"};
inline constexpr Refusal nothingToStash{"No hay cambios que guardar", "There are no changes to stash"};
inline constexpr Refusal noOperationInProgress{"No hay ninguna operación en curso", "No operation is in progress"};
inline constexpr Refusal nothingToUndo{"No hay commits que deshacer", "There are no commits to undo"};
inline constexpr Refusal commitNotOnBranch{"El commit no está en la rama actual",
                                           "The commit is not on the current branch"};
inline constexpr Refusal alreadyNewest{"Ya es el commit más reciente", "It is already the newest commit"};
inline constexpr Refusal firstCommit{"Es el primer commit: no tiene uno anterior",
                                     "It is the first commit: there is none before it"};
inline constexpr Refusal uncommittedChanges{"Guarda o descarta tus cambios antes de reescribir el historial",
                                            "Save or discard your changes before rewriting history"};
inline constexpr Refusal alreadyPushed{"Ese commit ya se subió: reescribirlo obligaría a forzar el push",
                                       "That commit was already pushed: rewriting it would need a force push"};
inline constexpr Refusal mergeInRange{"Hay commits de merge en medio: no se puede reescribir con seguridad",
                                      "There are merge commits in between: it cannot be rewritten safely"};
inline constexpr Refusal invalidScriptFolder{"Carpeta temporal inválida: ", "Invalid temporary folder: "};
inline constexpr Refusal invalidRemote{"Remoto inválido: ", "Invalid remote: "};
inline constexpr Refusal invalidPullRequestNumber{"Número de PR inválido: ", "Invalid PR number: "};
inline constexpr Refusal undoPublished{"Ese commit ya se subió; no se puede deshacer desde aquí",
                                       "That commit was already pushed; it cannot be undone here"};
inline constexpr Refusal undoMerge{"Es un commit de merge; no se puede deshacer desde aquí",
                                   "It is a merge commit; it cannot be undone here"};
inline constexpr Refusal stashGone{"Ese stash ya no está en la lista: no se ha tocado nada",
                                   "That stash is no longer in the list: nothing was touched"};

// "La rama " + name + " no existe"
inline constexpr Refusal branchMissingPrefix{"La rama ", "The branch "};
inline constexpr Refusal tagMissingPrefix{"La etiqueta ", "The tag "};
inline constexpr Refusal missingSuffix{" no existe", " does not exist"};

// "Resuelve el conflicto de " + path + " antes de descartarlo"
inline constexpr Refusal conflictPrefix{"Resuelve el conflicto de ", "Resolve the conflict in "};
inline constexpr Refusal conflictSuffix{" antes de descartarlo", " before discarding it"};

}  // namespace tarv::engine::WriteMessages
