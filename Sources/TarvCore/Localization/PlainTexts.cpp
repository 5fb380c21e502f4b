#include "TarvCore/Localization/PlainTexts.hpp"

namespace tarv::core::detail {

// One arm per payload-free case.
std::string_view englishPlainText(Text::Plain plain) {
    switch (plain) {
    case Text::Plain::doctorGitMissing:
        return "git          not found (install it: sudo apt install git)";
    case Text::Plain::doctorIdentityMissing:
        return "identity     user.name or user.email missing (Tarv will ask on launch)";
    case Text::Plain::doctorHelperMissing:
        return "credentials  no credential.helper (Tarv can set up git's credential cache)";
    case Text::Plain::doctorSSHNoKeys:
        return "ssh          agent has no keys (ssh-add -l)";
    case Text::Plain::doctorSSHNoAgent:
        return "ssh          no ssh-agent running";
    case Text::Plain::probeTitle:
        return "Live terminal probe";
    case Text::Plain::probeNotATTY:
        return "tarv: the probe needs an interactive terminal (stdin/stdout are not a TTY)";
    case Text::Plain::probeNoDeviceAttributes:
        return "identity     the terminal did not answer DA1";
    case Text::Plain::probeClickPrompt:
        return "Click anywhere in this window (any key to skip; 10 s)…";
    case Text::Plain::probeColorSwatch:
        return "24-bit sample (a smooth gradient with no steps means the terminal supports it):";
    case Text::Plain::probeClickSkipped:
        return "mouse        no click arrived";
    case Text::Plain::scrollProbeEmpty:
        return "No wheel events arrived.";
    case Text::Plain::toastAmendNotAllowed:
        return "That commit was already pushed; it can't be amended from here";
    case Text::Plain::onboardingWelcome:
        return "Welcome to Tarv";
    case Text::Plain::toastMergeUpToDate:
        return "Already up to date: nothing to merge";
    case Text::Plain::toastOperationAborted:
        return "Operation aborted";
    case Text::Plain::mergeConflictsTitle:
        return "The merge has conflicts";
    case Text::Plain::buttonContinueOperation:
        return "Continue";
    case Text::Plain::toastReverted:
        return "Commit reverted";
    case Text::Plain::toastCherryPicked:
        return "Commit applied to this branch";
    case Text::Plain::toastOperationCompleted:
        return "Operation completed";
    case Text::Plain::toastConflictResolved:
        return "Conflict resolved";
    case Text::Plain::buttonAbortOperation:
        return "Abort";
    case Text::Plain::resolveConflictsFirst:
        return "Resolve conflicts first";
    case Text::Plain::conflictKeepCurrent:
        return "A · current";
    case Text::Plain::conflictKeepIncoming:
        return "B · incoming";
    case Text::Plain::conflictKeepBoth:
        return "A + B · both";
    case Text::Plain::conflictNoMarkers:
        return "No conflict markers are left in this file.";
    case Text::Plain::conflictMarkResolvedButton:
        return "Mark as resolved";
    case Text::Plain::conflictFileNeedsMarkers:
        return "Could not read the file to resolve the conflict.";
    case Text::Plain::stashTitle:
        return "Stashes";
    case Text::Plain::worktreesTitle:
        return "Worktrees";
    case Text::Plain::worktreesHint:
        return "⏎ open · n new · d remove · Esc close";
    case Text::Plain::worktreeMain:
        return "main";
    case Text::Plain::worktreeCurrent:
        return "open";
    case Text::Plain::worktreeDetached:
        return "detached HEAD";
    case Text::Plain::newWorktreeTitle:
        return "New worktree";
    case Text::Plain::newWorktreePlaceholder:
        return "Branch (existing or new)";
    case Text::Plain::worktreeCannotRemove:
        return "The main worktree and the open one cannot be removed";
    case Text::Plain::toastSquashed:
        return "Commits squashed (backup in refs/tarv/backups/pre-rebase)";
    case Text::Plain::toastReordered:
        return "Commit moved (backup in refs/tarv/backups/pre-rebase)";
    case Text::Plain::tagsTitle:
        return "Tags";
    case Text::Plain::tagsEmpty:
        return "This repository has no tags";
    case Text::Plain::tagsHint:
        return "⏎ go to commit · d delete · Esc close";
    case Text::Plain::tagNamePlaceholder:
        return "v1.0.0";
    case Text::Plain::invalidTagName:
        return "Invalid tag name";
    case Text::Plain::tagCommitNotLoaded:
        return "The tag's commit is not in the loaded history";
    case Text::Plain::stashEmpty:
        return "There are no stashed changes";
    case Text::Plain::stashHint:
        return "⏎ restore · d drop · Esc close";
    case Text::Plain::toastStashed:
        return "Changes stashed";
    case Text::Plain::toastStashRestored:
        return "Stash restored";
    case Text::Plain::toastStashDropped:
        return "Stash dropped";
    case Text::Plain::stashSuggestion:
        return "Tip: stash your changes with “Stash changes” (Ctrl+P) and try again.";
    case Text::Plain::nothingToStash:
        return "No changes to stash";
    case Text::Plain::credentialsTitle:
        return "Authentication required";
    case Text::Plain::credentialsTokenHint:
        return "GitHub no longer accepts passwords: use a personal access token.";
    case Text::Plain::buttonContinue:
        return "Continue";
    case Text::Plain::buttonYes:
        return "Yes";
    case Text::Plain::buttonNo:
        return "No";
    case Text::Plain::helpSectionGeneral:
        return "General";
    case Text::Plain::helpSectionFiles:
        return "Files and lists";
    case Text::Plain::helpSectionDiff:
        return "Diff";
    case Text::Plain::helpSectionMouse:
        return "Mouse";
    case Text::Plain::contextMenuTitle:
        return "Actions";
    case Text::Plain::commitHintNoSummary:
        return "Write a summary to be able to commit";
    case Text::Plain::spinnerWorking:
        return "Working…";
    case Text::Plain::welcomeIntro:
        return "Pick a repository to get started";
    case Text::Plain::pickerAddFooter:
        return "Add existing";
    case Text::Plain::pickerCloneFooter:
        return "Clone";
    case Text::Plain::emptyList:
        return "No results";
    case Text::Plain::confirmKeys:
        return "Enter";
    case Text::Plain::buttonCreate:
        return "Create";
    case Text::Plain::buttonRename:
        return "Rename";
    case Text::Plain::coAuthorTitle:
        return "Add co-author";
    case Text::Plain::coAuthorPrompt:
        return "Name <email> (use the email of their GitHub account)";
    case Text::Plain::coAuthorInvalid:
        return "Type “Name <ada@example.com>”";
    case Text::Plain::buttonAdd:
        return "Add";
    case Text::Plain::buttonClone:
        return "Clone";
    case Text::Plain::confirmKeysLabel:
        return "Confirm";
    case Text::Plain::emptyDiff:
        return "No content changes";
    case Text::Plain::helpKeyColumn:
        return "Key";
    case Text::Plain::cancelKeys:
        return "Esc";
    case Text::Plain::tabHistory:
        return "History";
    case Text::Plain::currentRepository:
        return "Current repository";
    case Text::Plain::currentBranch:
        return "Current branch";
    case Text::Plain::filterPlaceholder:
        return "Filter…";
    case Text::Plain::noLocalChanges:
        return "No local changes";
    case Text::Plain::noLocalChangesHint:
        return "Edit a file and it will show up here instantly.";
    case Text::Plain::summaryPlaceholder:
        return "Summary (required)";
    case Text::Plain::descriptionPlaceholder:
        return "Description";
    case Text::Plain::committing:
        return "Committing…";
    case Text::Plain::noCommitsYet:
        return "No commits yet";
    case Text::Plain::compareBranchPlaceholder:
        return "Compare to a branch…";
    case Text::Plain::binaryFile:
        return "Binary file: diff not shown";
    case Text::Plain::loading:
        return "Loading…";
    case Text::Plain::noRepositoryOpen:
        return "No repository open";
    case Text::Plain::welcomeAdd:
        return "Add an existing repository…";
    case Text::Plain::welcomeClone:
        return "Clone a repository…";
    case Text::Plain::recents:
        return "Recent";
    case Text::Plain::otherRepositories:
        return "Other";
    case Text::Plain::repositoriesTitle:
        return "Repositories";
    case Text::Plain::branchesTitle:
        return "Branches";
    case Text::Plain::pullRequestsTitle:
        return "Pull Requests";
    case Text::Plain::toastPublishBranchFirst:
        return "Publish the branch before creating the Pull Request";
    case Text::Plain::signInTitle:
        return "Sign in with GitHub";
    case Text::Plain::signInRequesting:
        return "Requesting a code from GitHub…";
    case Text::Plain::signInCopyAndOpen:
        return "Copy code and open the browser";
    case Text::Plain::signInWaiting:
        return "Waiting for you to authorize Tarv on GitHub…";
    case Text::Plain::toastSignedOut:
        return "Signed out of GitHub";
    case Text::Plain::toastSessionExpired:
        return "Your GitHub session expired; sign in again";
    case Text::Plain::pullRequestsSignIn:
        return "Sign in with GitHub to see this repository's Pull Requests.";
    case Text::Plain::pullRequestsNotGitHub:
        return "This repository has no GitHub remote.";
    case Text::Plain::pullRequestsEmpty:
        return "No open Pull Requests.";
    case Text::Plain::pullRequestDraft:
        return "draft";
    case Text::Plain::hostingUnauthorized:
        return "GitHub rejected the session (expired or revoked). Sign in again.";
    case Text::Plain::hostingDeviceFlowDisabled:
        return "The GitHub app does not have “Enable Device Flow” turned on.";
    case Text::Plain::hostingNotFound:
        return "GitHub could not find the repository (or the app has no access to it).";
    case Text::Plain::hostingRateLimited:
        return "GitHub's rate limit was reached; try again in a few minutes.";
    case Text::Plain::hostingInvalidResponse:
        return "GitHub returned an unexpected response.";
    case Text::Plain::hostingExpiredCode:
        return "The code expired before it was authorized. Try again.";
    case Text::Plain::hostingDenied:
        return "You cancelled the authorization on GitHub.";
    case Text::Plain::gitTokenRejected:
        return "GitHub rejected your Tarv session token for this repository (the GitHub app may not be installed here or lack write access). Try again: this time Tarv will ask you for credentials.";
    case Text::Plain::pullRequestsUnavailable:
        return "Sign in with GitHub to see Pull Requests (coming soon).";
    case Text::Plain::defaultBranch:
        return "Default branch";
    case Text::Plain::recentBranches:
        return "Recent branches";
    case Text::Plain::otherBranches:
        return "Other branches";
    case Text::Plain::newBranchTitle:
        return "New branch";
    case Text::Plain::deleteBranchPickerTitle:
        return "Delete branch";
    case Text::Plain::deleteBranchConfirm:
        return "Delete";
    case Text::Plain::deleteBranchForceConfirm:
        return "Delete anyway";
    case Text::Plain::toastCannotDeleteCurrentBranch:
        return "You can't delete the branch you're on";
    case Text::Plain::newBranchPlaceholder:
        return "Branch name";
    case Text::Plain::invalidBranchName:
        return "Invalid branch name";
    case Text::Plain::commandsTitle:
        return "Commands";
    case Text::Plain::helpTitle:
        return "Keyboard shortcuts";
    case Text::Plain::discardTitle:
        return "Discard changes?";
    case Text::Plain::discardConfirm:
        return "Discard";
    case Text::Plain::cancel:
        return "Cancel";
    case Text::Plain::close:
        return "Close";
    case Text::Plain::ok:
        return "OK";
    case Text::Plain::toastDiscarded:
        return "Changes discarded · u to undo";
    case Text::Plain::toastRestored:
        return "Changes restored";
    case Text::Plain::undoUnfinished:
        return "Undo stopped before the end · u finishes it";
    case Text::Plain::discardSubmodule:
        return "Nothing to discard from here: a submodule's changes are inside it (open the submodule to "
               "discard them)";
    case Text::Plain::toastUndoneCommit:
        return "Commit undone: changes are back in the list";
    case Text::Plain::toastFetched:
        return "Fetch complete";
    case Text::Plain::toastPulled:
        return "Pull complete";
    case Text::Plain::toastPushed:
        return "Push complete";
    case Text::Plain::toastNothingToUndo:
        return "Nothing to undo";
    case Text::Plain::toastUndoNotAllowed:
        return "That commit was already pushed; it can't be undone from here";
    case Text::Plain::errorTitle:
        return "Error";
    case Text::Plain::commitFailedTitle:
        return "Could not commit";
    case Text::Plain::syncFailedTitle:
        return "Could not sync";
    case Text::Plain::syncFetching:
        return "Fetching…";
    case Text::Plain::syncPulling:
        return "Pulling…";
    case Text::Plain::syncPushing:
        return "Pushing…";
    case Text::Plain::onboardingChecking:
        return "Checking your git setup…";
    case Text::Plain::onboardingGitMissingTitle:
        return "Git is not installed";
    case Text::Plain::onboardingGitMissingBody:
        return "Tarv needs git. Install it with your system's package manager, then press Retry.";
    case Text::Plain::onboardingContinue:
        return "Continue";
    case Text::Plain::onboardingRetry:
        return "Retry";
    case Text::Plain::onboardingInstallTools:
        return "Install git";
    case Text::Plain::onboardingIdentityIntro:
        return "Git needs to know who you are to sign your commits.";
    case Text::Plain::onboardingSavesTo:
        return "It will be saved in ~/.gitconfig (git config --global).";
    case Text::Plain::fieldName:
        return "Name";
    case Text::Plain::fieldEmail:
        return "Email";
    case Text::Plain::fieldDefaultBranch:
        return "Default branch";
    case Text::Plain::fieldStoreCredentials:
        return "Keep credentials in git's credential cache for an hour";
    case Text::Plain::onboardingSave:
        return "Save and continue";
    case Text::Plain::onboardingSkip:
        return "Skip";
    case Text::Plain::invalidName:
        return "Enter your name";
    case Text::Plain::invalidEmail:
        return "Enter a valid email";
    case Text::Plain::addRepositoryTitle:
        return "Add existing repository";
    case Text::Plain::addRepositoryPrompt:
        return "Path to the repository folder";
    case Text::Plain::keymapUsage:
        return "Format: {\"version\": 1, \"bindings\": {\"commandPalette\": [\"ctrl+k\"], \"push\": [\"P\"], \"quit\": []}}  ·  keys: ctrl+x, alt+x, shift+x, f1…f12, enter, home, end, pageup, pagedown";
    case Text::Plain::createRepositoryTitle:
        return "Create new repository";
    case Text::Plain::createRepositoryPrompt:
        return "Repository folder (created if it does not exist)";
    case Text::Plain::createRepositoryHere:
        return "Create a repository here";
    case Text::Plain::welcomeCreate:
        return "Create a new repository…";
    case Text::Plain::cloneTitle:
        return "Clone repository";
    case Text::Plain::cloneURLPrompt:
        return "URL or user/repo";
    case Text::Plain::cloneDestinationPrompt:
        return "Clone into";
    case Text::Plain::cloning:
        return "Cloning…";
    case Text::Plain::cloneInvalidURL:
        return "Enter a git URL or user/repo";
    case Text::Plain::cloneYourRepositories:
        return "Your GitHub repos · type to filter, ↑↓ to choose";
    case Text::Plain::cloneLoadingRepositories:
        return "Loading your GitHub repos…";
    case Text::Plain::cloneNoMatches:
        return "None of your repos match: the typed URL will be cloned";
    case Text::Plain::cloneSignInHint:
        return "Sign in to GitHub (palette) to pick from your repos";
    case Text::Plain::repositoryPrivate:
        return "private";
    case Text::Plain::repositoryPublic:
        return "public";
    case Text::Plain::openInEditorUnavailable:
        return "Could not open the editor";
    case Text::Plain::publishTitle:
        return "Publish to GitHub";
    case Text::Plain::publishNameLabel:
        return "Name";
    case Text::Plain::publishDescriptionLabel:
        return "Description (optional)";
    case Text::Plain::publishPrivate:
        return "Keep this code private";
    case Text::Plain::publishHint:
        return "Tab switches field · Space toggles the box";
    case Text::Plain::publishing:
        return "Publishing…";
    case Text::Plain::publishInvalidName:
        return "Use letters, digits, hyphens, dots or underscores (max. 100)";
    case Text::Plain::buttonPublish:
        return "Publish";
    case Text::Plain::lineEllipsis:
        return "…";
    case Text::Plain::selectAllFiles:
        return "Select all";
    case Text::Plain::copied:
        return "Copied to clipboard";
    case Text::Plain::externalEditorFailed:
        return "Could not open vim or vi";
    case Text::Plain::unavailable:
        return "Unavailable";
    case Text::Plain::syncPublishBranch:
        return "Publish branch";
    case Text::Plain::syncPublishRepository:
        return "Publish repository";
    case Text::Plain::syncNoRemote:
        return "No remote configured";
    case Text::Plain::syncNeverFetched:
        return "Never fetched";
    case Text::Plain::cloneInvalidDestination:
        return "Enter the folder to clone into";
    case Text::Plain::clipboardToolMissing:
        return "no clipboard tool: install wl-copy, xclip or xsel";
    case Text::Plain::openInEditorNoDesktop:
        return "No graphical session to open an editor in (set TARV_EDITOR) · v opens the file in the terminal";
    case Text::Plain::openInEditorNoOpener:
        return "xdg-open was not found to open the editor · v opens the file in the terminal";
    case Text::Plain::undoKeptEditsTitle:
        return "Changes restored; later edits kept first";
    case Text::Plain::undoKeptEditsBody:
        return "These files had been edited again since the discard. Those edits were "
               "kept in the recovery point below before the discarded versions were written back:";
    case Text::Plain::toastEmptyCommitSkipped:
        return "Operation completed: the commit left empty was skipped (uncommitted changes kept first in refs/tarv/snapshots)";
    case Text::Plain::toastOperationAbortedKept:
        return "Operation aborted (uncommitted changes kept first in refs/tarv/snapshots)";
    case Text::Plain::lineSelectionDropped:
        return "This file changed and its chosen lines could not be kept: it is no longer included";
    case Text::Plain::toastDiscardedSubmodulesKept:
        return "Changes discarded; submodules left as they were · u to undo";
    }
    return {};
}

std::string_view spanishPlainText(Text::Plain plain) {
    switch (plain) {
    case Text::Plain::doctorGitMissing:
        return "git          no encontrado (instálalo: sudo apt install git)";
    case Text::Plain::doctorIdentityMissing:
        return "identidad    falta user.name o user.email (Tarv te lo pedirá al abrir)";
    case Text::Plain::doctorHelperMissing:
        return "credenciales sin credential.helper (Tarv puede configurar la caché de credenciales de git)";
    case Text::Plain::doctorSSHNoKeys:
        return "ssh          el agente no tiene llaves (ssh-add -l)";
    case Text::Plain::doctorSSHNoAgent:
        return "ssh          no hay ssh-agent activo";
    case Text::Plain::probeTitle:
        return "Sondeo en vivo del terminal";
    case Text::Plain::probeNotATTY:
        return "tarv: el sondeo necesita un terminal interactivo (stdin/stdout no son un TTY)";
    case Text::Plain::probeNoDeviceAttributes:
        return "identidad    el terminal no contestó a DA1";
    case Text::Plain::probeClickPrompt:
        return "Haz clic en cualquier parte de esta ventana (cualquier tecla para omitir; 10 s)…";
    case Text::Plain::probeColorSwatch:
        return "muestra 24-bit (si ves un degradado continuo, sin escalones, el terminal lo soporta):";
    case Text::Plain::probeClickSkipped:
        return "ratón       no llegó ningún clic";
    case Text::Plain::scrollProbeEmpty:
        return "No llegó ningún evento de rueda.";
    case Text::Plain::toastAmendNotAllowed:
        return "Ese commit ya se subió; no se puede modificar desde aquí";
    case Text::Plain::onboardingWelcome:
        return "Bienvenido a Tarv";
    case Text::Plain::toastMergeUpToDate:
        return "Ya estaba al día: no hay nada que fusionar";
    case Text::Plain::toastOperationAborted:
        return "Operación abortada";
    case Text::Plain::mergeConflictsTitle:
        return "El merge tiene conflictos";
    case Text::Plain::buttonContinueOperation:
        return "Continuar";
    case Text::Plain::toastReverted:
        return "Commit revertido";
    case Text::Plain::toastCherryPicked:
        return "Commit aplicado a esta rama";
    case Text::Plain::toastOperationCompleted:
        return "Operación completada";
    case Text::Plain::toastConflictResolved:
        return "Conflicto resuelto";
    case Text::Plain::buttonAbortOperation:
        return "Abortar";
    case Text::Plain::resolveConflictsFirst:
        return "Resuelve los conflictos";
    case Text::Plain::conflictKeepCurrent:
        return "A · actual";
    case Text::Plain::conflictKeepIncoming:
        return "B · entrante";
    case Text::Plain::conflictKeepBoth:
        return "A + B · ambos";
    case Text::Plain::conflictNoMarkers:
        return "Ya no quedan marcadores de conflicto en este archivo.";
    case Text::Plain::conflictMarkResolvedButton:
        return "Marcar como resuelto";
    case Text::Plain::conflictFileNeedsMarkers:
        return "No se pudo leer el archivo para resolver el conflicto.";
    case Text::Plain::stashTitle:
        return "Stashes";
    case Text::Plain::worktreesTitle:
        return "Worktrees";
    case Text::Plain::worktreesHint:
        return "⏎ abrir · n nuevo · d eliminar · Esc cerrar";
    case Text::Plain::worktreeMain:
        return "principal";
    case Text::Plain::worktreeCurrent:
        return "abierto";
    case Text::Plain::worktreeDetached:
        return "HEAD desacoplado";
    case Text::Plain::newWorktreeTitle:
        return "Nuevo worktree";
    case Text::Plain::newWorktreePlaceholder:
        return "Rama (existente o nueva)";
    case Text::Plain::worktreeCannotRemove:
        return "No se puede eliminar el worktree principal ni el que está abierto";
    case Text::Plain::toastSquashed:
        return "Commits combinados (respaldo en refs/tarv/backups/pre-rebase)";
    case Text::Plain::toastReordered:
        return "Commit movido (respaldo en refs/tarv/backups/pre-rebase)";
    case Text::Plain::tagsTitle:
        return "Etiquetas";
    case Text::Plain::tagsEmpty:
        return "Este repositorio no tiene etiquetas";
    case Text::Plain::tagsHint:
        return "⏎ ir al commit · d eliminar · Esc cerrar";
    case Text::Plain::tagNamePlaceholder:
        return "v1.0.0";
    case Text::Plain::invalidTagName:
        return "Nombre de etiqueta no válido";
    case Text::Plain::tagCommitNotLoaded:
        return "El commit de la etiqueta no está en el historial cargado";
    case Text::Plain::stashEmpty:
        return "No hay cambios guardados en el stash";
    case Text::Plain::stashHint:
        return "⏎ restaurar · d descartar · Esc cerrar";
    case Text::Plain::toastStashed:
        return "Cambios guardados en el stash";
    case Text::Plain::toastStashRestored:
        return "Stash restaurado";
    case Text::Plain::toastStashDropped:
        return "Stash descartado";
    case Text::Plain::stashSuggestion:
        return "Sugerencia: guarda tus cambios con «Guardar cambios en el stash» (Ctrl+P) y vuelve a intentarlo.";
    case Text::Plain::nothingToStash:
        return "No hay cambios que guardar";
    case Text::Plain::credentialsTitle:
        return "Se requiere autenticación";
    case Text::Plain::credentialsTokenHint:
        return "GitHub ya no acepta contraseñas: usa un token de acceso personal.";
    case Text::Plain::buttonContinue:
        return "Continuar";
    case Text::Plain::buttonYes:
        return "Sí";
    case Text::Plain::buttonNo:
        return "No";
    case Text::Plain::helpSectionGeneral:
        return "General";
    case Text::Plain::helpSectionFiles:
        return "Archivos y listas";
    case Text::Plain::helpSectionDiff:
        return "Diff";
    case Text::Plain::helpSectionMouse:
        return "Ratón";
    case Text::Plain::contextMenuTitle:
        return "Acciones";
    case Text::Plain::commitHintNoSummary:
        return "Escribe un resumen para poder hacer commit";
    case Text::Plain::spinnerWorking:
        return "Trabajando…";
    case Text::Plain::welcomeIntro:
        return "Elige un repositorio para empezar";
    case Text::Plain::pickerAddFooter:
        return "Añadir existente";
    case Text::Plain::pickerCloneFooter:
        return "Clonar";
    case Text::Plain::emptyList:
        return "Sin resultados";
    case Text::Plain::confirmKeys:
        return "Enter";
    case Text::Plain::buttonCreate:
        return "Crear";
    case Text::Plain::buttonRename:
        return "Renombrar";
    case Text::Plain::coAuthorTitle:
        return "Añadir coautor";
    case Text::Plain::coAuthorPrompt:
        return "Nombre <correo> (usa el correo de su cuenta de GitHub)";
    case Text::Plain::coAuthorInvalid:
        return "Escribe «Nombre <ada@example.com>»";
    case Text::Plain::buttonAdd:
        return "Añadir";
    case Text::Plain::buttonClone:
        return "Clonar";
    case Text::Plain::confirmKeysLabel:
        return "Confirmar";
    case Text::Plain::emptyDiff:
        return "Sin cambios de contenido";
    case Text::Plain::helpKeyColumn:
        return "Tecla";
    case Text::Plain::cancelKeys:
        return "Esc";
    case Text::Plain::tabHistory:
        return "Historial";
    case Text::Plain::currentRepository:
        return "Repositorio actual";
    case Text::Plain::currentBranch:
        return "Rama actual";
    case Text::Plain::filterPlaceholder:
        return "Filtrar…";
    case Text::Plain::noLocalChanges:
        return "No hay cambios locales";
    case Text::Plain::noLocalChangesHint:
        return "Edita un archivo y aparecerá aquí al instante.";
    case Text::Plain::summaryPlaceholder:
        return "Resumen (obligatorio)";
    case Text::Plain::descriptionPlaceholder:
        return "Descripción";
    case Text::Plain::committing:
        return "Haciendo commit…";
    case Text::Plain::noCommitsYet:
        return "Todavía no hay commits";
    case Text::Plain::compareBranchPlaceholder:
        return "Comparar con una rama…";
    case Text::Plain::binaryFile:
        return "Archivo binario: no se muestra el diff";
    case Text::Plain::loading:
        return "Cargando…";
    case Text::Plain::noRepositoryOpen:
        return "Ningún repositorio abierto";
    case Text::Plain::welcomeAdd:
        return "Añadir un repositorio existente…";
    case Text::Plain::welcomeClone:
        return "Clonar un repositorio…";
    case Text::Plain::recents:
        return "Recientes";
    case Text::Plain::otherRepositories:
        return "Otros";
    case Text::Plain::repositoriesTitle:
        return "Repositorios";
    case Text::Plain::branchesTitle:
        return "Ramas";
    case Text::Plain::pullRequestsTitle:
        return "Pull Requests";
    case Text::Plain::toastPublishBranchFirst:
        return "Publica la rama antes de crear el Pull Request";
    case Text::Plain::signInTitle:
        return "Iniciar sesión con GitHub";
    case Text::Plain::signInRequesting:
        return "Pidiendo un código a GitHub…";
    case Text::Plain::signInCopyAndOpen:
        return "Copiar código y abrir el navegador";
    case Text::Plain::signInWaiting:
        return "Esperando a que autorices Tarv en GitHub…";
    case Text::Plain::toastSignedOut:
        return "Sesión de GitHub cerrada";
    case Text::Plain::toastSessionExpired:
        return "La sesión de GitHub caducó; vuelve a iniciarla";
    case Text::Plain::pullRequestsSignIn:
        return "Inicia sesión con GitHub para ver los Pull Requests de este repositorio.";
    case Text::Plain::pullRequestsNotGitHub:
        return "Este repositorio no tiene un remoto de GitHub.";
    case Text::Plain::pullRequestsEmpty:
        return "No hay Pull Requests abiertos.";
    case Text::Plain::pullRequestDraft:
        return "borrador";
    case Text::Plain::hostingUnauthorized:
        return "GitHub rechazó la sesión (caducó o se revocó). Vuelve a iniciar sesión.";
    case Text::Plain::hostingDeviceFlowDisabled:
        return "La app de GitHub no tiene activado «Enable Device Flow» en su configuración.";
    case Text::Plain::hostingNotFound:
        return "GitHub no encontró el repositorio (o la app no tiene acceso a él).";
    case Text::Plain::hostingRateLimited:
        return "Se alcanzó el límite de peticiones de GitHub; inténtalo en unos minutos.";
    case Text::Plain::hostingInvalidResponse:
        return "GitHub devolvió una respuesta inesperada.";
    case Text::Plain::hostingExpiredCode:
        return "El código caducó antes de autorizarlo. Vuelve a intentarlo.";
    case Text::Plain::hostingDenied:
        return "Cancelaste la autorización en GitHub.";
    case Text::Plain::gitTokenRejected:
        return "GitHub rechazó el token de tu sesión de Tarv para este repositorio (quizá la app de GitHub no está instalada aquí o no tiene permiso de escritura). Vuelve a intentarlo: esta vez Tarv te pedirá las credenciales.";
    case Text::Plain::pullRequestsUnavailable:
        return "Inicia sesión con GitHub para ver los Pull Requests (próximamente).";
    case Text::Plain::defaultBranch:
        return "Rama por defecto";
    case Text::Plain::recentBranches:
        return "Ramas recientes";
    case Text::Plain::otherBranches:
        return "Otras ramas";
    case Text::Plain::newBranchTitle:
        return "Nueva rama";
    case Text::Plain::deleteBranchPickerTitle:
        return "Eliminar rama";
    case Text::Plain::deleteBranchConfirm:
        return "Eliminar";
    case Text::Plain::deleteBranchForceConfirm:
        return "Eliminar de todos modos";
    case Text::Plain::toastCannotDeleteCurrentBranch:
        return "No puedes eliminar la rama en la que estás";
    case Text::Plain::newBranchPlaceholder:
        return "Nombre de la rama";
    case Text::Plain::invalidBranchName:
        return "Nombre de rama no válido";
    case Text::Plain::commandsTitle:
        return "Comandos";
    case Text::Plain::helpTitle:
        return "Atajos de teclado";
    case Text::Plain::discardTitle:
        return "¿Descartar cambios?";
    case Text::Plain::discardConfirm:
        return "Descartar";
    case Text::Plain::cancel:
        return "Cancelar";
    case Text::Plain::close:
        return "Cerrar";
    case Text::Plain::ok:
        return "Aceptar";
    case Text::Plain::toastDiscarded:
        return "Cambios descartados · u para deshacer";
    case Text::Plain::toastRestored:
        return "Cambios recuperados";
    case Text::Plain::undoUnfinished:
        return "El deshacer se detuvo antes de terminar · u lo completa";
    case Text::Plain::discardSubmodule:
        return "Nada que descartar desde aquí: los cambios de un submódulo están dentro de él (ábrelo para "
               "descartarlos)";
    case Text::Plain::toastUndoneCommit:
        return "Commit deshecho: los cambios volvieron a la lista";
    case Text::Plain::toastFetched:
        return "Fetch completado";
    case Text::Plain::toastPulled:
        return "Pull completado";
    case Text::Plain::toastPushed:
        return "Push completado";
    case Text::Plain::toastNothingToUndo:
        return "No hay nada que deshacer";
    case Text::Plain::toastUndoNotAllowed:
        return "Ese commit ya se subió; no se puede deshacer desde aquí";
    case Text::Plain::errorTitle:
        return "Error";
    case Text::Plain::commitFailedTitle:
        return "No se pudo hacer el commit";
    case Text::Plain::syncFailedTitle:
        return "No se pudo sincronizar";
    case Text::Plain::syncFetching:
        return "Haciendo fetch…";
    case Text::Plain::syncPulling:
        return "Haciendo pull…";
    case Text::Plain::syncPushing:
        return "Haciendo push…";
    case Text::Plain::onboardingChecking:
        return "Comprobando tu entorno de git…";
    case Text::Plain::onboardingGitMissingTitle:
        return "Git no está instalado";
    case Text::Plain::onboardingGitMissingBody:
        return "Tarv necesita git. Instálalo con el gestor de paquetes de tu sistema y pulsa Reintentar.";
    case Text::Plain::onboardingContinue:
        return "Continuar";
    case Text::Plain::onboardingRetry:
        return "Reintentar";
    case Text::Plain::onboardingInstallTools:
        return "Instalar git";
    case Text::Plain::onboardingIdentityIntro:
        return "Git necesita saber quién eres para firmar tus commits.";
    case Text::Plain::onboardingSavesTo:
        return "Se guardará en ~/.gitconfig (git config --global).";
    case Text::Plain::fieldName:
        return "Nombre";
    case Text::Plain::fieldEmail:
        return "Correo";
    case Text::Plain::fieldDefaultBranch:
        return "Rama inicial";
    case Text::Plain::fieldStoreCredentials:
        return "Guardar credenciales en la caché de git durante una hora";
    case Text::Plain::onboardingSave:
        return "Guardar y continuar";
    case Text::Plain::onboardingSkip:
        return "Omitir";
    case Text::Plain::invalidName:
        return "Escribe tu nombre";
    case Text::Plain::invalidEmail:
        return "Escribe un correo válido";
    case Text::Plain::addRepositoryTitle:
        return "Añadir repositorio existente";
    case Text::Plain::addRepositoryPrompt:
        return "Ruta de la carpeta del repositorio";
    case Text::Plain::keymapUsage:
        return "Formato: {\"version\": 1, \"bindings\": {\"commandPalette\": [\"ctrl+k\"], \"push\": [\"P\"], \"quit\": []}}  ·  teclas: ctrl+x, alt+x, shift+x, f1…f12, enter, home, end, pageup, pagedown";
    case Text::Plain::createRepositoryTitle:
        return "Crear repositorio nuevo";
    case Text::Plain::createRepositoryPrompt:
        return "Carpeta del repositorio (se crea si no existe)";
    case Text::Plain::createRepositoryHere:
        return "Crear un repositorio aquí";
    case Text::Plain::welcomeCreate:
        return "Crear un repositorio nuevo…";
    case Text::Plain::cloneTitle:
        return "Clonar repositorio";
    case Text::Plain::cloneURLPrompt:
        return "URL o usuario/repo";
    case Text::Plain::cloneDestinationPrompt:
        return "Clonar dentro de";
    case Text::Plain::cloning:
        return "Clonando…";
    case Text::Plain::cloneInvalidURL:
        return "Escribe una URL de git o usuario/repo";
    case Text::Plain::cloneYourRepositories:
        return "Tus repos en GitHub · escribe para filtrar, ↑↓ para elegir";
    case Text::Plain::cloneLoadingRepositories:
        return "Cargando tus repos de GitHub…";
    case Text::Plain::cloneNoMatches:
        return "Ningún repo tuyo coincide: se clonará la URL escrita";
    case Text::Plain::cloneSignInHint:
        return "Inicia sesión en GitHub (paleta) para elegir entre tus repos";
    case Text::Plain::repositoryPrivate:
        return "privado";
    case Text::Plain::repositoryPublic:
        return "público";
    case Text::Plain::openInEditorUnavailable:
        return "No se pudo abrir el editor";
    case Text::Plain::publishTitle:
        return "Publicar en GitHub";
    case Text::Plain::publishNameLabel:
        return "Nombre";
    case Text::Plain::publishDescriptionLabel:
        return "Descripción (opcional)";
    case Text::Plain::publishPrivate:
        return "Mantener este código privado";
    case Text::Plain::publishHint:
        return "Tab cambia de campo · Espacio marca la casilla";
    case Text::Plain::publishing:
        return "Publicando…";
    case Text::Plain::publishInvalidName:
        return "Usa letras, números, guiones, puntos o guiones bajos (máx. 100)";
    case Text::Plain::buttonPublish:
        return "Publicar";
    case Text::Plain::lineEllipsis:
        return "…";
    case Text::Plain::selectAllFiles:
        return "Seleccionar todos";
    case Text::Plain::copied:
        return "Copiado al portapapeles";
    case Text::Plain::externalEditorFailed:
        return "No se pudo abrir vim ni vi";
    case Text::Plain::unavailable:
        return "No disponible";
    case Text::Plain::syncPublishBranch:
        return "Publicar rama";
    case Text::Plain::syncPublishRepository:
        return "Publicar repositorio";
    case Text::Plain::syncNoRemote:
        return "Sin remoto configurado";
    case Text::Plain::syncNeverFetched:
        return "Nunca sincronizado";
    case Text::Plain::cloneInvalidDestination:
        return "Escribe la carpeta donde clonar";
    case Text::Plain::clipboardToolMissing:
        return "no hay herramienta de portapapeles: instala wl-copy, xclip o xsel";
    case Text::Plain::openInEditorNoDesktop:
        return "No hay sesión gráfica donde abrir un editor (define TARV_EDITOR) · v abre el archivo en la terminal";
    case Text::Plain::openInEditorNoOpener:
        return "No se encontró xdg-open para abrir el editor · v abre el archivo en la terminal";
    case Text::Plain::undoKeptEditsTitle:
        return "Cambios recuperados; antes se guardaron las ediciones posteriores";
    case Text::Plain::undoKeptEditsBody:
        return "Estos archivos se habían vuelto a editar después del descarte. Esas "
               "ediciones se guardaron en el punto de recuperación de abajo antes "
               "de reescribir las versiones descartadas:";
    case Text::Plain::toastEmptyCommitSkipped:
        return "Operación completada: se omitió el commit que quedó vacío (los cambios sin confirmar se guardaron antes en refs/tarv/snapshots)";
    case Text::Plain::toastOperationAbortedKept:
        return "Operación abortada (los cambios sin confirmar se guardaron antes en refs/tarv/snapshots)";
    case Text::Plain::lineSelectionDropped:
        return "Este archivo cambió y no se pudieron conservar sus líneas elegidas: ya no está incluido";
    case Text::Plain::toastDiscardedSubmodulesKept:
        return "Cambios descartados; los submódulos quedaron como estaban · u para deshacer";
    }
    return {};
}

}  // namespace tarv::core::detail
