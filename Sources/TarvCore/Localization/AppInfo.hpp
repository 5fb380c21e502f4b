#pragma once

#include <string_view>

namespace tarv::core::AppInfo {

inline constexpr std::string_view name = "Tarv";
inline constexpr std::string_view version = "1.0.0";

}  // namespace tarv::core::AppInfo
