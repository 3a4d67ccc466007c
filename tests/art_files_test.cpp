// The bitmaps, icon and cursor the program links are what its own drawing
// makes today, byte for byte: one drawing serves 100 % and every other scale.
#include <doctest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/art_files.h"

static std::vector<uint8_t> Committed(const std::string& name) {
    std::ifstream file(std::string(RESOURCES_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST_CASE("the artwork's files in resources/ are, byte for byte, what draw_art writes from the program's drawing") {
    std::vector<art::ArtFile> files = art::ArtFiles();
    REQUIRE(files.size() == 8);
    for (const art::ArtFile& file : files) {
        CAPTURE(file.name);
        std::vector<uint8_t> committed = Committed(file.name);
        REQUIRE(!committed.empty());
        CHECK(file.bytes.size() == committed.size());
        CHECK(file.bytes == committed);
    }
}
