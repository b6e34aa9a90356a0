#include "platform/Registry.h"

#include "platform/Convert.h"
#include "platform/RegistryRoots.h"
#include "platform/UserDirectories.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {

// How long an operation waits for another process's write to finish. Writes
// take milliseconds; the bound is generous because a phone under load (or a
// few processes starting at once on a slow device) can stall a writer for
// seconds, and failing a settings write is worse than waiting.
constexpr int BUSY_TIMEOUT_MS = 10000;
// The longest pause between two attempts to prepare a database that another
// process is preparing.
constexpr std::chrono::milliseconds MAX_RETRY_PAUSE { 20 };

struct RegistryImpl {
    std::string fixed_file;
    std::mutex mutex;
    sqlite3* db { nullptr };
    std::string db_file;
    pid_t pid { 0 };
    dev_t device { 0 };
    ino_t inode { 0 };
    bool schema_ready { false };
    // Prepared once per connection, by their text.
    std::vector<std::pair<const char*, sqlite3_stmt*>> statements;
};

namespace {

// Keys form a tree: the roots have parent 0. Names keep their case; the
// folded columns hold them in small letters for look-ups.
constexpr const char* SCHEMA = R"(
CREATE TABLE IF NOT EXISTS keys (
    id INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE (parent, folded)
);
CREATE TABLE IF NOT EXISTS key_values (
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (key, folded)
) WITHOUT ROWID;
)";

// Text bound from a view must never be a null pointer: SQLite would store NULL.
const char16_t EMPTY_TEXT[] = u"";
const std::uint8_t EMPTY_DATA[1] = { 0 };

// One of the connection's prepared statements, reset for its next use when
// the object goes: a statement still stepping would keep a transaction from
// committing.
class Statement {
public:
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(RegistryImpl& impl, const char* sql)
    {
        for (auto& [text, prepared] : impl.statements) {
            if (std::strcmp(text, sql) == 0) {
                statement_ = prepared;
                return;
            }
        }
        if (sqlite3_prepare_v3(impl.db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr)
            != SQLITE_OK) {
            sqlite3_finalize(statement_);
            statement_ = nullptr;
            return;
        }
        impl.statements.emplace_back(sql, statement_);
    }
    ~Statement() { reset(); }

    bool ok() const { return statement_ != nullptr; }

    void bind(int index, sqlite3_int64 value) { sqlite3_bind_int64(statement_, index, value); }
    void bind(int index, std::u16string_view text)
    {
        const char16_t* data = text.empty() ? EMPTY_TEXT : text.data();
        sqlite3_bind_text16(
            statement_, index, data, static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
    }
    void bind(int index, const std::vector<std::uint8_t>& data)
    {
        const std::uint8_t* bytes = data.empty() ? EMPTY_DATA : data.data();
        sqlite3_bind_blob(
            statement_, index, bytes, static_cast<int>(data.size()), SQLITE_TRANSIENT);
    }

    // SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return statement_ ? sqlite3_step(statement_) : SQLITE_ERROR; }
    void reset()
    {
        if (!statement_)
            return;
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    sqlite3_int64 integer(int column) { return sqlite3_column_int64(statement_, column); }
    std::u16string text(int column)
    {
        auto* data = static_cast<const char16_t*>(sqlite3_column_text16(statement_, column));
        int bytes = sqlite3_column_bytes16(statement_, column);
        return data ? std::u16string(data, static_cast<std::size_t>(bytes) / 2) : std::u16string();
    }
    std::vector<std::uint8_t> blob(int column)
    {
        auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
        int bytes = sqlite3_column_bytes(statement_, column);
        return data ? std::vector<std::uint8_t>(data, data + bytes) : std::vector<std::uint8_t>();
    }

private:
    sqlite3_stmt* statement_ { nullptr };
};

bool execute(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A write transaction. BEGIN IMMEDIATE takes the write lock at once, so a
// busy database is waited for here, with the busy timeout, instead of failing
// half-way when a read turns into a write.
class Transaction {
public:
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    explicit Transaction(sqlite3* db)
        : db_(db)
        , begun_(execute(db, "BEGIN IMMEDIATE"))
    {
    }
    ~Transaction()
    {
        if (begun_ && !committed_)
            execute(db_, "ROLLBACK");
    }

    bool begun() const { return begun_; }
    bool commit()
    {
        committed_ = begun_ && execute(db_, "COMMIT");
        // Copy the change into the database file now, so that the file alone
        // is complete even while this process keeps its connection open.
        if (committed_)
            sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        return committed_;
    }

private:
    sqlite3* db_;
    bool begun_;
    bool committed_ { false };
};

// Several reads under one read lock, which is taken and given back once.
class ReadTransaction {
public:
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    explicit ReadTransaction(sqlite3* db)
        : db_(db)
        , begun_(execute(db, "BEGIN"))
    {
    }
    ~ReadTransaction()
    {
        if (begun_)
            execute(db_, "COMMIT");
    }

private:
    sqlite3* db_;
    bool begun_;
};

// The components of a key path, or nothing when it does not start with a
// root. Empty components (doubled or trailing separators) are skipped.
std::optional<std::vector<std::u16string>> split_key(std::u16string_view key)
{
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = key.size();
        if (end > start)
            parts.emplace_back(key.substr(start, end - start));
        start = end + 1;
    }
    if (parts.empty())
        return std::nullopt;
    for (auto& root : REGISTRY_ROOTS) {
        if (equal_ignoring_case(parts.front(), root.name))
            return parts;
    }
    return std::nullopt;
}

std::optional<sqlite3_int64> find_key(RegistryImpl& impl, const std::vector<std::u16string>& parts)
{
    Statement select(impl, "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2");
    if (!select.ok())
        return std::nullopt;
    sqlite3_int64 id = 0;
    for (auto& part : parts) {
        select.reset();
        select.bind(1, id);
        select.bind(2, to_lower(part));
        if (select.step() != SQLITE_ROW)
            return std::nullopt;
        id = select.integer(0);
    }
    return id;
}

std::string resolve_file(const std::string& fixed_file)
{
    if (!fixed_file.empty())
        return fixed_file;
    if (const char* file = std::getenv("RINGWISE_REGISTRY"); file && *file)
        return file;
    std::string config = xdg_directory("XDG_CONFIG_HOME", ".config");
    // Without any home folder the registry still has a place to live.
    if (config.empty())
        config = "/tmp/.config";
    return config + "/ringwise/registry.db";
}

void create_parent_directories(const std::string& file)
{
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1))
        ::mkdir(file.substr(0, slash).c_str(), 0700);
}

