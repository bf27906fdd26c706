#include <emscripten/websocket.h>

#include <deque>

#include "platform/web_socket.h"

namespace qn::platform {

namespace {

// The page's own WebSocket: its events come on the main thread between the program's steps.
class PageWebSocket final : public WebSocket {
 public:
  explicit PageWebSocket(const std::string& url) {
    EmscriptenWebSocketCreateAttributes attributes;
    emscripten_websocket_init_create_attributes(&attributes);
    attributes.url = url.c_str();
    socket_ = emscripten_websocket_new(&attributes);
    if (socket_ <= 0) {
      socket_ = 0;
      finish(url + ": the page cannot open a WebSocket there");
      return;
    }
    emscripten_websocket_set_onopen_callback(socket_, this, [](int, const EmscriptenWebSocketOpenEvent*, void* self) {
      auto* page = static_cast<PageWebSocket*>(self);
      page->state_ = State::open;
      for (const std::string& message : page->outbox_) emscripten_websocket_send_utf8_text(page->socket_, message.c_str());
      page->outbox_.clear();
      return EM_TRUE;
    });
    emscripten_websocket_set_onmessage_callback(socket_, this, [](int, const EmscriptenWebSocketMessageEvent* event, void* self) {
      if (event->isText && event->numBytes > 0)
        static_cast<PageWebSocket*>(self)->inbox_.emplace_back(reinterpret_cast<const char*>(event->data), event->numBytes - 1);
      return EM_TRUE;
    });
    emscripten_websocket_set_onerror_callback(socket_, this, [](int, const EmscriptenWebSocketErrorEvent*, void* self) {
      static_cast<PageWebSocket*>(self)->finish("the connection failed");
      return EM_TRUE;
    });
    emscripten_websocket_set_onclose_callback(socket_, this, [](int, const EmscriptenWebSocketCloseEvent* event, void* self) {
      static_cast<PageWebSocket*>(self)->finish(event->reason[0] != '\0' ? event->reason : "the connection closed");
      return EM_TRUE;
    });
  }

  ~PageWebSocket() override {
    if (socket_ == 0) return;
    close();
    emscripten_websocket_delete(socket_);
  }

  State state() const override { return state_; }
  std::string closeReason() const override { return closeReason_; }

  void send(std::string message) override {
    if (state_ == State::open) emscripten_websocket_send_utf8_text(socket_, message.c_str());
    else if (state_ == State::connecting) outbox_.push_back(std::move(message));
  }

  std::optional<std::string> receive() override {
    if (inbox_.empty()) return std::nullopt;
    std::string message = std::move(inbox_.front());
    inbox_.pop_front();
    return message;
  }

  void waitUpTo(int32_t) override {}

  void close() override {
    if (state_ == State::closed) return;
    emscripten_websocket_close(socket_, 1000, "");
    finish("closed");
  }

 private:
  void finish(const std::string& reason) {
    if (state_ == State::closed) return;
    state_ = State::closed;
    closeReason_ = reason;
  }

  EMSCRIPTEN_WEBSOCKET_T socket_ = 0;
  State state_ = State::connecting;
  std::string closeReason_;
  std::deque<std::string> outbox_;  // sent once open
  std::deque<std::string> inbox_;
};

}  // namespace

std::unique_ptr<WebSocket> WebSocket::connect(const std::string& url) { return std::make_unique<PageWebSocket>(url); }

}  // namespace qn::platform
