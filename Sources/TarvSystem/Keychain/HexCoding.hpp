#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::system::HexCoding {

// Lower-case hexadecimal, two digits a byte: how secrets travel to the
// keychain tool and how the stand-in keeps them.
std::string encode(std::string_view bytes);
std::string encode(const std::vector<std::uint8_t>& bytes);
// Either case; empty on an odd length or a character that is not a digit.
std::optional<std::vector<std::uint8_t>> decode(std::string_view text);

}  // namespace tarv::system::HexCoding
