#include <string>
#include <variant>

#include "TarvCore/Localization/PlainTexts.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Localization/TextPieces.hpp"
#include "TarvCore/Models/HostingDefaults.hpp"

namespace tarv::core {

namespace {

using detail::contains;
using detail::decimal;
using detail::joined;

std::string fixLabel(const FailureFix& fix) {
    return std::visit(
        [](const auto& f) -> std::string {
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, FailureFix::OpenURL>) {
                if (contains(f.url, "/settings/keys")) {
                    return "Abrir llaves SSH de GitHub";
                }
                if (contains(f.url, "git-lfs")) {
                    return "Instalar Git LFS";
                }
                return "Autorizar en GitHub";
            } else if constexpr (std::is_same_v<F, FailureFix::UseRemoteURL>) {
                return "Cambiar el remoto a " + f.url;
            } else if constexpr (std::is_same_v<F, FailureFix::SignIn>) {
                return "Iniciar sesión con GitHub";
            } else if constexpr (std::is_same_v<F, FailureFix::Pull>) {
                return "Hacer Pull";
            } else if constexpr (std::is_same_v<F, FailureFix::PublishBranch>) {
                return "Publicar rama";
            } else {
                static_assert(std::is_same_v<F, FailureFix::Retry>);
                return "Reintentar";
            }
        },
        fix.value);
}

std::string problemText(const KeymapProblem& problem) {
    return std::visit(
        [](const auto& p) -> std::string {
            using P = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<P, KeymapProblem::UnsupportedVersion>) {
                return "versión " + decimal(p.version) + " no soportada (esta versión de Tarv lee hasta la 1)";
            } else if constexpr (std::is_same_v<P, KeymapProblem::UnknownCommand>) {
                return "«" + p.key + "» no es un comando (mira la lista de abajo)";
            } else if constexpr (std::is_same_v<P, KeymapProblem::InvalidKey>) {
                return p.command + ": «" + p.key + "» no es una tecla válida";
            } else if constexpr (std::is_same_v<P, KeymapProblem::ReservedKey>) {
                return p.command + ": «" + p.key + "» está reservada (navegación o ⌃Q)";
            } else {
                static_assert(std::is_same_v<P, KeymapProblem::DuplicateKey>);
                return p.key + " está en varios comandos (" + joined(p.commands, ", ") + "): se ignora";
            }
        },
        problem.value);
}

