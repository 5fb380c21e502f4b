// The line the program writes on the normal screen while it waits, after
// quitting, for work still under way: what it waits for, in the language of
// the interface, with the way out.

#include <gtest/gtest.h>

#include "TarvApp/Runtime/QuitNotice.hpp"

namespace tarv::app {
namespace {

using features::AppState;

AppState workspaceIn(core::Language language) {
    AppState state(language);
    state.workspace.emplace("/r", "r", std::nullopt);
    return state;
}

TEST(QuitNoticeTest, NamesTheWorkUnderWayInTheLanguageOfTheInterface) {
    struct Case {
        const char* name;
        core::Language language;
        void (*set)(features::WorkspaceState&);
        std::string expected;
    };
    const Case cases[] = {
        {"a commit", core::Language::en, [](features::WorkspaceState& w) { w.isCommitting = true; },
         "tarv: waiting for git to finish the commit\u2026 (\u2303C quits now; git will finish on its own)"},
        {"un commit", core::Language::es, [](features::WorkspaceState& w) { w.isCommitting = true; },
         "tarv: esperando a que git termine el commit\u2026 (\u2303C sale ya; git terminar\u00e1 por su cuenta)"},
        {"a push", core::Language::en,
         [](features::WorkspaceState& w) { w.sync.activity = features::SyncState::Activity::pushing; },
         "tarv: waiting for git to finish the push\u2026 (\u2303C quits now; git will finish on its own)"},
        {"nothing the state names", core::Language::es, [](features::WorkspaceState&) {},
         "tarv: esperando a que git termine su trabajo en el repositorio\u2026 (\u2303C sale ya; git terminar\u00e1 "
         "por su cuenta)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceIn(c.language);
        c.set(*state.workspace);
        EXPECT_EQ(QuitNotice::waiting(state), c.expected);
    }
}

}  // namespace
}  // namespace tarv::app
