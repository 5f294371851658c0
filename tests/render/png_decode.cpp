#include "png_decode.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

struct BitReader {
    const std::vector<uint8_t>& in;
    size_t pos;
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    bool overrun = false;

    uint32_t Bits(int n) {
        while (bitCount < n) {
            if (pos >= in.size()) {
                overrun = true;
                return 0;
            }
            bitBuffer |= static_cast<uint32_t>(in[pos++]) << bitCount;
            bitCount += 8;
        }
        uint32_t v = bitBuffer & ((1u << n) - 1u);
        bitBuffer >>= n;
        bitCount -= n;
        return v;
    }
    void AlignToByte() {
        bitBuffer = 0;
        bitCount = 0;
    }
};

// Canonical Huffman code: symbol counts per length and symbols by code.
struct Huffman {
    std::vector<uint16_t> counts = std::vector<uint16_t>(16, 0);
    std::vector<uint16_t> symbols;
};

bool BuildHuffman(Huffman& h, const uint8_t* lengths, int n) {
    h.counts.assign(16, 0);
    h.symbols.assign(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        h.counts[lengths[i]]++;
    }
    h.counts[0] = 0;
    std::vector<uint16_t> offsets(16, 0);
    for (int len = 1; len < 15; ++len) {
        offsets[len + 1] = static_cast<uint16_t>(offsets[len] + h.counts[len]);
    }
    for (int i = 0; i < n; ++i) {
        if (lengths[i]) {
            h.symbols[offsets[lengths[i]]++] = static_cast<uint16_t>(i);
        }
    }
    return true;
}

int DecodeSymbol(BitReader& r, const Huffman& h) {
    int code = 0;
    int first = 0;
    int index = 0;
    for (int len = 1; len < 16; ++len) {
        code |= static_cast<int>(r.Bits(1));
        if (r.overrun) {
            return -1;
        }
        int count = h.counts[len];
        if (code - count < first) {
            return h.symbols[static_cast<size_t>(index + (code - first))];
        }
        index += count;
        first += count;
        first <<= 1;
        code <<= 1;
    }
    return -1;
}

const uint16_t kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                              33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                              6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool InflateBlock(BitReader& r, const Huffman& lit, const Huffman& dist,
                  std::vector<uint8_t>& out) {
    while (true) {
        int symbol = DecodeSymbol(r, lit);
        if (symbol < 0) {
            return false;
        }
        if (symbol < 256) {
            out.push_back(static_cast<uint8_t>(symbol));
        } else if (symbol == 256) {
            return true;
        } else {
            symbol -= 257;
            if (symbol >= 29) {
                return false;
            }
            size_t length = kLengthBase[symbol] + r.Bits(kLengthExtra[symbol]);
            int d = DecodeSymbol(r, dist);
            if (d < 0 || d >= 30) {
                return false;
            }
            size_t distance = kDistBase[d] + r.Bits(kDistExtra[d]);
            if (r.overrun || distance > out.size()) {
                return false;
            }
            for (size_t i = 0; i < length; ++i) {
                out.push_back(out[out.size() - distance]);
            }
        }
    }
}

uint32_t Big32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

int Paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a);
    int pb = std::abs(p - b);
    int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

} // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& zlibStream, std::string& error) {
    std::vector<uint8_t> out;
    if (zlibStream.size() < 6 || (zlibStream[0] & 0x0F) != 8 ||
        ((zlibStream[0] << 8) | zlibStream[1]) % 31 != 0 || (zlibStream[1] & 0x20)) {
        error = "bad zlib header";
        return out;
    }
    BitReader r{zlibStream, 2};
    bool last = false;
    while (!last) {
        last = r.Bits(1) != 0;
        uint32_t type = r.Bits(2);
        if (type == 0) {
            r.AlignToByte();
            if (r.pos + 4 > zlibStream.size()) {
                error = "truncated stored block";
                return out;
            }
            uint32_t len = zlibStream[r.pos] | (zlibStream[r.pos + 1] << 8);
            uint32_t nlen = zlibStream[r.pos + 2] | (zlibStream[r.pos + 3] << 8);
            r.pos += 4;
            if ((len ^ 0xFFFFu) != nlen || r.pos + len > zlibStream.size()) {
                error = "bad stored block";
                return out;
            }
            out.insert(out.end(), zlibStream.begin() + static_cast<long>(r.pos),
                       zlibStream.begin() + static_cast<long>(r.pos + len));
            r.pos += len;
        } else if (type == 1 || type == 2) {
            uint8_t lengths[320] = {};
            int nlen = 288;
            int ndist = 30;
            if (type == 1) {
                for (int i = 0; i < 144; ++i)
                    lengths[i] = 8;
                for (int i = 144; i < 256; ++i)
                    lengths[i] = 9;
                for (int i = 256; i < 280; ++i)
                    lengths[i] = 7;
                for (int i = 280; i < 288; ++i)
                    lengths[i] = 8;
                for (int i = 0; i < 30; ++i)
                    lengths[288 + i] = 5;
            } else {
                nlen = static_cast<int>(r.Bits(5)) + 257;
                ndist = static_cast<int>(r.Bits(5)) + 1;
                int ncode = static_cast<int>(r.Bits(4)) + 4;
                static const uint8_t order[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                  11, 4,  12, 3, 13, 2, 14, 1, 15};
                uint8_t codeLengths[19] = {};
                for (int i = 0; i < ncode; ++i) {
                    codeLengths[order[i]] = static_cast<uint8_t>(r.Bits(3));
                }
                Huffman lencode;
                BuildHuffman(lencode, codeLengths, 19);
                int index = 0;
                while (index < nlen + ndist) {
                    int symbol = DecodeSymbol(r, lencode);
                    if (symbol < 0) {
                        error = "bad code lengths";
                        return out;
                    }
                    if (symbol < 16) {
                        lengths[index++] = static_cast<uint8_t>(symbol);
                        continue;
                    }
                    uint8_t value = 0;
                    int repeat = 0;
                    if (symbol == 16) {
                        if (index == 0) {
                            error = "repeat with no length";
                            return out;
                        }
                        value = lengths[index - 1];
                        repeat = 3 + static_cast<int>(r.Bits(2));
                    } else if (symbol == 17) {
                        repeat = 3 + static_cast<int>(r.Bits(3));
                    } else {
                        repeat = 11 + static_cast<int>(r.Bits(7));
                    }
                    if (index + repeat > nlen + ndist) {
                        error = "too many lengths";
                        return out;
                    }
                    while (repeat--) {
                        lengths[index++] = value;
                    }
                }
                // The distance lengths follow the literal/length ones.
                uint8_t distLengths[30] = {};
                for (int i = 0; i < ndist; ++i)
                    distLengths[i] = lengths[nlen + i];
                for (int i = 0; i < 30; ++i)
                    lengths[288 + i] = distLengths[i];
                for (int i = nlen; i < 288; ++i)
                    lengths[i] = 0;
            }
            Huffman lit;
            Huffman dist;
            BuildHuffman(lit, lengths, 288);
            BuildHuffman(dist, lengths + 288, 30);
            if (!InflateBlock(r, lit, dist, out)) {
                error = "bad compressed block";
                return out;
            }
        } else {
            error = "reserved block type";
            return out;
        }
        if (r.overrun) {
            error = "truncated stream";
            return out;
        }
    }
    // Adler-32 of the data, big-endian after the last block.
    r.AlignToByte();
    if (r.pos + 4 > zlibStream.size()) {
        error = "missing checksum";
        return out;
    }
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : out) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    if (Big32(&zlibStream[r.pos]) != ((b << 16) | a)) {
        error = "checksum mismatch";
    }
    return out;
}

std::string DecodePng(const std::vector<uint8_t>& bytes, PngImage& image) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || !std::equal(signature, signature + 8, bytes.begin())) {
        return "no PNG signature";
    }
    size_t pos = 8;
    std::vector<uint8_t> compressed;
    while (pos + 12 <= bytes.size()) {
        uint32_t length = Big32(&bytes[pos]);
        if (pos + 12 + length > bytes.size()) {
            return "truncated chunk";
        }
        PngChunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&bytes[pos + 4]), 4);
        chunk.data.assign(bytes.begin() + static_cast<long>(pos + 8),
                          bytes.begin() + static_cast<long>(pos + 8 + length));
        chunk.crcMatches = Crc32(&bytes[pos + 4], length + 4) == Big32(&bytes[pos + 8 + length]);
        if (chunk.type == "IDAT") {
            compressed.insert(compressed.end(), chunk.data.begin(), chunk.data.end());
        }
        image.chunks.push_back(chunk);
        pos += 12 + length;
        if (image.chunks.back().type == "IEND") {
            break;
        }
    }
    if (image.chunks.empty() || image.chunks[0].type != "IHDR" ||
        image.chunks[0].data.size() != 13) {
        return "no header chunk first";
    }
    const std::vector<uint8_t>& h = image.chunks[0].data;
    image.width = Big32(&h[0]);
    image.height = Big32(&h[4]);
    image.bitDepth = h[8];
    image.colourType = h[9];
    image.interlace = h[12];
    if (image.bitDepth != 8 || image.colourType != 6 || image.interlace != 0 || image.width == 0 ||
        image.height == 0 || image.width > 4096 || image.height > 4096) {
        return "not a plain 8-bit RGBA image";
    }
    std::string error;
    std::vector<uint8_t> raw = Inflate(compressed, error);
    if (!error.empty()) {
        return error;
    }
    const size_t stride = static_cast<size_t>(image.width) * 4;
    if (raw.size() != (stride + 1) * image.height) {
        return "wrong amount of pixel data";
    }
    image.rgba.assign(stride * image.height, 0);
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t filter = raw[y * (stride + 1)];
        const uint8_t* in = &raw[y * (stride + 1) + 1];
        uint8_t* row = &image.rgba[y * stride];
        const uint8_t* above = y > 0 ? &image.rgba[(y - 1) * stride] : nullptr;
        for (size_t i = 0; i < stride; ++i) {
            int a = i >= 4 ? row[i - 4] : 0;
            int b = above ? above[i] : 0;
            int c = (above && i >= 4) ? above[i - 4] : 0;
            int predictor = 0;
            switch (filter) {
            case 0:
                predictor = 0;
                break;
            case 1:
                predictor = a;
                break;
            case 2:
                predictor = b;
                break;
            case 3:
                predictor = (a + b) / 2;
                break;
            case 4:
                predictor = Paeth(a, b, c);
                break;
            default:
                return "unknown filter";
            }
            row[i] = static_cast<uint8_t>(in[i] + predictor);
        }
    }
    return "";
}
