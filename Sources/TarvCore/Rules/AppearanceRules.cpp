#include "TarvCore/Rules/AppearanceRules.hpp"

namespace tarv::core::AppearanceRules {

Appearance resolve(const std::optional<std::string>& flag, const std::optional<std::string>& interfaceStyle) {
    if (flag == "dark") return Appearance::dark;
    if (flag == "light") return Appearance::light;
    if (interfaceStyle == "Dark") return Appearance::dark;
    return Appearance::light;
}

}  // namespace tarv::core::AppearanceRules
