#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

/// One of the window's images drawn at one size: size x size premultiplied ARGB pixels,
/// row by row. They are drawn from ui/resources/*.svg when the program is built, so that
/// the window's start reads no SVG.
struct GlyphBitmap {
    const char* name;
    int size;
    const std::uint32_t* pixels;
};

extern const GlyphBitmap kGlyphBitmaps[];
extern const std::size_t kGlyphBitmapCount;

}  // namespace velmora
