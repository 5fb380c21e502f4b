#pragma once

#include <string_view>

namespace tarv::core {

// The hosting service's addresses that rules and texts need, in one place.
struct HostingDefaults {
    // The web host of the hosting service: the host given to "owner/name"
    // shorthand remotes and the host that counts as GitHub for remedies.
    static constexpr std::string_view webHost = "github.com";
    // The domain of the account's no-reply e-mail address.
    static constexpr std::string_view noReplyEmailDomain = "users.noreply.github.com";
    // Where the large-file-storage extension is installed from. The fix-button
    // label rule recognises this address by "git-lfs".
    static constexpr std::string_view lfsInstallURL = "https://git-lfs.com";
};

}  // namespace tarv::core
