// The TDS listener: the pre-login answer, a login acknowledgement, empty results, and a batch
// that is never answered.
#include "tds_server.h"

#include "odbc_env.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace testenv {

namespace {

using Bytes = std::vector<unsigned char>;

enum : unsigned char { Batch = 0x01, Rpc = 0x03, Reply = 0x04, Attention = 0x06, PreLogin = 0x12 };

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

// DONE (or DONEPROC) with its status and a row count of none.
Bytes done(unsigned char token, unsigned status) {
    Bytes b = { token };
    put16le(b, status);
    put16le(b, 0);
    b.insert(b.end(), 8, 0);
    return b;
}

Bytes preLoginAnswer() {
    // VERSION, ENCRYPTION (not supported), INSTOPT, MARS, then their values
    Bytes b = { 0x00, 0, 21, 0, 6, 0x01, 0, 27, 0, 1, 0x02, 0, 28, 0, 1, 0x04, 0, 29, 0, 1, 0xff };
    const Bytes values = { 0x0f, 0x00, 0x07, 0xd0, 0x00, 0x00, 0x02, 0x00, 0x00 };
    b.insert(b.end(), values.begin(), values.end());
    return b;
}

Bytes loginAnswer() {
    const char16_t name[] = u"stand-in";
    const unsigned chars = sizeof(name) / sizeof(char16_t) - 1;
    Bytes b = { 0xad };
    put16le(b, 1 + 4 + 1 + 2 * chars + 4);
    b.insert(b.end(), { 0x01, 0x74, 0x00, 0x00, 0x04, static_cast<unsigned char>(chars) });
    for (unsigned i = 0; i < chars; ++i)
        put16le(b, name[i]);
    b.insert(b.end(), { 0x0f, 0x00, 0x07, 0xd0 });
    const Bytes end = done(0xfd, 0);
    b.insert(b.end(), end.begin(), end.end());
    return b;
}

// The request's text names the table that stalls (in UTF-16, wherever the request puts it).
bool namesStall(const Bytes& payload) {
    static const Bytes stall = { 'S', 0, 't', 0, 'a', 0, 'l', 0, 'l', 0 };
    return std::search(payload.begin(), payload.end(), stall.begin(), stall.end()) != payload.end();
}

struct Client {
    Bytes in;
    Bytes message;
};

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
    thread_ = std::thread([this] { serve(); });
}

TdsServer::~TdsServer() {
    stop_ = true;
    thread_.join();
}

void TdsServer::serve() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(lifetime_);
    std::map<int, Client> clients;
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        std::vector<pollfd> fds = { { listener_, POLLIN, 0 } };
        for (auto& [fd, c] : clients)
            fds.push_back({ fd, POLLIN, 0 });
        if (poll(fds.data(), fds.size(), 50) <= 0) continue;
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
                Bytes answer;
                if (type == PreLogin)
                    answer = preLoginAnswer();
                else if (type == Attention)
                    answer = done(0xfd, 0x20);
                else if ((type == Batch || type == Rpc) && namesStall(c.message))
                    answer.clear();
                else if (type == Rpc)
                    answer = done(0xfe, 0);
                else if (type == Batch)
                    answer = done(0xfd, 0);
                else
                    answer = loginAnswer();
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

QString TdsConnectionString(const char* driver, int port) {
    return QStringLiteral("driver={%1};server=127.0.0.1,%2;uid=sa;pwd=secret;database=Velandor;")
        .arg(QLatin1String(driver))
        .arg(port);
}

} // namespace testenv