// One arm per case.
struct Spanish {
    std::string operator()(const Text::DoctorTitle& t) const {
        return "Tarv " + t.version + " · doctor";
    }
    std::string operator()(const Text::DoctorGit& t) const {
        return "git          " + t.path + " · " + t.version;
    }
    std::string operator()(const Text::DoctorIdentity& t) const {
        return "identidad    " + t.name + " <" + t.email + ">";
    }
    std::string operator()(const Text::DoctorHelper& t) const {
        return "credenciales helper: " + t.helper;
    }
    std::string operator()(const Text::DoctorSSHKeys& t) const {
        return "ssh          el agente tiene " + decimal(t.count) + " llave(s)";
    }
    std::string operator()(const Text::DoctorTerminal& t) const {
        return "terminal     " + t.terminal;
    }
    std::string operator()(const Text::ProbeDeviceAttributes& t) const {
        return "identidad    DA1 = " + t.attributes;
    }
    std::string operator()(const Text::ProbeModeSupported& t) const {
        return t.mode + "  soportado";
    }
    std::string operator()(const Text::ProbeModeUnsupported& t) const {
        return t.mode + "  no soportado";
    }
    std::string operator()(const Text::ProbeModeNoAnswer& t) const {
        return t.mode + "  sin respuesta (el terminal no implementa DECRQM)";
    }
    std::string operator()(const Text::ProbeTrueColor& t) const {
        if (!t.kept) {
            return "color 24-bit sin respuesta a DECRQSS (no se puede confirmar)";
        }
        return *t.kept ? "color 24-bit se conserva (DECRQSS)" : "color 24-bit el terminal lo degrada o lo rechaza";
    }
    std::string operator()(const Text::ProbeClick& t) const {
        return "ratón       clic recibido en " + decimal(t.x) + "," + decimal(t.y) + " con codificación " +
               t.encoding;
    }
    std::string operator()(const Text::ScrollProbePrompt& t) const {
        return "Desplaza con la rueda o el trackpad sobre esta ventana (" + decimal(t.seconds) +
               " s o cualquier tecla para terminar)…";
    }
    std::string operator()(const Text::ScrollProbeTotals& t) const {
        return decimal(t.events) + " eventos en " + decimal(t.gestures) + " gestos (pausa > 250 ms = gesto nuevo)";
    }
    std::string operator()(const Text::ScrollProbeGesture& t) const {
        return "gesto " + decimal(t.index) + ": " + decimal(t.events) + " eventos " + t.direction + " en " +
               decimal(t.milliseconds) + " ms · mayor pausa " + decimal(t.longestGap) + " ms";
    }
    std::string operator()(const Text::CommitButton& t) const {
        return "Commit " + Text::plural(t.count, "archivo", "archivos") + " a " + t.branch;
    }
    std::string operator()(const Text::AmendButton& t) const {
        return "Modificar commit en " + t.branch;
    }
    std::string operator()(const Text::ToastAmended& t) const {
        return "Commit modificado: " + t.summary;
    }
    std::string operator()(const Text::Raw& t) const {
        return t.text;
    }
    std::string operator()(const Text::KeyHelp& t) const {
        return Text::spanishKeyHelp(t.item);
    }
    std::string operator()(const Text::MergeIntoTitle& t) const {
        return "Fusionar en " + t.branch;
    }
    std::string operator()(const Text::MergePickerButton& t) const {
        return "Elegir una rama para fusionar en " + t.branch;
    }
    std::string operator()(const Text::ToastMerged& t) const {
        return "Se fusionó " + t.branch;
    }
    std::string operator()(const Text::MergeConflictsBody& t) const {
        return Text::plural(t.count, "archivo tiene", "archivos tienen") +
               " conflictos (marcados con !). Ábrelos en tu editor, resuelve las marcas <<<<<<<, y pulsa "
               "«Completar merge». También puedes abortar el merge desde la paleta (Ctrl+P).";
    }
    std::string operator()(const Text::OperationBanner& t) const {
        if (t.conflicts != 0) {
            return Text::operationTitle(t.operation) + " · " + Text::plural(t.conflicts, "conflicto", "conflictos");
        }
        if (t.operation == RepositoryOperation::merge) {
            return Text::operationTitle(t.operation) + " · " + "listo para completar";
        }
        return Text::operationTitle(t.operation) + " · " + "sin conflictos";
    }
    std::string operator()(const Text::OperationConflictsTitle& t) const {
        return Text::operationTitle(t.operation) + " con conflictos";
    }
    std::string operator()(const Text::OperationConflictsBody& t) const {
        return Text::plural(t.count, "archivo tiene", "archivos tienen") +
               " conflictos (marcados con !). Abre el menú del archivo (clic derecho) para quedarte con tu versión "
               "o con la suya, o resuélvelo en tu editor y márcalo como resuelto. Después pulsa «Continuar " +
               Text::operationName(t.operation) + "». También puedes abortar desde el banner.";
    }
    std::string operator()(const Text::ContinueOperationLabel& t) const {
        return "Continuar " + Text::operationName(t.operation);
    }
    std::string operator()(const Text::ToastReset& t) const {
        if (t.mode == ResetMode::soft) {
            return "Rama movida a " + t.target +
                   "; los cambios quedaron preparados. Respaldo: refs/tarv/backups/pre-reset";
        }
        return "Rama movida a " + t.target + "; los cambios quedaron sin preparar. Respaldo: refs/tarv/backups/pre-reset";
    }
    std::string operator()(const Text::ToastRebased& t) const {
        return "Rebase sobre " + t.onto + " completado";
    }
    std::string operator()(const Text::RebaseOntoTitle& t) const {
        return "Rebase de " + t.branch + " sobre…";
    }
    std::string operator()(const Text::RebasePickerButton& t) const {
        return "Hacer rebase de " + t.branch + " sobre otra rama";
    }
    std::string operator()(const Text::NewBranchFromCommit& t) const {
        return "Nueva rama desde el commit " + t.commit;
    }
    std::string operator()(const Text::CompleteMerge& t) const {
        return "Completar merge en " + t.branch;
    }
    std::string operator()(const Text::ConflictTitle& t) const {
        return "Conflicto " + decimal(t.index) + " de " + decimal(t.total);
    }
    std::string operator()(const Text::ConflictCurrentLabel& t) const {
        std::string label = "Cambio A · actual";
        return t.name.empty() ? label : label + " (" + t.name + ")";
    }
    std::string operator()(const Text::ConflictIncomingLabel& t) const {
        std::string label = "Cambio B · entrante";
        return t.name.empty() ? label : label + " (" + t.name + ")";
    }
    std::string operator()(const Text::NewWorktreeWillBe& t) const {
        return "Se creará en " + t.path;
    }
    std::string operator()(const Text::ToastWorktreeCreated& t) const {
        return "Worktree creado en " + t.path;
    }
    std::string operator()(const Text::ToastWorktreeRemoved& t) const {
        return "Worktree eliminado: " + t.path;
    }
    std::string operator()(const Text::ToastRepositoriesMissing& t) const {
        if (t.paths.size() == 1) {
            return t.paths.front() + " ya no está en su ruta y se quitó de la lista; agrégalo de nuevo si lo moviste";
        }
        return decimal(static_cast<std::int64_t>(t.paths.size())) +
               " repositorios ya no están en su ruta y se quitaron de la lista: " + joined(t.paths, ", ");
    }
    std::string operator()(const Text::NewTagTitle& t) const {
        return "Nueva etiqueta en " + t.commit;
    }
    std::string operator()(const Text::ToastTagCreated& t) const {
        return "Etiqueta " + t.tag + " creada; se subirá con el próximo push";
    }
    std::string operator()(const Text::ToastTagDeleted& t) const {
        return "Etiqueta " + t.tag + " eliminada (respaldo en refs/tarv/backups/tags)";
    }
    std::string operator()(const Text::CredentialsUsername& t) const {
        return "Usuario para " + t.subject.value_or("el servidor");
    }
    std::string operator()(const Text::CredentialsPassword& t) const {
        return "Token o contraseña para " + t.subject.value_or("el servidor");
    }
    std::string operator()(const Text::CredentialsPassphrase& t) const {
        return "Frase de paso de la llave " + t.subject.value_or("SSH");
    }
    std::string operator()(const Text::CredentialsConfirm& t) const {
        return "¿Confiar en el servidor " + t.subject.value_or("SSH") + "? Verifica su huella antes de continuar.";
    }
    std::string operator()(const Text::Hint& t) const {
        return Text::spanishHint(t.item);
    }
    std::string operator()(const Text::TerminalTooSmall& t) const {
        return "Terminal muy pequeña. Necesito al menos " + decimal(t.width) + "×" + decimal(t.height) + ".";
    }
    std::string operator()(const Text::BranchStatus& t) const {
        if (t.changes == 0) {
            return t.branch;
        }
        return t.branch + " · " + Text::plural(t.changes, "cambio", "cambios");
    }
    std::string operator()(const Text::CoAuthorsLine& t) const {
        return "Coautores: " + joined(t.coAuthors, ", ");
    }
    std::string operator()(const Text::Command& t) const {
        return Text::spanishCommand(t.command);
    }
    std::string operator()(const Text::RemoteFailure& t) const {
        return Text::spanishFailure(t.failure);
    }
    std::string operator()(const Text::FailureFix& t) const {
        return fixLabel(t.fix);
    }
    std::string operator()(const Text::ToastRemoteChanged& t) const {
        return "Remoto actualizado: " + t.url;
    }
    std::string operator()(const Text::TabChanges& t) const {
        if (t.count < 1) {
            return "Cambios";
        }
        return "Cambios " + decimal(t.count);
    }
    std::string operator()(const Text::ChangedFiles& t) const {
        return Text::plural(t.count, "archivo cambiado", "archivos cambiados");
    }
    std::string operator()(const Text::FilesChangedCount& t) const {
        return Text::plural(t.count, "archivo cambiado", "archivos cambiados");
    }
    std::string operator()(const Text::SignInInstructions& t) const {
        return "Abre " + t.url + " en el navegador e introduce este código:";
    }
    std::string operator()(const Text::SignedInAs& t) const {
        return "Conectado como @" + t.login;
    }
    std::string operator()(const Text::ToastSignedIn& t) const {
        return "Sesión iniciada como @" + t.login;
    }
    std::string operator()(const Text::ToastPullRequestCheckedOut& t) const {
        return "Cambiado a la rama del PR: " + t.branch;
    }
    std::string operator()(const Text::HostingNetwork& t) const {
        return "No se pudo conectar con GitHub: " + t.message;
    }
    std::string operator()(const Text::HostingForbidden& t) const {
        std::string text =
            "Sin permiso: instala la app de GitHub de Tarv en esta cuenta u organización y dale acceso al "
            "repositorio.";
        return t.message.empty() ? text : text + " (GitHub: " + t.message + ")";
    }
    std::string operator()(const Text::PublishForbidden& t) const {
        std::string text =
            "GitHub no dejó crear el repo: la app necesita el permiso Administration (lectura y escritura), "
            "aceptado en su instalación, e instalarse en tu cuenta con «All repositories». Luego cierra e inicia "
            "sesión de nuevo.";
        return t.message.empty() ? text : text + " (GitHub: " + t.message + ")";
    }
    std::string operator()(const Text::HostingHTTP& t) const {
        return "GitHub respondió " + decimal(t.status) + ": " + t.message;
    }
    std::string operator()(const Text::RenameBranchTitle& t) const {
        return "Renombrar la rama " + t.branch;
    }
    std::string operator()(const Text::DeleteBranchTitle& t) const {
        return "Eliminar la rama " + t.branch;
    }
    std::string operator()(const Text::DeleteBranchBody& t) const {
        return "Se eliminará la rama local «" + t.branch +
               "». Su último commit queda guardado en refs/tarv/backups/deleted/" + t.branch +
               " por si necesitas recuperarla.";
    }
    std::string operator()(const Text::DeleteBranchForceBody& t) const {
        return "La rama «" + t.branch +
               "» tiene commits que no están en ninguna otra rama. Si la eliminas pueden perderse de tu historial "
               "visible (quedan guardados en refs/tarv/backups/deleted/" +
               t.branch + "). ¿Eliminarla de todos modos?";
    }
    std::string operator()(const Text::ToastBranchRenamed& t) const {
        return "Rama renombrada a " + t.branch;
    }
    std::string operator()(const Text::ToastBranchDeleted& t) const {
        return "Rama " + t.branch + " eliminada";
    }
    std::string operator()(const Text::NewBranchWillBe& t) const {
        return "Se creará: " + t.name;
    }
    std::string operator()(const Text::DiscardBody& t) const {
        return Text::plural(t.count, "archivo", "archivos") + ". Se guarda una copia recuperable; pulsa u para deshacer.";
    }
    std::string operator()(const Text::ToastCommitted& t) const {
        return "Commit creado: " + t.summary;
    }
    std::string operator()(const Text::ToastPublished& t) const {
        return "Rama " + t.branch + " publicada";
    }
    std::string operator()(const Text::ToastBranchSwitched& t) const {
        return "Ahora estás en " + t.branch;
    }
    std::string operator()(const Text::ToastBranchCreated& t) const {
        return "Rama " + t.branch + " creada";
    }
    std::string operator()(const Text::OnboardingGitTooOld& t) const {
        return "Tu git (" + t.found + ") es anterior a la versión mínima recomendada (" + t.minimum +
               "). Puedes continuar, pero actualiza con: sudo apt install git";
    }
    std::string operator()(const Text::NotARepository& t) const {
        return t.path + " no es un repositorio git";
    }
    std::string operator()(const Text::KeymapNotice& t) const {
        if (t.problems == 1) {
            return "keymap.json: 1 atajo no se aplicó · tarv keymap para ver por qué";
        }
        return "keymap.json: " + decimal(t.problems) + " atajos no se aplicaron · tarv keymap para ver por qué";
    }
    std::string operator()(const Text::KeymapMalformed& t) const {
        return t.path + " no es JSON válido (se usan los atajos por defecto)";
    }
    std::string operator()(const Text::KeymapProblem& t) const {
        return problemText(t.problem);
    }
    std::string operator()(const Text::KeymapFile& t) const {
        if (t.exists) {
            return "Atajos personalizados: " + t.path;
        }
        return "Sin atajos personalizados (crea " + t.path + " para cambiarlos)";
    }
    std::string operator()(const Text::GalleryHint& t) const {
        return "Galería " + decimal(t.page) + "/" + decimal(t.count) + " · " + t.title +
               " · ←→ página · t tema · i ocultar · q salir";
    }
    std::string operator()(const Text::ToastPublishedRepository& t) const {
        return "Publicado en " + std::string(HostingDefaults::webHost) + "/" + t.fullName;
    }
    std::string operator()(const Text::ToastIgnored& t) const {
        return t.path + " agregado al .gitignore";
    }
    std::string operator()(const Text::ToastIgnoredUntracked& t) const {
        return t.path + " agregado al .gitignore y retirado del seguimiento";
    }
    std::string operator()(const Text::SyncFetch& t) const {
        return "Fetch " + t.remote;
    }
    std::string operator()(const Text::SyncPull& t) const {
        return "Pull " + t.remote;
    }
    std::string operator()(const Text::SyncPush& t) const {
        return "Push " + t.remote;
    }
    std::string operator()(const Text::SyncPublishBranchHint& t) const {
        return "Sube esta rama a " + t.remote;
    }
    std::string operator()(const Text::SyncLastFetched& t) const {
        return "Última vez: " + Text::spanishRelative(t.time);
    }
    std::string operator()(const Text::SyncCommitsToPull& t) const {
        if (t.count == 1) {
            return "1 commit por bajar";
        }
        return decimal(t.count) + " commits por bajar";
    }
    std::string operator()(const Text::SyncCommitsToPush& t) const {
        if (t.count == 1) {
            return "1 commit por subir";
        }
        return decimal(t.count) + " commits por subir";
    }
    std::string operator()(const Text::Relative& t) const {
        return Text::spanishRelative(t.time);
    }
    std::string operator()(Text::Plain plain) const {
        return std::string(detail::spanishPlainText(plain));
    }
};

}  // namespace

