#pragma once

namespace db {

// A transaction on a server connection (anything with begin, commit and
// rollback): rolled back when it goes out of scope without commit(). Its
// destructor never throws: a lost connection rolls back on the server by itself.
template <class Connection> class ServerTransaction {
public:
    explicit ServerTransaction(Connection& connection) : connection_(connection) { connection_.begin(); }
    ~ServerTransaction() {
        if (!open_)
            return;
        try {
            connection_.rollback();
        } catch (...) {
        }
    }
    ServerTransaction(const ServerTransaction&) = delete;
    ServerTransaction& operator=(const ServerTransaction&) = delete;
    void commit() {
        connection_.commit();
        open_ = false;
    }

private:
    Connection& connection_;
    bool open_ = true;
};

} // namespace db
