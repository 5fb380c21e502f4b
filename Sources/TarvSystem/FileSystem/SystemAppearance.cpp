#include "TarvSystem/FileSystem/SystemAppearance.hpp"

namespace tarv::system::SystemAppearance {

std::optional<std::string> interfaceStyle(const std::optional<std::string>&) { return std::nullopt; }

}  // namespace tarv::system::SystemAppearance
