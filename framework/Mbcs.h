// Code page 932 string helpers. Strings hold code page 932 bytes; a double-byte
// character's trail byte may look like an ASCII letter or a backslash, so every
// helper walks characters, not bytes.
#pragma once
#include <cstddef>
#include <string>

namespace mbcs {

inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Lower-cases ASCII letters only, leaving double-byte characters untouched (like _mbslwr).
std::string ToLower(const std::string& s);

// Compares without regard to ASCII case, character by character (like _mbsicmp).
int ICompare(const std::string& a, const std::string& b);
inline bool IEquals(const std::string& a, const std::string& b) { return ICompare(a, b) == 0; }

// The longest prefix that fits a buffer of `size` bytes with its terminating zero,
// never splitting a double-byte character.
std::string FitBuffer(const std::string& s, std::size_t size);

// Byte offset of the last single-byte `ch` (e.g. '\\' or '.') outside double-byte
// characters, or npos.
std::size_t FindLastChar(const std::string& s, char ch);
std::size_t FindFirstChar(const std::string& s, char ch, std::size_t from = 0);

// Replaces every occurrence of `from` by `to`, scanning on character boundaries.
std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);

}  // namespace mbcs
