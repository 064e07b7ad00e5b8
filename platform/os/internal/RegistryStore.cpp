#include "platform/os/internal/RegistryStore.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/os/FileSystem.h"
#include "platform/os/OsErrors.h"
#include "platform/os/internal/CaseFold.h"

namespace kestrel::platform {

namespace {

constexpr int kBusyTimeoutMs = 15000;
const std::uint8_t kEmptyBlob = 0;  // a zero-length blob needs a non-null pointer

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER,
  name BLOB NOT NULL,
  fold BLOB NOT NULL,
  written INTEGER NOT NULL DEFAULT 0,
  UNIQUE(parent, fold));
CREATE TABLE IF NOT EXISTS vals(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  key INTEGER NOT NULL,
  name BLOB NOT NULL,
  fold BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  UNIQUE(key, fold));
INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES
  (1, NULL, 'HKEY_CLASSES_ROOT', ''), (2, NULL, 'HKEY_CURRENT_USER', ''),
  (3, NULL, 'HKEY_LOCAL_MACHINE', ''), (4, NULL, 'HKEY_USERS', ''),
  (5, NULL, 'HKEY_PERFORMANCE_DATA', ''), (6, NULL, 'HKEY_CURRENT_CONFIG', '');
)sql";

constexpr RegistryKeyId kLastRootId = 6;

LONG ErrorFromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return ERROR_SUCCESS;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return ERROR_SHARING_VIOLATION;
    case SQLITE_NOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return ERROR_ACCESS_DENIED;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return ERROR_BADDB;
    case SQLITE_FULL: return ERROR_DISK_FULL;
    case SQLITE_CANTOPEN: return ERROR_CANTOPEN;
    default: return ERROR_CANTWRITE;
  }
}

// Names are stored as UTF-16 bytes (lossless for any name); the comparison key as the folded
// name in big-endian order, so that byte order equals code-unit order for ORDER BY.
std::string NameBytes(std::u16string_view name) {
  return std::string(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(char16_t));
}

std::string FoldBytes(std::u16string_view name) {
  std::string out;
  out.reserve(name.size() * 2);
  for (char16_t c : name) {
    char16_t folded = FoldCase(c);
    out += static_cast<char>(folded >> 8);
    out += static_cast<char>(folded & 0xFF);
  }
  return out;
}

std::int64_t NowTicks() {
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  FILETIME time = FileTimeFromUnix(now.tv_sec, now.tv_nsec);
  return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::int64_t value) {
    if (rc_ == SQLITE_OK) rc_ = sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  Statement& Bind(int index, const std::string& bytes) { return BindBlob(index, bytes.data(), bytes.size()); }
  Statement& BindBlob(int index, const void* data, std::size_t size) {
    if (rc_ == SQLITE_OK) rc_ = sqlite3_bind_blob64(stmt_, index, size ? data : &kEmptyBlob, size, SQLITE_TRANSIENT);
    return *this;
  }
  // SQLITE_ROW, SQLITE_DONE or an error.
  int Step() {
    if (rc_ != SQLITE_OK && rc_ != SQLITE_ROW) return rc_;
    rc_ = sqlite3_step(stmt_);
    return rc_;
  }
  // Runs a statement that returns no rows: a Win32 code.
  LONG Run() {
    int rc = Step();
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? ERROR_SUCCESS : ErrorFromSqlite(rc);
  }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::u16string Name(int column) const {
    std::size_t size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
    const void* data = sqlite3_column_blob(stmt_, column);
    std::u16string out(size / sizeof(char16_t), u'\0');
    if (data && !out.empty()) std::memcpy(out.data(), data, out.size() * sizeof(char16_t));
    return out;
  }
  std::vector<std::uint8_t> Bytes(int column) const {
    std::size_t size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
    return data ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_;
};

// Runs `sql`, trying again while another process holds the database. Switching the journal mode
// can report busy at once, without the busy handler, while another connection opens the same
// fresh database.
int ExecWhileBusy(sqlite3* db, const char* sql) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
  for (;;) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || std::chrono::steady_clock::now() >= deadline) return rc;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// BEGIN IMMEDIATE … COMMIT, rolled back unless committed. Writers take the lock up front so a
