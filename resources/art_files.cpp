#include "resources/art_files.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "app/artwork.h"

namespace art {

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t value) {
    out.push_back((uint8_t)value);
    out.push_back((uint8_t)(value >> 8));
}

void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

// BITMAPINFOHEADER: 2835 pixels a metre (72 dots per inch) both ways.
Bytes InfoHeader(int width, int height, int bits, size_t imageSize, uint32_t colours = 0, uint32_t compression = 0) {
    Bytes out;
    for (uint32_t value : {40u, (uint32_t)width, (uint32_t)height}) Put32(out, value);
    Put16(out, 1);
    Put16(out, (uint32_t)bits);
    for (uint32_t value : {compression, (uint32_t)imageSize, 2835u, 2835u, colours, 0u}) Put32(out, value);
    return out;
}

Bytes BitmapFile(int width, int height, int bits, const Bytes& palette, const Bytes& data, bool runLength) {
    uint32_t offset = 14 + 40 + (uint32_t)palette.size();
    Bytes out = {'B', 'M'};
    Put32(out, offset + (uint32_t)data.size());
    Put32(out, 0);
    Put32(out, offset);
    Append(out, InfoHeader(width, height, bits, data.size(), bits <= 8 ? (uint32_t)palette.size() / 4 : 0,
                           runLength ? 1 : 0));
    Append(out, palette);
    Append(out, data);
    return out;
}

// One row of indexes, BI_RLE8: a repeated index as (count, index), other
// stretches of 3 or more in absolute mode padded to a word, shorter ones as
// runs of 1; the row's end code is the caller's.
Bytes RunLengthRow(const uint8_t* row, int n) {
    Bytes out;
    for (int i = 0; i < n;) {
        int j = i;
        while (j < n && j - i < 255 && row[j] == row[i]) ++j;
        if (j - i >= 2) {
            out.insert(out.end(), {(uint8_t)(j - i), row[i]});
            i = j;
            continue;
        }
        j = i;
        while (j < n && j - i < 255 && !(j + 1 < n && row[j] == row[j + 1])) ++j;
        if (j - i < 3) {
            for (int k = i; k < j; ++k) out.insert(out.end(), {1, row[k]});
        } else {
            out.insert(out.end(), {0, (uint8_t)(j - i)});
            out.insert(out.end(), row + i, row + j);
            if ((j - i) % 2) out.push_back(0);
        }
        i = j;
    }
    return out;
}

int Channel(uint32_t colour, int axis) { return (int)(colour >> (16 - 8 * axis)) & 0xFF; }

using Entry = std::pair<uint32_t, long long>;  // a colour and how many pixels have it
using Box = std::vector<Entry>;

long long Total(const Box& box) {
    long long total = 0;
    for (const Entry& e : box) total += e.second;
    return total;
}

double Mean(const Box& box, int axis, long long total) {
    long long sum = 0;
    for (const Entry& e : box) sum += Channel(e.first, axis) * e.second;
    return (double)sum / (double)total;
}

struct Cost {
    double spread;  // the count-weighted squared deviation along axis
    int axis;
};

// The axis along which the box's colours spread the most, the last of equals.
Cost CostOf(const Box& box) {
    long long total = Total(box);
    Cost best = {0.0, 0};
    for (int axis = 0; axis < 3; ++axis) {
        double mean = Mean(box, axis, total), spread = 0;
        for (const Entry& e : box) {
            double d = Channel(e.first, axis) - mean;
            spread += (double)e.second * (d * d);
        }
        if (spread > best.spread || (spread == best.spread && axis > best.axis)) best = {spread, axis};
    }
    return best;
}

