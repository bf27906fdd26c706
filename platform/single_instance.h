// The single-instance rule: one running copy per name. The first copy holds a lock file in the
// user's runtime folder and listens on a local socket beside it; a later start finds the lock
// taken, asks the first copy through the socket to raise its window, and ends.
#pragma once

#include <string>
#include <string_view>

namespace qn::platform {

class SingleInstance {
 public:
  // Claims `name`. When another process holds it, that process is asked to come forward and
  // the claim answers isFirst() false. When the lock cannot be made at all the program runs
  // (isFirst() true) rather than refusing to start.
  explicit SingleInstance(std::string_view name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool isFirst() const { return first_; }

  // Takes the requests that later starts sent; true when at least one arrived. Never blocks.
  bool takeRaiseRequests();

  // Where the lock file for `name` lives (the socket is the same path ending in ".sock").
  static std::string lockPath(std::string_view name);

 private:
  bool first_ = true;
  [[maybe_unused]] int lockFile_ = -1;  // none in the browser, where every page is a copy of its own
  [[maybe_unused]] int listener_ = -1;
  std::string socketPath_;
};

}  // namespace qn::platform
