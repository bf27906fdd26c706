// Boost 1.74's Asio uses std::exchange without including <utility> (an error with GCC 12 in C++20).
#include <utility>

#include "server/web_socket_server.h"

#include <boost/asio.hpp>
#include <boost/beast.hpp>

#include <deque>
#include <fstream>
#include <iterator>
#include <iostream>

#include "server/peer.h"
#include "server/room_service.h"

namespace qn::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

namespace {

constexpr size_t kLargestWebSocketMessage = 4096;
constexpr size_t kLargestRequestHeader = 8192;
constexpr auto kRequestTimeout = std::chrono::seconds(30);

// The content type of a site file, by its extension.
std::string_view contentTypeOf(std::string_view path) {
  struct Type {
    std::string_view extension, type;
  };
  static constexpr Type kTypes[] = {
      {".html", "text/html; charset=utf-8"}, {".js", "text/javascript"},  {".mjs", "text/javascript"},
      {".css", "text/css"},                  {".wasm", "application/wasm"}, {".json", "application/json"},
      {".webmanifest", "application/manifest+json"}, {".png", "image/png"}, {".svg", "image/svg+xml"},
      {".ico", "image/x-icon"},              {".txt", "text/plain; charset=utf-8"},
  };
  for (const Type& type : kTypes)
    if (path.size() >= type.extension.size() && path.substr(path.size() - type.extension.size()) == type.extension)
      return type.type;
  return "application/octet-stream";
}

// A request's path as a file of the site: no "..", no backslash, the query left off; "/" is
// index.html. Empty when it names nothing the site may serve.
std::string sitePathOf(std::string_view target) {
  target = target.substr(0, target.find_first_of("?#"));
  if (target.empty() || target.front() != '/' || target.find("..") != std::string_view::npos ||
      target.find('\\') != std::string_view::npos || target.find("//") != std::string_view::npos)
    return {};
  std::string path(target);
  if (path.back() == '/') path += "index.html";
  return path;
}

// What the connections of one server share: the room service and the options.
struct Serving {
  RoomService& service;
  WebSocketServerOptions options;

  bool originAllowed(const http::request<http::string_body>& request) const;
};

}  // namespace

struct WebSocketServer::Impl {
  Serving serving;
  RoomService& service;
  asio::io_context io{1};
  tcp::acceptor acceptor{io};
  // Work run every so many seconds while the server serves.
  struct Repeating {
    asio::steady_timer timer;
    int seconds;
    std::function<void()> work;
    void arm() {
      timer.expires_after(std::chrono::seconds(seconds));
      timer.async_wait([this](beast::error_code error) {
        if (error) return;
        work();
        arm();
      });
    }
  };
  std::vector<std::unique_ptr<Repeating>> repeating;
  std::optional<asio::steady_timer> closing;
  int closingChecks = 0;

  Impl(RoomService& roomService, WebSocketServerOptions options)
      : serving{roomService, std::move(options)}, service(roomService) {}

  void accept();
  // Ends the loop once every connection has gone, or after a second.
  void finishClosing() {
    closing->expires_after(std::chrono::milliseconds(20));
    closing->async_wait([this](beast::error_code) {
      if (service.connectionCount() == 0 || ++closingChecks == 50) io.stop();
      else finishClosing();
    });
  }
};

namespace {

// A room connection: the room service's peer, on a WebSocket.
class SocketSession final : public Peer, public std::enable_shared_from_this<SocketSession> {
 public:
  SocketSession(tcp::socket socket, RoomService& service) : socket_(std::move(socket)), service_(service) {}

