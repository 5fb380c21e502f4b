#include "TarvTerminal/Style/ColorDowngrade.hpp"

#include <array>
#include <cstdint>
#include <limits>

namespace tarv::terminal::ColorDowngrade {
namespace {

struct Reference {
    int red, green, blue;
};

// Reference colours of the 16 basic palette entries.
constexpr std::array<Reference, 16> ansi16{{
    {0, 0, 0},       {205, 49, 49},   {13, 188, 121},  {229, 229, 16},
    {36, 114, 200},  {188, 63, 188},  {17, 168, 205},  {229, 229, 229},
    {102, 102, 102}, {241, 76, 76},   {35, 209, 139},  {245, 245, 67},
    {59, 142, 234},  {214, 112, 214}, {41, 184, 219},  {255, 255, 255},
}};

int cubeLevel(int c) {
    if (c < 48) return 0;
    if (c <= 114) return 1;
    return (c - 35) / 40;
}

}  // namespace

std::uint8_t indexed256(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (red == green && green == blue) {
        const int v = red;
        if (v < 8) return 16;
        if (v > 248) return 231;
        return static_cast<std::uint8_t>(232 + (v - 8) * 24 / 247);
    }
    return static_cast<std::uint8_t>(16 + 36 * cubeLevel(red) + 6 * cubeLevel(green) + cubeLevel(blue));
}

std::uint8_t indexed16(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    std::uint8_t bestIndex = 0;
    for (std::size_t i = 0; i < ansi16.size(); ++i) {
        const std::int64_t dr = red - ansi16[i].red;
        const std::int64_t dg = green - ansi16[i].green;
        const std::int64_t db = blue - ansi16[i].blue;
        const std::int64_t distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<std::uint8_t>(i);
        }
    }
    return bestIndex;
}

}  // namespace tarv::terminal::ColorDowngrade
