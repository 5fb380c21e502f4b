#include <gtest/gtest.h>

#include "TarvUI/Components/ChangesRows.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::ChangeKind;
using core::RepositoryOperation;
using features::WorkspaceState;

// The per-frame shortcuts give the answers of the state's own queries.
void expectSameAnswers(const WorkspaceState& ws, const std::string& name) {
    EXPECT_EQ(ChangesRows::selectedFile(ws), ws.changes.selectedFile(ws.status)) << name;
    EXPECT_EQ(ChangesRows::activeConflict(ws), ws.changes.activeConflict(ws.status)) << name;
    EXPECT_EQ(ChangesRows::includedCount(ws), ws.includedCount()) << name;
    EXPECT_EQ(ChangesRows::canCommit(ws), ws.canCommit()) << name;
    const auto visible = ws.changes.visibleFiles(ws.status);
    const ChangesRows rows(ws);
    ASSERT_EQ(rows.count(), static_cast<std::int64_t>(visible.size())) << name;
    for (std::size_t i = 0; i < visible.size(); ++i) EXPECT_EQ(&rows[static_cast<std::int64_t>(i)], visible[i]) << name;
}

TEST(ChangesRows, AnswersLikeTheStateQueries) {
    const std::vector<std::string> summaries = {"", "  ", "Fix"};
    const std::vector<std::optional<RepositoryOperation>> operations = {std::nullopt, RepositoryOperation::merge,
                                                                        RepositoryOperation::rebase};
    int cases = 0;
    for (const auto& summary : summaries) {
        for (const auto& operation : operations) {
            for (int flags = 0; flags < 32; ++flags) {
                auto state = fixtures::stateWith({fixtures::file("a.c"), fixtures::file("b.c", ChangeKind::conflicted),
                                                  fixtures::file("dir/c.c")});
                auto& ws = *state.workspace;
                ws.summary.setText(summary);
                ws.status.operation = operation;
                ws.isAmending = flags & 1;
                ws.isCommitting = flags & 2;
                if (flags & 4) ws.changes.included.clear();
                if (flags & 8) ws.status.files[1].kind = ChangeKind::modified;
                // A status not applied yet: the shortcuts fall back to counting.
                if (flags & 16) ws.status.files.push_back(fixtures::file("new.c"));
                ws.changes.selectedPath = "b.c";
                ws.changes.list.selected = (flags & 8) ? 0 : 1;  // a stale selection half of the time
                ws.changes.conflicts["b.c"] = fixtures::conflictDocument(true);
                expectSameAnswers(ws, summary + " op " + std::to_string(operation.has_value()) + " flags " +
                                          std::to_string(flags));
                ++cases;
            }
        }
    }
    EXPECT_EQ(cases, 288);
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
