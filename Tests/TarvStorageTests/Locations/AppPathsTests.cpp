#include "TarvStorage/Locations/AppPaths.hpp"

#include <gtest/gtest.h>

namespace tarv::storage {
namespace {

TEST(AppPaths, XdgVariablesApplyOnlyWhenAbsolute) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::string config, state, cache;
    };
    const Case cases[] = {
        {{}, "/home/u/.config/tarv", "/home/u/.local/state/tarv", "/home/u/.cache/tarv"},
        {{{"XDG_CONFIG_HOME", "/tmp/x"}, {"XDG_STATE_HOME", "/s/"}, {"XDG_CACHE_HOME", "/c"}},
         "/tmp/x/tarv",
         "/s//tarv",  // used exactly as given
         "/c/tarv"},
        {{{"XDG_CONFIG_HOME", "rel/x"}, {"XDG_STATE_HOME", ""}, {"XDG_CACHE_HOME", "~/cache"}},
         "/home/u/.config/tarv",
         "/home/u/.local/state/tarv",
         "/home/u/.cache/tarv"},
    };
    for (const Case& c : cases) {
        const AppPaths paths("/home/u", c.environment);
        EXPECT_EQ(paths.configDirectory, c.config);
        EXPECT_EQ(paths.stateDirectory, c.state);
        EXPECT_EQ(paths.cacheDirectory, c.cache);
    }
}

}  // namespace
}  // namespace tarv::storage
