#include "TarvCore/Errors/GitError.hpp"

namespace tarv::core {

const char* GitError::what() const noexcept {
    switch (value.index()) {
    case 0: return "GitError.commandFailed";
    case 1: return "GitError.invalidOutput";
    case 2: return "GitError.invalidArgument";
    case 3: return "GitError.notARepository";
    default: return "GitError.gitNotFound";
    }
}

std::string GitError::description() const {
    std::string out = what();
    if (const auto* failed = std::get_if<CommandFailed>(&value)) {
        out += "(" + failed->command + ", exit " + std::to_string(failed->exitCode) + "): " + failed->stderr;
    } else if (const auto* output = std::get_if<InvalidOutput>(&value)) {
        out += ": " + output->message;
    } else if (const auto* argument = std::get_if<InvalidArgument>(&value)) {
        out += ": " + argument->message;
    } else if (const auto* notRepository = std::get_if<NotARepository>(&value)) {
        out += ": " + notRepository->path;
    }
    return out;
}

}  // namespace tarv::core
