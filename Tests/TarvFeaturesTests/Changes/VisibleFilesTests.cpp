#include "TarvFeatures/Changes/VisibleFiles.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TarvFeatures/Changes/ChangesState.hpp"

namespace tarv::features {
namespace {

using Inclusion = VisibleFiles::Inclusion;

core::FileChange file(std::string path) {
    return core::FileChange{std::move(path), std::nullopt, core::ChangeKind::modified, false, true};
}

// The rows, their inclusion and the include-all box, answered without a
// scan while the status is the one applied (every path in `knownPaths`) and
// row by row when it is not.
TEST(VisibleFiles, RowsAndInclusionFollowTheFilterAndTheIncludedPaths) {
    struct Case {
        const char* name;
        std::string filter;
        std::set<std::string> included;
        std::set<std::string> partial;
        bool statusApplied;
        std::vector<std::string> rows;
        Inclusion inclusion;
    };
    const std::vector<std::string> all{"src/a.c", "doc/b.md", "src/c.c"};
    const Case cases[] = {
        {"every file included", "", {"src/a.c", "doc/b.md", "src/c.c"}, {}, true, all, Inclusion::all},
        {"one partly", "", {"src/a.c", "doc/b.md", "src/c.c"}, {"doc/b.md"}, true, all, Inclusion::some},
        {"one left out", "", {"src/a.c", "src/c.c"}, {}, true, all, Inclusion::some},
        {"none included", "", {}, {}, true, all, Inclusion::none},
        {"status not applied", "", {"src/a.c", "doc/b.md", "src/c.c"}, {}, false, all, Inclusion::some},
        {"filter, its rows included", " SRC ", {"src/a.c", "src/c.c"}, {}, true, {"src/a.c", "src/c.c"},
         Inclusion::all},
        {"filter, another row included", "src", {"doc/b.md"}, {}, true, {"src/a.c", "src/c.c"}, Inclusion::none},
        {"filter, one row included", "src", {"src/c.c"}, {}, true, {"src/a.c", "src/c.c"}, Inclusion::some},
        {"filter matching nothing", "xyz", {"src/a.c"}, {}, true, {}, Inclusion::none},
    };
    for (const Case& c : cases) {
        core::WorkingTreeStatus status;
        for (const std::string& path : all) status.files.push_back(file(path));
        ChangesState changes;
        changes.filter.setText(c.filter);
        changes.knownPaths = std::set<std::string>(all.begin(), all.end());
        changes.included = c.included;
        for (const std::string& path : c.partial) changes.partial[path] = PartialFileSelection{};
        // A status newer than the one applied lists a file `knownPaths` lacks.
        if (!c.statusApplied) status.files.push_back(file("new.c"));
        std::vector<std::string> expectedRows = c.rows;
        if (!c.statusApplied && c.filter.empty()) expectedRows.push_back("new.c");

        const VisibleFiles rows = changes.visibleFiles(status);
        std::vector<std::string> paths;
        for (std::int64_t i = 0; i < rows.size(); ++i) {
            paths.push_back(rows[i].path);
            EXPECT_EQ(rows.indexOf(rows[i].path), i) << c.name;
            EXPECT_EQ(rows.isIncluded(rows[i].path), c.included.contains(rows[i].path)) << c.name << " " << rows[i].path;
        }
        EXPECT_EQ(paths, expectedRows) << c.name;
        EXPECT_EQ(rows.empty(), expectedRows.empty()) << c.name;
        EXPECT_EQ(rows.inclusion(), c.inclusion) << c.name;
        EXPECT_EQ(rows.indexOf("gone.c"), std::nullopt) << c.name;
    }
}

// With a blank filter the rows are the status's own files, not copies.
TEST(VisibleFiles, BlankFilterRowsAreTheStatusFiles) {
    core::WorkingTreeStatus status;
    status.files = {file("a"), file("b")};
    const ChangesState changes;
    const VisibleFiles rows = changes.visibleFiles(status);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(&rows[0], &status.files[0]);
    EXPECT_EQ(&rows[1], &status.files[1]);
}

}  // namespace
}  // namespace tarv::features
