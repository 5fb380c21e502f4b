#include "TarvApp/Runtime/AppRuntime.hpp"

#include <chrono>

#include "TarvApp/Runtime/QuitNotice.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"
#include "TarvUI/Components/DiffLineCache.hpp"
#include "TarvUI/Routing/InputRouter.hpp"
#include "TarvUI/Screens/AppView.hpp"

namespace tarv::app {
namespace {

// How long work still running at quit may take before the normal screen
// says what the program waits for.
constexpr std::chrono::milliseconds quietWait{400};

RuntimeLoop::Settings loopSettings(const RuntimeOptions& options) {
    RuntimeLoop::Settings settings;
    settings.session = terminal::TerminalSession::Options{options.mouse, true, true};
    settings.colorSupport = options.colorSupport;
    settings.language = options.language;
    return settings;
}

}  // namespace

AppHost<ui::RenderedFrame>::Screens AppRuntime::screens(const RuntimeOptions& options) {
    auto shared = std::make_shared<const RuntimeOptions>(options);
    AppHost<ui::RenderedFrame>::Screens screens;
    // One diff line cache for the life of the screens: the diff panes cut
    // each frame out of what earlier frames derived.
    auto diffLines = std::make_shared<ui::DiffLineCache>();
    screens.draw = [shared, diffLines](const features::AppState& state, terminal::Size size, std::int64_t tick) {
        return ui::AppView::draw(state, size, shared->theme, tick,
                                 shared->colorSupport == terminal::ColorSupport::none, shared->keymap,
                                 diffLines.get());
    };
    // One router for the life of the program: it keeps the last click, a
    // drag under way and the wheel brake between events.
    auto router = std::make_shared<ui::InputRouter>(shared->keymap);
    screens.route = [router](const terminal::InputEvent& event, const features::AppState& state,
                             terminal::Size size, const ui::InputRouter::FrameSource& frame) {
        return router->route(event, state, size, frame);
    };
    return screens;
}

AppRuntime::AppRuntime(features::Dependencies dependencies, RuntimeOptions options,
                       std::shared_ptr<core::ForegroundProcessRunning> foreground, std::function<void()> shutdown)
    : options_(std::move(options)),
      queue_(std::make_shared<core::MainQueue>()),
      executor_(std::make_shared<features::LiveEffectExecutor>(queue_)),
      host_(features::AppState(options_.language), features::AppReducer(std::move(dependencies)), executor_,
            screens(options_), options_.startupNotice),
      loop_(host_, queue_, std::move(foreground), std::move(shutdown), loopSettings(options_)) {
    // The jobs describe their failures in the interface's language.
    features::ErrorText::useLanguage(options_.language);
}

int AppRuntime::run(const std::string& startDirectory) {
    const int code = loop_.run(startDirectory);
    // Reads were stopped at quit and end at once; a write runs to its end
    // (git is never cut off half-way). The wait is said on the normal screen;
    // ctrl-C ends it, and git, in a session of its own, finishes by itself.
    if (!executor_->waitForIdle(quietWait)) {
        terminal::TerminalOutput::writeAll(2, QuitNotice::waiting(host_.state()) + "\n");
        while (!executor_->waitForIdle(std::chrono::hours(1))) {
        }
    }
    return code;
}

}  // namespace tarv::app
