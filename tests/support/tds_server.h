// A TDS listener on 127.0.0.1 for the SQL-server path through the real FreeTDS driver, naming
// itself a SQL server: it either accepts connections and never answers, or lets every login in
// and answers every request with an empty result, except where its mode says otherwise: it never
// answers a request that names "Stall" (only its cancel), or it stops answering altogether at a
// transaction's begin, commit or rollback, or at the statement that sets quoted identifiers, or
// it answers that statement only at its cancel, or the login and that statement each late but
// within a timeout of 2 s. Asked for its session's age, it gives the milliseconds since the
// client's login. It keeps each client's transaction as a server would: a request naming
// "Victim" ends it as a deadlock victim's, and a plain COMMIT TRANSACTION without one is refused
// with the server's error 3902. It tells the TDS version the last login asked for, and whether it
// stopped at a statement. It stops by itself after its lifetime.
// SELECT @@TRANCOUNT is answered with one row: the client's transaction count.
#pragma once

#include <QString>
#include <atomic>
#include <thread>

namespace testenv {

class TdsServer {
public:
    enum class Mode {
        Silent,
        StallsOnStall,
        StopsAtBegin,
        StopsAtCommit,
        StopsAtRollback,
        StopsAtQuotedIdentifier,
        StallsOnQuotedIdentifier,
        AnswersSetUpLate,
    };
    // AnswersSetUpLate's wait before each of its answers: within a timeout of 2 s, both together
    // longer
    static constexpr int kLateMs = 1100;
    explicit TdsServer(Mode mode, int lifetimeSeconds = 15);
    ~TdsServer();
    TdsServer(const TdsServer&) = delete;
    TdsServer& operator=(const TdsServer&) = delete;
    int port() const { return port_; }
    // "7.2", "7.4"...: the version of the last login, empty before one came.
    QString loginVersion() const;
    // Whether the request it stopped answering at was a statement (not a transaction manager's).
    bool stoppedAtStatement() const { return stoppedAtStatement_; }

private:
    void serve();

    Mode mode_;
    int lifetime_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ { false };
    std::atomic<int> loginVersion_ { 0 };
    std::atomic<bool> stoppedAtStatement_ { false };
    std::thread thread_;
};

// A local port on which nothing listens.
int RefusingPort();

// The test-local name of the FreeTDS driver (beside "SQL Server", which reaches the stand-in).
const char* FreeTdsDriverName();
// The store's SQL-server connection string as the tool builds it, for a server on this host; the
// server field may carry more attributes after the address, as a user may type them there.
QString TdsConnectionString(const char* driver, int port, const QString& afterAddress = {});

} // namespace testenv
