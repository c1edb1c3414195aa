// SHA-256 (FIPS 180-4), fed in pieces. Portable: the package's check of its payload.
// Where the processor has the SHA extensions the blocks go through them (an install
// from a package checks megabytes before it starts); the plain code gives the same
// digest everywhere else.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class CSha256 {
 public:
  static constexpr std::size_t kDigestSize = 32;

  // `bPlain`: the plain code even where the processor could do more.
  explicit CSha256(bool bPlain = false);
  void Reset();
  void Update(const void* data, std::size_t size);
  // The digest of everything fed since the last Reset; the object is reset after it.
  void Final(unsigned char digest[kDigestSize]);

  // The digest of `bytes` as 64 lower-case hex digits.
  static std::string Hex(const std::string& bytes);

 private:
  void Blocks(const unsigned char* p, std::size_t n);
  void Block(const unsigned char* p);

  std::uint32_t m_state[8];
  std::uint64_t m_nBytes = 0;
  unsigned char m_buffer[64];
  std::size_t m_nBuffered = 0;
  bool m_bHardware = false;
};
