#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TarvCoreTests/Localization/ExpectedPlainTexts.hpp"
#include "TarvCore/Localization/Text.hpp"

namespace tarv::core {
namespace {

using expected_texts::expectedPlainTexts;

// One value of every case with a payload, in declaration order.
std::vector<Text> payloadSamples() {
    return {
        Text::doctorTitle("1.0.0"),
        Text::doctorGit("/usr/bin/git", "2.39.5"),
        Text::doctorIdentity("Ada", "ada@example.com"),
        Text::doctorHelper("store"),
        Text::doctorSSHKeys(2),
        Text::doctorTerminal("xterm-256color"),
        Text::probeDeviceAttributes("?62;22c"),
        Text::probeModeSupported("mode 2004"),
        Text::probeModeUnsupported("mode 2004"),
        Text::probeModeNoAnswer("mode 2004"),
        Text::probeTrueColor(true),
        Text::probeClick("SGR", 10, 4),
        Text::scrollProbePrompt(10),
        Text::scrollProbeTotals(12, 3),
        Text::scrollProbeGesture(1, 5, 320, 40, "down"),
        Text::commitButton(2, "main"),
        Text::amendButton("main"),
        Text::toastAmended("Fix typo"),
        Text::raw("x"),
        Text::keyHelp(KeyHelpItem::switchPane),
        Text::mergeIntoTitle("main"),
        Text::mergePickerButton("main"),
        Text::toastMerged("feature"),
        Text::mergeConflictsBody(2),
        Text::operationBanner(RepositoryOperation::merge, 1),
        Text::operationConflictsTitle(RepositoryOperation::rebase),
        Text::operationConflictsBody(RepositoryOperation::revert, 1),
        Text::continueOperationLabel(RepositoryOperation::cherryPick),
        Text::toastReset(ResetMode::soft, "abc1234"),
        Text::toastRebased("main"),
        Text::rebaseOntoTitle("feature"),
        Text::rebasePickerButton("feature"),
        Text::newBranchFromCommit("abc1234"),
        Text::completeMerge("main"),
        Text::conflictTitle(1, 3),
        Text::conflictCurrentLabel("HEAD"),
        Text::conflictIncomingLabel("feature"),
        Text::newWorktreeWillBe("/tmp/wt"),
        Text::toastWorktreeCreated("/tmp/wt"),
        Text::toastWorktreeRemoved("/tmp/wt"),
        Text::toastRepositoriesMissing({"/a"}),
        Text::newTagTitle("abc1234"),
        Text::toastTagCreated("v1"),
        Text::toastTagDeleted("v1"),
        Text::credentialsUsername("github.com"),
        Text::credentialsPassword("github.com"),
        Text::credentialsPassphrase("id_ed25519"),
        Text::credentialsConfirm("github.com"),
        Text::hint(HintItem::panel),
        Text::terminalTooSmall(80, 24),
        Text::branchStatus("main", 1),
        Text::coAuthorsLine({"Ada <ada@example.com>"}),
        Text::command(AppCommand::quit),
        Text::remoteFailure(RemoteFailure::noRemote()),
        Text::failureFix(FailureFix::Retry{}),
        Text::toastRemoteChanged("https://example.com/o/r.git"),
        Text::tabChanges(3),
        Text::changedFiles(3),
        Text::filesChangedCount(3),
        Text::signInInstructions("https://github.com/login/device"),
        Text::signedInAs("ada"),
        Text::toastSignedIn("ada"),
        Text::toastPullRequestCheckedOut("pr-1"),
        Text::hostingNetwork("timeout"),
        Text::hostingForbidden(""),
        Text::publishForbidden(""),
        Text::hostingHTTP(500, "boom"),
        Text::renameBranchTitle("main"),
        Text::deleteBranchTitle("main"),
        Text::deleteBranchBody("topic"),
        Text::deleteBranchForceBody("topic"),
        Text::toastBranchRenamed("topic"),
        Text::toastBranchDeleted("topic"),
        Text::newBranchWillBe("topic"),
        Text::discardBody(1),
        Text::toastCommitted("Fix typo"),
        Text::toastPublished("topic"),
        Text::toastBranchSwitched("topic"),
        Text::toastBranchCreated("topic"),
        Text::onboardingGitTooOld("2.20.0", "2.30.0"),
        Text::notARepository("/tmp"),
        Text::keymapNotice(2),
        Text::keymapMalformed("/c/keymap.json"),
        Text::keymapProblem(KeymapProblem::UnknownCommand{"Commit"}),
        Text::keymapFile("/c/keymap.json", true),
        Text::galleryHint(1, 9, "Changes"),
        Text::toastPublishedRepository("ada/tool"),
        Text::toastIgnored("build/"),
        Text::toastIgnoredUntracked("build/"),
        Text::syncFetch("origin"),
        Text::syncPull("origin"),
        Text::syncPush("origin"),
        Text::syncPublishBranchHint("origin"),
        Text::syncLastFetched(RelativeTime::justNow()),
        Text::syncCommitsToPull(2),
        Text::syncCommitsToPush(2),
        Text::relative(RelativeTime::yesterday()),
    };
}

TEST(Text, EveryCaseHasItsPositionAndRendersInBothLanguages) {
    std::vector<Text> all = payloadSamples();
    ASSERT_EQ(all.size(), Text::payloadCaseCount);
    for (std::size_t i = 0; i < Text::caseCount - Text::payloadCaseCount; ++i) {
        all.emplace_back(static_cast<Text::Plain>(i));
    }
    ASSERT_EQ(all.size(), Text::caseCount);
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(all[i].caseIndex(), i);
        EXPECT_FALSE(all[i].english().empty());
        EXPECT_FALSE(all[i].spanish().empty());
        EXPECT_EQ(all[i].render(Language::en), all[i].english());
        EXPECT_EQ(all[i].render(Language::es), all[i].spanish());
    }
}

TEST(Text, PayloadFreeCasesRenderTheirLiterals) {
    ASSERT_EQ(expectedPlainTexts.size(), Text::caseCount - Text::payloadCaseCount);
    for (std::size_t i = 0; i < expectedPlainTexts.size(); ++i) {
        const auto& row = expectedPlainTexts[i];
        SCOPED_TRACE(row.english);
        Text text(row.plain);
        EXPECT_EQ(static_cast<std::size_t>(row.plain), i);
        EXPECT_EQ(text.caseIndex(), row.caseIndex);
        EXPECT_EQ(text.english(), row.english);
        EXPECT_EQ(text.spanish(), row.spanish);
    }
}

TEST(Text, FactoriesOfPayloadFreeCasesBuildThatCase) {
    EXPECT_EQ(Text::doctorGitMissing(), Text(Text::Plain::doctorGitMissing));
    EXPECT_EQ(Text::syncNeverFetched().caseIndex(), 302u);
    EXPECT_EQ(Text::ok().english(), "OK");
    EXPECT_EQ(Text::ok().spanish(), "Aceptar");
}

TEST(Text, LiteralsKeepBlankRunsQuotesAndTypography) {
    EXPECT_EQ(Text::doctorGitMissing().english(),
              "git          not found (install it: sudo apt install git)");
    EXPECT_EQ(Text::doctorHelperMissing().spanish(),
              "credenciales sin credential.helper (Tarv puede configurar la caché de credenciales de git)");
    EXPECT_EQ(Text::keymapUsage().english(),
              "Format: {\"version\": 1, \"bindings\": {\"commandPalette\": [\"ctrl+k\"], \"push\": [\"P\"], "
              "\"quit\": []}}  ·  keys: ctrl+x, alt+x, shift+x, f1…f12, enter, home, end, pageup, pagedown");
    EXPECT_EQ(Text::coAuthorInvalid().english(), "Type “Name <ada@example.com>”");
    EXPECT_EQ(Text::coAuthorInvalid().spanish(), "Escribe «Nombre <ada@example.com>»");
    EXPECT_EQ(Text::lineEllipsis().english(), "…");
    EXPECT_EQ(Text::buttonYes().spanish(), "Sí");
}

struct Rendered {
    Text text;
    std::string english;
    std::string spanish;
};

// Exact texts of a sample of every payload shape, branches included.
std::vector<Rendered> renderedSamples() {
    return {
        // Strings, with the aligned columns of the doctor report.
        {Text::doctorGit("/usr/bin/git", "2.39.5"), "git          /usr/bin/git · 2.39.5",
         "git          /usr/bin/git · 2.39.5"},
        {Text::doctorIdentity("Ada", "ada@example.com"), "identity     Ada <ada@example.com>",
         "identidad    Ada <ada@example.com>"},
        {Text::probeModeSupported("?2004"), "?2004  supported", "?2004  soportado"},
        {Text::raw("x"), "x", "x"},
        {Text::raw("Línea «uno»"), "Línea «uno»", "Línea «uno»"},
        {Text::deleteBranchBody("topic"),
         "The local branch “topic” will be deleted. Its last commit is kept in refs/tarv/backups/deleted/topic in "
         "case you need it back.",
         "Se eliminará la rama local «topic». Su último commit queda guardado en refs/tarv/backups/deleted/topic "
         "por si necesitas recuperarla."},
        {Text::onboardingGitTooOld("2.20.1", "2.30.0"),
         "Your git (2.20.1) is older than the recommended minimum (2.30.0). You can continue, but update with: sudo "
         "apt install git",
         "Tu git (2.20.1) es anterior a la versión mínima recomendada (2.30.0). Puedes continuar, pero actualiza "
         "con: sudo apt install git"},
        // Integers.
        {Text::doctorSSHKeys(0), "ssh          agent has 0 key(s)", "ssh          el agente tiene 0 llave(s)"},
        {Text::probeClick("SGR", 12, 7), "mouse        click received at 12,7 using SGR encoding",
         "ratón       clic recibido en 12,7 con codificación SGR"},
        {Text::scrollProbeGesture(2, 14, 380, 45, "down"),
         "gesture 2: 14 down events in 380 ms · longest pause 45 ms",
         "gesto 2: 14 eventos down en 380 ms · mayor pausa 45 ms"},
        {Text::terminalTooSmall(60, 20), "Terminal too small. I need at least 60×20.",
         "Terminal muy pequeña. Necesito al menos 60×20."},
        {Text::hostingHTTP(502, "Bad gateway"), "GitHub answered 502: Bad gateway", "GitHub respondió 502: Bad gateway"},
        {Text::galleryHint(3, 12, "History"), "Gallery 3/12 · History · ←→ page · t theme · i hide · q quit",
         "Galería 3/12 · History · ←→ página · t tema · i ocultar · q salir"},
        {Text::conflictTitle(1, 10000), "Conflict 1 of 10000", "Conflicto 1 de 10000"},
        // Plurals.
        {Text::commitButton(1, "main"), "Commit 1 file to main", "Commit 1 archivo a main"},
        {Text::commitButton(3, "main"), "Commit 3 files to main", "Commit 3 archivos a main"},
        {Text::commitButton(0, "main"), "Commit 0 files to main", "Commit 0 archivos a main"},
        {Text::discardBody(1), "1 file. A recoverable copy is saved; press u to undo.",
         "1 archivo. Se guarda una copia recuperable; pulsa u para deshacer."},
        {Text::mergeConflictsBody(1),
         "1 file has conflicts (marked with !). Open them in your editor, resolve the <<<<<<< markers, and press "
         "“Complete merge”. You can also abort the merge from the palette (Ctrl+P).",
         "1 archivo tiene conflictos (marcados con !). Ábrelos en tu editor, resuelve las marcas <<<<<<<, y pulsa "
         "«Completar merge». También puedes abortar el merge desde la paleta (Ctrl+P)."},
        {Text::changedFiles(2), "2 changed files", "2 archivos cambiados"},
        {Text::filesChangedCount(1), "1 changed file", "1 archivo cambiado"},
        {Text::tabChanges(0), "Changes", "Cambios"},
        {Text::tabChanges(-4), "Changes", "Cambios"},
        {Text::tabChanges(5), "Changes 5", "Cambios 5"},
        {Text::branchStatus("dev", 0), "dev", "dev"},
        {Text::branchStatus("dev", 1), "dev · 1 change", "dev · 1 cambio"},
        {Text::branchStatus("dev", -2), "dev · -2 changes", "dev · -2 cambios"},
        {Text::keymapNotice(1), "keymap.json: 1 shortcut was not applied · run tarv keymap to see why",
         "keymap.json: 1 atajo no se aplicó · tarv keymap para ver por qué"},
        {Text::keymapNotice(0), "keymap.json: 0 shortcuts were not applied · run tarv keymap to see why",
         "keymap.json: 0 atajos no se aplicaron · tarv keymap para ver por qué"},
        {Text::keymapNotice(2), "keymap.json: 2 shortcuts were not applied · run tarv keymap to see why",
         "keymap.json: 2 atajos no se aplicaron · tarv keymap para ver por qué"},
        {Text::syncCommitsToPush(1), "1 commit to push", "1 commit por subir"},
        {Text::syncCommitsToPush(4), "4 commits to push", "4 commits por subir"},
        {Text::syncCommitsToPull(0), "0 commits to pull", "0 commits por bajar"},
        // Booleans.
        {Text::probeTrueColor(true), "24-bit color kept (DECRQSS)", "color 24-bit se conserva (DECRQSS)"},
        {Text::probeTrueColor(false), "24-bit color downgraded or rejected by the terminal",
         "color 24-bit el terminal lo degrada o lo rechaza"},
        {Text::probeTrueColor(std::nullopt), "24-bit color no DECRQSS answer (cannot confirm)",
         "color 24-bit sin respuesta a DECRQSS (no se puede confirmar)"},
        {Text::keymapFile("/c/keymap.json", true), "Custom shortcuts: /c/keymap.json",
         "Atajos personalizados: /c/keymap.json"},
        {Text::keymapFile("/c/keymap.json", false), "No custom shortcuts (create /c/keymap.json to change them)",
         "Sin atajos personalizados (crea /c/keymap.json para cambiarlos)"},
        // Optional strings.
        {Text::credentialsUsername(std::nullopt), "Username for the server", "Usuario para el servidor"},
        {Text::credentialsUsername("github.com"), "Username for github.com", "Usuario para github.com"},
        {Text::credentialsPassword(std::nullopt), "Token or password for the server",
         "Token o contraseña para el servidor"},
        {Text::credentialsPassphrase(std::nullopt), "Passphrase for key SSH", "Frase de paso de la llave SSH"},
        {Text::credentialsConfirm(std::nullopt), "Trust the server SSH? Verify its fingerprint before continuing.",
         "¿Confiar en el servidor SSH? Verifica su huella antes de continuar."},
        {Text::credentialsConfirm("example.com"),
         "Trust the server example.com? Verify its fingerprint before continuing.",
         "¿Confiar en el servidor example.com? Verifica su huella antes de continuar."},
        // Strings that may be empty.
        {Text::conflictCurrentLabel(""), "Change A · current", "Cambio A · actual"},
        {Text::conflictCurrentLabel("HEAD"), "Change A · current (HEAD)", "Cambio A · actual (HEAD)"},
        {Text::conflictIncomingLabel("feature"), "Change B · incoming (feature)", "Cambio B · entrante (feature)"},
        {Text::hostingForbidden(""),
         "No permission: install Tarv's GitHub app on this account or organization and grant it the repository.",
         "Sin permiso: instala la app de GitHub de Tarv en esta cuenta u organización y dale acceso al "
         "repositorio."},
        {Text::hostingForbidden("Resource not accessible"),
         "No permission: install Tarv's GitHub app on this account or organization and grant it the repository. "
         "(GitHub: Resource not accessible)",
         "Sin permiso: instala la app de GitHub de Tarv en esta cuenta u organización y dale acceso al repositorio. "
         "(GitHub: Resource not accessible)"},
        {Text::publishForbidden("nope"),
         "GitHub refused to create the repo: the app needs the Administration permission (read and write), "
         "accepted on its installation, and must be installed on your account with “All repositories”. Then sign "
         "out and in again. (GitHub: nope)",
         "GitHub no dejó crear el repo: la app necesita el permiso Administration (lectura y escritura), aceptado "
         "en su instalación, e instalarse en tu cuenta con «All repositories». Luego cierra e inicia sesión de "
         "nuevo. (GitHub: nope)"},
        // Lists of strings.
        {Text::toastRepositoriesMissing({"/src/a"}),
         "/src/a is no longer at its path and was removed from the list; add it again if you moved it",
         "/src/a ya no está en su ruta y se quitó de la lista; agrégalo de nuevo si lo moviste"},
        {Text::toastRepositoriesMissing({"/src/a", "/src/b"}),
         "2 repositories are no longer at their path and were removed from the list: /src/a, /src/b",
         "2 repositorios ya no están en su ruta y se quitaron de la lista: /src/a, /src/b"},
        {Text::toastRepositoriesMissing({}),
         "0 repositories are no longer at their path and were removed from the list: ",
         "0 repositorios ya no están en su ruta y se quitaron de la lista: "},
        {Text::coAuthorsLine({"Ada <a@x.org>", "Bo <b@x.org>"}), "Co-authors: Ada <a@x.org>, Bo <b@x.org>",
         "Coautores: Ada <a@x.org>, Bo <b@x.org>"},
        // Repository operations.
        {Text::operationBanner(RepositoryOperation::merge, 0), "Merge · ready to complete",
         "Merge · listo para completar"},
        {Text::operationBanner(RepositoryOperation::rebase, 0), "Rebase · no conflicts", "Rebase · sin conflictos"},
        {Text::operationBanner(RepositoryOperation::cherryPick, 0), "Cherry-pick · no conflicts",
         "Cherry-pick · sin conflictos"},
        {Text::operationBanner(RepositoryOperation::revert, 2), "Revert · 2 conflicts", "Revert · 2 conflictos"},
        {Text::operationBanner(RepositoryOperation::merge, 1), "Merge · 1 conflict", "Merge · 1 conflicto"},
        {Text::operationConflictsTitle(RepositoryOperation::cherryPick), "Cherry-pick has conflicts",
         "Cherry-pick con conflictos"},
        {Text::continueOperationLabel(RepositoryOperation::cherryPick), "Continue cherry-pick",
         "Continuar cherry-pick"},
        {Text::operationConflictsBody(RepositoryOperation::rebase, 2),
         "2 files have conflicts (marked with !). Open the file menu (right click) to keep your version or theirs, "
         "or fix it in your editor and mark it resolved. Then press «Continue rebase». You can also abort from the "
         "banner.",
         "2 archivos tienen conflictos (marcados con !). Abre el menú del archivo (clic derecho) para quedarte con "
         "tu versión o con la suya, o resuélvelo en tu editor y márcalo como resuelto. Después pulsa «Continuar "
         "rebase». También puedes abortar desde el banner."},
        // Reset modes.
        {Text::toastReset(ResetMode::soft, "abc1234"),
         "Branch moved to abc1234; the changes were kept staged. Backup: refs/tarv/backups/pre-reset",
         "Rama movida a abc1234; los cambios quedaron preparados. Respaldo: refs/tarv/backups/pre-reset"},
        {Text::toastReset(ResetMode::mixed, "abc1234"),
         "Branch moved to abc1234; the changes were kept unstaged. Backup: refs/tarv/backups/pre-reset",
         "Rama movida a abc1234; los cambios quedaron sin preparar. Respaldo: refs/tarv/backups/pre-reset"},
        // Items rendered by their own renderers.
        {Text::hint(HintItem::copySHA), "copy SHA", "copiar SHA"},
        {Text::keyHelp(KeyHelpItem::selectionHint), "To select terminal text hold Shift",
         "Para seleccionar texto del terminal mantén Mayús"},
        {Text::command(AppCommand::squashCommit), "Squash into the previous commit",
         "Combinar con el commit anterior (squash)"},
        {Text::remoteFailure(RemoteFailure::other("")), "Unknown error", "Error desconocido"},
        {Text::remoteFailure(RemoteFailure::other("boom")), "boom", "boom"},
        {Text::relative(RelativeTime::minutes(1)), "1 minute ago", "hace 1 minuto"},
        {Text::syncLastFetched(RelativeTime::hours(3)), "Last fetched 3 hours ago", "Última vez: hace 3 horas"},
        {Text::syncLastFetched(RelativeTime::justNow()), "Last fetched just now", "Última vez: justo ahora"},
        // Failure fixes.
        {Text::failureFix(FailureFix::OpenURL{"https://github.com/settings/keys"}), "Open GitHub SSH keys",
         "Abrir llaves SSH de GitHub"},
        {Text::failureFix(FailureFix::OpenURL{"https://git-lfs.com"}), "Install Git LFS", "Instalar Git LFS"},
        {Text::failureFix(FailureFix::OpenURL{"https://github.com/orgs/acme/sso?authorization_request=1"}),
         "Authorize on GitHub", "Autorizar en GitHub"},
        {Text::failureFix(FailureFix::UseRemoteURL{"https://github.com/o/r.git"}),
         "Change the remote to https://github.com/o/r.git", "Cambiar el remoto a https://github.com/o/r.git"},
        {Text::failureFix(FailureFix::SignIn{}), "Sign in with GitHub", "Iniciar sesión con GitHub"},
        {Text::failureFix(FailureFix::Pull{}), "Pull", "Hacer Pull"},
        {Text::failureFix(FailureFix::PublishBranch{}), "Publish branch", "Publicar rama"},
        {Text::failureFix(FailureFix::Retry{}), "Try again", "Reintentar"},
        // Keymap problems.
        {Text::keymapProblem(KeymapProblem::UnsupportedVersion{2}),
         "version 2 is not supported (this Tarv reads up to 1)",
         "versión 2 no soportada (esta versión de Tarv lee hasta la 1)"},
        {Text::keymapProblem(KeymapProblem::UnknownCommand{"Commit"}),
         "“Commit” is not a command (see the list below)", "«Commit» no es un comando (mira la lista de abajo)"},
        {Text::keymapProblem(KeymapProblem::InvalidKey{"commit", "ctrl+"}), "commit: “ctrl+” is not a valid key",
         "commit: «ctrl+» no es una tecla válida"},
        {Text::keymapProblem(KeymapProblem::ReservedKey{"quit", "ctrl+q"}),
         "quit: “ctrl+q” is reserved (navigation or ⌃Q)", "quit: «ctrl+q» está reservada (navegación o ⌃Q)"},
        {Text::keymapProblem(KeymapProblem::DuplicateKey{"⌃K", {"commit", "push"}}),
         "⌃K is used by several commands (commit, push): ignored",
         "⌃K está en varios comandos (commit, push): se ignora"},
        // The hosting service's host.
        {Text::toastPublishedRepository("ada/tool"), "Published to github.com/ada/tool",
         "Publicado en github.com/ada/tool"},
    };
}

TEST(Text, PayloadCasesComposeTheirTexts) {
    for (const auto& sample : renderedSamples()) {
        SCOPED_TRACE(sample.english);
        EXPECT_EQ(sample.text.english(), sample.english);
        EXPECT_EQ(sample.text.spanish(), sample.spanish);
    }
}

TEST(Text, EqualityComparesCaseAndPayload) {
    EXPECT_EQ(Text::commitButton(1, "main"), Text::commitButton(1, "main"));
    EXPECT_NE(Text::commitButton(1, "main"), Text::commitButton(2, "main"));
    EXPECT_NE(Text::commitButton(1, "main"), Text::commitButton(1, "dev"));
    // Same payload, different case.
    EXPECT_NE(Text::signedInAs("ada"), Text::toastSignedIn("ada"));
    EXPECT_NE(Text::changedFiles(2), Text::filesChangedCount(2));
    EXPECT_EQ(Text::changedFiles(2).english(), Text::filesChangedCount(2).english());
    EXPECT_NE(Text::ok(), Text::close());
    EXPECT_NE(Text::raw("OK"), Text::ok());
    // Payloads that render alike still differ as values.
    EXPECT_NE(Text::remoteFailure(RemoteFailure::ssoRequired(std::nullopt)),
              Text::remoteFailure(RemoteFailure::ssoRequired("https://github.com/orgs/a/sso")));
}

TEST(Text, CopiesAndMovesKeepTheValue) {
    Text original = Text::coAuthorsLine({"Ada <a@x.org>"});
    Text copy = original;
    EXPECT_EQ(copy, original);
    Text moved = std::move(copy);
    EXPECT_EQ(moved, original);
    Text assigned = Text::ok();
    assigned = original;
    EXPECT_EQ(assigned, original);
    assigned = Text::cancel();
    EXPECT_EQ(assigned, Text::cancel());
}

TEST(Text, PluralUsesTheSingularOnlyForOne) {
    EXPECT_EQ(Text::plural(1, "file", "files"), "1 file");
    EXPECT_EQ(Text::plural(0, "file", "files"), "0 files");
    EXPECT_EQ(Text::plural(-2, "file", "files"), "-2 files");
    EXPECT_EQ(Text::plural(-1, "file", "files"), "-1 files");
    EXPECT_EQ(Text::plural(1234567, "file", "files"), "1234567 files");
}

TEST(Text, OperationNamesAndTitles) {
    EXPECT_EQ(Text::operationName(RepositoryOperation::merge), "merge");
    EXPECT_EQ(Text::operationName(RepositoryOperation::rebase), "rebase");
    EXPECT_EQ(Text::operationName(RepositoryOperation::cherryPick), "cherry-pick");
    EXPECT_EQ(Text::operationName(RepositoryOperation::revert), "revert");
    EXPECT_EQ(Text::operationTitle(RepositoryOperation::merge), "Merge");
    EXPECT_EQ(Text::operationTitle(RepositoryOperation::rebase), "Rebase");
    EXPECT_EQ(Text::operationTitle(RepositoryOperation::cherryPick), "Cherry-pick");
    EXPECT_EQ(Text::operationTitle(RepositoryOperation::revert), "Revert");
}

}  // namespace
}  // namespace tarv::core