std::string Text::spanish() const {
    return std::visit(Spanish{}, value);
}

std::string Text::spanishRelative(const RelativeTime& time) {
    return std::visit(
        [](const auto& r) -> std::string {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, RelativeTime::Minutes>) {
                return r.count == 1 ? "hace 1 minuto" : "hace " + decimal(r.count) + " minutos";
            } else if constexpr (std::is_same_v<R, RelativeTime::Hours>) {
                return r.count == 1 ? "hace 1 hora" : "hace " + decimal(r.count) + " horas";
            } else if constexpr (std::is_same_v<R, RelativeTime::Days>) {
                return "hace " + decimal(r.count) + " días";
            } else if constexpr (std::is_same_v<R, RelativeTime::Months>) {
                return r.count == 1 ? "hace 1 mes" : "hace " + decimal(r.count) + " meses";
            } else if constexpr (std::is_same_v<R, RelativeTime::Years>) {
                return r.count == 1 ? "hace 1 año" : "hace " + decimal(r.count) + " años";
            } else if constexpr (std::is_same_v<R, RelativeTime::JustNow>) {
                return "justo ahora";
            } else {
                static_assert(std::is_same_v<R, RelativeTime::Yesterday>);
                return "ayer";
            }
        },
        time.value);
}

}  // namespace tarv::core