// concurrent writer waits in the busy handler instead of failing on upgrade.
class Transaction {
 public:
  // An inactive transaction (for reads) does nothing and commits nothing.
  explicit Transaction(sqlite3* db, bool active = true) : db_(db), active_(active) {
    rc_ = active_ ? sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) : SQLITE_OK;
  }
  ~Transaction() {
    if (active_ && rc_ == SQLITE_OK && !committed_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  LONG Begun() const { return ErrorFromSqlite(rc_); }
  // Commits when `result` is success; returns the final code.
  LONG Finish(LONG result) {
    if (result != ERROR_SUCCESS || rc_ != SQLITE_OK || !active_) return result;
    int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return ErrorFromSqlite(rc);
    committed_ = true;
    return ERROR_SUCCESS;
  }

 private:
  sqlite3* db_;
  bool active_;
  int rc_;
  bool committed_ = false;
};

std::string ConfiguredPath() {
  if (const char* path = std::getenv("KESTREL_REGISTRY"); path && *path) return path;
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) base = config;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
  else base = "/tmp";
  return base + "/kestrel/registry.db";
}

void CreateParentDirectories(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    ::mkdir(path.substr(0, slash).c_str(), 0700);
}

}  // namespace

RegistryStore& RegistryStore::Instance() {
  // Never destroyed, so that registry calls from other objects' destructors at exit stay safe;
  // the database needs no closing (its log is replayed on the next open).
  static auto* store = new RegistryStore();
  return *store;
}

RegistryStore::~RegistryStore() { CloseDatabase(); }

void RegistryStore::CloseDatabase() {
  // A connection inherited through fork belongs to the parent; closing it here could disturb the
  // parent's locks, so it is abandoned instead.
  if (db_ && pid_ == ::getpid()) sqlite3_close_v2(db_);
  db_ = nullptr;
}

LONG RegistryStore::EnsureOpen() {
  std::string path = ConfiguredPath();
  if (db_ && path == path_ && pid_ == ::getpid()) return ERROR_SUCCESS;
  CloseDatabase();
  return OpenDatabase(path);
}

LONG RegistryStore::OpenDatabase(const std::string& path) {
  CreateParentDirectories(path);
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    rc = ExecWhileBusy(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
  }
  if (rc == SQLITE_OK) {
    Transaction transaction(db);
    LONG result = transaction.Begun();
    if (result == ERROR_SUCCESS) result = ErrorFromSqlite(sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr));
    rc = transaction.Finish(result) == ERROR_SUCCESS ? SQLITE_OK : SQLITE_ERROR;
  }
  if (rc != SQLITE_OK) {
    LONG error = ErrorFromSqlite(rc == SQLITE_ERROR ? sqlite3_errcode(db) : rc);
    sqlite3_close_v2(db);
    return error == ERROR_SUCCESS ? ERROR_BADDB : error;
  }
  db_ = db;
  path_ = path;
  pid_ = ::getpid();
  ++generation_;
  return ERROR_SUCCESS;
}

LONG RegistryStore::Generation(std::uint64_t& generation) {
  std::lock_guard lock(mutex_);
  LONG result = EnsureOpen();
  generation = generation_;
  return result;
}

LONG RegistryStore::KeyExists(RegistryKeyId key) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Statement query(db_, "SELECT 1 FROM keys WHERE id = ?");
  int rc = query.Bind(1, key).Step();
  return rc == SQLITE_ROW ? ERROR_SUCCESS : rc == SQLITE_DONE ? ERROR_KEY_DELETED : ErrorFromSqlite(rc);
}

LONG RegistryStore::Touch(RegistryKeyId key) {
  return Statement(db_, "UPDATE keys SET written = ? WHERE id = ?").Bind(1, NowTicks()).Bind(2, key).Run();
}