void disconnect(RegistryImpl& impl)
{
    // A connection inherited from the parent of a forked process must not be
    // used or closed by the child: it would disturb the parent's locks.
    if (impl.db && impl.pid == ::getpid()) {
        for (auto& [text, prepared] : impl.statements)
            sqlite3_finalize(prepared);
        sqlite3_close_v2(impl.db);
    }
    impl.statements.clear();
    impl.db = nullptr;
    impl.schema_ready = false;
}

// The open connection to the current database file, reopened when the file
// name changed, the file was replaced, or the process was forked. Without
// `create`, a missing file gives no connection.
sqlite3* connect(RegistryImpl& impl, bool create)
{
    std::string file = resolve_file(impl.fixed_file);
    struct stat status;
    bool exists = ::stat(file.c_str(), &status) == 0;
    if (impl.db) {
        bool same = impl.pid == ::getpid() && impl.db_file == file && exists
            && status.st_dev == impl.device && status.st_ino == impl.inode;
        if (same)
            return impl.db;
        disconnect(impl);
    }
    if (!exists && !create)
        return nullptr;
    if (!exists)
        create_parent_directories(file);
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK
        || ::stat(file.c_str(), &status) != 0) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BUSY_TIMEOUT_MS);
    impl.db = db;
    impl.db_file = file;
    impl.pid = ::getpid();
    impl.device = status.st_dev;
    impl.inode = status.st_ino;
    impl.schema_ready = false;
    return db;
}

// The roots are the keys with parent 0; present ones stay as they are.
bool add_roots(RegistryImpl& impl)
{
    Statement insert(impl, "INSERT OR IGNORE INTO keys (parent, name, folded) VALUES (0, ?1, ?2)");
    for (auto& root : REGISTRY_ROOTS) {
        insert.reset();
        insert.bind(1, root.name);
        insert.bind(2, to_lower(root.name));
        if (insert.step() != SQLITE_DONE)
            return false;
    }
    return true;
}

enum class Attempt { Done, Busy, Failed };

Attempt classify_failure(sqlite3* db)
{
    int code = sqlite3_errcode(db);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED ? Attempt::Busy : Attempt::Failed;
}

Attempt try_schema(RegistryImpl& impl)
{
    // The journal mode is kept in the file; switching needs no transaction.
    // Switching takes an exclusive lock without waiting in the busy handler,
    // so while another process creates or switches the same file it answers
    // busy, or the old mode, at once.
    {
        Statement mode(impl, "PRAGMA journal_mode = WAL");
        int step = mode.step();
        if (step == SQLITE_ROW && mode.text(0) != u"wal")
            return Attempt::Busy;
        if (step != SQLITE_ROW)
            return classify_failure(impl.db);
    }
    Transaction transaction(impl.db);
    if (!transaction.begun() || !execute(impl.db, SCHEMA) || !add_roots(impl)
        || !transaction.commit())
        return classify_failure(impl.db);
    return Attempt::Done;
}

