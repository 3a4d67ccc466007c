// Writes the artwork's files at 100 % from the program's own drawing:
//   draw_art [folder]     (scripts/draw-art.sh runs it into resources/)
// into the given folder, or the current one. The same bytes on every run.
#include <cstdio>
#include <string>

#include "resources/art_files.h"

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? std::string(argv[1]) + "/" : std::string();
    for (const art::ArtFile& file : art::ArtFiles()) {
        std::string path = folder + file.name;
        FILE* out = std::fopen(path.c_str(), "wb");
        bool written = out && std::fwrite(file.bytes.data(), 1, file.bytes.size(), out) == file.bytes.size();
        if (out && std::fclose(out) != 0) written = false;
        if (!written) {
            std::fprintf(stderr, "draw_art: could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
