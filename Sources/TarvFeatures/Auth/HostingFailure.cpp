#include "TarvFeatures/Auth/HostingFailure.hpp"

#include <variant>

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

bool isUnauthorized(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const core::HostingError& hosting) {
        return std::holds_alternative<core::HostingError::Unauthorized>(hosting.value);
    } catch (...) {
    }
    return false;
}

}  // namespace

void sendHostingFailure(const std::function<void(AppAction)>& send, const std::exception_ptr& error, bool quiet,
                        const std::function<AppAction(core::Text)>& failed) {
    if (isUnauthorized(error)) {
        send(AuthAction::SessionExpired{});
        if (failed) send(failed(core::Text::hostingUnauthorized()));
    } else if (failed && !quiet) {
        send(failed(AppReducer::hostingText(error)));
    }
}

}  // namespace tarv::features
