#include "server/sqlite_room_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <map>

#include "platform/state_folder.h"

namespace qn::server {

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS rooms(room TEXT PRIMARY KEY, build TEXT NOT NULL, created INTEGER NOT NULL,"
    " active INTEGER NOT NULL, mark INTEGER NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS devices(room TEXT NOT NULL, device INTEGER NOT NULL, secret TEXT NOT NULL,"
    " PRIMARY KEY(room, device)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS entries(room TEXT NOT NULL, idx INTEGER NOT NULL, entry TEXT NOT NULL,"
    " PRIMARY KEY(room, idx)) WITHOUT ROWID;";

// Indexed by the store's Statement.
constexpr const char* kStatements[] = {
    "INSERT INTO rooms(room, build, created, active, mark) VALUES(?1, ?2, ?3, ?3, 0)",
    "INSERT INTO devices(room, device, secret) VALUES(?1, ?2, ?3)",
    "INSERT INTO entries(room, idx, entry) VALUES(?1, ?2, ?3)",
    "UPDATE rooms SET active = ?2, mark = max(mark, ?3) WHERE room = ?1",
    "DELETE FROM entries WHERE room = ?1",
    "DELETE FROM devices WHERE room = ?1",
    "DELETE FROM rooms WHERE room = ?1",
};

std::string text(const unsigned char* column) { return column != nullptr ? reinterpret_cast<const char*>(column) : ""; }

// Runs a statement to its end; SQLITE_DONE when all went well.
int runToEnd(sqlite3_stmt* statement) {
  int result = sqlite3_step(statement);
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  return result;
}

void bindText(sqlite3_stmt* statement, int index, const std::string& value) {
  sqlite3_bind_text(statement, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::unique_ptr<SqliteRoomStore> SqliteRoomStore::open(const std::string& path, std::string& problem) {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && !platform::makeFolders(path.substr(0, slash))) {
    problem = path + ": cannot make its folder";
    return nullptr;
  }
  // The rooms' secrets are the owner's alone.
  const mode_t formerMask = umask(077);
  sqlite3* db = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  umask(formerMask);
  std::unique_ptr<SqliteRoomStore> store(new SqliteRoomStore(db));
  if (opened != SQLITE_OK) {
    problem = path + ": " + (db != nullptr ? sqlite3_errmsg(db) : "cannot open");
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  // A commit reaches the write-ahead log before it returns: a killed process loses nothing
  // committed (only the machine losing power may lose the last commits).
  if (!store->execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", problem) || !store->execute(kSchema, problem) ||
      !store->prepare(problem)) {
    problem = path + ": " + problem;
    return nullptr;
  }
  return store;
}

SqliteRoomStore::~SqliteRoomStore() {
  for (sqlite3_stmt* statement : statements_) sqlite3_finalize(statement);
  sqlite3_close(db_);
}

bool SqliteRoomStore::execute(const char* sql, std::string& problem) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  problem = message != nullptr ? message : sqlite3_errmsg(db_);
  sqlite3_free(message);
  return false;
}

bool SqliteRoomStore::prepare(std::string& problem) {
  static_assert(std::size(kStatements) == statementCount);
  for (int i = 0; i < statementCount; ++i) {
    if (sqlite3_prepare_v3(db_, kStatements[i], -1, SQLITE_PREPARE_PERSISTENT, &statements_[i], nullptr) != SQLITE_OK) {
      problem = sqlite3_errmsg(db_);
      return false;
    }
  }
  return true;
}

bool SqliteRoomStore::loadRooms(std::vector<StoredRoom>& rooms, std::string& problem) {
  rooms.clear();
  std::map<std::string, size_t> byName;
  struct Query {
    const char* sql;
    void (*row)(sqlite3_stmt*, std::vector<StoredRoom>&, std::map<std::string, size_t>&);
  };
  const Query queries[] = {
      {"SELECT room, build, created, active, mark FROM rooms",
       [](sqlite3_stmt* row, std::vector<StoredRoom>& all, std::map<std::string, size_t>& names) {
         StoredRoom room{text(sqlite3_column_text(row, 0)), text(sqlite3_column_text(row, 1)), sqlite3_column_int64(row, 2),
                         sqlite3_column_int64(row, 3), static_cast<uint32_t>(sqlite3_column_int64(row, 4)), {}, {}};
         names[room.room] = all.size();
         all.push_back(std::move(room));
       }},
      {"SELECT room, device, secret FROM devices ORDER BY room, device",
       [](sqlite3_stmt* row, std::vector<StoredRoom>& all, std::map<std::string, size_t>& names) {
         auto found = names.find(text(sqlite3_column_text(row, 0)));
         if (found == names.end()) return;
         all[found->second].devices.push_back(
             {static_cast<net::DeviceId>(sqlite3_column_int64(row, 1)), text(sqlite3_column_text(row, 2))});
       }},
      {"SELECT room, entry FROM entries ORDER BY room, idx",
       [](sqlite3_stmt* row, std::vector<StoredRoom>& all, std::map<std::string, size_t>& names) {
         auto found = names.find(text(sqlite3_column_text(row, 0)));
         if (found != names.end()) all[found->second].entries.push_back(text(sqlite3_column_text(row, 1)));
       }},
  };
  for (const Query& query : queries) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, query.sql, -1, &statement, nullptr) != SQLITE_OK) {
      problem = sqlite3_errmsg(db_);
      return false;
    }
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) query.row(statement, rooms, byName);
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE) {
      problem = sqlite3_errmsg(db_);
      return false;
    }
  }
  return true;
}

