#include "util/Checksum.h"

#include <cstring>

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ULL;

uint64_t RotateLeft(uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

uint64_t Round(uint64_t lane, uint64_t word) {
    return RotateLeft(lane + word * kPrime2, 31) * kPrime1;
}

uint64_t Word(const char* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

}  // namespace

uint64_t Checksum64(std::string_view bytes) {
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    for (; end - at >= 32; at += 32) {
        for (int i = 0; i < 4; ++i) {
            lanes[i] = Round(lanes[i], Word(at + 8 * i));
        }
    }
    uint64_t sum = RotateLeft(lanes[0], 1) + RotateLeft(lanes[1], 7) + RotateLeft(lanes[2], 12) +
                   RotateLeft(lanes[3], 18) + bytes.size() * kPrime3;
    for (; end - at >= 8; at += 8) {
        sum = RotateLeft(sum ^ Round(0, Word(at)), 27) * kPrime1 + kPrime3;
    }
    for (; at < end; ++at) {
        sum = RotateLeft(sum ^ (static_cast<unsigned char>(*at) * kPrime3), 11) * kPrime1;
    }
    sum ^= sum >> 33;
    sum *= kPrime2;
    sum ^= sum >> 29;
    return sum;
}