  void run(http::request<http::string_body> request) {
    socket_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    socket_.read_message_max(kLargestWebSocketMessage);
    socket_.text(true);
    socket_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
      if (error) return;
      self->id_ = self->service_.connected(*self);
      self->read();
    });
  }

  void send(std::string message) override {
    if (closing_) return;
    outbox_.push_back(std::move(message));
    if (outbox_.size() == 1) write();
  }

  void close() override {
    if (closing_) return;
    closing_ = true;
    if (outbox_.empty()) closeSocket();
  }

 private:
  void read() {
    socket_.async_read(buffer_, [self = shared_from_this()](beast::error_code error, size_t) {
      if (error) {
        self->gone();
        return;
      }
      const std::string text = beast::buffers_to_string(self->buffer_.data());
      self->buffer_.consume(self->buffer_.size());
      if (self->id_ != 0) self->service_.received(self->id_, text);
      self->read();
    });
  }

  void write() {
    socket_.async_write(asio::buffer(outbox_.front()), [self = shared_from_this()](beast::error_code error, size_t) {
      if (error) {
        self->gone();
        return;
      }
      self->outbox_.pop_front();
      if (!self->outbox_.empty()) self->write();
      else if (self->closing_) self->closeSocket();
    });
  }

  void closeSocket() {
    socket_.async_close(websocket::close_code::normal, [self = shared_from_this()](beast::error_code) { self->gone(); });
  }

  // The connection ended: the service hears it once, and sends nothing more to it.
  void gone() {
    closing_ = true;
    outbox_.clear();
    if (id_ != 0) service_.disconnected(std::exchange(id_, 0));
  }

  websocket::stream<beast::tcp_stream> socket_;
  RoomService& service_;
  beast::flat_buffer buffer_;
  std::deque<std::string> outbox_;
  RoomService::PeerId id_ = 0;
  bool closing_ = false;
};

// A connection's first request: a WebSocket upgrade, or a file of the site.
class HttpSession final : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(tcp::socket socket, const Serving& server) : stream_(std::move(socket)), server_(server) {}

  void run() {
    parser_.emplace();
    parser_->header_limit(kLargestRequestHeader);
    parser_->body_limit(0);
    stream_.expires_after(kRequestTimeout);
    http::async_read(stream_, buffer_, *parser_, [self = shared_from_this()](beast::error_code error, size_t) {
      if (!error) self->answer(self->parser_->release());
    });
  }

 private:
  void answer(http::request<http::string_body> request) {
    if (websocket::is_upgrade(request)) {
      if (!server_.originAllowed(request)) {
        reply(request, http::status::forbidden, "a page of another site may not join these rooms\n", "text/plain");
        return;
      }
      stream_.expires_never();
      std::make_shared<SocketSession>(stream_.release_socket(), server_.service)->run(std::move(request));
      return;
    }
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
      reply(request, http::status::method_not_allowed, "only GET\n", "text/plain");
      return;
    }
    const std::string path = sitePathOf(std::string_view(request.target().data(), request.target().size()));
    if (!server_.options.site.empty() && !path.empty()) {
      // The compressed copy the site keeps beside a file, when the browser takes it.
      const auto accepted = request.find(http::field::accept_encoding);
      const std::string_view encodings =
          accepted == request.end() ? std::string_view() : std::string_view(accepted->value().data(), accepted->value().size());
      for (const auto& [suffix, encoding] : {std::pair{".br", "br"}, std::pair{".gz", "gzip"}, std::pair{"", ""}}) {
        if (*encoding != '\0' && encodings.find(encoding) == std::string_view::npos) continue;
        std::ifstream file(server_.options.site + path + suffix, std::ios::binary);
        if (!file) continue;
        std::string body((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (file.bad()) continue;
        reply(request, http::status::ok, std::move(body), contentTypeOf(path), encoding);
        return;
      }
    }
    reply(request, http::status::not_found, "not found\n", "text/plain");
  }

  void reply(const http::request<http::string_body>& request, http::status status, std::string body, std::string_view type,
             std::string_view encoding = {}) {
    auto response = std::make_shared<http::response<http::string_body>>(status, request.version());
    response->set(http::field::server, "boules-server");
    response->set(http::field::content_type, beast::string_view(type.data(), type.size()));
    if (!encoding.empty()) response->set(http::field::content_encoding, beast::string_view(encoding.data(), encoding.size()));
    response->set(http::field::vary, "Accept-Encoding");
    response->set(http::field::cache_control, "no-cache");
    response->keep_alive(false);
    if (request.method() != http::verb::head) response->body() = std::move(body);
    response->prepare_payload();
    http::async_write(stream_, *response, [self = shared_from_this(), response](beast::error_code, size_t) {
      beast::error_code ignored;
      self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    });
  }

  beast::tcp_stream stream_;
  const Serving& server_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
};

}  // namespace

