#include "TarvSystem/IPC/AskpassWire.hpp"

#include "TarvCore/Text/JSONNesting.hpp"

namespace tarv::system::AskpassWire {

bool isWithinLimits(std::string_view text) {
    return text.size() < maxLineBytes && core::text::jsonNestingWithin(text, maxNesting);
}

}  // namespace tarv::system::AskpassWire
