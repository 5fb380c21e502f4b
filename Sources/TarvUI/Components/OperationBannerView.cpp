#include "TarvUI/Components/OperationBannerView.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/Workspace/WorkspaceState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"

namespace tarv::ui::OperationBannerView {

using core::AppCommand;
using features::AppAction;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

void draw(UIFrame& frame, const features::WorkspaceState& ws, const Rect& rect) {
    const auto& operation = ws.status.operation;
    if (!operation) return;
    const Theme& t = frame.styles.theme;
    const Style banner{t.textOnAccent.color(), t.warning.color(), terminal::Attributes::bold};
    const Style button = banner.with(std::nullopt, std::nullopt, terminal::Attributes::underline);

    std::int64_t conflicts = 0;
    for (const auto& file : ws.status.files) conflicts += file.kind == core::ChangeKind::conflicted ? 1 : 0;

    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        canvas.fill(rect, banner);
        std::string title(" ");
        title += frame.text(core::Text::operationBanner(*operation, conflicts));
        canvas.draw(title, rect.origin, banner, std::max<std::int64_t>(rect.size.width - 1, 1));

        std::int64_t x = rect.minX() + 1;
        const std::int64_t y = rect.minY() + 1;
        const auto drawButton = [&](const core::Text& label, AppCommand command) {
            std::string text(" ");
            text += frame.text(label);
            text += ' ';
            const Rect area(x, y, terminal::DisplayWidth::width(text), 1);
            canvas.fill(area, button);
            canvas.draw(text, area.origin, button);
            frame.hits.add(area, HitRegion::pressing(actions(AppAction::Command{command})));
            x = area.maxX() + 1;
        };
        if (*operation != core::RepositoryOperation::merge && conflicts == 0) {
            drawButton(core::Text::buttonContinueOperation(), AppCommand::continueOperation);
        }
        drawButton(core::Text::buttonAbortOperation(), AppCommand::abortOperation);
    });
}

}  // namespace tarv::ui::OperationBannerView