WriteResult SqliteRoomStore::writeInTransaction(const std::string& room, const RoomWrite& write, std::string& problem) {
  if (write.build) {
    sqlite3_stmt* insert = statements_[insertRoom];
    bindText(insert, 1, room);
    bindText(insert, 2, *write.build);
    sqlite3_bind_int64(insert, 3, write.time);
    if (int result = runToEnd(insert); result != SQLITE_DONE)
      return result == SQLITE_CONSTRAINT ? WriteResult::conflict : WriteResult::failed;
  }
  if (write.device) {
    sqlite3_stmt* insert = statements_[insertDevice];
    bindText(insert, 1, room);
    sqlite3_bind_int64(insert, 2, write.device->device);
    bindText(insert, 3, write.device->secret);
    if (int result = runToEnd(insert); result != SQLITE_DONE)
      return result == SQLITE_CONSTRAINT ? WriteResult::conflict : WriteResult::failed;
  }
  for (size_t i = 0; i < write.entries.size(); ++i) {
    sqlite3_stmt* insert = statements_[insertEntry];
    bindText(insert, 1, room);
    sqlite3_bind_int64(insert, 2, static_cast<int64_t>(write.firstIndex) + static_cast<int64_t>(i));
    bindText(insert, 3, write.entries[i]);
    if (int result = runToEnd(insert); result != SQLITE_DONE)
      return result == SQLITE_CONSTRAINT ? WriteResult::conflict : WriteResult::failed;
  }
  sqlite3_stmt* update = statements_[updateRoom];
  bindText(update, 1, room);
  sqlite3_bind_int64(update, 2, write.time);
  sqlite3_bind_int64(update, 3, write.mark);
  if (runToEnd(update) != SQLITE_DONE || sqlite3_changes(db_) != 1) {
    problem = "the room is not in the store";
    return WriteResult::failed;
  }
  return WriteResult::written;
}

void SqliteRoomStore::write(const std::string& room, const RoomWrite& write, Done done) {
  std::string problem;
  if (!execute("BEGIN IMMEDIATE", problem)) {
    done(WriteResult::failed, problem);
    return;
  }
  WriteResult result = writeInTransaction(room, write, problem);
  if (result == WriteResult::written && !execute("COMMIT", problem)) result = WriteResult::failed;
  if (result != WriteResult::written) {
    if (problem.empty()) problem = sqlite3_errmsg(db_);
    std::string ignored;
    execute("ROLLBACK", ignored);
  }
  done(result, problem);
}

void SqliteRoomStore::forgetRoom(const std::string& room) {
  std::string problem;
  if (!execute("BEGIN IMMEDIATE", problem)) return;
  bool deleted = true;
  for (Statement deletion : {deleteEntries, deleteDevices, deleteRoom}) {
    bindText(statements_[deletion], 1, room);
    deleted = deleted && runToEnd(statements_[deletion]) == SQLITE_DONE;
  }
  execute(deleted ? "COMMIT" : "ROLLBACK", problem);
}

}  // namespace qn::server
