// The application host against the real reducer over fake ports, with a
// stand-in for the screens that counts what it draws.

#include <gtest/gtest.h>

#include "Support/FakePorts.hpp"
#include "Support/ManualExecutor.hpp"
#include "TarvApp/Runtime/AppHost.hpp"
#include "TarvApp/Runtime/AppRuntime.hpp"
#include "TarvApp/Runtime/BusyRule.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::app {
namespace {

using features::AppAction;
using features::AppState;
using terminal::InputEvent;

struct TestFrame {
    terminal::Grid grid;
    std::optional<terminal::Point> cursor;
    features::Viewports viewports;
    int serial = 0;
};

class AppHostTest : public ::testing::Test {
protected:
    AppHost<TestFrame> makeHost(std::optional<core::Text> notice = std::nullopt) {
        AppHost<TestFrame>::Screens screens;
        screens.draw = [this](const AppState&, terminal::Size size, std::int64_t) {
            ++draws;
            return TestFrame{terminal::Grid(size), std::nullopt, drawnViewports, draws};
        };
        // Like the input router: only the mouse reads the frame.
        screens.route = [this](const InputEvent& event, const AppState&, terminal::Size,
                               const std::function<const TestFrame&()>& frame) {
            routedAgainst.push_back(event.is<InputEvent::Mouse>() ? frame().serial : 0);
            return std::vector<AppAction>{};
        };
        return AppHost<TestFrame>(AppState(core::Language::en), features::AppReducer(fakes.dependencies()), executor,
                                  std::move(screens), std::move(notice));
    }

