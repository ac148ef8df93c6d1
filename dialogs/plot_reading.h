// Reading a value off a plotted axis at a pixel, as the graph window and the scale dialog do.
#pragma once

// The value `offset` pixels from the low end of an axis `span` pixels long that runs from `low`
// to `high`, in double precision: low + offset × (high − low) / span.
inline double ValueAtPixel(int offset, int span, double low, double high) {
    return low + static_cast<double>(offset) * (high - low) / span;
}
