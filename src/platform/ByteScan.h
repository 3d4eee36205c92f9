#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define ADDRIX_SSE2 1
#endif
#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace addrix {

// Sixteen bytes tested at once, one bit a byte (bit i for p[i]); the scalar
// forms serve where the processor has no vector compare.

// Bits of the 16 bytes at `p` that equal `c`.
inline std::uint32_t Match16(const char* p, char c) {
#ifdef ADDRIX_SSE2
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c))));
#else
    std::uint32_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= static_cast<std::uint32_t>(p[i] == c) << i;
    return bits;
#endif
}

// Bits of the 16 bytes at `p` that are a space, a control byte or a comma.
inline std::uint32_t Break16(const char* p) {
#ifdef ADDRIX_SSE2
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x20)), v);
    const __m128i comma = _mm_cmpeq_epi8(v, _mm_set1_epi8(','));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(low, comma)));
#else
    std::uint32_t bits = 0;
    for (int i = 0; i < 16; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        bits |= static_cast<std::uint32_t>(b <= 0x20 || b == ',') << i;
    }
    return bits;
#endif
}

// The number of the lowest set bit of a mask that is not 0.
inline int LowestBit(std::uint32_t mask) {
#if defined(_MSC_VER)
    unsigned long index = 0;
    _BitScanForward(&index, mask);
    return static_cast<int>(index);
#else
    return __builtin_ctz(mask);
#endif
}

inline int LowestBit64(std::uint64_t mask) {
#if defined(_MSC_VER)
    unsigned long index = 0;
    _BitScanForward64(&index, mask);
    return static_cast<int>(index);
#else
    return __builtin_ctzll(mask);
#endif
}

// Copies the 16 bytes at `from` to `to` with every LF, TAB and comma made a
// space; returns the bits of the bytes so changed, and adds those of CRs to `cr`.
inline std::uint32_t CopyText16(char* to, const char* from, std::uint32_t& cr) {
#ifdef ADDRIX_SSE2
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i swap = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')),
                                                   _mm_cmpeq_epi8(v, _mm_set1_epi8('\t'))),
                                      _mm_cmpeq_epi8(v, _mm_set1_epi8(',')));
    cr |= static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                     _mm_or_si128(_mm_andnot_si128(swap, v), _mm_and_si128(swap, space)));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(swap));
#else
    std::uint32_t changed = 0;
    for (int i = 0; i < 16; ++i) {
        const char c = from[i];
        const bool swap = c == '\n' || c == '\t' || c == ',';
        cr |= static_cast<std::uint32_t>(c == '\r') << i;
        changed |= static_cast<std::uint32_t>(swap) << i;
        to[i] = swap ? ' ' : c;
    }
    return changed;
#endif
}

// Bits of the 64 bytes at `p` that equal `c`.
inline std::uint64_t Match64(const char* p, char c) {
    return static_cast<std::uint64_t>(Match16(p, c)) |
           static_cast<std::uint64_t>(Match16(p + 16, c)) << 16 |
           static_cast<std::uint64_t>(Match16(p + 32, c)) << 32 |
           static_cast<std::uint64_t>(Match16(p + 48, c)) << 48;
}

inline std::uint64_t Load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// Whether one of the `n` bytes at `p` is a control byte (below 0x20);
// `comma` is set when one is a comma. Eight bytes a step, the last step
// overlapping the one before.
inline bool HasControl(const char* p, std::size_t n, bool& comma) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    if (n < 8) {
        bool control = false;
        for (std::size_t i = 0; i < n; ++i) {
            control = control || static_cast<unsigned char>(p[i]) < 0x20;
            comma = comma || p[i] == ',';
        }
        return control;
    }
    std::uint64_t low = 0;
    std::uint64_t commas = 0;
    auto test = [&](std::uint64_t w) {
        low |= (w - kOnes * 0x20) & ~w & kHigh;
        const std::uint64_t x = w ^ (kOnes * ',');
        commas |= (x - kOnes) & ~x & kHigh;
    };
    std::size_t i = 0;
    for (; i + 8 < n; i += 8)
        test(Load8(p + i));
    test(Load8(p + n - 8));
    comma = comma || commas != 0;
    return low != 0;
}

// Copies `n` bytes in word moves.
inline void CopyBytes(char* to, const char* from, std::size_t n) {
    if (n >= 16) {
        for (std::size_t i = 0; i + 16 < n; i += 16)
            std::memcpy(to + i, from + i, 16);
        std::memcpy(to + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            to[i] = from[i];
    }
}

} // namespace addrix