// Splits the box of widest spread (the first of equals) at its median along
// that axis until there are `most` boxes or none spreads.
std::vector<Box> MedianCut(Box all, size_t most) {
    std::vector<Box> boxes = {std::move(all)};
    std::vector<Cost> costs = {CostOf(boxes[0])};
    while (boxes.size() < most) {
        size_t widest = 0;
        for (size_t j = 1; j < boxes.size(); ++j)
            if (costs[j].spread > costs[widest].spread) widest = j;
        if (costs[widest].spread <= 0) break;
        int axis = costs[widest].axis;
        Box box = boxes[widest];
        std::sort(box.begin(), box.end(), [axis](const Entry& a, const Entry& b) {
            int ca = Channel(a.first, axis), cb = Channel(b.first, axis);
            return ca != cb ? ca < cb : a.first < b.first;
        });
        double half = (double)Total(box) / 2;
        long long run = 0;
        size_t cut = 1;
        for (size_t k = 0; k + 1 < box.size(); ++k) {
            run += box[k].second;
            cut = k + 1;
            if ((double)run >= half) break;
        }
        Box low(box.begin(), box.begin() + (long)cut), high(box.begin() + (long)cut, box.end());
        costs[widest] = CostOf(low);
        costs.insert(costs.begin() + (long)widest + 1, CostOf(high));
        boxes[widest] = std::move(low);
        boxes.insert(boxes.begin() + (long)widest + 1, std::move(high));
    }
    return boxes;
}

uint8_t ToByte(double value) { return (uint8_t)std::max(0L, std::min(255L, std::lrint(value))); }

// A pixel's colour; the drawing's alpha is no part of a bitmap.
uint32_t ColourOf(uint32_t pixel) { return pixel & 0xFFFFFF; }

// Bits of one row of a 1-bit mask, the leftmost pixel in the high bit, padded to 4 bytes.
Bytes MaskRow(const std::vector<bool>& bits) {
    Bytes out((bits.size() + 31) / 32 * 4, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i]) out[i / 8] |= (uint8_t)(0x80 >> (i % 8));
    return out;
}

// A file of one icon (kind 1) or cursor (kind 2) image; for a cursor the two
// fields are its hot spot, for an icon its planes and bits.
Bytes IconFile(int kind, int width, int height, const Bytes& image, int colours, int field1, int field2) {
    Bytes out;
    for (uint32_t value : {0u, (uint32_t)kind, 1u}) Put16(out, value);
    out.insert(out.end(), {(uint8_t)width, (uint8_t)height, (uint8_t)colours, 0});
    Put16(out, (uint32_t)field1);
    Put16(out, (uint32_t)field2);
    Put32(out, (uint32_t)image.size());
    Put32(out, 6 + 16);
    Append(out, image);
    return out;
}

// 32 bits with alpha, and the AND mask set where the picture is clear.
Bytes Icon32(int size, const std::vector<uint32_t>& pixels) {
    Bytes colour, mask;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<bool> clear;
        for (int x = 0; x < size; ++x) {
            uint32_t p = pixels[(size_t)y * size + x];
            colour.insert(colour.end(), {(uint8_t)p, (uint8_t)(p >> 8), (uint8_t)(p >> 16), (uint8_t)(p >> 24)});
            clear.push_back((p >> 24) == 0);
        }
        Append(mask, MaskRow(clear));
    }
    Bytes image = InfoHeader(size, size * 2, 32, colour.size() + mask.size());
    Append(image, colour);
    Append(image, mask);
    return IconFile(1, size, size, image, 0, 1, 32);
}

// The pointing hand: ' ' clear, '#' black, 'o' white; 32 x 32, the rest clear.
const char* const kHand[] = {
    "        ##",
    "       #oo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#",
    "      #oooo#####",
    "      #oooo#oooo#####",
    "      #oooo#oooo#oooo#",
    "      #oooo#oooo#oooo####",
    " ###  #oooo#oooo#oooo#ooo#",
    "#ooo# #oooo#oooo#oooo#ooo#",
    "#oooo##oooo#oooo#oooo#ooo#",
    " #oooo#oooooooooooooooooo#",
    " #ooooooooooooooooooooooo#",
    "  #oooooooooooooooooooooo#",
    "  #oooooooooooooooooooooo#",
    "   #ooooooooooooooooooooo#",
    "   #oooooooooooooooooooo#",
    "    #ooooooooooooooooooo#",
    "     #ooooooooooooooooo#",
    "      #ooooooooooooooo#",
    "      #################",
    "      #ooooooooooooooo#",
    "      #################",
};
constexpr int kHotSpotX = 8, kHotSpotY = 0;  // the fingertip

