#include <string>
#include <string_view>
#include <variant>

#include "TarvCore/Localization/Text.hpp"

namespace tarv::core {

namespace {

// The failures whose text is one literal.
enum class FailureLiteral {
    ssoRequired,
    authenticationFailed,
    permissionDenied,
    repositoryNotFound,
    networkUnavailable,
    nonFastForward,
    divergentBranches,
    noUpstream,
    noRemote,
    hookRejected,
    sshKeyMissing,
    hostKeyChanged,
    lfsMissing,
    signingFailed,
};

// One arm per item.
std::string_view englishHintText(HintItem item) {
    switch (item) {
    case HintItem::panel:
        return "pane";
    case HintItem::include:
        return "include";
    case HintItem::commit:
        return "commit";
    case HintItem::sync:
        return "sync";
    case HintItem::palette:
        return "commands";
    case HintItem::help:
        return "help";
    case HintItem::scroll:
        return "scroll";
    case HintItem::hunk:
        return "hunk";
    case HintItem::back:
        return "back";
    case HintItem::move:
        return "move";
    case HintItem::open:
        return "open";
    case HintItem::copySHA:
        return "copy SHA";
    case HintItem::confirm:
        return "confirm";
    case HintItem::close:
        return "close";
    case HintItem::repos:
        return "repos";
    case HintItem::quit:
        return "quit";
    case HintItem::write:
        return "message";
    case HintItem::filter:
        return "filter";
    case HintItem::keepCurrent:
        return "A current";
    case HintItem::keepIncoming:
        return "B incoming";
    case HintItem::keepBoth:
        return "both";
    case HintItem::resolved:
        return "resolved";
    }
    return {};
}

std::string_view spanishHintText(HintItem item) {
    switch (item) {
    case HintItem::panel:
        return "panel";
    case HintItem::include:
        return "incluir";
    case HintItem::commit:
        return "commit";
    case HintItem::sync:
        return "sync";
    case HintItem::palette:
        return "comandos";
    case HintItem::help:
        return "ayuda";
    case HintItem::scroll:
        return "desplazar";
    case HintItem::hunk:
        return "hunk";
    case HintItem::back:
        return "volver";
    case HintItem::move:
        return "mover";
    case HintItem::open:
        return "abrir";
    case HintItem::copySHA:
        return "copiar SHA";
    case HintItem::confirm:
        return "confirmar";
    case HintItem::close:
        return "cerrar";
    case HintItem::repos:
        return "repos";
    case HintItem::quit:
        return "salir";
    case HintItem::write:
        return "mensaje";
    case HintItem::filter:
        return "filtrar";
    case HintItem::keepCurrent:
        return "A actual";
    case HintItem::keepIncoming:
        return "B entrante";
    case HintItem::keepBoth:
        return "ambos";
    case HintItem::resolved:
        return "resuelto";
    }
    return {};
}

std::string_view englishKeyHelpText(KeyHelpItem item) {
    switch (item) {
    case KeyHelpItem::moveInLists:
        return "Move through lists";
    case KeyHelpItem::switchPane:
        return "Next / previous pane";
    case KeyHelpItem::switchTab:
        return "Changes / History tab";
    case KeyHelpItem::includeFile:
        return "Include or exclude from commit";
    case KeyHelpItem::openDiffPane:
        return "Go to the diff";
    case KeyHelpItem::scrollDiff:
        return "Scroll the diff";
    case KeyHelpItem::jumpHunk:
        return "Previous / next hunk";
    case KeyHelpItem::filterFiles:
        return "Filter files";
    case KeyHelpItem::commitShortcut:
        return "Commit";
    case KeyHelpItem::closeDialogs:
        return "Close dialog / go back";
    case KeyHelpItem::suspend:
        return "Suspend to the shell";
    case KeyHelpItem::quitShortcut:
        return "Quit";
    case KeyHelpItem::toggleHunk:
        return "Include or exclude the whole hunk";
    case KeyHelpItem::toggleLineKey:
        return "Include or exclude the cursor line";
    case KeyHelpItem::mouseGutter:
        return "Click or drag in the diff margin: choose lines for the commit";
    case KeyHelpItem::keepCurrent:
        return "Conflict: keep change A (current)";
    case KeyHelpItem::keepIncoming:
        return "Conflict: keep change B (incoming)";
    case KeyHelpItem::keepBoth:
        return "Conflict: keep both changes";
    case KeyHelpItem::jumpConflict:
        return "Previous / next conflict";
    case KeyHelpItem::markFileResolved:
        return "Mark the file as resolved";
    case KeyHelpItem::mouseClick:
        return "Click: select or activate";
    case KeyHelpItem::mouseDoubleClick:
        return "Double click: open in editor";
    case KeyHelpItem::mouseRightClick:
        return "Right click: actions menu";
    case KeyHelpItem::mouseWheel:
        return "Wheel: scrolls the pane under the pointer (Shift: horizontal)";
    case KeyHelpItem::selectionHint:
        return "To select terminal text hold Shift";
    case KeyHelpItem::backToList:
        return "Back to the list";
    }
    return {};
}

std::string_view spanishKeyHelpText(KeyHelpItem item) {
    switch (item) {
    case KeyHelpItem::moveInLists:
        return "Moverse por listas";
    case KeyHelpItem::switchPane:
        return "Siguiente / anterior panel";
    case KeyHelpItem::switchTab:
        return "Pestaña Cambios / Historial";
    case KeyHelpItem::includeFile:
        return "Incluir o excluir en el commit";
    case KeyHelpItem::openDiffPane:
        return "Ir al diff";
    case KeyHelpItem::scrollDiff:
        return "Desplazar el diff";
    case KeyHelpItem::jumpHunk:
        return "Hunk anterior / siguiente";
    case KeyHelpItem::filterFiles:
        return "Filtrar archivos";
    case KeyHelpItem::commitShortcut:
        return "Hacer commit";
    case KeyHelpItem::closeDialogs:
        return "Cerrar ventana / volver";
    case KeyHelpItem::suspend:
        return "Suspender a la shell";
    case KeyHelpItem::quitShortcut:
        return "Salir";
    case KeyHelpItem::toggleHunk:
        return "Incluir o excluir todo el hunk";
    case KeyHelpItem::toggleLineKey:
        return "Incluir o excluir la línea del cursor";
    case KeyHelpItem::mouseGutter:
        return "Clic o arrastre en el margen del diff: elegir líneas para el commit";
    case KeyHelpItem::keepCurrent:
        return "Conflicto: quedarse con el cambio A (actual)";
    case KeyHelpItem::keepIncoming:
        return "Conflicto: quedarse con el cambio B (entrante)";
    case KeyHelpItem::keepBoth:
        return "Conflicto: conservar ambos cambios";
    case KeyHelpItem::jumpConflict:
        return "Conflicto anterior / siguiente";
    case KeyHelpItem::markFileResolved:
        return "Marcar el archivo como resuelto";
    case KeyHelpItem::mouseClick:
        return "Clic: seleccionar o activar";
    case KeyHelpItem::mouseDoubleClick:
        return "Doble clic: abrir en el editor";
    case KeyHelpItem::mouseRightClick:
        return "Clic derecho: menú de acciones";
    case KeyHelpItem::mouseWheel:
        return "Rueda: desplaza el panel bajo el puntero (Shift: horizontal)";
    case KeyHelpItem::selectionHint:
        return "Para seleccionar texto del terminal mantén Mayús";
    case KeyHelpItem::backToList:
        return "Volver a la lista";
    }
    return {};
}

std::string_view englishCommandText(AppCommand item) {
    switch (item) {
    case AppCommand::showChanges:
        return "Go to Changes";
    case AppCommand::showHistory:
        return "Go to History";
    case AppCommand::openRepositoryPicker:
        return "Switch repository";
    case AppCommand::openBranchPicker:
        return "Switch branch";
    case AppCommand::newBranch:
        return "New branch…";
    case AppCommand::sync:
        return "Sync (Fetch / Pull / Push)";
    case AppCommand::fetch:
        return "Fetch";
    case AppCommand::pull:
        return "Pull";
    case AppCommand::push:
        return "Push";
    case AppCommand::commit:
        return "Commit";
    case AppCommand::focusSummary:
        return "Write the commit message";
    case AppCommand::amendCommit:
        return "Amend the last commit";
    case AppCommand::cancelAmend:
        return "Cancel amending the commit";
    case AppCommand::addCoAuthor:
        return "Add co-author to the commit…";
    case AppCommand::clearCoAuthors:
        return "Remove the commit co-authors";
    case AppCommand::toggleAllFiles:
        return "Include or exclude all files";
    case AppCommand::discardSelected:
        return "Discard file changes…";
    case AppCommand::discardAll:
        return "Discard all changes…";
    case AppCommand::undo:
        return "Undo";
    case AppCommand::stashChanges:
        return "Stash changes";
    case AppCommand::showStashes:
        return "View stashes…";
    case AppCommand::renameBranch:
        return "Rename branch…";
    case AppCommand::deleteBranch:
        return "Delete branch…";
    case AppCommand::mergeBranch:
        return "Merge a branch into the current one…";
    case AppCommand::abortOperation:
        return "Abort the operation in progress";
    case AppCommand::continueOperation:
        return "Continue the operation in progress";
    case AppCommand::rebaseBranch:
        return "Rebase onto another branch…";
    case AppCommand::showWorktrees:
        return "Worktrees…";
    case AppCommand::newWorktree:
        return "New worktree…";
    case AppCommand::createTagOnCommit:
        return "Create a tag on this commit…";
    case AppCommand::showTags:
        return "Tags…";
    case AppCommand::squashCommit:
        return "Squash into the previous commit";
    case AppCommand::moveCommitUp:
        return "Move the commit up (newer)";
    case AppCommand::moveCommitDown:
        return "Move the commit down (older)";
    case AppCommand::revertCommit:
        return "Revert this commit";
    case AppCommand::cherryPickCommit:
        return "Apply this commit to the current branch (cherry-pick)";
    case AppCommand::branchFromCommit:
        return "Create a branch from this commit…";
    case AppCommand::resetSoftToCommit:
        return "Move the branch here keeping changes staged (soft reset)";
    case AppCommand::resetMixedToCommit:
        return "Move the branch here keeping changes unstaged (mixed reset)";
    case AppCommand::resolveMine:
        return "Use my version";
    case AppCommand::resolveTheirs:
        return "Use theirs";
    case AppCommand::markResolved:
        return "Mark as resolved";
    case AppCommand::openInEditor:
        return "Open in editor";
    case AppCommand::openInVim:
        return "Open with Vim / Vi";
    case AppCommand::revealInFinder:
        return "Show in file manager";
    case AppCommand::copyPath:
        return "Copy path";
    case AppCommand::copySHA:
        return "Copy commit SHA";
    case AppCommand::openOnWeb:
        return "Open on web";
    case AppCommand::createPullRequest:
        return "Create Pull Request for this branch";
    case AppCommand::toggleSplitDiff:
        return "Toggle split (side by side) diff";
    case AppCommand::signInGitHub:
        return "Sign in with GitHub…";
    case AppCommand::signOutGitHub:
        return "Sign out of GitHub";
    case AppCommand::ignoreFile:
        return "Add file to .gitignore";
    case AppCommand::refresh:
        return "Refresh";
    case AppCommand::addRepository:
        return "Add existing repository…";
    case AppCommand::createRepository:
        return "Create new repository…";
    case AppCommand::cloneRepository:
        return "Clone repository…";
    case AppCommand::publishRepository:
        return "Publish to GitHub…";
    case AppCommand::commandPalette:
        return "Command palette";
    case AppCommand::help:
        return "Help and shortcuts";
    case AppCommand::quit:
        return "Quit";
    }
    return {};
}

std::string_view spanishCommandText(AppCommand item) {
    switch (item) {
    case AppCommand::showChanges:
        return "Ir a Cambios";
    case AppCommand::showHistory:
        return "Ir a Historial";
    case AppCommand::openRepositoryPicker:
        return "Cambiar de repositorio";
    case AppCommand::openBranchPicker:
        return "Cambiar de rama";
    case AppCommand::newBranch:
        return "Nueva rama…";
    case AppCommand::sync:
        return "Sincronizar (Fetch / Pull / Push)";
    case AppCommand::fetch:
        return "Fetch";
    case AppCommand::pull:
        return "Pull";
    case AppCommand::push:
        return "Push";
    case AppCommand::commit:
        return "Hacer commit";
    case AppCommand::focusSummary:
        return "Escribir el mensaje del commit";
    case AppCommand::amendCommit:
        return "Modificar el último commit";
    case AppCommand::cancelAmend:
        return "Cancelar la modificación del commit";
    case AppCommand::addCoAuthor:
        return "Añadir coautor al commit…";
    case AppCommand::clearCoAuthors:
        return "Quitar los coautores del commit";
    case AppCommand::toggleAllFiles:
        return "Incluir o excluir todos los archivos";
    case AppCommand::discardSelected:
        return "Descartar cambios del archivo…";
    case AppCommand::discardAll:
        return "Descartar todos los cambios…";
    case AppCommand::undo:
        return "Deshacer";
    case AppCommand::stashChanges:
        return "Guardar cambios en el stash";
    case AppCommand::showStashes:
        return "Ver stashes…";
    case AppCommand::renameBranch:
        return "Renombrar rama…";
    case AppCommand::deleteBranch:
        return "Eliminar rama…";
    case AppCommand::mergeBranch:
        return "Fusionar una rama en la actual…";
    case AppCommand::abortOperation:
        return "Abortar la operación en curso";
    case AppCommand::continueOperation:
        return "Continuar la operación en curso";
    case AppCommand::rebaseBranch:
        return "Hacer rebase sobre otra rama…";
    case AppCommand::showWorktrees:
        return "Worktrees…";
    case AppCommand::newWorktree:
        return "Nuevo worktree…";
    case AppCommand::createTagOnCommit:
        return "Crear una etiqueta en este commit…";
    case AppCommand::showTags:
        return "Etiquetas…";
    case AppCommand::squashCommit:
        return "Combinar con el commit anterior (squash)";
    case AppCommand::moveCommitUp:
        return "Mover el commit hacia arriba (más reciente)";
    case AppCommand::moveCommitDown:
        return "Mover el commit hacia abajo (más antiguo)";
    case AppCommand::revertCommit:
        return "Revertir este commit";
    case AppCommand::cherryPickCommit:
        return "Aplicar este commit a la rama actual (cherry-pick)";
    case AppCommand::branchFromCommit:
        return "Crear una rama desde este commit…";
    case AppCommand::resetSoftToCommit:
        return "Mover la rama aquí conservando los cambios preparados (reset suave)";
    case AppCommand::resetMixedToCommit:
        return "Mover la rama aquí conservando los cambios sin preparar (reset mixto)";
    case AppCommand::resolveMine:
        return "Usar mi versión";
    case AppCommand::resolveTheirs:
        return "Usar la suya";
    case AppCommand::markResolved:
        return "Marcar como resuelto";
    case AppCommand::openInEditor:
        return "Abrir en el editor";
    case AppCommand::openInVim:
        return "Abrir con Vim / Vi";
    case AppCommand::revealInFinder:
        return "Mostrar en el gestor de archivos";
    case AppCommand::copyPath:
        return "Copiar ruta";
    case AppCommand::copySHA:
        return "Copiar SHA del commit";
    case AppCommand::openOnWeb:
        return "Abrir en la web";
    case AppCommand::createPullRequest:
        return "Crear Pull Request de esta rama";
    case AppCommand::toggleSplitDiff:
        return "Alternar diff dividido (lado a lado)";
    case AppCommand::signInGitHub:
        return "Iniciar sesión con GitHub…";
    case AppCommand::signOutGitHub:
        return "Cerrar la sesión de GitHub";
    case AppCommand::ignoreFile:
        return "Agregar archivo al .gitignore";
    case AppCommand::refresh:
        return "Actualizar";
    case AppCommand::addRepository:
        return "Añadir repositorio existente…";
    case AppCommand::createRepository:
        return "Crear repositorio nuevo…";
    case AppCommand::cloneRepository:
        return "Clonar repositorio…";
    case AppCommand::publishRepository:
        return "Publicar en GitHub…";
    case AppCommand::commandPalette:
        return "Paleta de comandos";
    case AppCommand::help:
        return "Ayuda y atajos";
    case AppCommand::quit:
        return "Salir";
    }
    return {};
}

// The failures without a payload.

std::string_view englishFailureText(FailureLiteral failure) {
    switch (failure) {
    case FailureLiteral::ssoRequired:
        return "Your organization requires authorizing access with SAML SSO. Authorize it on GitHub and try again.";
    case FailureLiteral::authenticationFailed:
        return "Authentication failed. Use a personal access token (not your password) or set up a credential helper: git config --global credential.helper 'cache --timeout=3600'";
    case FailureLiteral::permissionDenied:
        return "You don't have permission to write to this repository.";
    case FailureLiteral::repositoryNotFound:
        return "Remote repository not found. Check the remote URL (git remote -v).";
    case FailureLiteral::networkUnavailable:
        return "Can't reach the server. Check your network and try again.";
    case FailureLiteral::nonFastForward:
        return "The remote has changes you don't have. Pull before pushing.";
    case FailureLiteral::divergentBranches:
        return "Your branch and the remote diverged. From the terminal: git pull --rebase (or git pull --no-rebase).";
    case FailureLiteral::noUpstream:
        return "This branch isn't published yet. Use “Publish branch”.";
    case FailureLiteral::noRemote:
        return "This repository has no remote. Add one with: git remote add origin <URL>";
    case FailureLiteral::hookRejected:
        return "The server rejected the push (hook or branch protection rule).";
    case FailureLiteral::sshKeyMissing:
        return "The server rejected your SSH key. Add a key (ssh-add) or switch the remote to HTTPS.";
    case FailureLiteral::hostKeyChanged:
        return "SSH host verification failed. Check ~/.ssh/known_hosts.";
    case FailureLiteral::lfsMissing:
        return "This repository uses Git LFS and it is not installed. Install it (sudo apt install git-lfs) and run git lfs install.";
    case FailureLiteral::signingFailed:
        return "The commit could not be signed. Check your GPG/SSH key (git config user.signingkey) or disable signing: git config commit.gpgsign false";
    }
    return {};
}

std::string_view spanishFailureText(FailureLiteral failure) {
    switch (failure) {
    case FailureLiteral::ssoRequired:
        return "Tu organización exige autorizar el acceso con SAML SSO. Autorízalo en GitHub y vuelve a intentarlo.";
    case FailureLiteral::authenticationFailed:
        return "No se pudo autenticar. Usa un token de acceso personal (no tu contraseña) o configura un asistente de credenciales: git config --global credential.helper 'cache --timeout=3600'";
    case FailureLiteral::permissionDenied:
        return "No tienes permiso para escribir en este repositorio.";
    case FailureLiteral::repositoryNotFound:
        return "No se encontró el repositorio remoto. Revisa la URL del remoto (git remote -v).";
    case FailureLiteral::networkUnavailable:
        return "Sin conexión con el servidor. Revisa tu red e inténtalo de nuevo.";
    case FailureLiteral::nonFastForward:
        return "El remoto tiene cambios que no tienes. Haz Pull antes de subir.";
    case FailureLiteral::divergentBranches:
        return "Tu rama y la del remoto divergieron. Desde la terminal: git pull --rebase (o git pull --no-rebase).";
    case FailureLiteral::noUpstream:
        return "Esta rama aún no está publicada. Usa «Publicar rama».";
    case FailureLiteral::noRemote:
        return "Este repositorio no tiene remoto. Agrégalo con: git remote add origin <URL>";
    case FailureLiteral::hookRejected:
        return "El servidor rechazó el push (hook o regla de protección de rama).";
    case FailureLiteral::sshKeyMissing:
        return "El servidor rechazó tu llave SSH. Agrega una llave (ssh-add) o cambia el remoto a HTTPS.";
    case FailureLiteral::hostKeyChanged:
        return "Falló la verificación del host SSH. Revisa ~/.ssh/known_hosts.";
    case FailureLiteral::lfsMissing:
        return "Este repositorio usa Git LFS y no está instalado. Instálalo (sudo apt install git-lfs) y ejecuta git lfs install.";
    case FailureLiteral::signingFailed:
        return "No se pudo firmar el commit. Revisa tu llave GPG/SSH (git config user.signingkey) o desactiva la firma: git config commit.gpgsign false";
    }
    return {};
}

// The literal of a failure without a payload, or of `ssoRequired`, whose
// address is never shown. Both lists keep the declaration order; the literal
// list lacks `repositoryMoved` and `other`, so every failure after them sits
// two places earlier in it.
FailureLiteral literalOf(const RemoteFailure& failure) {
    if (std::holds_alternative<RemoteFailure::SsoRequired>(failure.value)) {
        return FailureLiteral::ssoRequired;
    }
    return static_cast<FailureLiteral>(failure.value.index() - 2);
}

}  // namespace

std::string Text::englishFailure(const core::RemoteFailure& failure) {
    if (const auto* moved = std::get_if<core::RemoteFailure::RepositoryMoved>(&failure.value)) {
        if (moved->url) {
            return "The repository moved to " + *moved->url + ". Update the remote.";
        }
        return "The repository moved. Update the remote URL (git remote set-url origin <URL>).";
    }
    if (const auto* other = std::get_if<core::RemoteFailure::Other>(&failure.value)) {
        return other->message.empty() ? "Unknown error" : other->message;
    }
    return std::string(englishFailureText(literalOf(failure)));
}

std::string Text::spanishFailure(const core::RemoteFailure& failure) {
    if (const auto* moved = std::get_if<core::RemoteFailure::RepositoryMoved>(&failure.value)) {
        if (moved->url) {
            return "El repositorio se movió a " + *moved->url + ". Actualiza el remoto.";
        }
        return "El repositorio se movió. Actualiza la URL del remoto (git remote set-url origin <URL>).";
    }
    if (const auto* other = std::get_if<core::RemoteFailure::Other>(&failure.value)) {
        return other->message.empty() ? "Error desconocido" : other->message;
    }
    return std::string(spanishFailureText(literalOf(failure)));
}

std::string Text::englishHint(HintItem item) {
    return std::string(englishHintText(item));
}

std::string Text::spanishHint(HintItem item) {
    return std::string(spanishHintText(item));
}

std::string Text::englishKeyHelp(KeyHelpItem item) {
    return std::string(englishKeyHelpText(item));
}

std::string Text::spanishKeyHelp(KeyHelpItem item) {
    return std::string(spanishKeyHelpText(item));
}

std::string Text::englishCommand(AppCommand command) {
    return std::string(englishCommandText(command));
}

std::string Text::spanishCommand(AppCommand command) {
    return std::string(spanishCommandText(command));
}

}  // namespace tarv::core
