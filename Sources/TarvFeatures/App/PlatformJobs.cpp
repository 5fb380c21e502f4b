#include "TarvFeatures/App/PlatformJobs.hpp"

#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Errors/PlatformError.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features::PlatformJobs {

namespace {

core::Text describePlatform(const core::PlatformError& error) {
    return std::visit(
        [](const auto& failure) -> core::Text {
            using Case = std::decay_t<decltype(failure)>;
            if constexpr (std::is_same_v<Case, core::PlatformError::NoClipboardTool>) {
                return core::Text::clipboardToolMissing();
            } else if constexpr (std::is_same_v<Case, core::PlatformError::ToolFailed>) {
                return core::Text::raw(failure.tool + ": " + failure.message);
            } else if constexpr (std::is_same_v<Case, core::PlatformError::NoDesktop>) {
                return core::Text::openInEditorNoDesktop();
            } else {
                return core::Text::openInEditorNoOpener();
            }
        },
        error.value);
}

}  // namespace

core::Text failureText(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const core::PlatformError& platform) {
        return describePlatform(platform);
    } catch (...) {
    }
    return core::Text::raw(ErrorText::describe(error));
}

Effect<AppAction> copy(std::shared_ptr<core::PlatformServices> platform, std::string text) {
    return Effect<AppAction>::run(std::nullopt, [platform = std::move(platform), text = std::move(text)](
                                                    Effect<AppAction>::Send send, std::stop_token stop) {
        try {
            platform->copyToClipboard(text, stop);
        } catch (...) {
            send(AppAction::Notice{failureText(std::current_exception()), true});
        }
    });
}

Effect<AppAction> openInEditor(std::shared_ptr<core::PlatformServices> platform, std::string path) {
    return Effect<AppAction>::run(std::nullopt, [platform = std::move(platform), path = std::move(path)](
                                                    Effect<AppAction>::Send send, std::stop_token stop) {
        try {
            platform->openInEditor(path, stop);
        } catch (...) {
            send(AppAction::Notice{failureText(std::current_exception()), true});
        }
    });
}

}  // namespace tarv::features::PlatformJobs