// One bit a pixel: the system sizes it to each scale's cursor without a blur.
Bytes HandCursor() {
    const int rows = (int)(sizeof(kHand) / sizeof(kHand[0]));
    Bytes colour, mask;
    for (int y = 31; y >= 0; --y) {
        std::string row = y < rows ? kHand[y] : "";
        row.resize(32, ' ');
        std::vector<bool> white, clear;
        for (char c : row) {
            white.push_back(c == 'o');
            clear.push_back(c == ' ');
        }
        Append(colour, MaskRow(white));
        Append(mask, MaskRow(clear));
    }
    Bytes image = InfoHeader(32, 64, 1, colour.size() + mask.size(), 2);
    Append(image, {0, 0, 0, 0, 255, 255, 255, 0});
    Append(image, colour);
    Append(image, mask);
    return IconFile(2, 32, 32, image, 2, kHotSpotX, kHotSpotY);
}

std::vector<uint32_t> Drawn(const wchar_t* name, int width, int height) {
    std::vector<uint32_t> pixels((size_t)width * height);
    PaintArtwork(name, width, height, pixels.data());
    return pixels;
}

}  // namespace

std::vector<uint8_t> Bitmap24(int width, int height, const std::vector<uint32_t>& pixels) {
    size_t stride = ((size_t)width * 24 + 31) / 32 * 4;
    Bytes data;
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[(size_t)y * width + x];
            row.insert(row.end(), {(uint8_t)p, (uint8_t)(p >> 8), (uint8_t)(p >> 16)});
        }
        row.resize(stride, 0);
        Append(data, row);
    }
    return BitmapFile(width, height, 24, {}, data, false);
}

std::vector<uint8_t> Bitmap8(int width, int height, const std::vector<uint32_t>& pixels) {
    std::map<uint32_t, long long> histogram;
    for (uint32_t p : pixels) ++histogram[ColourOf(p)];
    std::vector<Box> boxes = MedianCut(Box(histogram.begin(), histogram.end()), 256);
    std::map<uint32_t, uint8_t> index;
    Bytes palette(1024, 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        long long total = Total(boxes[i]);
        for (int axis = 0; axis < 3; ++axis) palette[i * 4 + 2 - axis] = ToByte(Mean(boxes[i], axis, total));
        for (const Entry& e : boxes[i]) index[e.first] = (uint8_t)i;
    }
    Bytes data;
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) row.push_back(index[ColourOf(pixels[(size_t)y * width + x])]);
        if (y != height - 1) data.insert(data.end(), {0, 0});  // end of the row before
        Append(data, RunLengthRow(row.data(), width));
    }
    data.insert(data.end(), {0, 1});  // end of the bitmap
    return BitmapFile(width, height, 8, palette, data, true);
}

std::vector<ArtFile> ArtFiles() {
    std::vector<ArtFile> files;
    files.push_back({"title.bmp", Bitmap24(640, 154, Drawn(L"TITLE", 640, 154))});
    files.push_back({"patent.bmp", Bitmap8(244, 212, Drawn(L"PATENT", 244, 212))});
    for (int frame = 1; frame <= 4; ++frame) {
        std::wstring name = L"LOAD" + std::to_wstring(frame);
        files.push_back({"load" + std::to_string(frame) + ".bmp", Bitmap24(100, 100, Drawn(name.c_str(), 100, 100))});
    }
    files.push_back({"video.ico", Icon32(32, Drawn(L"VIDEO", 32, 32))});
    files.push_back({"autor.cur", HandCursor()});
    return files;
}

}  // namespace art
