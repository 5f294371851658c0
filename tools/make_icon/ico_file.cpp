#include "ico_file.h"

namespace {

void PutU8(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
}

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    PutU8(out, v & 0xff);
    PutU8(out, (v >> 8) & 0xff);
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xffff);
    PutU16(out, v >> 16);
}

// Each row of the 1-bit AND mask is padded to a multiple of four bytes.
uint32_t MaskRowBytes(int size) {
    return ((static_cast<uint32_t>(size) + 31) / 32) * 4;
}

uint32_t ImageBytes(const IconImage& image) {
    const uint32_t side = static_cast<uint32_t>(image.size);
    return 40 + side * side * 4 + MaskRowBytes(image.size) * side;
}

// A BITMAPINFOHEADER whose height counts the colour rows and the mask rows,
// then the BGRA rows bottom first, then the AND mask (1 = transparent).
void PutImage(std::vector<uint8_t>& out, const IconImage& image) {
    const int side = image.size;
    const uint32_t maskRow = MaskRowBytes(side);
    PutU32(out, 40);                     // biSize
    PutU32(out, side);                   // biWidth
    PutU32(out, 2 * side);               // biHeight: colour and mask together
    PutU16(out, 1);                      // biPlanes
    PutU16(out, 32);                     // biBitCount
    PutU32(out, 0);                      // biCompression: BI_RGB
    PutU32(out, ImageBytes(image) - 40); // biSizeImage
    PutU32(out, 0);                      // biXPelsPerMeter
    PutU32(out, 0);                      // biYPelsPerMeter
    PutU32(out, 0);                      // biClrUsed
    PutU32(out, 0);                      // biClrImportant
    for (int y = side - 1; y >= 0; --y) {
        const uint8_t* row = IconPixel(image, 0, y);
        out.insert(out.end(), row, row + side * 4);
    }
    for (int y = side - 1; y >= 0; --y) {
        std::vector<uint8_t> bits(maskRow, 0);
        for (int x = 0; x < side; ++x) {
            if (IconPixel(image, x, y)[3] == 0) {
                bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
}

} // namespace

std::vector<uint8_t> BuildIconFile(const std::vector<IconImage>& images) {
    std::vector<uint8_t> out;
    const uint32_t count = static_cast<uint32_t>(images.size());
    PutU16(out, 0); // reserved
    PutU16(out, 1); // type: icon
    PutU16(out, count);
    uint32_t offset = 6 + 16 * count;
    for (const IconImage& image : images) {
        const uint32_t side = image.size >= 256 ? 0 : static_cast<uint32_t>(image.size);
        PutU8(out, side); // width, 0 meaning 256
        PutU8(out, side); // height
        PutU8(out, 0);    // no palette
        PutU8(out, 0);    // reserved
        PutU16(out, 1);   // planes
        PutU16(out, 32);  // bits per pixel
        PutU32(out, ImageBytes(image));
        PutU32(out, offset);
        offset += ImageBytes(image);
    }
    for (const IconImage& image : images) {
        PutImage(out, image);
    }
    return out;
}
