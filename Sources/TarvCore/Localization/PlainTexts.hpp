#pragma once

#include <string_view>

#include "TarvCore/Localization/Text.hpp"

namespace tarv::core::detail {

// The literal of a payload-free case.
std::string_view englishPlainText(Text::Plain plain);
std::string_view spanishPlainText(Text::Plain plain);

}  // namespace tarv::core::detail
