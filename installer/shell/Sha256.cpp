#include "Sha256.h"

#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <immintrin.h>
#define HB_SHA_EXTENSIONS 1
#endif

namespace {

const std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

#ifdef HB_SHA_EXTENSIONS
// The SHA extensions with the SSE4.1 and SSSE3 shuffles they go with.
bool HasShaExtensions() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & (1u << 19)) || !(c & (1u << 9))) return false;
  return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & (1u << 29));
}

// `n` blocks through the processor's SHA rounds: the state kept as ABEF and CDGH, four
// rounds per group, the message schedule of the group made from the four before it.
__attribute__((target("sha,sse4.1,ssse3"))) void ShaExtensionBlocks(std::uint32_t state[8], const unsigned char* p,
                                                                     std::size_t n) {
  const __m128i bswap = _mm_set_epi64x(0x0c0d0e0f08090a0bll, 0x0405060700010203ll);
  __m128i t = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
  __m128i cdgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
  __m128i abef = _mm_alignr_epi8(t, cdgh, 8);
  cdgh = _mm_blend_epi16(cdgh, t, 0xF0);
  for (; n > 0; --n, p += 64) {
    const __m128i abefSaved = abef, cdghSaved = cdgh;
    __m128i w[4];
    for (int i = 0; i < 16; ++i) {
      if (i < 4) {
        w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i)), bswap);
      } else {
        __m128i m = _mm_sha256msg1_epu32(w[i & 3], w[(i + 1) & 3]);
        m = _mm_add_epi32(m, _mm_alignr_epi8(w[(i + 3) & 3], w[(i + 2) & 3], 4));
        w[i & 3] = _mm_sha256msg2_epu32(m, w[(i + 3) & 3]);
      }
      __m128i k = _mm_add_epi32(w[i & 3], _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kRound[4 * i])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
    }
    abef = _mm_add_epi32(abef, abefSaved);
    cdgh = _mm_add_epi32(cdgh, cdghSaved);
  }
  t = _mm_shuffle_epi32(abef, 0x1B);
  cdgh = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(t, cdgh, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(cdgh, t, 8));
}
#endif

}  // namespace

CSha256::CSha256(bool bPlain) {
#ifdef HB_SHA_EXTENSIONS
  static const bool hasExtensions = HasShaExtensions();
  m_bHardware = !bPlain && hasExtensions;
#else
  (void)bPlain;
#endif
  Reset();
}

void CSha256::Blocks(const unsigned char* p, std::size_t n) {
#ifdef HB_SHA_EXTENSIONS
  if (m_bHardware) {
    ShaExtensionBlocks(m_state, p, n);
    return;
  }
#endif
  for (; n > 0; --n, p += 64) Block(p);
}

void CSha256::Reset() {
  static const std::uint32_t kInit[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::memcpy(m_state, kInit, sizeof m_state);
  m_nBytes = 0;
  m_nBuffered = 0;
}

void CSha256::Block(const unsigned char* p) {
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i)
    w[i] = (std::uint32_t{p[4 * i]} << 24) | (std::uint32_t{p[4 * i + 1]} << 16) | (std::uint32_t{p[4 * i + 2]} << 8) |
           p[4 * i + 3];
  for (int i = 16; i < 64; ++i) {
    std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
  std::uint32_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
  for (int i = 0; i < 64; ++i) {
    std::uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
    std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  m_state[0] += a;
  m_state[1] += b;
  m_state[2] += c;
  m_state[3] += d;
  m_state[4] += e;
  m_state[5] += f;
  m_state[6] += g;
  m_state[7] += h;
}

void CSha256::Update(const void* data, std::size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  m_nBytes += size;
  if (m_nBuffered > 0) {
    std::size_t take = 64 - m_nBuffered < size ? 64 - m_nBuffered : size;
    std::memcpy(m_buffer + m_nBuffered, p, take);
    m_nBuffered += take;
    p += take;
    size -= take;
    if (m_nBuffered < 64) return;
    Blocks(m_buffer, 1);
    m_nBuffered = 0;
  }
  Blocks(p, size / 64);
  p += size / 64 * 64;
  size %= 64;
  std::memcpy(m_buffer, p, size);
  m_nBuffered = size;
}

void CSha256::Final(unsigned char digest[kDigestSize]) {
  const std::uint64_t bits = m_nBytes * 8;
  const unsigned char pad = 0x80;
  Update(&pad, 1);
  const unsigned char zero[64] = {};
  Update(zero, (m_nBuffered <= 56 ? 56 : 120) - m_nBuffered);
  unsigned char length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  Update(length, 8);
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<unsigned char>(m_state[i] >> (24 - 8 * j));
  Reset();
}

std::string CSha256::Hex(const std::string& bytes) {
  CSha256 sha;
  sha.Update(bytes.data(), bytes.size());
  unsigned char digest[kDigestSize];
  sha.Final(digest);
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : digest) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}
