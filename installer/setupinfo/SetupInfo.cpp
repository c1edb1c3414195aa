#include "SetupInfo.h"

#include <climits>
#include <cstdlib>
#include <vector>

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

namespace {

// Path components split at "\" and "/" on character boundaries.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size();) {
    std::size_t w = (mbcs::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) ? 2 : 1;
    if (w == 1 && (path[i] == '\\' || path[i] == '/'))
      parts.emplace_back();
    else
      parts.back().append(path, i, w);
    i += w;
  }
  return parts;
}

bool IsDeviceName(const std::string& component) {
  std::string base = component.substr(0, mbcs::FindFirstChar(component, '.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  base = mbcs::ToLower(base);
  if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" || base == "conout$")
    return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

}  // namespace

bool IsInsideName(const std::string& relative) {
  if (relative.empty() || relative[0] == '\\' || relative[0] == '/') return false;
  if (mbcs::FindFirstChar(relative, ':') != std::string::npos) return false;
  for (const std::string& part : Components(relative)) {
    if (part.empty()) continue;
    if (part.find_first_not_of(". ") == std::string::npos) return false;
    if (IsDeviceName(part)) return false;
  }
  return true;
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
