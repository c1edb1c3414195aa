#include "SdiText.h"

#include "Mbcs.h"

namespace sdi {

bool ExtractSubString(std::string& out, const std::string& full, int i, char sep) {
  out.clear();
  if (i < 0) return false;
  size_t start = 0;
  for (int k = 0; k < i; ++k) {
    size_t next = full.find(sep, start);
    if (next == std::string::npos) return false;
    start = next + 1;
  }
  size_t end = full.find(sep, start);
  out = full.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return true;
}

std::string FormatString1(const std::string& fmt, const std::string& arg) {
  std::string out;
  for (size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] == '%' && i + 1 < fmt.size() && fmt[i + 1] == '1') {
      out += arg;
      ++i;
    } else {
      if (mbcs::IsLeadByte(static_cast<unsigned char>(fmt[i])) && i + 1 < fmt.size()) out += fmt[i++];
      out += fmt[i];
    }
  }
  return out;
}

std::string FrameTitle(const std::string& docTitle, const std::string& appTitle, bool bPrefix) {
  if (docTitle.empty()) return appTitle;
  return bPrefix ? docTitle + " - " + appTitle : appTitle + " - " + docTitle;
}

std::string FileDialogFilter(const std::string& filterName, const std::string& filterExt,
                             const std::string& allFilterName) {
  std::string f;
  if (!filterName.empty() && !filterExt.empty()) {
    f += filterName;
    f += '\0';
    f += '*';
    f += filterExt;
    f += '\0';
  }
  f += allFilterName;
  f += '\0';
  f += "*.*";
  f += '\0';
  f += '\0';
  return f;
}

namespace {
// Byte offsets just after each separator ('\\' or '/') outside double-byte characters.
std::vector<size_t> SeparatorEnds(const std::string& s) {
  std::vector<size_t> v;
  for (size_t i = 0; i < s.size(); ++i) {
    if (mbcs::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (s[i] == '\\' || s[i] == '/') v.push_back(i + 1);
  }
  return v;
}
}  // namespace

std::string FileNameOf(const std::string& path) {
  std::vector<size_t> seps = SeparatorEnds(path);
  return seps.empty() ? path : path.substr(seps.back());
}

std::string AbbreviatePath(const std::string& path, size_t nMax, bool bAtLeastName) {
  if (path.size() <= nMax) return path;
  std::vector<size_t> seps = SeparatorEnds(path);
  std::string name = seps.empty() ? path : path.substr(seps.back());
  if (name.size() >= nMax || seps.empty()) {
    if (bAtLeastName) return name;
    return mbcs::FitBuffer(name, nMax + 1);
  }
  // the root: "C:\" or "\\server\share\"
  size_t root = seps.front();
  if (path.compare(0, 2, "\\\\") == 0) root = seps.size() > 3 ? seps[3] : seps.back();
  const std::string dots = "...\\";
  // drop leading folders after the root until the rest fits
  for (size_t k = 0; k < seps.size(); ++k) {
    if (seps[k] <= root) continue;
    std::string candidate = path.substr(0, root) + dots + path.substr(seps[k]);
    if (candidate.size() <= nMax) return candidate;
  }
  std::string candidate = path.substr(0, root) + dots + name;
  if (candidate.size() <= nMax) return candidate;
  candidate = dots + name;
  if (candidate.size() <= nMax) return candidate;
  return name;
}

std::string RecentDisplayName(const std::string& path, const std::string& curDir, size_t nMax) {
  std::string shown;
  std::string name = FileNameOf(path);
  if (!curDir.empty() && path.size() == curDir.size() + name.size() &&
      mbcs::IEquals(path.substr(0, curDir.size()), curDir))
    shown = name;
  else
    shown = AbbreviatePath(path, nMax, true);
  return mbcs::ReplaceAll(shown, "&", "&&");
}

std::vector<std::string> SplitCommandLine(const std::string& s) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = s.size();
  for (;;) {
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (mbcs::IsLeadByte(c) && i + 1 < n) {
        arg += s[i];
        arg += s[i + 1];
        i += 2;
        continue;
      }
      if (c == '\\') {
        size_t nb = 0;
        while (i < n && s[i] == '\\') ++nb, ++i;
        if (i < n && s[i] == '"') {
          arg.append(nb / 2, '\\');
          if (nb % 2) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(nb, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < n && s[i + 1] == '"') {  // "" inside quotes is a quote
          arg += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += s[i++];
    }
    args.push_back(arg);
  }
  return args;
}

std::string ArgsAfterProgramName(const std::string& s) {
  size_t i = 0;
  if (!s.empty() && s[0] == '"') {
    size_t close = s.find('"', 1);  // a trail byte is never a quote or a blank
    i = close == std::string::npos ? s.size() : close + 1;
  }
  while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return s.substr(i);
}

}  // namespace sdi
