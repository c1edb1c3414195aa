#include "SetupInfo.h"

#include <climits>
#include <cstdlib>

#include "Mbcs.h"

namespace setupinfo {

std::string EntryKey(const char* prefix, int index) { return std::string(prefix) + std::to_string(index); }

std::string Rebase(const std::string& value, const std::string& topRoot, const std::string& setupDir) {
  if (topRoot == setupDir || topRoot.empty()) return value;
  return mbcs::ReplaceAll(value, topRoot, setupDir);
}

int ListEntriesToRead(int count, std::size_t keysInSection) {
  if (count <= 0) return 0;
  std::size_t bound = keysInSection < static_cast<std::size_t>(INT_MAX) ? keysInSection : INT_MAX;
  return static_cast<std::size_t>(count) < bound ? count : static_cast<int>(bound);
}

std::string RelativeForm(const std::string& value, const std::string& topRoot) {
  if (topRoot.empty()) return value;
  return mbcs::ReplaceAll(value, topRoot, std::string());
}

bool ParseTreeEntry(const std::string& value, TreeEntry& out) {
  std::size_t bar = mbcs::FindFirstChar(value, '|');
  if (bar == std::string::npos) return false;
  out.strPath = value.substr(0, bar);
  out.dwAttributes = static_cast<unsigned long>(ParseProfileInt(value.substr(bar + 1)));
  return true;
}

std::string FormatTreeEntry(const std::string& path, unsigned long attributes) {
  return path + "|" + std::to_string(attributes);
}

int ParseProfileInt(const std::string& value) {
  std::size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  bool neg = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) neg = value[i++] == '-';
  long long n = 0;
  while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
    n = n * 10 + (value[i++] - '0');
    if (n > 0xFFFFFFFFLL) n = 0xFFFFFFFFLL;  // saturate; the result wraps like a 32-bit UINT
  }
  if (neg) n = -n;
  return static_cast<int>(static_cast<unsigned int>(n));
}

}  // namespace setupinfo
