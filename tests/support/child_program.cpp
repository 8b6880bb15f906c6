// A child process running part of a test.
#include "child_program.h"

#include <QSqlError>
#include <QSqlQuery>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testenv {

namespace {
int& goFd() {
    static int fd = -1;
    return fd;
}
} // namespace

bool AwaitGo(int seconds) {
    pollfd p { goFd(), POLLIN, 0 };
    char c = 0;
    return goFd() >= 0 && poll(&p, 1, seconds * 1000) == 1 && read(goFd(), &c, 1) == 1;
}

ChildProgram::ChildProgram(Work work) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(toChild[1]);
        close(fromChild[0]);
        char c = 0;
        if (read(toChild[0], &c, 1) != 1) _exit(2);
        goFd() = toChild[0];
        int status = 0;
        try {
            work([fd = fromChild[1]] { [[maybe_unused]] auto n = write(fd, "r", 1); });
        } catch (const std::exception& e) {
            fprintf(stderr, "child program: %s\n", e.what());
            status = 1;
        } catch (...) {
            status = 1;
        }
        _exit(status); // the test's own clean-up is the parent's
    }
    close(toChild[0]);
    close(fromChild[1]);
    goPipe_ = toChild[1];
    reachedPipe_ = fromChild[0];
}

ChildProgram::~ChildProgram() {
    if (pid_ > 0) finished(0);
    if (pid_ > 0) { // still running
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (goPipe_ >= 0) close(goPipe_);
    if (reachedPipe_ >= 0) close(reachedPipe_);
}

void ChildProgram::go() {
    [[maybe_unused]] auto n = write(goPipe_, "g", 1);
}

bool ChildProgram::reached(int seconds) {
    pollfd p { reachedPipe_, POLLIN, 0 };
    char c = 0;
    return poll(&p, 1, seconds * 1000) == 1 && read(reachedPipe_, &c, 1) == 1;
}

bool ChildProgram::finished(int seconds) {
    const std::optional<int> status = ended(seconds);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

std::optional<int> ChildProgram::ended(int seconds) {
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return status;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

QSqlDatabase OpenSqlite(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) throw std::runtime_error("open");
    return db;
}

void RunAll(QSqlDatabase& db, const QStringList& statements) {
    QSqlQuery q(db);
    for (const QString& s : statements)
        if (!q.exec(s)) throw std::runtime_error(q.lastError().text().toStdString());
}

} // namespace testenv
