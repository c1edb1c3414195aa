#include "ProfileSection.h"

#include "Mbcs.h"
#include "SetupInfo.h"

namespace setupinfo {

void CProfileSection::Clear() {
  m_keys.clear();
  m_index.clear();
}

void CProfileSection::Assign(const char* data, std::size_t size) {
  Clear();
  std::size_t i = 0;
  while (i < size && data[i] != '\0') {
    std::size_t end = i;
    while (end < size && data[end] != '\0') ++end;
    std::string line(data + i, end - i);
    Entry e;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      e.strKey = line;
    } else {
      e.strKey = line.substr(0, eq);
      e.strValue = line.substr(eq + 1);
      e.bHasValue = true;
    }
    m_index.emplace(mbcs::ToLower(e.strKey), m_keys.size());  // keeps the first of equal names
    m_keys.push_back(std::move(e));
    i = end + 1;
  }
}

bool CProfileSection::Lookup(const std::string& key, std::string& value) const {
  auto it = m_index.find(mbcs::ToLower(key));
  if (it == m_index.end() || !m_keys[it->second].bHasValue) return false;
  value = m_keys[it->second].strValue;
  return true;
}

std::string CProfileSection::GetString(const std::string& key, const char* def, int size) const {
  std::string raw;
  if (!Lookup(key, raw)) raw = def ? def : "";
  return ProfileValueForBuffer(raw, size);
}

int CProfileSection::GetInt(const std::string& key, int def) const {
  std::string raw;
  if (!Lookup(key, raw)) return def;
  return ParseProfileInt(raw);
}

std::string ProfileValueForBuffer(const std::string& raw, int size) {
  if (size <= 0) return std::string();
  std::string v = raw;
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v[v.size() - 1] == v[0]) v = v.substr(1, v.size() - 2);
  return mbcs::FitBuffer(v, static_cast<std::size_t>(size));
}

}  // namespace setupinfo
