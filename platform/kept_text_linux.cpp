#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/kept_text.h"
#include "platform/state_folder.h"

namespace qn::platform {

namespace {

// Texts larger than this are not the program's: they are refused unread.
constexpr size_t kLargestKeptText = 64 * 1024;

std::string reason() { return std::strerror(errno); }

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
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    return {std::nullopt, path + ": " + reason()};
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
