// This device in a room: several devices play one game, each running it itself from the room's
// log of input (net/room_log.h), kept in order by a room server (net/room_protocol.h).
//
// The device keeps a replica of the log, built from what the server sends, and plays it:
//   - Input reaches the game only from the device with the say. Whose turn a frame is comes
//     from the game (game/say_rule.h); which device that is, from the log. This device's own
//     input (the window's, a replayed recording's) waits for the next tick and reaches the game
//     only if this device has the say at that frame; otherwise it is dropped there, never kept
//     to be played later. Stylus moves of one frame are merged to the last before they play.
//   - With the say, the device plays on its own, never waiting for the network: it applies its
//     input at once and sends it, marks the frame it has reached ten times a second, and when
//     the game's turn passes to another seat it sends a handover at that frame.
//   - Without it, the device follows: it plays tick t once the room's mark is beyond t, with the
//     log's input of frame t; so it follows the device with the say by the network's delay,
//     and catches up (silent and not drawn, every rule's step kept) when it is far behind.
//   - After every settled throw its game's report line must hash as the room's digest of that
//     throw, which the device with the say sent; a disagreement is said on standard error and in
//     the debug log with both digests, and fails the run.
//   - Everything it sends to the log carries its next sequence number and stays in its outbox
//     until the log holds it (the server sends every entry back to its sender), so a lost
//     connection loses nothing: the device connects again (the next `--server` in turn, waiting
//     longer each time), rejoins as the same device from the entry it had, and sends again what
//     the log did not take; the log takes each number once.
//   - It comes back after a restart too: its own link (device and secret) rejoins it, and it plays
//     the whole log again before it goes on.
//
// The host's link (and a seated device's own link) is printed on standard output, a line by
// itself, once the server holds the room; the host then prints the room's short code,
// "code K7M2X9", which `--join K7M2X9 --server URL` takes for the link for five minutes.
#pragma once

#include <bitset>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/movie.h"
#include "net/device_input.h"
#include "net/room_log.h"
#include "net/room_protocol.h"
#include "platform/web_socket.h"
#include "shell/command_line.h"
#include "shell/game_report.h"

namespace qn {

namespace game {
class GameMovie;
}
class LocalRoomServer;

class RoomSession {
 public:
  using PrintLine = std::function<void(const std::string& line)>;

  RoomSession(const ShellOptions& options, PrintLine printLine);
  ~RoomSession();
  RoomSession(const RoomSession&) = delete;
  RoomSession& operator=(const RoomSession&) = delete;

  // Starts the room's server when this program is to be it, and connects. The problem, or empty.
  std::string start();
  // Follows the game's throws for their digests (null: the movie is not the game).
  void follow(game::GameMovie* game);

  // Takes what the network brought, connects again when it dropped.
  void poll();
  // Whether tick `frame` may run now: this device has the say at it (worked out from `movie`
  // as the last tick left it; a handover is sent when the turn passes), or the room's mark is
  // beyond it. False before the room holds this device (and, opening it, before --wait-for
  // devices are in).
  bool mayTick(uint32_t frame, const Movie& movie);
  // This device's own input, judged at the next tick.
  void ownInput(const DeviceInput& input);
  // Hands `deliver` the input of the tick `frame`: the log's, and this device's own when it has
  // the say; then the tick may run (between beginTick and endTick).
  void deliverBefore(uint32_t frame, const std::function<void(const DeviceInput&)>& deliver);
  void beginTick(uint32_t frame) { digestLines_.beginFrame(frame); }
  void endTick() { digestLines_.endFrame(); }

  // How many frames the room's mark is ahead of `frame` (0 with the say): how far this device
  // trails the device with the say.
  uint32_t framesBehind(uint32_t frame) const;
  // Waits for the network up to `milliseconds`.
  void waitUpTo(int32_t milliseconds);
  // Leaves: marks the last frame when it has the say, leaves the room, and waits (a few seconds
  // at most) until the server has everything it sent.
  void finish(uint32_t framesTicked);

  // Why the room cannot go on, or what went wrong in it (then the run fails); empty while all is well.
  const std::string& failure() const { return failure_; }
  // Whether the room ended this device's play (it cannot go on at all).
  bool ended() const { return ended_; }
  // What the players wait for, if anything ("Waiting for Red..."), for the window's title.
  std::string waitingFor() const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Sent {
    uint32_t seq;
    std::string text;
  };

  void connect();
  void sendHello();
  void takeMessages();
  void handle(const std::string& text);
  void welcome(const net::ServerMessage& message);
  void takeEntry(uint32_t index, const net::LogEntry& entry);
  void refused(const net::ServerMessage& message);
  // Sends an entry of this device's: numbered, kept until the log holds it.
  void sendEntry(net::LogEntry entry);
  void sendMark(uint32_t frame);
  void resendOutbox();
  // Whether this device has the say at `frame` and plays it live (not the log's tail of an
  // earlier run of its own).
  bool holdsTheSay(uint32_t frame) const;
  bool liveAt(uint32_t frame) const { return holdsTheSay(frame) && frame >= replica_.resumeFrame(); }
  void throwLine(const std::string& line);
  // Something went wrong: said at once; `stop` when the room cannot go on for this device.
  void fail(const std::string& what, bool stop);
  net::WebAddress siteOf(const net::WebAddress& server) const;

  ShellOptions options_;
  PrintLine printLine_;
  std::unique_ptr<LocalRoomServer> localServer_;
  std::vector<net::WebAddress> servers_;
  size_t serverIndex_ = 0;
  std::unique_ptr<platform::WebSocket> connection_;
  bool helloSent_ = false;
  bool welcomedHere_ = false;        // this connection is in the room: what waits may go
  int failedConnections_ = 0;        // since the last welcome
  std::optional<Clock::time_point> reconnectAt_;  // connecting again then, after a drop
  Clock::time_point lostAt_;         // out of the room since (the start, or the connection's loss)
  std::string lastProblem_;

  bool welcomed_ = false;            // once: the room holds this device
  std::string room_, secret_;
  net::DeviceId device_ = 0;
  net::RoomLog replica_;
  std::bitset<net::kMostDevices + 1> present_;
  bool started_ = false;             // the first frame may run (--wait-for)
  std::string shortCode_;            // the room's, while it lives (the host asks for one)

  std::deque<Sent> outbox_;
  uint32_t nextSeq_ = 1;
  std::optional<Clock::time_point> resendAt_;
  size_t nextEntry_ = 0;             // the next entry of the replica to play
  std::vector<DeviceInput> ownInput_;

  bool holding_ = false;             // playing live with the say
  int32_t heldSeat_ = net::kHostSeat;
  std::optional<uint32_t> handedAwayAt_;  // a handover to another device, until the log holds it
                                          // (the last one sent: the say comes back only by the log)
  uint32_t lastMark_ = 0;
  Clock::time_point lastMarkAt_;
  bool liveThisTick_ = false;

  game::GameMovie* game_ = nullptr;
  GameReport digestLines_;
  uint32_t throwsSettled_ = 0;
  uint32_t tickFrame_ = 0;

  std::string failure_;
  bool ended_ = false;
  bool leaving_ = false;
};

}  // namespace qn