    tarv::testing::FakePorts fakes;
    std::shared_ptr<tarv::testing::ManualExecutor> executor = std::make_shared<tarv::testing::ManualExecutor>();
    features::Viewports drawnViewports;
    int draws = 0;
    std::vector<int> routedAgainst;
};

TEST_F(AppHostTest, LaunchThenTheStartupNoticeAsAnErrorToast) {
    auto host = makeHost(core::Text::keymapNotice(2));
    host.launch("/start");
    ASSERT_TRUE(host.state().toast);
    EXPECT_TRUE(host.state().toast->isError);
    EXPECT_EQ(host.state().toast->text, core::Text::keymapNotice(2));
    EXPECT_GT(executor->jobCount(), 0u);
}

TEST_F(AppHostTest, WheelEventsReuseTheLastRoutingFrameOtherMouseEventsDrawAfreshKeysDrawNothing) {
    auto host = makeHost();
    const InputEvent wheel = InputEvent::mouse(
        terminal::MouseEvent{terminal::MouseEvent::Kind::scroll(terminal::MouseEvent::Direction::down), {3, 3}, {}});
    const InputEvent press = InputEvent::mouse(terminal::MouseEvent{
        terminal::MouseEvent::Kind::press(terminal::MouseEvent::Button::left), {3, 3}, {}});
    const InputEvent key = InputEvent::key(terminal::KeyEvent::character("x"));
    host.route(wheel, {80, 24}, 0);  // nothing to reuse yet
    host.route(wheel, {80, 24}, 0);
    host.route(key, {80, 24}, 0);    // draws nothing, forgets the frame
    host.route(wheel, {80, 24}, 0);
    host.route(press, {80, 24}, 0);
    host.route(wheel, {80, 24}, 0);
    host.forgetRoutingFrame();
    host.route(wheel, {80, 24}, 0);
    EXPECT_EQ(routedAgainst, (std::vector<int>{1, 1, 0, 2, 3, 3, 4}));
    EXPECT_EQ(draws, 4);
}

// The program's own screens: a key acts without any frame being drawn (the
// terminal's size alone tells whether the too-small notice hides the
// screen); a click needs the hit regions of one.
TEST_F(AppHostTest, TheProgramsScreensRouteAKeyWithoutDrawing) {
    AppState state(core::Language::en);
    state.onboarding.step = features::OnboardingState::Step::done();
    state.launchHandled = true;
    state.workspace.emplace("/r", "r", std::nullopt);
    const RuntimeOptions options;
    AppHost<ui::RenderedFrame>::Screens screens = AppRuntime::screens(options);
    screens.draw = [this, draw = screens.draw](const AppState& s, terminal::Size size, std::int64_t tick) {
        ++draws;
        return draw(s, size, tick);
    };
    AppHost<ui::RenderedFrame> host(std::move(state), features::AppReducer(fakes.dependencies()), executor,
                                    std::move(screens));
    // Behind the too-small notice the key does nothing, still without a frame.
    host.route(InputEvent::key(terminal::KeyEvent::character("2")), {40, 10}, 0);
    EXPECT_EQ(host.state().workspace->tab, features::WorkspaceTab::changes);
    host.route(InputEvent::key(terminal::KeyEvent::character("2")), {120, 40}, 0);
    EXPECT_EQ(host.state().workspace->tab, features::WorkspaceTab::history);
    EXPECT_EQ(draws, 0);
    host.route(InputEvent::mouse(terminal::MouseEvent{
                   terminal::MouseEvent::Kind::press(terminal::MouseEvent::Button::left), {10, 10}, {}}),
               {120, 40}, 0);
    EXPECT_EQ(draws, 1);
}

TEST_F(AppHostTest, ViewportsAreSentOnlyWhenTheDrawnOnesDiffer) {
    auto host = makeHost();
    int changes = 0;
    host.attach([&] { ++changes; });
    host.draw({80, 24}, 0);
    host.frameWritten();
    EXPECT_EQ(changes, 0);
    drawnViewports.fileList = 33;
    host.draw({80, 24}, 0);
    host.frameWritten();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(host.state().viewports.fileList, 33);
    host.draw({80, 24}, 0);
    host.frameWritten();
    EXPECT_EQ(changes, 1);
    host.detach();
    drawnViewports.fileList = 7;
    host.draw({80, 24}, 0);
    host.frameWritten();
    EXPECT_EQ(changes, 1);
}

TEST(BusyRule, SpinnerRunsForChecksLaunchSyncAndClone) {
    using Step = features::OnboardingState::Step;
    struct Case {
        std::string name;
        std::function<void(AppState&)> setUp;
        bool busy;
    };
    const auto done = [](AppState& s) { s.onboarding.step = Step::done(); };
    const auto welcome = [done](AppState& s) {
        done(s);
        s.launchHandled = true;
    };
    const auto cloning = [](AppState& s, bool running) {
        features::ClonePromptState clone("/tmp");
        clone.isCloning = running;
        s.overlay = features::Overlay{std::move(clone)};
    };
    const auto workspace = [welcome](AppState& s) {
        welcome(s);
        s.workspace.emplace("/r", "r", std::nullopt);
    };
    const Case cases[] = {
        {"onboarding checking", [](AppState& s) { s.onboarding.step = Step::checking(); }, true},
        {"onboarding identity form", [](AppState& s) { s.onboarding.step = Step::identity(); }, false},
        {"launching", done, true},
        {"welcome", welcome, false},
        {"welcome while cloning", [&](AppState& s) { welcome(s); cloning(s, true); }, true},
        {"welcome with the clone dialog idle", [&](AppState& s) { welcome(s); cloning(s, false); }, false},
        {"workspace", workspace, false},
        {"workspace pulling",
         [&](AppState& s) {
             workspace(s);
             s.workspace->sync.activity = features::SyncState::Activity::pulling;
         },
         true},
        {"workspace while cloning", [&](AppState& s) { workspace(s); cloning(s, true); }, true},
    };
    for (const Case& c : cases) {
        AppState state;
        c.setUp(state);
        EXPECT_EQ(BusyRule::isBusy(state), c.busy) << c.name;
    }
}

TEST(AppRuntime, JobsDescribeFailuresInTheInterfaceLanguage) {
    // Nothing is started: the runtime is only made, as the command line
    // makes it before it runs.
    const auto empty = std::make_exception_ptr(core::GitError::commandFailed("git status", 1, ""));
    for (const auto& [language, expected] : {std::pair{core::Language::en, "git ended with an error"},
                                             std::pair{core::Language::es, "git terminó con error"}}) {
        RuntimeOptions options;
        options.language = language;
        AppRuntime runtime(testing::makeFakeDependencies(), options, nullptr, {});
        EXPECT_EQ(features::ErrorText::describe(empty), expected);
    }
}

}  // namespace
}  // namespace tarv::app
