// The TDS listener: the pre-login answer, a login acknowledgement in the version asked for, empty
// results, each client's transaction as statements move it, its session's age, the requests it
// leaves unanswered and those it answers late.
#include "tds_server.h"

#include "odbc_env.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace testenv {

namespace {

using Bytes = std::vector<unsigned char>;

// A test forks its child while a server's thread runs: had the thread been inside the allocator
// then, the child would inherit a lock that nobody releases (seen under AddressSanitizer). Around
// every fork the server threads wait at the top of their loop, where they hold none.
std::atomic<bool> parking { false };
std::atomic<int> serving { 0 }, parked { 0 };

void parkServers() {
    parking = true;
    for (int i = 0; i < 2000 && parked.load() < serving.load(); ++i)
        usleep(1000);
}
void resumeServers() {
    parking = false;
}
void forgetServers() { // the child has none of the threads
    parking = false;
    serving = 0;
    parked = 0;
}
void parkServersAroundForks() {
    static const bool registered = pthread_atfork(parkServers, resumeServers, forgetServers) == 0;
    (void)registered;
}

enum : unsigned char {
    Batch = 0x01,
    Rpc = 0x03,
    Reply = 0x04,
    Attention = 0x06,
    Transaction = 0x0e,
    Login = 0x10,
    PreLogin = 0x12,
};

void put16le(Bytes& b, unsigned v) {
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}

Bytes packet(const Bytes& payload) {
    Bytes p = { Reply, 0x01, 0, 0, 0, 0, 1, 0 };
    const size_t n = payload.size() + 8;
    p[2] = (n >> 8) & 0xff;
    p[3] = n & 0xff;
    p.insert(p.end(), payload.begin(), payload.end());
    return p;
}

// DONE (or DONEPROC) with its status and a row count of none, which takes 8 bytes from TDS 7.2
// on and 4 before.
Bytes done(unsigned char token, unsigned status, unsigned char version = 0x74) {
    Bytes b = { token };
    put16le(b, status);
    put16le(b, 0);
    b.insert(b.end(), version >= 0x72 ? 8 : 4, 0);
    return b;
}

Bytes preLoginAnswer() {
    // VERSION, ENCRYPTION (not supported), INSTOPT, MARS, then their values
    Bytes b = { 0x00, 0, 21, 0, 6, 0x01, 0, 27, 0, 1, 0x02, 0, 28, 0, 1, 0x04, 0, 29, 0, 1, 0xff };
    const Bytes values = { 0x0f, 0x00, 0x07, 0xd0, 0x00, 0x00, 0x02, 0x00, 0x00 };
    b.insert(b.end(), values.begin(), values.end());
    return b;
}

// The login's TDS version, as it stands in its acknowledgement (most significant byte first).
Bytes versionOf(const Bytes& login) {
    if (login.size() < 8) return { 0x74, 0x00, 0x00, 0x04 };
    return { login[7], login[6], login[5], login[4] };
}

Bytes loginAnswer(const Bytes& version) {
    const char16_t name[] = u"Microsoft SQL Server";
    const unsigned chars = sizeof(name) / sizeof(char16_t) - 1;
    Bytes b = { 0xad };
    put16le(b, 1 + 4 + 1 + 2 * chars + 4);
    b.push_back(0x01);
    b.insert(b.end(), version.begin(), version.end());
    b.push_back(static_cast<unsigned char>(chars));
    for (unsigned i = 0; i < chars; ++i)
        put16le(b, name[i]);
    b.insert(b.end(), { 0x0f, 0x00, 0x07, 0xd0 });
    const Bytes end = done(0xfd, 0, version[0]);
    b.insert(b.end(), end.begin(), end.end());
    return b;
}

// An ERROR token (a server message of class 11 or more), then DONE with its error bit.
Bytes failure(unsigned char token, unsigned number, unsigned char cls, const char* text,
    unsigned char version) {
    Bytes message;
    for (int shift = 0; shift < 32; shift += 8)
        message.push_back((number >> shift) & 0xff);
    message.push_back(1); // state
    message.push_back(cls);
    const size_t chars = std::strlen(text);
    put16le(message, unsigned(chars));
    for (size_t i = 0; i < chars; ++i)
        put16le(message, static_cast<unsigned char>(text[i]));
    message.push_back(0); // server name
    message.push_back(0); // procedure name
    message.insert(message.end(), version >= 0x72 ? 4 : 2, 0); // line number
    Bytes b = { 0xaa };
    put16le(b, unsigned(message.size()));
    b.insert(b.end(), message.begin(), message.end());
    const Bytes end = done(token, 0x02, version);
    b.insert(b.end(), end.begin(), end.end());
    return b;
}

// A query's answer of one row of one int column (COLMETADATA, ROW, DONE with its row count).
Bytes oneIntAnswer(int32_t value, unsigned char token, unsigned char version) {
    Bytes b = { 0x81 };
    put16le(b, 1); // columns
    b.insert(b.end(), version >= 0x72 ? 4 : 2, 0); // user type
    put16le(b, 0); // flags: not nullable
    b.insert(b.end(), { 0x38, 0 }); // INT4, no column name
    b.push_back(0xd1); // ROW
    for (int shift = 0; shift < 32; shift += 8)
        b.push_back((static_cast<uint32_t>(value) >> shift) & 0xff);
    b.push_back(token);
    put16le(b, 0x10); // its row count is set
    put16le(b, 0);
    b.push_back(1);
    b.insert(b.end(), version >= 0x72 ? 7 : 3, 0);
    return b;
}

// The request's text names the table that stalls (in UTF-16, wherever the request puts it).
bool namesStall(const Bytes& payload) {
    static const Bytes stall = { 'S', 0, 't', 0, 'a', 0, 'l', 0, 'l', 0 };
    return std::search(payload.begin(), payload.end(), stall.begin(), stall.end()) != payload.end();
}

// The request's text, lower-cased, as far as it is plain ASCII in UTF-16 (read at both byte
// alignments: a request may put its text at an odd offset).
std::string textOf(const Bytes& payload) {
    std::string text;
    for (size_t start : { 0, 1 }) {
        for (size_t i = start; i + 1 < payload.size(); i += 2)
            text += payload[i + 1] == 0 ? char(std::tolower(payload[i])) : '?';
        text += '|';
    }
    return text;
}

// A transaction manager request's kind (after its headers): 5 begin, 7 commit, 8 rollback.
unsigned transactionRequest(const Bytes& payload) {
    if (payload.size() < 4) return 0;
    const size_t headers
        = payload[0] | payload[1] << 8 | payload[2] << 16 | size_t(payload[3]) << 24;
    if (payload.size() < headers + 2) return 0;
    return payload[headers] | payload[headers + 1] << 8;
}

// Whether the request is where the server stops answering: the driver sends a transaction's
// begin, commit and rollback as requests of their own or as statements.
bool stopsAt(TdsServer::Mode mode, unsigned char type, const Bytes& payload) {
    using Mode = TdsServer::Mode;
    if (type == Transaction) {
        const unsigned kind = transactionRequest(payload);
        return (mode == Mode::StopsAtBegin && kind == 5)
            || (mode == Mode::StopsAtCommit && kind == 7)
            || (mode == Mode::StopsAtRollback && kind == 8);
    }
    if (type != Batch && type != Rpc) return false;
    const std::string text = textOf(payload);
    const bool commit = text.find("commit") != std::string::npos;
    const bool rollback = text.find("rollback") != std::string::npos;
    switch (mode) {
    case Mode::StopsAtBegin:
        return !commit && !rollback && text.find("begin tran") != std::string::npos;
    case Mode::StopsAtCommit:
        return commit;
    case Mode::StopsAtRollback:
        return rollback;
    case Mode::StopsAtQuotedIdentifier:
        return text.find("quoted_identifier") != std::string::npos;
    default:
        return false;
    }
}

using Clock = std::chrono::steady_clock;

struct Client {
    Bytes in;
    Bytes message;
    unsigned char version = 0x74; // of its login
    bool stopped = false; // answers nothing more
    bool inTransaction = false; // begun by a statement
    Clock::time_point loggedIn; // when its login was answered
    Bytes late; // an answer held back until lateAt
    Clock::time_point lateAt;
};

// Whether the request is one whose answer the server holds back until its cancel.
bool stallsOn(TdsServer::Mode mode, const Bytes& payload) {
    if (mode == TdsServer::Mode::StallsOnStall) return namesStall(payload);
    return mode == TdsServer::Mode::StallsOnQuotedIdentifier
        && textOf(payload).find("quoted_identifier") != std::string::npos;
}

// A statement's answer: the client's transaction count and its session's age, each as one row;
// else as far as it moves the client's transaction: a begin opens one, a request naming "Victim"
// ends it as a deadlock victim's, a commit or rollback ends it, and a plain commit with none open
// is refused (a guarded one does nothing).
Bytes statementAnswer(Client& c, unsigned char type, const Bytes& payload) {
    const unsigned char token = type == Rpc ? 0xfe : 0xfd;
    const std::string text = textOf(payload);
    const auto has = [&](const char* word) { return text.find(word) != std::string::npos; };
    if (has("select @@trancount")) return oneIntAnswer(c.inTransaction ? 1 : 0, token, c.version);
    // the session's age: the milliseconds since the client's login
    if (has("dm_exec_sessions"))
        return oneIntAnswer(
            int32_t(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - c.loggedIn)
                        .count()),
            token, c.version);
    if (has("victim")) {
        c.inTransaction = false;
        return failure(token, 1205, 13,
            "Transaction was deadlocked on lock resources with another process and has been "
            "chosen as the deadlock victim. Rerun the transaction.",
            c.version);
    }
    if (has("commit") || has("rollback")) {
        if (!c.inTransaction && has("commit") && !has("@@trancount"))
            return failure(token, 3902, 16,
                "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.",
                c.version);
        c.inTransaction = false;
    } else if (has("begin tran")) {
        c.inTransaction = true;
    }
    return done(token, 0, c.version);
}

} // namespace

