#include "Package.h"

#include <cstring>
#include <set>

#include "InstallNames.h"
#include "Mbcs.h"
#include "SetupInfo.h"

namespace package {

namespace {

const char kMarkMagic[4] = {'H', 'b', 'P', 'k'};
const char kHeaderMagic[8] = {'H', 'b', 'P', 'a', 'c', 'k', '0', '1'};
constexpr std::size_t kMaxName = 255;  // what a cabinet keeps of a name

void PutLe(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint64_t GetLe(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// Reads the index one field at a time; every read past the end fails.
class CReader {
 public:
  explicit CReader(const std::string& bytes) : m_bytes(bytes) {}
  bool Number(int bytes, std::uint64_t& v) {
    if (m_bytes.size() - m_at < static_cast<std::size_t>(bytes)) return false;
    v = GetLe(reinterpret_cast<const unsigned char*>(m_bytes.data()) + m_at, bytes);
    m_at += static_cast<std::size_t>(bytes);
    return true;
  }
  bool Text(std::size_t size, std::string& s) {
    if (m_bytes.size() - m_at < size) return false;
    s.assign(m_bytes, m_at, size);
    m_at += size;
    return true;
  }
  bool AtEnd() const { return m_at == m_bytes.size(); }

 private:
  const std::string& m_bytes;
  std::size_t m_at = 0;
};

}  // namespace

std::uint32_t ReadMark(const unsigned char* dosHeader) {
  if (dosHeader[0] != 'M' || dosHeader[1] != 'Z' || std::memcmp(dosHeader + kMarkOffset, kMarkMagic, 4) != 0) return 0;
  return static_cast<std::uint32_t>(GetLe(dosHeader + kMarkOffset + 4, 4));
}

void WriteMark(unsigned char* dosHeader, std::uint32_t installerSize) {
  ClearMark(dosHeader);
  std::memcpy(dosHeader + kMarkOffset, kMarkMagic, 4);
  for (int i = 0; i < 4; ++i) dosHeader[kMarkOffset + 4 + i] = static_cast<unsigned char>(installerSize >> (8 * i));
}

void ClearMark(unsigned char* dosHeader) { std::memset(dosHeader + kMarkOffset, 0, kMarkSize); }

bool IsPlainInstaller(const unsigned char* dosHeader, std::size_t size) {
  if (size < kDosHeaderSize || dosHeader[0] != 'M' || dosHeader[1] != 'Z') return false;
  for (std::size_t i = 0; i < kMarkSize; ++i)
    if (dosHeader[kMarkOffset + i] != 0) return false;
  return true;
}

std::string EncodeHeader(const Header& header) {
  std::string out(kHeaderMagic, sizeof kHeaderMagic);
  PutLe(out, header.nCabinetSize, 8);
  PutLe(out, header.nIndexSize, 8);
  PutLe(out, header.nInstallerTime, 8);
  out.append(reinterpret_cast<const char*>(header.digest), kDigestSize);
  return out;
}

bool DecodeHeader(const unsigned char* bytes, std::size_t size, Header& out) {
  if (size < kHeaderSize || std::memcmp(bytes, kHeaderMagic, sizeof kHeaderMagic) != 0) return false;
  out.nCabinetSize = GetLe(bytes + 8, 8);
  out.nIndexSize = GetLe(bytes + 16, 8);
  out.nInstallerTime = GetLe(bytes + 24, 8);
  std::memcpy(out.digest, bytes + 32, kDigestSize);
  return out.nCabinetSize > 0 && out.nIndexSize <= kMaxIndexSize;
}

bool FitsFile(const Header& header, std::uint32_t installerSize, std::uint64_t fileSize) {
  const std::uint64_t fixed = std::uint64_t{installerSize} + kHeaderSize;
  if (installerSize < kDosHeaderSize || fileSize < fixed) return false;
  const std::uint64_t rest = fileSize - fixed;
  return header.nCabinetSize <= rest && header.nIndexSize == rest - header.nCabinetSize;
}

bool IsPackableName(const std::string& name) {
  return name.size() <= kMaxName && setupinfo::IsInsideName(name) &&
         !mbcs::IEquals(name, setupinfo::kInstallerSource);
}

std::string EncodeIndex(const std::vector<Entry>& entries) {
  std::string out;
  PutLe(out, entries.size(), 4);
  for (const Entry& e : entries) {
    PutLe(out, e.strName.size(), 2);
    out += e.strName;
    PutLe(out, e.nSize, 8);
    PutLe(out, e.nWriteTime, 8);
    PutLe(out, e.dwAttributes, 4);
  }
  return out;
}

bool DecodeIndex(const std::string& bytes, std::vector<Entry>& out) {
  out.clear();
  CReader r(bytes);
  std::uint64_t count = 0;
  if (!r.Number(4, count) || count > bytes.size()) return false;
  std::set<std::string> seen;
  bool hasIni = false;
  for (std::uint64_t i = 0; i < count; ++i) {
    Entry e;
    std::uint64_t length = 0, attributes = 0;
    if (!r.Number(2, length) || !r.Text(static_cast<std::size_t>(length), e.strName) || !r.Number(8, e.nSize) ||
        !r.Number(8, e.nWriteTime) || !r.Number(4, attributes))
      return false;
    e.dwAttributes = static_cast<std::uint32_t>(attributes);
    // one file of Windows for each name, whatever its letter case or separator
    std::string key = mbcs::ToLower(e.strName);
    for (char& c : key)
      if (c == '/') c = '\\';
    if (!IsPackableName(e.strName) || !seen.insert(key).second) return false;
    hasIni = hasIni || mbcs::IEquals(e.strName, setupinfo::kFileName);
    out.push_back(std::move(e));
  }
  return r.AtEnd() && hasIni;
}

}  // namespace package