LONG RegistryStore::OpenPath(RegistryKeyId base, const std::vector<std::u16string>& parts, bool create,
                             RegistryKeyId& key, bool& created) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  created = false;
  Transaction transaction(db_, create);
  LONG result = transaction.Begun();
  if (result == ERROR_SUCCESS) {
    Statement exists(db_, "SELECT 1 FROM keys WHERE id = ?");
    int rc = exists.Bind(1, base).Step();
    result = rc == SQLITE_ROW ? ERROR_SUCCESS : rc == SQLITE_DONE ? ERROR_KEY_DELETED : ErrorFromSqlite(rc);
  }
  RegistryKeyId current = base;
  for (std::size_t i = 0; result == ERROR_SUCCESS && i < parts.size(); ++i) {
    Statement find(db_, "SELECT id FROM keys WHERE parent = ? AND fold = ?");
    int rc = find.Bind(1, current).Bind(2, FoldBytes(parts[i])).Step();
    if (rc == SQLITE_ROW) {
      current = find.Int(0);
      created = false;
    } else if (rc != SQLITE_DONE) {
      result = ErrorFromSqlite(rc);
    } else if (!create) {
      result = ERROR_FILE_NOT_FOUND;
    } else {
      Statement insert(db_, "INSERT INTO keys(parent, name, fold, written) VALUES(?, ?, ?, ?)");
      result =
          insert.Bind(1, current).Bind(2, NameBytes(parts[i])).Bind(3, FoldBytes(parts[i])).Bind(4, NowTicks()).Run();
      if (result == ERROR_SUCCESS) result = Touch(current);
      current = sqlite3_last_insert_rowid(db_);
      created = true;
    }
  }
  result = transaction.Finish(result);
  if (result == ERROR_SUCCESS) key = current;
  return result;
}

LONG RegistryStore::GetValue(RegistryKeyId key, std::u16string_view name, RegistryValue& value) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Statement query(db_, "SELECT name, type, data FROM vals WHERE key = ? AND fold = ?");
  int rc = query.Bind(1, key).Bind(2, FoldBytes(name)).Step();
  if (rc == SQLITE_DONE) return ERROR_FILE_NOT_FOUND;
  if (rc != SQLITE_ROW) return ErrorFromSqlite(rc);
  value.name = query.Name(0);
  value.type = static_cast<DWORD>(query.Int(1));
  value.data = query.Bytes(2);
  return ERROR_SUCCESS;
}

LONG RegistryStore::SetValue(RegistryKeyId key, std::u16string_view name, DWORD type, const std::uint8_t* data,
                             DWORD size) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Transaction transaction(db_);
  LONG result = transaction.Begun();
  // An existing value keeps its place in the enumeration order and the spelling of its name.
  if (result == ERROR_SUCCESS)
    result = Statement(db_,
                       "INSERT INTO vals(key, name, fold, type, data) VALUES(?, ?, ?, ?, ?) "
                       "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data")
                 .Bind(1, key)
                 .Bind(2, NameBytes(name))
                 .Bind(3, FoldBytes(name))
                 .Bind(4, std::int64_t{type})
                 .BindBlob(5, data, size)
                 .Run();
  if (result == ERROR_SUCCESS) result = Touch(key);
  return transaction.Finish(result);
}

LONG RegistryStore::DeleteValue(RegistryKeyId key, std::u16string_view name) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Transaction transaction(db_);
  LONG result = transaction.Begun();
  if (result == ERROR_SUCCESS)
    result = Statement(db_, "DELETE FROM vals WHERE key = ? AND fold = ?").Bind(1, key).Bind(2, FoldBytes(name)).Run();
  if (result == ERROR_SUCCESS && sqlite3_changes(db_) == 0) result = ERROR_FILE_NOT_FOUND;
  if (result == ERROR_SUCCESS) result = Touch(key);
  return transaction.Finish(result);
}

LONG RegistryStore::DeleteKey(RegistryKeyId key, bool recursive) {
  if (key <= kLastRootId) return ERROR_ACCESS_DENIED;
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Transaction transaction(db_);
  LONG result = transaction.Begun();
  RegistryKeyId parent = 0;
  if (result == ERROR_SUCCESS) {
    Statement query(db_, "SELECT parent, (SELECT count(*) FROM keys c WHERE c.parent = k.id) FROM keys k WHERE id = ?");
    int rc = query.Bind(1, key).Step();
    if (rc == SQLITE_ROW) {
      parent = query.Int(0);
      if (!recursive && query.Int(1) > 0) result = ERROR_ACCESS_DENIED;  // as Windows: subkeys first
    } else {
      result = rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : ErrorFromSqlite(rc);
    }
  }
  static constexpr const char* kSubtree =
      "WITH RECURSIVE sub(id) AS (SELECT ? UNION ALL SELECT k.id FROM keys k JOIN sub ON k.parent = sub.id) ";
  if (result == ERROR_SUCCESS)
    result = Statement(db_, (std::string(kSubtree) + "DELETE FROM vals WHERE key IN sub").c_str()).Bind(1, key).Run();
  if (result == ERROR_SUCCESS)
    result = Statement(db_, (std::string(kSubtree) + "DELETE FROM keys WHERE id IN sub").c_str()).Bind(1, key).Run();
  if (result == ERROR_SUCCESS) result = Touch(parent);
  return transaction.Finish(result);
}