void WebSocketServer::Impl::accept() {
  acceptor.async_accept([this](beast::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted) return;
    if (!error) std::make_shared<HttpSession>(std::move(socket), serving)->run();
    accept();
  });
}

bool Serving::originAllowed(const http::request<http::string_body>& request) const {
  const auto origin = request.find(http::field::origin);
  if (origin == request.end()) return true;
  const std::string_view value(origin->value().data(), origin->value().size());
  for (const std::string& allowed : options.origins)
    if (value == allowed) return true;
  // The server's own pages: the origin names the host the request was sent to.
  const auto host = request.find(http::field::host);
  if (host == request.end()) return false;
  const std::string_view hostValue(host->value().data(), host->value().size());
  for (std::string_view scheme : {"http://", "https://"})
    if (value.size() == scheme.size() + hostValue.size() && value.substr(0, scheme.size()) == scheme &&
        value.substr(scheme.size()) == hostValue)
      return true;
  return false;
}

WebSocketServer::WebSocketServer(RoomService& service, WebSocketServerOptions options)
    : impl_(std::make_unique<Impl>(service, std::move(options))) {}

WebSocketServer::~WebSocketServer() = default;

std::string WebSocketServer::listen(const std::string& host, uint16_t port) {
  beast::error_code error;
  tcp::resolver resolver(impl_->io);
  const auto found = resolver.resolve(host, std::to_string(port), tcp::resolver::passive | tcp::resolver::numeric_service, error);
  if (error || found.empty()) return host + ": " + (error ? error.message() : "no such address");
  const tcp::endpoint endpoint = found.begin()->endpoint();
  tcp::acceptor& acceptor = impl_->acceptor;
  if (acceptor.open(endpoint.protocol(), error); error) return error.message();
  acceptor.set_option(asio::socket_base::reuse_address(true), error);
  if (acceptor.bind(endpoint, error); error) return host + ":" + std::to_string(port) + ": " + error.message();
  if (acceptor.listen(asio::socket_base::max_listen_connections, error); error) return error.message();
  return {};
}

uint16_t WebSocketServer::port() const {
  beast::error_code error;
  const tcp::endpoint endpoint = impl_->acceptor.local_endpoint(error);
  return error ? 0 : endpoint.port();
}

void WebSocketServer::run(bool stopOnSignals) {
  asio::signal_set signals(impl_->io);
  if (stopOnSignals) {
    signals.add(SIGINT);
    signals.add(SIGTERM);
    signals.async_wait([this](beast::error_code error, int) {
      if (!error) stop();
    });
  }
  impl_->accept();
  impl_->io.run();
}

void WebSocketServer::stop() {
  asio::post(impl_->io, [impl = impl_.get()] {
    if (impl->closing) return;
    beast::error_code ignored;
    impl->acceptor.close(ignored);
    for (const auto& repeat : impl->repeating) repeat->timer.cancel();
    impl->service.closeAll();
    // What the connections were told reaches them before the loop ends.
    impl->closing.emplace(impl->io);
    impl->finishClosing();
  });
}

void WebSocketServer::post(std::function<void()> work) { asio::post(impl_->io, std::move(work)); }

void WebSocketServer::every(int seconds, std::function<void()> work) {
  impl_->repeating.push_back(std::make_unique<Impl::Repeating>(Impl::Repeating{asio::steady_timer(impl_->io), seconds, std::move(work)}));
  impl_->repeating.back()->arm();
}

}  // namespace qn::server
