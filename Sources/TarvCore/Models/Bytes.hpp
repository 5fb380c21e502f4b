#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::core {

// Raw bytes: process input and output, file contents, HTTP bodies. Kept
// apart from std::string so that turning bytes into text is always a visible
// choice: `byteView` keeps them exactly (for values that go back to git),
// `text::decodeLossy` repairs them (for display and messages).
using Bytes = std::vector<std::uint8_t>;

// The bytes of a text, unchanged.
inline Bytes toBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The bytes seen as a string_view, unchanged (no decoding, no copy).
inline std::string_view byteView(const Bytes& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}
std::string_view byteView(Bytes&& bytes) = delete;  // would dangle

}  // namespace tarv::core
