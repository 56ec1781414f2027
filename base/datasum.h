// datasum.h: the seal that tells the game Data.dat arrived whole. The data
// file builder appends a 12-byte trailer ("DVsm", the length before it and
// its CRC-32, both little-endian) that Allegro's loader never reads; the
// game checks it before Allegro parses the file, because Allegro trusts
// every length it finds and a cut or damaged file crashes it. Shared by the
// builder and the game.
#ifndef DELVORN_DATASUM_H
#define DELVORN_DATASUM_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

const size_t DATA_SUM_SIZE = 12;

// CRC-32 (the zlib and PNG polynomial). Not worth a library of its own: the
// Windows build has no zlib.
inline uint32_t DataSum(const uint8_t *bytes, size_t size)
{
    static uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t c = i;
            for (int k = 0; k < 8; k++)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        made = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// The trailer for a file whose bytes so far are `body`.
inline std::vector<uint8_t> DataSumTrailer(const uint8_t *body, size_t size)
{
    std::vector<uint8_t> t = {'D', 'V', 's', 'm'};
    const uint32_t values[2] = {(uint32_t)size, DataSum(body, size)};
    for (uint32_t v : values)
        for (int shift = 0; shift < 32; shift += 8)
            t.push_back((uint8_t)(v >> shift));
    return t;
}

// True when the file's bytes end in the trailer that matches the rest.
inline bool DataFileIsWhole(const uint8_t *bytes, size_t size)
{
    if (!bytes || size < DATA_SUM_SIZE)
        return false;
    const size_t body = size - DATA_SUM_SIZE;
    const uint8_t *t = bytes + body;
    const uint32_t length =
        (uint32_t)t[4] | (uint32_t)t[5] << 8 | (uint32_t)t[6] << 16 | (uint32_t)t[7] << 24;
    if (std::memcmp(t, "DVsm", 4) != 0 || length != body)
        return false;  // cut short or grown: no need to read it all
    const std::vector<uint8_t> expected = DataSumTrailer(bytes, body);
    return std::memcmp(bytes + body, expected.data(), DATA_SUM_SIZE) == 0;
}

#endif
