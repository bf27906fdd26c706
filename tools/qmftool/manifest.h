// A parsed media manifest (the format is described in MANIFEST.md): one entry per member, in
// the order the manifest lists them, which is the order their blobs are packed in.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qn::qmftool {

enum class MemberKind { bitmap, field, sound, script };

struct ManifestEntry {
  MemberKind kind = MemberKind::bitmap;
  int32_t castLib = 0;
  int32_t number = 0;
  int lineNumber = 0;
  std::map<std::string, std::string> values;  // key=value pairs, quotes and escapes resolved
  std::map<std::string, bool> used;            // keys that were asked for, to report the others

  bool has(const std::string& key) const { return values.count(key) != 0; }
};

struct Manifest {
  std::string folder;  // paths in the manifest are relative to it
  std::vector<ManifestEntry> entries;
};

// Parses a manifest file; on failure returns false with a message naming file and line.
bool readManifest(const std::string& path, Manifest& manifest, std::string& error);

// Typed access to an entry's values. Each records the key as used; a missing required key or a
// value of the wrong form sets `error` (the first one wins) and yields the fallback.
class EntryReader {
 public:
  EntryReader(ManifestEntry& entry, const std::string& manifestPath) : entry_(entry), path_(manifestPath) {}

  std::string text(const std::string& key, const char* fallback = nullptr);
  int64_t number(const std::string& key) { return readNumber(key, nullptr); }
  int64_t numberOr(const std::string& key, int64_t fallback) { return readNumber(key, &fallback); }
  int64_t flag(const std::string& key, int64_t fallback = 0);  // 0 or 1
  std::string path(const std::string& key, const std::string& folder);
  void fail(const std::string& message);
  // Reports keys that nothing asked for (a misspelt key would otherwise pass silently).
  void rejectUnusedKeys();

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  int64_t readNumber(const std::string& key, const int64_t* fallback);

  ManifestEntry& entry_;
  std::string path_;
  std::string error_;
};

}  // namespace qn::qmftool