LONG RegistryStore::DeleteContents(RegistryKeyId key) {
  if (LONG result = KeyExists(key); result != ERROR_SUCCESS) return result;
  std::vector<RegistryKeyId> children;
  {
    std::lock_guard lock(mutex_);
    if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
    Statement query(db_, "SELECT id FROM keys WHERE parent = ?");
    query.Bind(1, key);
    int rc;
    while ((rc = query.Step()) == SQLITE_ROW) children.push_back(query.Int(0));
    if (rc != SQLITE_DONE) return ErrorFromSqlite(rc);
  }
  for (RegistryKeyId child : children)
    if (LONG result = DeleteKey(child, true); result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return result;
  std::lock_guard lock(mutex_);
  Transaction transaction(db_);
  LONG result = transaction.Begun();
  if (result == ERROR_SUCCESS) result = Statement(db_, "DELETE FROM vals WHERE key = ?").Bind(1, key).Run();
  if (result == ERROR_SUCCESS) result = Touch(key);
  return transaction.Finish(result);
}

LONG RegistryStore::EnumKey(RegistryKeyId key, DWORD index, std::u16string& name, std::int64_t& written) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Statement query(db_, "SELECT name, written FROM keys WHERE parent = ? ORDER BY fold LIMIT 1 OFFSET ?");
  int rc = query.Bind(1, key).Bind(2, std::int64_t{index}).Step();
  if (rc == SQLITE_DONE) return ERROR_NO_MORE_ITEMS;
  if (rc != SQLITE_ROW) return ErrorFromSqlite(rc);
  name = query.Name(0);
  written = query.Int(1);
  return ERROR_SUCCESS;
}

LONG RegistryStore::EnumValue(RegistryKeyId key, DWORD index, RegistryValue& value) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Statement query(db_, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?");
  int rc = query.Bind(1, key).Bind(2, std::int64_t{index}).Step();
  if (rc == SQLITE_DONE) return ERROR_NO_MORE_ITEMS;
  if (rc != SQLITE_ROW) return ErrorFromSqlite(rc);
  value.name = query.Name(0);
  value.type = static_cast<DWORD>(query.Int(1));
  value.data = query.Bytes(2);
  return ERROR_SUCCESS;
}

LONG RegistryStore::QueryInfo(RegistryKeyId key, RegistryKeyInfo& info) {
  std::lock_guard lock(mutex_);
  if (LONG result = EnsureOpen(); result != ERROR_SUCCESS) return result;
  Statement query(db_,
                  "SELECT k.written,"
                  " (SELECT count(*) FROM keys WHERE parent = k.id),"
                  " (SELECT ifnull(max(length(name)), 0) FROM keys WHERE parent = k.id),"
                  " (SELECT count(*) FROM vals WHERE key = k.id),"
                  " (SELECT ifnull(max(length(name)), 0) FROM vals WHERE key = k.id),"
                  " (SELECT ifnull(max(length(data)), 0) FROM vals WHERE key = k.id)"
                  " FROM keys k WHERE k.id = ?");
  int rc = query.Bind(1, key).Step();
  if (rc == SQLITE_DONE) return ERROR_KEY_DELETED;
  if (rc != SQLITE_ROW) return ErrorFromSqlite(rc);
  info.written = query.Int(0);
  info.subKeys = static_cast<DWORD>(query.Int(1));
  info.maxSubKeyLength = static_cast<DWORD>(query.Int(2) / 2);
  info.values = static_cast<DWORD>(query.Int(3));
  info.maxValueNameLength = static_cast<DWORD>(query.Int(4) / 2);
  info.maxValueLength = static_cast<DWORD>(query.Int(5));
  return ERROR_SUCCESS;
}

}  // namespace kestrel::platform
