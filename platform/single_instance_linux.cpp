#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace qn::platform {

namespace {

// Characters that cannot stand in a file name become '_'.
std::string fileNameOf(std::string_view name) {
  std::string safe(name);
  for (char& c : safe)
    if (c == '/' || c == '\0') c = '_';
  return safe;
}

bool socketAddressOf(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// The running copy is asked to come forward by one byte on its socket.
void askFirstCopyToRaise(const std::string& socketPath) {
  sockaddr_un address;
  if (!socketAddressOf(socketPath, address)) return;
  int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return;
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const char request = 'R';
    [[maybe_unused]] ssize_t written = write(connection, &request, 1);
  }
  close(connection);
}

int listenOn(const std::string& socketPath) {
  sockaddr_un address;
  if (!socketAddressOf(socketPath, address)) return -1;
  int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) return -1;
  unlink(socketPath.c_str());  // left over from a copy that did not end cleanly; we hold the lock
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 4) != 0) {
    close(listener);
    return -1;
  }
  return listener;
}

}  // namespace

std::string SingleInstance::lockPath(std::string_view name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime != nullptr && runtime[0] != '\0' ? runtime : "/tmp";
  return folder + "/" + fileNameOf(name) + ".lock";
}

SingleInstance::SingleInstance(std::string_view name) {
  std::string path = lockPath(name);
  socketPath_ = path.substr(0, path.size() - 5) + ".sock";
  lockFile_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFile_ < 0) {
    debugOutput("single instance: cannot create " + path + ": " + std::strerror(errno) + "\n");
    return;
  }
  if (flock(lockFile_, LOCK_EX | LOCK_NB) != 0) {
    close(lockFile_);
    lockFile_ = -1;
    first_ = false;
    askFirstCopyToRaise(socketPath_);
    return;
  }
  listener_ = listenOn(socketPath_);
}

SingleInstance::~SingleInstance() {
  if (listener_ >= 0) {
    close(listener_);
    unlink(socketPath_.c_str());
  }
  if (lockFile_ >= 0) close(lockFile_);  // releases the lock
}

bool SingleInstance::takeRaiseRequests() {
  // Asked on every turn of the loop: a poll costs nothing, where an accept with nothing waiting
  // still makes a socket and throws it away.
  pollfd waiting{listener_, POLLIN, 0};
  if (listener_ < 0 || poll(&waiting, 1, 0) <= 0) return false;
  bool raised = false;
  for (;;) {
    int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) break;
    close(connection);  // the connection is the request; its byte needs no reading
    raised = true;
  }
  return raised;
}

}  // namespace qn::platform
