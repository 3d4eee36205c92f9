#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

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
    const auto low = static_cast<std::uint32_t>(mask);
    return low ? LowestBit(low) : 32 + LowestBit(static_cast<std::uint32_t>(mask >> 32));
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

// Calls `found(i)` for the position i of every byte `c` in `text`, in order,
// until it returns true; true when it did. The bytes are tested 64 at a time,
// the last few through a copy.
template <typename Found> bool FindEach(std::string_view text, char c, Found found) {
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size; at += 64) {
        std::uint64_t bits = 0;
        if (size - at >= 64) {
            bits = Match64(text.data() + at, c);
        } else {
            char tail[64] = {};
            std::memcpy(tail, text.data() + at, size - at);
            bits = Match64(tail, c) & ((std::uint64_t{1} << (size - at)) - 1);
        }
        for (; bits; bits &= bits - 1)
            if (found(at + static_cast<std::size_t>(LowestBit64(bits))))
                return true;
    }
    return false;
}

} // namespace addrix
