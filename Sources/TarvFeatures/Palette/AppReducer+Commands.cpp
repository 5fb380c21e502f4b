// Command execution: a command from the keymap, the palette, a menu or a button.
//
// Placeholder until that group lands: the arm does nothing. The engineer
// who builds the group replaces this body (and may split the file).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::perform(AppState&, core::AppCommand) const {
    return AppEffect::none();
}

}  // namespace tarv::features
