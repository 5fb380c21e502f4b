#include "TarvUI/Screens/OnboardingScreen.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/Onboarding/OnboardingState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUI/Components/ToolbarView.hpp"

namespace tarv::ui::OnboardingScreen {

using features::AppAction;
using features::OnboardingAction;
using features::OnboardingState;
using Step = OnboardingState::Step;
using terminal::Point;
using terminal::Rect;
using terminal::TextWrapping::wrap;

namespace {

// The fields start this many columns in, or one column after the widest
// label when a label is wider (so that no label touches its value).
constexpr std::int64_t minimumFieldColumn = 14;

terminal::Style colored(const UIFrame& frame, const ThemeColor& color) {
    return frame.styles.popover.with(color.color(), std::nullopt);
}

void buttons(UIFrame& frame, const Rect& c, const core::Text& primary, OnboardingAction primaryAction,
             std::optional<std::pair<core::Text, OnboardingAction>> secondary = std::nullopt) {
    std::vector<DialogFrame::Button> list{
        {frame.text(primary), frame.styles.button, {AppAction(std::move(primaryAction))}}};
    if (secondary) {
        list.push_back({frame.text(secondary->first), DialogFrame::secondary(frame.styles),
                        {AppAction(std::move(secondary->second))}});
    }
    DialogFrame::drawButtons(frame, list, c.minX(), c.maxY() - 1);
}

void lines(UIFrame& frame, const std::vector<std::string>& text, const Rect& c, std::int64_t firstRow,
           std::size_t limit, const terminal::Style& style) {
    for (std::size_t k = 0; k < text.size() && k < limit; ++k) {
        frame.canvas.draw(text[k], Point{c.minX(), c.minY() + firstRow + static_cast<std::int64_t>(k)}, style,
                          c.size.width);
    }
}

void gitMissing(UIFrame& frame, const Rect& c) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw(frame.text(core::Text::onboardingGitMissingTitle()), c.origin,
                      colored(frame, s.theme.danger).with(std::nullopt, std::nullopt,
                                                          terminal::Attributes{terminal::Attributes::bold}),
                      c.size.width);
    const auto body = wrap(frame.text(core::Text::onboardingGitMissingBody()), c.size.width);
    lines(frame, body, c, 2, body.size(), s.popover);
    const auto n = static_cast<std::int64_t>(body.size());
    frame.canvas.draw("sudo apt install git", Point{c.minX(), c.minY() + n + 3}, colored(frame, s.theme.accent),
                      c.size.width);
    buttons(frame, c, core::Text::onboardingRetry(), OnboardingAction::RetryTapped{});
}

struct FormRow {
    core::Text label;
    OnboardingState::Field field;
    std::string_view placeholder;
};

// The form keeps its rows above the buttons: when the spaced layout does
// not fit, the fields close up, then the intro gives up lines.
void identity(UIFrame& frame, const OnboardingState& state, const Rect& c) {
    const ThemeStyles& s = frame.styles;
    const std::int64_t usable = std::max<std::int64_t>(c.size.height - 1, 0);  // rows above the buttons
    auto intro = wrap(frame.text(core::Text::onboardingIdentityIntro()), c.size.width);
    const auto n = static_cast<std::int64_t>(intro.size());
    const std::int64_t gap = n + 10 <= usable ? 2 : 1;
    if (gap == 1) intro.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(usable - 6, 0, n)));
    const auto shown = static_cast<std::int64_t>(intro.size());
    lines(frame, intro, c, 0, intro.size(), s.popover);
    const auto rowY = [&](std::int64_t row) { return c.minY() + row; };
    const auto fits = [&](std::int64_t row) { return row < usable; };
    if (fits(shown)) {
        frame.canvas.draw(frame.text(core::Text::onboardingSavesTo()), Point{c.minX(), rowY(shown)}, s.popoverDim,
                          c.size.width);
    }
    const FormRow rows[] = {{core::Text::fieldName(), OnboardingState::Field::name, "Ada Lovelace"},
                            {core::Text::fieldEmail(), OnboardingState::Field::email, "ada@example.com"},
                            {core::Text::fieldDefaultBranch(), OnboardingState::Field::defaultBranch, "main"}};
    std::int64_t fieldColumn = minimumFieldColumn;
    for (const auto& form : rows) {
        fieldColumn = std::max(fieldColumn, terminal::DisplayWidth::width(frame.text(form.label)) + 1);
    }
    std::int64_t row = shown;
    for (const auto& form : rows) {
        row += gap;
        if (!fits(row)) break;
        frame.canvas.draw(frame.text(form.label), Point{c.minX(), rowY(row)}, s.popoverDim, c.size.width);
        const Rect field(c.minX() + fieldColumn, rowY(row), c.size.width - fieldColumn, 1);
        const auto cursor = frame.cursor;
        DialogFrame::textField(frame, field, state.text(form.field), std::string(form.placeholder));
        if (state.focusedField != form.field) frame.cursor = cursor;
        frame.hits.add(field, HitRegion::pressing({AppAction(OnboardingAction::FocusField{form.field})}));
    }
    row += gap;
    if (fits(row)) {
        frame.canvas.draw(state.storeCredentials ? "\u2611" : "\u2610", Point{c.minX(), rowY(row)},
                          colored(frame, s.theme.accent));
        frame.canvas.draw(frame.text(core::Text::fieldStoreCredentials()), Point{c.minX() + 2, rowY(row)}, s.popover,
                          c.size.width - 3);
        frame.hits.add(Rect(c.minX(), rowY(row), c.size.width, 1),
                       HitRegion::pressing({AppAction(OnboardingAction::StoreCredentialsToggled{!state.storeCredentials})}));
    }
    if (state.validationError && fits(row + 1)) {
        const core::Text error = *state.validationError == OnboardingState::ValidationError::invalidName
                                     ? core::Text::invalidName()
                                     : core::Text::invalidEmail();
        frame.canvas.draw(frame.text(error), Point{c.minX(), rowY(row + 1)}, colored(frame, s.theme.danger),
                          c.size.width);
    }
    buttons(frame, c, core::Text::onboardingSave(), OnboardingAction::SaveTapped{},
            std::pair{core::Text::onboardingSkip(), OnboardingAction(OnboardingAction::SkipTapped{})});
}

}  // namespace

