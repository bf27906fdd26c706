#include "tools/qmftool/manifest.h"

#include <cerrno>
#include <cstdlib>

#include "platform/mapped_file.h"

namespace qn::qmftool {

namespace {

const std::map<std::string, MemberKind> kKinds = {
    {"bitmap", MemberKind::bitmap}, {"field", MemberKind::field}, {"sound", MemberKind::sound},
    {"script", MemberKind::script}};

std::string locate(const std::string& path, int line) { return path + ":" + std::to_string(line) + ": "; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reads one value at `position`: quoted with escapes, or up to the next blank.
bool readValue(const std::string& line, size_t& position, std::string& value, std::string& problem) {
  value.clear();
  if (position >= line.size() || line[position] != '"') {
    while (position < line.size() && !isBlank(line[position])) value += line[position++];
    return true;
  }
  static const std::map<char, char> kEscapes = {{'"', '"'}, {'\\', '\\'}, {'r', '\r'}, {'n', '\n'}};
  for (++position; position < line.size(); ++position) {
    char c = line[position];
    if (c == '"') {
      ++position;
      return true;
    }
    if (c == '\\') {
      auto escape = position + 1 < line.size() ? kEscapes.find(line[position + 1]) : kEscapes.end();
      if (escape == kEscapes.end()) {
        problem = "unknown escape in quoted value";
        return false;
      }
      value += escape->second;
      ++position;
    } else {
      value += c;
    }
  }
  problem = "quoted value is not closed";
  return false;
}

bool parseMemberId(const std::string& word, int32_t& castLib, int32_t& number) {
  size_t dot = word.find('.');
  if (dot == std::string::npos) return false;
  char* end = nullptr;
  long lib = std::strtol(word.c_str(), &end, 10);
  if (end != word.c_str() + dot) return false;
  long member = std::strtol(word.c_str() + dot + 1, &end, 10);
  if (*end != '\0' || dot + 1 == word.size()) return false;
  if (lib < 1 || lib > 32767 || member < 1 || member > 65535) return false;
  castLib = static_cast<int32_t>(lib);
  number = static_cast<int32_t>(member);
  return true;
}

bool parseLine(const std::string& line, ManifestEntry& entry, std::string& problem) {
  size_t position = 0;
  auto skipBlanks = [&] {
    while (position < line.size() && isBlank(line[position])) ++position;
  };
  auto word = [&] {
    std::string result;
    while (position < line.size() && !isBlank(line[position])) result += line[position++];
    return result;
  };
  skipBlanks();
  std::string kind = word();
  auto found = kKinds.find(kind);
  if (found == kKinds.end()) {
    problem = "unknown member kind \"" + kind + "\" (bitmap, field, sound or script)";
    return false;
  }
  entry.kind = found->second;
  skipBlanks();
  std::string id = word();
  if (!parseMemberId(id, entry.castLib, entry.number)) {
    problem = "member \"" + id + "\" is not CASTLIB.NUMBER (castLib 1 to 32767, number 1 to 65535)";
    return false;
  }
  for (skipBlanks(); position < line.size(); skipBlanks()) {
    size_t equals = line.find('=', position);
    if (equals == std::string::npos) {
      problem = "expected key=value at \"" + line.substr(position) + "\"";
      return false;
    }
    std::string key = line.substr(position, equals - position);
    if (key.empty() || key.find_first_of(" \t\"") != std::string::npos) {
      problem = "bad key \"" + key + "\"";
      return false;
    }
    position = equals + 1;
    std::string value;
    if (!readValue(line, position, value, problem)) return false;
    if (position < line.size() && !isBlank(line[position])) {
      problem = "text after the closing quote of " + key;
      return false;
    }
    if (!entry.values.emplace(key, value).second) {
      problem = "key " + key + " given twice";
      return false;
    }
  }
  return true;
}

}  // namespace

bool readManifest(const std::string& path, Manifest& manifest, std::string& error) {
  std::string contents;
  if (!platform::readWholeFile(path, contents)) {
    error = path + ": cannot read the manifest";
    return false;
  }
  size_t slash = path.find_last_of('/');
  manifest.folder = slash == std::string::npos ? "." : path.substr(0, slash);
  manifest.entries.clear();
  int lineNumber = 0;
  for (size_t start = 0; start < contents.size();) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos) end = contents.size();
    std::string line = contents.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    ManifestEntry entry;
    entry.lineNumber = lineNumber;
    std::string problem;
    if (!parseLine(line, entry, problem)) {
      error = locate(path, lineNumber) + problem;
      return false;
    }
    manifest.entries.push_back(std::move(entry));
  }
  return true;
}

void EntryReader::fail(const std::string& message) {
  if (error_.empty()) error_ = locate(path_, entry_.lineNumber) + message;
}

std::string EntryReader::text(const std::string& key, const char* fallback) {
  entry_.used[key] = true;
  auto found = entry_.values.find(key);
  if (found != entry_.values.end()) return found->second;
  if (!fallback) fail("missing key " + key);
  return fallback ? fallback : "";
}

int64_t EntryReader::readNumber(const std::string& key, const int64_t* fallback) {
  entry_.used[key] = true;
  auto found = entry_.values.find(key);
  if (found == entry_.values.end()) {
    if (!fallback) fail("missing key " + key);
    return fallback ? *fallback : 0;
  }
  const std::string& value = found->second;
  bool negative = !value.empty() && value[0] == '-';
  const char* digits = value.c_str() + (negative ? 1 : 0);
  int base = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X') ? 16 : 10;
  char* end = nullptr;
  errno = 0;
  long long parsed = std::strtoll(digits, &end, base);
  if (*digits == '\0' || *end != '\0' || errno != 0 || parsed > INT32_MAX || parsed < 0 ||
      (base == 16 && digits[2] == '\0')) {
    fail(key + "=" + value + " is not a number (decimal or 0x hexadecimal)");
    return 0;
  }
  return negative ? -parsed : parsed;
}

int64_t EntryReader::flag(const std::string& key, int64_t fallback) {
  int64_t value = readNumber(key, &fallback);
  if (value != 0 && value != 1) fail(key + " must be 0 or 1");
  return value;
}

std::string EntryReader::path(const std::string& key, const std::string& folder) {
  std::string name = text(key);
  if (name.empty() || name[0] == '/') return name;
  return folder + "/" + name;
}

void EntryReader::rejectUnusedKeys() {
  for (const auto& [key, value] : entry_.values)
    if (!entry_.used.count(key)) fail("unknown key " + key + " for this member kind");
}

}  // namespace qn::qmftool
