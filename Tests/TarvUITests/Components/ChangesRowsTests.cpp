#include <gtest/gtest.h>

#include "TarvUI/Components/ChangesRows.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::ChangeKind;
using features::WorkspaceState;

// The rows and their inclusion, found without scanning the status, are
// those of the state's own queries.
void expectSameAnswers(const WorkspaceState& ws, const std::string& name) {
    const auto visible = ws.changes.visibleFiles(ws.status);
    const ChangesRows rows(ws);
    ASSERT_EQ(rows.count(), static_cast<std::int64_t>(visible.size())) << name;
    for (std::size_t i = 0; i < visible.size(); ++i) {
        EXPECT_EQ(&rows[static_cast<std::int64_t>(i)], visible[i]) << name;
        EXPECT_EQ(rows.isIncluded(visible[i]->path), ws.changes.included.contains(visible[i]->path)) << name;
    }
}

TEST(ChangesRows, AnswersLikeTheStateQueries) {
    for (int flags = 0; flags < 8; ++flags) {
        auto state = fixtures::stateWith({fixtures::file("a.c"), fixtures::file("b.c", ChangeKind::conflicted),
                                          fixtures::file("dir/c.c")});
        auto& ws = *state.workspace;
        if (flags & 1) ws.changes.included.clear();
        if (flags & 2) ws.changes.included.erase("b.c");
        // A status not applied yet: the answers fall back to lookups.
        if (flags & 4) ws.status.files.push_back(fixtures::file("new.c"));
        expectSameAnswers(ws, "flags " + std::to_string(flags));
    }
}

TEST(ChangesRows, FilteredRowsAndSelection) {
    auto state = fixtures::stateWith({fixtures::file("src/a.c"), fixtures::file("doc/b.md"), fixtures::file("src/c.c")});
    auto& ws = *state.workspace;
    ws.changes.filter.setText(" SRC ");
    ws.changes.selectedPath = "src/c.c";
    ws.changes.list.selected = 1;
    expectSameAnswers(ws, "filtered");
    const ChangesRows rows(ws);
    EXPECT_EQ(rows[1].path, "src/c.c");
    ws.changes.selectedPath = std::nullopt;
    expectSameAnswers(ws, "nothing selected");
}

}  // namespace
}  // namespace tarv::ui