// Prepares a new or foreign database file. The tables are created only when
// missing, so a process that loses the race simply uses the winner's.
bool ensure_schema(RegistryImpl& impl)
{
    if (impl.schema_ready)
        return true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(BUSY_TIMEOUT_MS);
    for (auto pause = std::chrono::milliseconds(1);; pause = std::min(pause * 2, MAX_RETRY_PAUSE)) {
        Attempt attempt = try_schema(impl);
        if (attempt == Attempt::Done) {
            impl.schema_ready = true;
            return true;
        }
        if (attempt == Attempt::Failed || Clock::now() + pause > deadline)
            return false;
        std::this_thread::sleep_for(pause);
    }
}

// Adds the missing keys of the path, under the registry's lock, with a
// connection made with `create`.
bool add_key(RegistryImpl& impl, const std::vector<std::u16string>& parts)
{
    sqlite3* db = impl.db;
    for (auto& part : parts) {
        if (part.size() > REGISTRY_MAX_KEY_NAME)
            return false;
    }
    if (!ensure_schema(impl))
        return false;
    Transaction transaction(db);
    if (!transaction.begun())
        return false;
    {
        // Finished before the commit: a statement still stepping would keep it from committing.
        Statement select(impl, "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2");
        Statement insert(impl, "INSERT INTO keys (parent, name, folded) VALUES (?1, ?2, ?3)");
        if (!select.ok() || !insert.ok())
            return false;
        sqlite3_int64 id = 0;
        for (auto& part : parts) {
            std::u16string folded = to_lower(part);
            select.reset();
            select.bind(1, id);
            select.bind(2, folded);
            int found = select.step();
            if (found == SQLITE_ROW) {
                id = select.integer(0);
                continue;
            }
            // A root is never created here: the path must start with one.
            if (found != SQLITE_DONE || id == 0)
                return false;
            insert.reset();
            insert.bind(1, id);
            insert.bind(2, part);
            insert.bind(3, folded);
            if (insert.step() != SQLITE_DONE)
                return false;
            id = sqlite3_last_insert_rowid(db);
        }
    }
    return transaction.commit();
}

// The value, if any, read under one read lock.
std::optional<RegistryValue> select_value(
    RegistryImpl& impl, sqlite3_int64 key, std::u16string_view name)
{
    Statement select(
        impl, "SELECT name, type, data FROM key_values WHERE key = ?1 AND folded = ?2");
    select.bind(1, key);
    select.bind(2, to_lower(name));
    if (select.step() != SQLITE_ROW)
        return std::nullopt;
    return RegistryValue { select.text(0), static_cast<std::uint32_t>(select.integer(1)),
        select.blob(2) };
}

// What every operation does first: the key's path is split, the registry's
// lock taken and the connection made (with `create`, a missing database is
// created). `body(db, parts)` then does the operation's own work; without a
// root or a database the operation gives `failure`.
template<typename Result, typename Body>
Result with_connection(
    RegistryImpl& impl, std::u16string_view key, bool create, Result failure, Body body)
{
    auto parts = split_key(key);
    if (!parts)
        return failure;
    std::lock_guard lock(impl.mutex);
    sqlite3* db = connect(impl, create);
    if (!db)
        return failure;
    return body(db, *parts);
}

// A read of an existing key under one read lock: `body(id)` with the key's id.
template<typename Result, typename Body>
Result read_key(RegistryImpl& impl, std::u16string_view key, Result failure, Body body)
{
    return with_connection(
        impl, key, false, failure, [&](sqlite3* db, const std::vector<std::u16string>& parts) {
            ReadTransaction transaction(db);
            auto id = find_key(impl, parts);
            return id ? body(*id) : failure;
        });
}

// A change of an existing key in one write transaction: `body(db, id)` makes
// the change and says whether it succeeded; only then is it committed.
template<typename Body> bool change_key(RegistryImpl& impl, std::u16string_view key, Body body)
{
    return with_connection(
        impl, key, false, false, [&](sqlite3* db, const std::vector<std::u16string>& parts) {
            Transaction transaction(db);
            if (!transaction.begun())
                return false;
            auto id = find_key(impl, parts);
            return id && body(db, *id) && transaction.commit();
        });
}

} // namespace

Registry::Registry(std::string file)
    : impl_(std::make_unique<RegistryImpl>())
{
    impl_->fixed_file = std::move(file);
}

Registry::~Registry()
{
    disconnect(*impl_);
}

Registry& Registry::shared()
{
    // Never destroyed: static destructors elsewhere may still read the log switch.
    static Registry* registry = new Registry;
    return *registry;
}

std::string Registry::file() const
{
    return resolve_file(impl_->fixed_file);
}

bool Registry::key_exists(std::u16string_view key)
{
    return read_key(*impl_, key, false, [](sqlite3_int64) { return true; });
}

