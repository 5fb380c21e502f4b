#include "TarvStorage/Stores/JSONKeymapStore.hpp"

#include "TarvCore/Errors/ConfigurationError.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarv::storage {
namespace {

using testing::ScratchFolder;

TEST(JSONKeymapStore, ReadsTheFileInTheConfigurationFolder) {
    ScratchFolder scratch;
    JSONKeymapStore store(std::make_shared<system::LocalFileStore>(), scratch.path());
    EXPECT_EQ(store.path(), scratch / "keymap.json");
    EXPECT_EQ(store.load(), std::nullopt);

    scratch.write("keymap.json", R"({"bindings": {"commit": ["ctrl+k", "f5"], "push": []}, "comment": "mine"})");
    EXPECT_EQ(store.load(), (core::KeymapFile{1, {{"commit", {"ctrl+k", "f5"}}, {"push", {}}}}));
    scratch.write("keymap.json", R"({"version": 2, "bindings": {}})");
    EXPECT_EQ(store.load(), (core::KeymapFile{2, {}}));
    scratch.write("keymap.json", R"({"version": null, "bindings": {"quit": ["q"]}})");
    EXPECT_EQ(store.load(), (core::KeymapFile{1, {{"quit", {"q"}}}}));
}

TEST(JSONKeymapStore, AnythingButAKeymapDocumentIsMalformed) {
    ScratchFolder scratch;
    JSONKeymapStore store(std::make_shared<system::LocalFileStore>(), scratch.path());
    for (const std::string text : {
             "",
             "not json",
             "[]",
             "{}",
             R"({"version": 1})",
             R"({"bindings": []})",
             R"({"bindings": {"commit": "ctrl+k"}})",  // a bare string is not an array
             R"({"bindings": {"commit": [1]}})",
             R"({"bindings": {"commit": [null]}})",
             R"({"version": "1", "bindings": {}})",
             R"({"version": 1.5, "bindings": {}})",
             R"({"version": 99999999999999999999, "bindings": {}})",
             "{\"bindings\": {\"commit\": [\"\xff\"]}}",
         }) {
        scratch.write("keymap.json", text);
        try {
            store.load();
            ADD_FAILURE() << "loaded: " << text;
        } catch (const core::ConfigurationError& error) {
            EXPECT_EQ(error, core::ConfigurationError::malformed(scratch / "keymap.json")) << text;
        }
    }
}

TEST(JSONKeymapStore, AFileThatCannotBeReadPassesTheFileStoresError) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "keymap.json");
    JSONKeymapStore store(std::make_shared<system::LocalFileStore>(), scratch.path());
    EXPECT_THROW(store.load(), std::filesystem::filesystem_error);
}

}  // namespace
}  // namespace tarv::storage
