// The rooms' figures for the README, measured with the programs themselves on loopback (run by
// hand: `build/bench/rooms/room_measure`, about three minutes; it starts its own boules-server):
//
//   - the device with the say against a local game: processor time per frame of a whole game
//     replayed unpaced, alone in a room (every turn its own) and locally (median of 5 runs each);
//   - how far a follower trails the device with the say: two devices paced at 30 frames a second
//     play a game of two people through a proxy of this program's (no delay, then 150 ms each
//     way), each writing when it played every frame (--frame-times); per frame, the later device's
//     time minus the earlier's;
//   - the bytes on the wire per throw (WebSocket frames as TCP carries them, both ways, the
//     handshakes included), counted by the proxy;
//   - the server's processor time for that game, and its memory for rooms nobody plays in.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "net/build_id.h"
#include "net/room_protocol.h"
#include "platform/web_socket.h"
#include "tests/shell/child_process.h"
#include "tests/shell/delaying_proxy.h"
#include "tests/shell/room_play.h"

namespace {

using namespace qn;
using testing::ChildProcess;

std::string folder;
std::string path(const std::string& name) { return folder + name; }

std::unique_ptr<ChildProcess> program(const std::string& name, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {BOULES_PROGRAM, "--headless"});
  return std::make_unique<ChildProcess>(arguments, path(name + ".err"));
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())))];
}

// A process's resident memory and processor time, from /proc.
long residentKiB(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}
double cpuSecondsOf(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int index = 3; fields >> field && index <= 15; ++index)
    if (index == 14 || index == 15) ticks += std::stod(field);  // utime, stime
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// frame -> microseconds, from a --frame-times file.
std::map<uint32_t, double> frameTimes(const std::string& file) {
  std::map<uint32_t, double> times;
  std::istringstream lines(testing::readFile(file));
  uint32_t frame = 0;
  double micros = 0;
  while (lines >> frame >> micros) times[frame] = micros;
  return times;
}

struct Server {
  std::unique_ptr<ChildProcess> process;
  std::string url;
  uint16_t port = 0;
};

