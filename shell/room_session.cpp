#include "shell/room_session.h"

#include <algorithm>
#include <cctype>

#include "game/game_movie.h"
#include "game/say_rule.h"
#include "net/build_id.h"
#include "net/message_words.h"
#include "platform/platform.h"
#include "shell/debug_log.h"
#include "shell/local_room_server.h"

namespace qn {

// The protocol's vocabulary.
using namespace net;

namespace {

constexpr auto kMarkEvery = std::chrono::milliseconds(95);  // at least ten marks a second
constexpr auto kFirstRetry = std::chrono::milliseconds(200);
constexpr auto kLongestRetry = std::chrono::milliseconds(3000);
constexpr auto kResendAfter = std::chrono::milliseconds(250);
// How long a device goes on without its server before it gives up: longer once it is in a room
// (a server restarting), shorter before (a wrong address).
constexpr auto kGiveUpBeforeRoom = std::chrono::seconds(20);
constexpr auto kGiveUpInRoom = std::chrono::seconds(60);
constexpr auto kLongestFinish = std::chrono::seconds(5);

// A short code as a person reads and types it (any case is taken).
std::string shownCode(std::string code) {
  std::transform(code.begin(), code.end(), code.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return code;
}

// The seats' colours, as the set-up screen gives them.
constexpr const char* kSeatNames[] = {"the host", "Blue", "Red", "Yellow", "Green"};
static_assert(std::size(kSeatNames) == net::kSeats + 1);

}  // namespace

RoomSession::RoomSession(const ShellOptions& options, PrintLine printLine)
    : options_(options),
      printLine_(std::move(printLine)),
      digestLines_(false, [this](const std::string& line) { throwLine(line); }) {}

RoomSession::~RoomSession() {
  if (game_ != nullptr) game_->observers().remove(digestLines_);
}

std::string RoomSession::start() {
  servers_ = options_.servers;
  if (servers_.empty() && options_.join) servers_.push_back(options_.join->site);
  if (servers_.empty()) {
    std::string problem;
    localServer_ = LocalRoomServer::start(problem);
    if (!localServer_) return "--host: cannot start the room's server here: " + problem;
    servers_.push_back(localServer_->ownAddress());
  }
  lostAt_ = Clock::now();
  connect();
  return {};
}

void RoomSession::follow(game::GameMovie* game) {
  game_ = game;
  if (game_ != nullptr) game_->observers().add(digestLines_);
}

net::WebAddress RoomSession::siteOf(const net::WebAddress& server) const {
  if (localServer_) return localServer_->sharedAddress();
  return server;
}

void RoomSession::connect() {
  const net::WebAddress& server = servers_[serverIndex_ % servers_.size()];
  connection_ = platform::WebSocket::connect(net::serverUrl(server));
  helloSent_ = false;
  welcomedHere_ = false;
}

void RoomSession::sendHello() {
  const std::string build(net::buildId());
  ClientMessage hello(ClientKind::open);
  hello.build = build;
  if (!welcomed_ && !options_.join && !options_.joinCode.empty()) {
    // The room of the short code first: `found` answers, then the join goes.
    ClientMessage find(ClientKind::find);
    find.shortCode = options_.joinCode;
    connection_->send(net::formatClientMessage(find));
    helloSent_ = true;
    return;
  }
  if (welcomed_ || (options_.join && options_.join->device != 0)) {
    hello.kind = ClientKind::rejoin;
    hello.room = welcomed_ ? room_ : options_.join->room;
    hello.device = welcomed_ ? device_ : options_.join->device;
    hello.secret = welcomed_ ? secret_ : options_.join->secret;
    hello.from = static_cast<uint32_t>(replica_.size());
  } else if (options_.join) {
    hello.kind = ClientKind::join;
    hello.room = options_.join->room;
    hello.seats = options_.seats;
  }
  connection_->send(net::formatClientMessage(hello));
  helloSent_ = true;
}

void RoomSession::poll() {
  if (ended_ || !connection_) return;
  const Clock::time_point now = Clock::now();
  // What came before a close is read first: a server's goodbye says why.
  takeMessages();
  if (ended_) return;
  if (connection_->state() == platform::WebSocket::State::closed) {
    if (welcomedHere_) lostAt_ = now;  // in the room until now
    welcomedHere_ = false;
    if (!reconnectAt_) {
      // It dropped, or never came: the next server, after a wait that grows with every failure.
      lastProblem_ = connection_->closeReason();
      const auto wait = std::min<Clock::duration>(kFirstRetry * (1 << std::min(failedConnections_, 4)), kLongestRetry);
      reconnectAt_ = now + wait;
      ++failedConnections_;
      ++serverIndex_;
    }
    if (now - lostAt_ > (welcomed_ ? kGiveUpInRoom : kGiveUpBeforeRoom)) {
      fail("cannot reach the room's server (" + lastProblem_ + ")", true);
      return;
    }
    if (now < *reconnectAt_) return;
    reconnectAt_.reset();
    connect();
  }
  if (connection_->state() == platform::WebSocket::State::open && !helloSent_) sendHello();
  takeMessages();
  if (ended_) return;
  if (resendAt_ && now >= *resendAt_) {
    resendAt_.reset();
    resendOutbox();
  }
}

void RoomSession::takeMessages() {
  while (!ended_)
    if (std::optional<std::string> message = connection_->receive()) handle(*message);
    else break;
}

void RoomSession::waitUpTo(int32_t milliseconds) {
  if (connection_ && !ended_) connection_->waitUpTo(milliseconds);
  else if (milliseconds > 0) platform::sleepMilliseconds(static_cast<uint32_t>(milliseconds));
}

void RoomSession::handle(const std::string& text) {
  ServerMessage message;
  if (std::string problem = net::parseServerMessage(text, message); !problem.empty()) {
    fail("the room's server sent what this program cannot read (" + problem + ")", true);
    return;
  }
  switch (message.kind) {
    case ServerKind::welcome: welcome(message); break;
    case ServerKind::entry: takeEntry(message.index, message.entry); break;
    case ServerKind::mark: replica_.mark(message.frame); break;
    case ServerKind::ack:
      while (!outbox_.empty() && outbox_.front().seq <= message.seq) outbox_.pop_front();
      break;
    case ServerKind::here: present_[message.device] = message.present; break;
    case ServerKind::code:
      if (shortCode_.empty()) printLine_("code " + shownCode(message.shortCode));
      shortCode_ = message.shortCode;
      break;
    case ServerKind::found:
      options_.join = net::RoomLink{siteOf(servers_[serverIndex_ % servers_.size()]), message.room, 0, {}};
      sendHello();
      break;
    case ServerKind::refused: refused(message); break;
    case ServerKind::bye:
      if (message.code == RefusalCode::shutdown) break;  // it comes back: connect again
      fail(message.code == RefusalCode::otherBuild ? "this room plays another build of the game: " + message.reason
                                                   : "the room's server closed the connection: " + message.reason,
           true);
      break;
  }
}

void RoomSession::welcome(const ServerMessage& message) {
  welcomedHere_ = true;
  failedConnections_ = 0;
  if (!welcomed_) {
    welcomed_ = true;
    room_ = message.room;
    device_ = message.device;
    secret_ = message.secret;
    nextSeq_ = message.seq + 1;
    // The host asks for a short code to show while the others join.
    if (options_.host) connection_->send(net::formatClientMessage(ClientMessage(ClientKind::code)));
    net::RoomLink link{siteOf(servers_[serverIndex_ % servers_.size()]), room_, 0, {}};
    if (options_.host) printLine_(net::formatRoomLink(link));
    if (options_.host || !options_.seats.empty() || (options_.join && options_.join->device != 0)) {
      link.device = device_;
      link.secret = secret_;
      printLine_(net::formatRoomLink(link));
    }
    return;
  }
  // Back after a lost connection: what the log did not take goes again, and the mark with it.
  while (!outbox_.empty() && outbox_.front().seq <= message.seq) outbox_.pop_front();
  resendOutbox();
  if (holding_) sendMark(lastMark_);
}

void RoomSession::takeEntry(uint32_t index, const LogEntry& entry) {
  if (index < replica_.size()) return;  // sent again after a rejoin
  if (index > replica_.size()) {
    fail("the room's server skipped entries of the log", true);
    return;
  }
  if (std::string refusal = replica_.refusal(entry); !refusal.empty()) {
    fail("the room's log broke its rules at entry " + std::to_string(index) + " (" + refusal + ")", true);
    return;
  }
  replica_.append(entry);
  if (entry.device == device_ && entry.sentByDevice()) {
    while (!outbox_.empty() && outbox_.front().seq <= entry.seq) outbox_.pop_front();
    if (entry.kind == EntryKind::handover && entry.to != device_) handedAwayAt_.reset();
  }
  // Only a handover of its own takes the say from a device that plays with it.
  if (holding_ && replica_.holder() != device_)
    fail("the room passed the say on while this device had it; join again to follow the room", true);
}

void RoomSession::refused(const ServerMessage& message) {
  switch (message.code) {
    case RefusalCode::tooFast:
    case RefusalCode::sequence:
    case RefusalCode::store:
      // Nothing of it was taken: the outbox goes again, in order, a little later; before the room
      // holds the device, the connection starts again (and says its hello again).
      if (!welcomedHere_) connection_->close();
      else if (!resendAt_) resendAt_ = Clock::now() + kResendAfter;
      return;
    default: break;
  }
  if (message.seq == 0 && welcomed_) {
    // A mark this device should not have sent: the next one says the same.
    debug_log::writeLine("-- room: the server refused a mark: " + message.reason);
    return;
  }
  fail("the room's server refused " + std::string(welcomed_ ? "this device's input" : "this device") + ": " +
           std::string(net::refusalWord(message.code)) + ", " + message.reason,
       true);
}

void RoomSession::sendEntry(LogEntry entry) {
  entry.seq = nextSeq_++;
  ClientMessage message(entry.kind == EntryKind::input      ? ClientKind::input
                        : entry.kind == EntryKind::handover ? ClientKind::handover
                                                            : ClientKind::digest);
  message.entry = entry;
  outbox_.push_back({entry.seq, net::formatClientMessage(message)});
  if (welcomedHere_) connection_->send(outbox_.back().text);
}

void RoomSession::sendMark(uint32_t frame) {
  lastMark_ = frame;
  lastMarkAt_ = Clock::now();
  ClientMessage message(ClientKind::mark);
  message.frame = frame;
  if (welcomedHere_) connection_->send(net::formatClientMessage(message));
}

void RoomSession::resendOutbox() {
  if (!welcomedHere_) return;
  for (const Sent& sent : outbox_) connection_->send(sent.text);
}

bool RoomSession::holdsTheSay(uint32_t frame) const {
  return welcomed_ && replica_.holder() == device_ && frame >= replica_.holderSince() &&
         (!handedAwayAt_ || frame < *handedAwayAt_);
}

bool RoomSession::mayTick(uint32_t frame, const Movie& movie) {
  if (!welcomed_ || ended_) return false;
  if (!started_) {
    started_ = !options_.host || present_.count() >= options_.waitFor;
    if (!started_) return false;
  }
  if (liveAt(frame)) {
    if (!holding_) {
      // The say came to this device: its game must agree that the handover's seat has it.
      holding_ = true;
      heldSeat_ = replica_.sayingSeat();
      const int32_t seat = game::seatWithTheSay(movie);
      if (replica_.saidByHandover() && frame == replica_.holderSince() && seat != heldSeat_)
        fail("the room's game disagrees with this device's at frame " + std::to_string(frame) + ": the room hands seat " +
                 std::to_string(heldSeat_) + " the say, this game seat " + std::to_string(seat),
             false);
    }
    const int32_t seat = game::seatWithTheSay(movie);
    if (seat != heldSeat_) {
      LogEntry handover(EntryKind::handover);
      handover.frame = frame;
      handover.seat = seat;
      handover.seatsVersion = replica_.seatsVersion();
      handover.to = replica_.holderOf(seat, handover.seatsVersion);
      heldSeat_ = seat;
      if (handover.to != device_) {
        holding_ = false;
        handedAwayAt_ = frame;
      }
      sendEntry(handover);
      lastMark_ = frame;
    }
    if (holding_) {
      if (frame > lastMark_ && Clock::now() - lastMarkAt_ >= kMarkEvery) sendMark(frame);
      return true;
    }
  }
  // A device that had the say plays the log's tail of its earlier run without waiting for marks.
  return holdsTheSay(frame) || frame < replica_.mark();
}

void RoomSession::ownInput(const DeviceInput& input) {
  // Moves of one frame come to the last of them.
  if (input.kind == InputKind::stylusMove && !ownInput_.empty() && ownInput_.back().kind == InputKind::stylusMove)
    ownInput_.back() = input;
  else
    ownInput_.push_back(input);
}

void RoomSession::deliverBefore(uint32_t frame, const std::function<void(const DeviceInput&)>& deliver) {
  tickFrame_ = frame;
  const std::vector<LogEntry>& entries = replica_.entries();
  for (; nextEntry_ < entries.size(); ++nextEntry_) {
    const LogEntry& entry = entries[nextEntry_];
    if (!entry.sentByDevice()) continue;
    if (entry.frame > frame) break;
    if (entry.frame < frame) {
      // Only what this device played live lies behind it.
      if (entry.device != device_) {
        fail("the room's log holds input for frame " + std::to_string(entry.frame) + ", which this device has played", true);
        return;
      }
      continue;
    }
    if (entry.kind == EntryKind::input) deliver(entry.input);
  }
  liveThisTick_ = liveAt(frame) && holding_;
  if (liveThisTick_) {
    for (const DeviceInput& input : ownInput_) {
      deliver(input);
      LogEntry played(EntryKind::input);
      played.frame = frame;
      played.input = input;
      sendEntry(played);
    }
  }
  ownInput_.clear();
}

void RoomSession::throwLine(const std::string& line) {
  if (line.rfind("{\"type\":\"rest\"", 0) != 0) return;
  ++throwsSettled_;
  const uint64_t digest = net::lineDigest(line);
  if (liveThisTick_) {
    LogEntry settled(EntryKind::digest);
    settled.frame = tickFrame_;
    settled.throwNumber = throwsSettled_;
    settled.hash = digest;
    sendEntry(settled);
    return;
  }
  const std::optional<uint64_t> roomsDigest = replica_.digestOf(throwsSettled_);
  if (!roomsDigest) {
    fail("the room has no digest of throw " + std::to_string(throwsSettled_) + " (frame " + std::to_string(tickFrame_) + ")", false);
  } else if (*roomsDigest != digest) {
    fail("this device's game disagrees with the room's at throw " + std::to_string(throwsSettled_) + " (frame " +
             std::to_string(tickFrame_) + "): digest " + net::hex64(digest) + " here, " + net::hex64(*roomsDigest) + " in the room",
         false);
  }
}

uint32_t RoomSession::framesBehind(uint32_t frame) const {
  if (holdsTheSay(frame)) return 0;
  return replica_.mark() > frame ? replica_.mark() - frame : 0;
}

void RoomSession::finish(uint32_t framesTicked) {
  if (!welcomed_ || ended_ || leaving_) return;
  leaving_ = true;
  if (holding_ && liveAt(framesTicked)) sendMark(framesTicked);
  holding_ = false;  // its leave passes the say on
  const Clock::time_point until = Clock::now() + kLongestFinish;
  bool leaveSent = false;
  while (!ended_ && Clock::now() < until) {
    // The server closes the connection once the log holds the leave.
    if (leaveSent && connection_->state() == platform::WebSocket::State::closed) break;
    poll();
    if (ended_ || !connection_) break;
    const bool open = connection_->state() == platform::WebSocket::State::open && welcomedHere_;
    if (!leaveSent && open && outbox_.empty()) {
      connection_->send(net::formatClientMessage(ClientMessage(ClientKind::leave)));
      leaveSent = true;
    }
    connection_->waitUpTo(20);
  }
  if (!outbox_.empty() && failure_.empty())
    fail(std::to_string(outbox_.size()) + " of this device's messages did not reach the room's server", false);
  ended_ = true;
  if (connection_) connection_->close();
}

void RoomSession::fail(const std::string& what, bool stop) {
  const std::string line = "room: " + what;
  debug_log::writeLine("-- " + line);
  platform::debugOutput(line + "\n");
  if (failure_.empty()) failure_ = what;
  if (stop) ended_ = true;
}

std::string RoomSession::waitingFor() const {
  if (!welcomed_) return "Joining the room...";
  if (!started_) return shortCode_.empty() ? "Waiting for players..." : "Waiting for players... (code " + shownCode(shortCode_) + ")";
  const net::DeviceId holder = replica_.holder();
  if (holder == device_ || present_[holder]) return {};
  return std::string("Waiting for ") + kSeatNames[std::clamp(replica_.sayingSeat(), 0, net::kSeats)] + "...";
}

}  // namespace qn
