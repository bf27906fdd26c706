#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/kept_text.h"
#include "platform/state_folder.h"

namespace qn::platform {

namespace {

// Texts larger than this are not the program's: they are refused unread.
constexpr size_t kLargestKeptText = 64 * 1024;
// A store writes its file aside and renames it within milliseconds: one older than this was left
// by a run that ended in between.
constexpr time_t kStaleAfterSeconds = 60;

std::string reason() { return std::strerror(errno); }

// "state.<process id>.new": the file a store writes aside.
bool isWrittenAside(std::string_view file) {
  constexpr std::string_view kStart = "state.", kEnd = ".new";
  if (file.size() <= kStart.size() + kEnd.size() || file.substr(0, kStart.size()) != kStart ||
      file.substr(file.size() - kEnd.size()) != kEnd)
    return false;
  return file.substr(kStart.size(), file.size() - kStart.size() - kEnd.size()).find_first_not_of("0123456789") ==
         std::string_view::npos;
}

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

KeptTextRead readKeptText(std::string_view name) {
  const std::string folder = stateFolder();
  if (folder.empty()) return {std::nullopt, "no home folder to keep it in"};
  const std::string path = folder + "/" + std::string(name) + "/state";
  // Opened without waiting: a FIFO put there would otherwise block the start until some writer
  // came. Only a regular file is read.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    return {std::nullopt, path + ": " + reason()};
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return {std::nullopt, path + ": not a regular file"};
  }
  std::string text;
  char buffer[4096];
  ssize_t got = 0;
  while (text.size() <= kLargestKeptText && ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)))
    if (got > 0) text.append(buffer, static_cast<size_t>(got));
  const std::string problem = got < 0 ? path + ": " + reason() : "";
  close(fd);
  if (!problem.empty()) return {std::nullopt, problem};
  if (text.size() > kLargestKeptText) return {std::nullopt, path + ": larger than any text the program keeps"};
  return {std::move(text), {}};
}

void clearStaleKeptTexts(std::string_view name) {
  const std::string folder = stateFolder();
  if (folder.empty()) return;
  const std::string own = folder + "/" + std::string(name);
  DIR* entries = opendir(own.c_str());
  if (entries == nullptr) return;
  const time_t now = time(nullptr);
  while (const dirent* entry = readdir(entries)) {
    const std::string_view file = entry->d_name;
    if (!isWrittenAside(file)) continue;
    const std::string path = own + "/" + std::string(file);
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime > kStaleAfterSeconds)
      unlink(path.c_str());
  }
  closedir(entries);
}

std::string storeKeptText(std::string_view name, std::string_view text) {
  const std::string folder = stateFolder();
  if (folder.empty()) return "no home folder to keep it in";
  const std::string own = folder + "/" + std::string(name);
  if (!makeFolders(own)) return own + ": " + reason();
  const std::string path = own + "/state";
  // Each writer has its own file aside, so two at once never write into the same one.
  const std::string aside = path + "." + std::to_string(getpid()) + ".new";
  const int fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return aside + ": " + reason();
  bool written = writeAll(fd, text) && fsync(fd) == 0;
  std::string problem = written ? "" : aside + ": " + reason();
  if (close(fd) != 0 && problem.empty()) problem = aside + ": " + reason();
  if (problem.empty() && rename(aside.c_str(), path.c_str()) != 0) problem = path + ": " + reason();
  if (!problem.empty()) unlink(aside.c_str());
  return problem;
}

}  // namespace qn::platform