Server startServer() {
  Server server;
  server.process = std::make_unique<ChildProcess>(
      std::vector<std::string>{BOULES_SERVER_PROGRAM, "--listen", "127.0.0.1:0", "--store", path("rooms.sqlite")}, path("server.err"));
  if (std::optional<std::string> line = server.process->readLine(20'000); line && line->rfind("listening on ", 0) == 0) {
    server.url = line->substr(13);
    server.port = static_cast<uint16_t>(std::stoi(server.url.substr(server.url.rfind(':') + 1)));
  }
  return server;
}

// Processor time per frame of the original replayed: locally, and alone in a room.
void frameCost(const Server& server, const std::string& frames) {
  std::vector<double> local, room;
  const double count = std::stod(frames);
  for (int run = 0; run < 5; ++run) {
    auto alone = program("local", {"--replay", path("original.rec"), "--frames", frames});
    alone->waitForExit(120'000);
    local.push_back(alone->cpuSeconds() / count * 1e6);
    auto holder = program("holder", {"--host", "--server", server.url, "--replay", path("original.rec"), "--frames", frames});
    holder->waitForExit(120'000);
    room.push_back(holder->cpuSeconds() / count * 1e6);
  }
  std::printf("| processor time per frame, the device with the say | local %.1f us | in a room %.1f us | ratio %.3f |\n",
              median(local), median(room), median(room) / median(local));
}

// A paced game of two devices through a proxy with `delayMs` each way: the follower's trail,
// the bytes per throw and the server's processor time.
void pacedGame(const Server& server, const std::string& frames, int delayMs) {
  testing::DelayingProxy proxy(server.port, testing::Delays{delayMs, 0, 1'000'000, 0});
  const std::string url = "ws://127.0.0.1:" + std::to_string(proxy.port());
  const double serverCpuBefore = cpuSecondsOf(server.process->pid());
  auto host = program("host", {"--host", "--server", url, "--wait-for", "2", "--speed", "real", "--replay", path("host.rec"),
                               "--frames", frames, "--frame-times", path("host.times"), "--report", path("host.jsonl")});
  const std::optional<std::string> link = host->readLine(20'000);
  if (!link) return;
  auto guest = program("guest", {"--join", *link, "--seat", "2", "--speed", "real", "--replay", path("guest.rec"), "--frames",
                                 frames, "--frame-times", path("guest.times")});
  host->waitForExit(300'000);
  guest->waitForExit(300'000);
  const std::map<uint32_t, double> hostTimes = frameTimes(path("host.times")), guestTimes = frameTimes(path("guest.times"));
  std::vector<double> trails;
  for (const auto& [frame, hostTime] : hostTimes)
    if (auto other = guestTimes.find(frame); other != guestTimes.end()) trails.push_back(std::abs(other->second - hostTime) / 1000);
  const size_t throws = testing::throwsIn(testing::readFile(path("host.jsonl")));
  std::printf("| follower's trail at %d ms each way | median %.0f ms | p99 %.0f ms | %zu frames |\n", delayMs, median(trails),
              percentile(trails, 0.99), trails.size());
  if (delayMs == 0) {
    std::printf("| bytes on the wire per throw (both ways, two devices) | %.0f | to the server %.0f | to the devices %.0f |\n",
                static_cast<double>(proxy.bytesToServer() + proxy.bytesToClients()) / static_cast<double>(std::max<size_t>(throws, 1)),
                static_cast<double>(proxy.bytesToServer()) / static_cast<double>(std::max<size_t>(throws, 1)),
                static_cast<double>(proxy.bytesToClients()) / static_cast<double>(std::max<size_t>(throws, 1)));
    std::printf("| server's processor time for the whole game (%zu throws, %s frames) | %.3f s |\n", throws, frames.c_str(),
                cpuSecondsOf(server.process->pid()) - serverCpuBefore);
  }
}

// The server's memory for `rooms` rooms opened and left: what a room costs while nobody plays.
void idleRooms(const Server& server, int rooms) {
  const long before = residentKiB(server.process->pid());
  const std::string open = "open " + std::string(net::buildId());
  int opened = 0;
  for (int room = 0; room < rooms; ++room) {
    std::unique_ptr<platform::WebSocket> client = platform::WebSocket::connect(server.url);
    client->send(open);
    for (int wait = 0; wait < 100; ++wait) {
      std::optional<std::string> message = client->receive();
      if (message && message->rfind("welcome", 0) == 0) {
        ++opened;
        break;
      }
      if (!message) client->waitUpTo(20);
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const long after = residentKiB(server.process->pid());
  std::printf("| server's memory for a room nobody plays in | %.1f KiB (%d rooms: %ld KiB to %ld KiB) |\n",
              static_cast<double>(after - before) / std::max(opened, 1), opened, before, after);
}

}  // namespace

int main() {
  folder = std::filesystem::temp_directory_path().string() + "/room_measure_" + std::to_string(getpid()) + "/";
  std::filesystem::create_directories(folder);
  const testing::LocalGame game = testing::playLocally(37, path("original.rec"));
  if (!game.problem.empty()) {
    std::fprintf(stderr, "room_measure: %s\n", game.problem.c_str());
    return 1;
  }
  const std::string frames = std::to_string(game.seatByFrame.size());
  testing::writeFile(path("host.rec"), testing::copyFor(game, {0, 1}));
  testing::writeFile(path("guest.rec"), testing::copyFor(game, {2}));
  const Server server = startServer();
  if (server.url.empty()) {
    std::fprintf(stderr, "room_measure: boules-server did not start\n");
    return 1;
  }
  std::printf("| what | figures |\n|---|---|\n");
  frameCost(server, frames);
  pacedGame(server, frames, 0);
  pacedGame(server, frames, 150);
  idleRooms(server, 500);
  server.process->kill(SIGTERM);
  server.process->waitForExit(5000);
  std::filesystem::remove_all(folder);
  return 0;
}