bool Registry::create_key(std::u16string_view key)
{
    RegistryImpl& impl = *impl_;
    return with_connection(
        impl, key, true, false, [&](sqlite3* db, const std::vector<std::u16string>& parts) {
            {
                ReadTransaction transaction(db);
                if (find_key(impl, parts))
                    return true;
            }
            return add_key(impl, parts);
        });
}

bool Registry::open_and_query(
    std::u16string_view key, std::u16string_view name, std::optional<RegistryValue>& value)
{
    value.reset();
    RegistryImpl& impl = *impl_;
    return with_connection(
        impl, key, true, false, [&](sqlite3* db, const std::vector<std::u16string>& parts) {
            {
                ReadTransaction transaction(db);
                if (auto id = find_key(impl, parts)) {
                    value = select_value(impl, *id, name);
                    return true;
                }
            }
            return add_key(impl, parts);
        });
}

bool Registry::delete_key(std::u16string_view key)
{
    // Roots stay: a path of the root alone deletes nothing.
    auto parts = split_key(key);
    if (!parts || parts->size() < 2)
        return false;
    RegistryImpl& impl = *impl_;
    return change_key(impl, key, [&](sqlite3*, sqlite3_int64 id) {
        Statement values(impl,
            "WITH RECURSIVE doomed(id) AS (SELECT ?1 UNION ALL "
            "SELECT keys.id FROM keys JOIN doomed ON keys.parent = doomed.id) "
            "DELETE FROM key_values WHERE key IN doomed");
        Statement keys(impl,
            "WITH RECURSIVE doomed(id) AS (SELECT ?1 UNION ALL "
            "SELECT keys.id FROM keys JOIN doomed ON keys.parent = doomed.id) "
            "DELETE FROM keys WHERE id IN doomed");
        values.bind(1, id);
        keys.bind(1, id);
        return values.step() == SQLITE_DONE && keys.step() == SQLITE_DONE;
    });
}

std::optional<std::vector<std::u16string>> Registry::subkeys(std::u16string_view key)
{
    RegistryImpl& impl = *impl_;
    using Names = std::optional<std::vector<std::u16string>>;
    return read_key(impl, key, Names(), [&](sqlite3_int64 id) -> Names {
        Statement select(impl, "SELECT name FROM keys WHERE parent = ?1 ORDER BY folded, name");
        select.bind(1, id);
        std::vector<std::u16string> names;
        int result;
        while ((result = select.step()) == SQLITE_ROW)
            names.push_back(select.text(0));
        if (result != SQLITE_DONE)
            return std::nullopt;
        return names;
    });
}

std::optional<RegistryValue> Registry::query_value(
    std::u16string_view key, std::u16string_view name)
{
    RegistryImpl& impl = *impl_;
    return read_key(impl, key, std::optional<RegistryValue>(),
        [&](sqlite3_int64 id) { return select_value(impl, id, name); });
}

bool Registry::set_value(std::u16string_view key, const RegistryValue& value)
{
    if (value.data.size() > REGISTRY_MAX_VALUE_SIZE)
        return false;
    RegistryImpl& impl = *impl_;
    return change_key(impl, key, [&](sqlite3*, sqlite3_int64 id) {
        Statement upsert(impl,
            "INSERT INTO key_values (key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
            "ON CONFLICT (key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
        upsert.bind(1, id);
        upsert.bind(2, value.name);
        upsert.bind(3, to_lower(value.name));
        upsert.bind(4, static_cast<sqlite3_int64>(value.type));
        upsert.bind(5, value.data);
        return upsert.step() == SQLITE_DONE;
    });
}

bool Registry::delete_value(std::u16string_view key, std::u16string_view name)
{
    RegistryImpl& impl = *impl_;
    return change_key(impl, key, [&](sqlite3* db, sqlite3_int64 id) {
        Statement remove(impl, "DELETE FROM key_values WHERE key = ?1 AND folded = ?2");
        remove.bind(1, id);
        remove.bind(2, to_lower(name));
        return remove.step() == SQLITE_DONE && sqlite3_changes(db) > 0;
    });
}

std::optional<std::vector<RegistryValue>> Registry::values(std::u16string_view key)
{
    RegistryImpl& impl = *impl_;
    using Values = std::optional<std::vector<RegistryValue>>;
    return read_key(impl, key, Values(), [&](sqlite3_int64 id) -> Values {
        Statement select(
            impl, "SELECT name, type, data FROM key_values WHERE key = ?1 ORDER BY folded, name");
        select.bind(1, id);
        std::vector<RegistryValue> values;
        int result;
        while ((result = select.step()) == SQLITE_ROW)
            values.push_back(
                { select.text(0), static_cast<std::uint32_t>(select.integer(1)), select.blob(2) });
        if (result != SQLITE_DONE)
            return std::nullopt;
        return values;
    });
}

} // namespace platform
