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

namespace {

// `call` on the platform as a job; its failure is shown as an error notice.
template <class Call>
Effect<AppAction> reportingFailure(std::shared_ptr<core::PlatformServices> platform, Call call) {
    return Effect<AppAction>::run(std::nullopt, [platform = std::move(platform), call = std::move(call)](
                                                    Effect<AppAction>::Send send, std::stop_token stop) {
        try {
            call(*platform, stop);
        } catch (...) {
            send(AppAction::Notice{failureText(std::current_exception()), true});
        }
    });
}

}  // namespace

Effect<AppAction> copy(std::shared_ptr<core::PlatformServices> platform, std::string text) {
    return reportingFailure(std::move(platform), [text = std::move(text)](core::PlatformServices& services,
                                                                          std::stop_token stop) {
        services.copyToClipboard(text, stop);
    });
}

Effect<AppAction> openInEditor(std::shared_ptr<core::PlatformServices> platform, std::string path) {
    return reportingFailure(std::move(platform), [path = std::move(path)](core::PlatformServices& services,
                                                                          std::stop_token stop) {
        services.openInEditor(path, stop);
    });
}

}  // namespace tarv::features::PlatformJobs
