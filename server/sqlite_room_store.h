// The embedded room store: one SQLite file (`boules-server --store FILE`), in write-ahead-log mode,
// so that a write reported done survives the server being killed the next moment. Created with
// its folders when missing, readable by its owner only (it holds the rooms' secrets).
//
//   rooms(room, build, created, active, mark)   one row a room
//   devices(room, device, secret)               one row a device that joined it
//   entries(room, idx, entry)                   the log, one row an entry (its text)
#pragma once

#include <memory>
#include <string>

#include "server/room_store.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qn::server {

class SqliteRoomStore final : public RoomStore {
 public:
  // Opens (or creates) the store at `path`; null with the reason when it cannot.
  static std::unique_ptr<SqliteRoomStore> open(const std::string& path, std::string& problem);
  ~SqliteRoomStore() override;
  SqliteRoomStore(const SqliteRoomStore&) = delete;
  SqliteRoomStore& operator=(const SqliteRoomStore&) = delete;

  bool loadRooms(std::vector<StoredRoom>& rooms, std::string& problem) override;
  void write(const std::string& room, const RoomWrite& write, Done done) override;
  void forgetRoom(const std::string& room) override;

 private:
  explicit SqliteRoomStore(sqlite3* db) : db_(db) {}
  bool prepare(std::string& problem);
  // Runs `sql` without results; false with the reason in `problem`.
  bool execute(const char* sql, std::string& problem);
  WriteResult writeInTransaction(const std::string& room, const RoomWrite& write, std::string& problem);

  sqlite3* db_;
  enum Statement { insertRoom, insertDevice, insertEntry, updateRoom, deleteEntries, deleteDevices, deleteRoom, statementCount };
  sqlite3_stmt* statements_[statementCount] = {};
};

}  // namespace qn::server