TdsServer::TdsServer(Mode mode, int lifetimeSeconds)
    : mode_(mode)
    , lifetime_(lifetimeSeconds) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    listen(listener_, 8);
    socklen_t len = sizeof(addr);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    parkServersAroundForks();
    std::atomic<bool> started { false };
    thread_ = std::thread([this, &started] {
        ++serving;
        started = true;
        serve();
        --serving;
    });
    while (!started)
        std::this_thread::yield();
}

QString TdsServer::loginVersion() const {
    const int v = loginVersion_;
    return v ? QStringLiteral("%1.%2").arg(v >> 4).arg(v & 0xf) : QString();
}

TdsServer::~TdsServer() {
    stop_ = true;
    thread_.join();
}

void TdsServer::serve() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(lifetime_);
    std::map<int, Client> clients;
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        if (parking) {
            ++parked;
            while (parking)
                usleep(1000);
            --parked;
        }
        std::vector<pollfd> fds = { { listener_, POLLIN, 0 } };
        for (auto& [fd, c] : clients)
            fds.push_back({ fd, POLLIN, 0 });
        const int ready = poll(fds.data(), fds.size(), 50);
        for (auto& [fd, c] : clients) {
            if (c.late.empty() || Clock::now() < c.lateAt) continue;
            const Bytes p = packet(c.late);
            if (write(fd, p.data(), p.size()) < 0) { }
            c.late.clear();
        }
        if (ready <= 0) continue;
        if (fds[0].revents & POLLIN) {
            const int fd = accept(listener_, nullptr, nullptr);
            if (fd >= 0) clients[fd];
        }
        for (size_t i = 1; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            const int fd = fds[i].fd;
            unsigned char buf[4096];
            const ssize_t n = read(fd, buf, sizeof(buf));
            if (n <= 0) {
                close(fd);
                clients.erase(fd);
                continue;
            }
            if (mode_ == Mode::Silent) continue;
            Client& c = clients[fd];
            c.in.insert(c.in.end(), buf, buf + n);
            while (c.in.size() >= 8) {
                const size_t length = size_t(c.in[2]) << 8 | c.in[3];
                if (length < 8 || c.in.size() < length) break;
                const unsigned char type = c.in[0];
                const bool last = c.in[1] & 0x01;
                c.message.insert(c.message.end(), c.in.begin() + 8, c.in.begin() + length);
                c.in.erase(c.in.begin(), c.in.begin() + length);
                if (!last) continue;
                if (!c.stopped && stopsAt(mode_, type, c.message)) {
                    c.stopped = true;
                    if (type == Batch || type == Rpc) stoppedAtStatement_ = true;
                }
                Bytes answer;
                if (c.stopped)
                    answer.clear();
                else if (type == PreLogin)
                    answer = preLoginAnswer();
                else if (type == Login) {
                    const Bytes version = versionOf(c.message);
                    c.version = version[0];
                    loginVersion_ = version[0];
                    answer = loginAnswer(version);
                    c.loggedIn = Clock::now();
                } else if (type == Attention)
                    answer = done(0xfd, 0x20, c.version);
                else if ((type == Batch || type == Rpc) && stallsOn(mode_, c.message))
                    answer.clear();
                else if (type == Batch || type == Rpc)
                    answer = statementAnswer(c, type, c.message);
                else
                    answer = done(0xfd, 0, c.version);
                if (mode_ == Mode::AnswersSetUpLate
                    && (type == Login
                        || textOf(c.message).find("quoted_identifier") != std::string::npos)) {
                    // the session begins when its late login answer goes out
                    c.late.swap(answer);
                    c.lateAt = Clock::now() + std::chrono::milliseconds(kLateMs);
                    if (type == Login) c.loggedIn = c.lateAt;
                }
                c.message.clear();
                if (!answer.empty()) {
                    const Bytes p = packet(answer);
                    if (write(fd, p.data(), p.size()) < 0) { }
                }
            }
        }
    }
    for (auto& [fd, c] : clients)
        close(fd);
    close(listener_); // from now on a connection is refused
}

int RefusingPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    socklen_t len = sizeof(addr);
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    close(s); // bound but never listening: a connection is refused
    return ntohs(addr.sin_port);
}

const char* FreeTdsDriverName() {
    RegisterSqlServerDriver();
    return "FreeTDS stand-in";
}

QString TdsConnectionString(const char* driver, int port, const QString& afterAddress) {
    return QStringLiteral("driver={%1};server=127.0.0.1,%2%3;uid=sa;pwd=secret;database=Velandor;")
        .arg(QLatin1String(driver))
        .arg(port)
        .arg(afterAddress);
}

} // namespace testenv
