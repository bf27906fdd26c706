// Boost 1.74's Asio uses std::exchange without including <utility> (an error with GCC 12 in C++20).
#include <utility>

#include "platform/web_socket.h"

#include <boost/asio.hpp>
#include <boost/beast.hpp>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace qn::platform {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

constexpr auto kConnectTimeout = std::chrono::seconds(10);

// ws://HOST[:PORT]/PATH in parts; false when it is not one.
bool splitUrl(const std::string& url, std::string& host, std::string& port, std::string& target, std::string& problem) {
  const std::string scheme = "ws://";
  if (url.rfind("wss://", 0) == 0) {
    problem = "this program connects to ws:// servers only (put the server behind ws://, or use the browser)";
    return false;
  }
  if (url.rfind(scheme, 0) != 0) {
    problem = "not a ws:// address";
    return false;
  }
  const std::string rest = url.substr(scheme.size());
  const size_t slash = rest.find('/');
  const std::string authority = rest.substr(0, slash);
  target = slash == std::string::npos ? "/" : rest.substr(slash);
  const size_t close = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  if (colon != std::string::npos && (close == std::string::npos || colon > close)) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  } else {
    host = authority;
    port = "80";
  }
  if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
  return !host.empty();
}

class BeastWebSocket final : public WebSocket {
 public:
  explicit BeastWebSocket(const std::string& url) : resolver_(io_), socket_(io_) {
    std::string host, port, target, problem;
    if (!splitUrl(url, host, port, target, problem)) {
      finish(url + ": " + problem);
      return;
    }
    hostHeader_ = host + ":" + port;
    target_ = target;
    resolver_.async_resolve(host, port, [this](beast::error_code error, tcp::resolver::results_type found) {
      if (error) return finish("cannot find the server: " + error.message());
      beast::get_lowest_layer(socket_).expires_after(kConnectTimeout);
      beast::get_lowest_layer(socket_).async_connect(found, [this](beast::error_code failed, const tcp::endpoint&) {
        if (failed) return finish("cannot connect: " + failed.message());
        beast::get_lowest_layer(socket_).expires_never();
        socket_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::client));
        socket_.text(true);
        socket_.async_handshake(hostHeader_, target_, [this](beast::error_code refused) {
          if (refused) return finish("the server refused the connection: " + refused.message());
          setState(State::open);
          read();
          if (!outbox_.empty()) write();
        });
      });
    });
    thread_ = std::thread([this] { io_.run(); });
  }

  ~BeastWebSocket() override {
    close();
    if (thread_.joinable()) thread_.join();
  }

  State state() const override {
    std::lock_guard lock(mutex_);
    return state_;
  }

  std::string closeReason() const override {
    std::lock_guard lock(mutex_);
    return closeReason_;
  }

  void send(std::string message) override {
    asio::post(io_, [this, message = std::move(message)]() mutable {
      if (closing_) return;
      outbox_.push_back(std::move(message));
      if (outbox_.size() == 1 && state() == State::open) write();
    });
  }

  std::optional<std::string> receive() override {
    std::lock_guard lock(mutex_);
    if (inbox_.empty()) return std::nullopt;
    std::string message = std::move(inbox_.front());
    inbox_.pop_front();
    return message;
  }

  void waitUpTo(int32_t milliseconds) override {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return !inbox_.empty() || news_; });
    news_ = false;
  }

  // A close handshake of at most a second, then the thread ends.
  void close() override {
    asio::post(io_, [this] {
      if (closing_) return;
      closing_ = true;
      if (state() != State::open) {
        io_.stop();
        return;
      }
      beast::get_lowest_layer(socket_).expires_after(std::chrono::seconds(1));
      socket_.async_close(websocket::close_code::normal, [this](beast::error_code) {
        finish("closed");
        io_.stop();
      });
    });
  }

 private:
  void setState(State state) {
    {
      std::lock_guard lock(mutex_);
      state_ = state;
      news_ = true;
    }
    changed_.notify_all();
  }

  void finish(const std::string& reason) {
    {
      std::lock_guard lock(mutex_);
      if (state_ == State::closed) return;
      closeReason_ = reason;
    }
    setState(State::closed);
  }

  void read() {
    socket_.async_read(buffer_, [this](beast::error_code error, size_t) {
      if (error) return finish(error == websocket::error::closed ? "the server closed the connection" : error.message());
      {
        std::lock_guard lock(mutex_);
        inbox_.push_back(beast::buffers_to_string(buffer_.data()));
      }
      buffer_.consume(buffer_.size());
      changed_.notify_all();
      read();
    });
  }

  void write() {
    socket_.async_write(asio::buffer(outbox_.front()), [this](beast::error_code error, size_t) {
      if (error) return finish(error.message());
      outbox_.pop_front();
      if (!outbox_.empty()) write();
    });
  }

  asio::io_context io_{1};
  tcp::resolver resolver_;
  websocket::stream<beast::tcp_stream> socket_;
  beast::flat_buffer buffer_;
  std::string hostHeader_, target_;
  std::deque<std::string> outbox_;  // the connection's thread only
  bool closing_ = false;            // the connection's thread only
  std::thread thread_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::connecting;
  std::string closeReason_;
  std::deque<std::string> inbox_;
  bool news_ = false;
};

}  // namespace

std::unique_ptr<WebSocket> WebSocket::connect(const std::string& url) { return std::make_unique<BeastWebSocket>(url); }

}  // namespace qn::platform
