#pragma once
// The program's artwork drawn at run time at any size: the title banner, the
// patent picture, the four frames of the turning disc and the window icon.
// The same drawings make the resources that serve at 100 % (resources/
// draw_art.cpp writes them), so that every scale shows the same pictures,
// drawn at that scale. (The hand cursor is a 1-bit picture: the system sizes it without a
// blur.)
#include <cstdint>
#include <string>

// The toolkit's picture painter for the program's windows: draws the picture
// of this resource name (any case) at width x height pixels into pixels
// (0xAARRGGBB, rows from the top); false for a name the program has no drawing of.
bool PaintArtwork(const std::wstring& name, int32_t width, int32_t height, uint32_t* pixels);
