#pragma once

#include <cstddef>
#include <cstdint>

// The window icon at each of its sizes, premultiplied ARGB32, rendered from the SVG when the
// program is built.
namespace icon {

struct Pixels {
    int size;
    const std::uint32_t *argb; // size x size pixels, row by row
};

extern const Pixels Sizes[];
extern const std::size_t SizeCount;

} // namespace icon
