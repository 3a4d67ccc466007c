#pragma once
// The artwork's files at 100 % (the .bmp, .ico and .cur files resources.rc
// links), made from the program's own drawing (app/artwork.cpp): the same
// drawing serves the resources and every other scale.
#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct ArtFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Every file, its bytes the same on every run.
std::vector<ArtFile> ArtFiles();

// A 24-bit bitmap of width x height pixels (0x..RRGGBB, rows from the top).
std::vector<uint8_t> Bitmap24(int width, int height, const std::vector<uint32_t>& pixels);
// The same quantised to a palette of at most 256 colours by median cut, run-length encoded (BI_RLE8).
std::vector<uint8_t> Bitmap8(int width, int height, const std::vector<uint32_t>& pixels);

}  // namespace art
