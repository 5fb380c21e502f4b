#pragma once

#include <stop_token>
#include <string>

namespace tarv::core {

// The desktop: browser, file manager, editor and clipboard. Blocking calls
// that report nothing: the caller learns nothing of a failure.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual void openURL(const std::string& url, std::stop_token stop) = 0;
    virtual void reveal(const std::string& path, std::stop_token stop) = 0;
    virtual void openInEditor(const std::string& path, std::stop_token stop) = 0;
    virtual void copyToClipboard(const std::string& text, std::stop_token stop) = 0;
};

}  // namespace tarv::core
