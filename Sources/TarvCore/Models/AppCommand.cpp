#include "TarvCore/Models/AppCommand.hpp"

namespace tarv::core {

std::optional<AppCommand> appCommand(std::string_view text) {
    for (AppCommand command : allAppCommands)
        if (identifier(command) == text) return command;
    return std::nullopt;
}

}  // namespace tarv::core