void draw(UIFrame& frame, const OnboardingState& state) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const bool isIdentity = state.step.is<Step::Identity>();
    const std::int64_t w = std::min<std::int64_t>(screen.width - 2, 66);
    const std::int64_t h = std::min<std::int64_t>(screen.height - 2, isIdentity ? 17 : 11);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), std::max<std::int64_t>((screen.height - h) / 2, 0),
                   w, h);
    const Rect c = PopoverView::draw(frame, box, frame.text(core::Text::onboardingWelcome()));
    const ThemeStyles& s = frame.styles;
    const auto& step = state.step.value;
    if (const auto* old = std::get_if<Step::GitTooOld>(&step)) {
        const auto text = wrap(frame.text(core::Text::onboardingGitTooOld(old->found, old->minimum)), c.size.width);
        lines(frame, text, c, 1, text.size(), s.popover);
        buttons(frame, c, core::Text::onboardingContinue(), OnboardingAction::ContinueAnywayTapped{},
                std::pair{core::Text::onboardingRetry(), OnboardingAction(OnboardingAction::RetryTapped{})});
    } else if (const auto* failed = std::get_if<Step::Failed>(&step)) {
        lines(frame, wrap(DialogFrame::bounded(failed->message), c.size.width), c, 1, 5, colored(frame, s.theme.danger));
        buttons(frame, c, core::Text::onboardingRetry(), OnboardingAction::RetryTapped{});
    } else if (std::holds_alternative<Step::GitMissing>(step)) {
        gitMissing(frame, c);
    } else if (isIdentity) {
        identity(frame, state, c);
    } else {
        frame.canvas.draw(std::string(ToolbarView::spinnerFrame(frame.tick)) + " " +
                              frame.text(core::Text::onboardingChecking()),
                          Point{c.minX(), c.minY() + 1}, s.popover, c.size.width);
    }
}

}  // namespace tarv::ui::OnboardingScreen
