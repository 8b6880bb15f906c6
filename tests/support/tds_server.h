// A TDS listener on 127.0.0.1 for the SQL-server path through the real FreeTDS driver: it either
// accepts connections and never answers, or lets every login in, answers every request with an
// empty result and never answers a request that names "Stall" (only its cancel). It stops by
// itself after its lifetime.
#pragma once

#include <QString>
#include <atomic>
#include <thread>

namespace testenv {

class TdsServer {
public:
    enum class Mode { Silent, StallsOnStall };
    explicit TdsServer(Mode mode, int lifetimeSeconds = 15);
    ~TdsServer();
    TdsServer(const TdsServer&) = delete;
    TdsServer& operator=(const TdsServer&) = delete;
    int port() const { return port_; }

private:
    void serve();

    Mode mode_;
    int lifetime_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ { false };
    std::thread thread_;
};

// A local port on which nothing listens.
int RefusingPort();

// The test-local name of the FreeTDS driver (beside "SQL Server", which reaches the stand-in).
const char* FreeTdsDriverName();
// The store's SQL-server connection string as the tool builds it, for a server on this host.
QString TdsConnectionString(const char* driver, int port);

} // namespace testenv
