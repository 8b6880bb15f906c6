// A child process running part of a test when told to: another program on the test's files (with
// its own SQLite connection), or the tool itself where it must really end. It is started before
// the test opens any file: a child of a process with open SQLite connections would inherit their
// lock bookkeeping but not their locks.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace testenv {

class ChildProgram {
public:
    // work runs in the child once go() is called; it calls reached() at the point the test waits
    // for. The child ends when work returns, or at once where work ends it (a crash).
    using Work = std::function<void(const std::function<void()>& reached)>;
    explicit ChildProgram(Work work);
    ~ChildProgram(); // a child still running is killed
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    void go(); // again: lets a child waiting in AwaitGo go on
    // Bounded waits: false when the child did not get there in time.
    bool reached(int seconds);
    bool finished(int seconds); // and the work ended without an error
    // However the child ended (of a signal too): its wait status; nothing when not in time.
    std::optional<int> ended(int seconds);

private:
    pid_t pid_ = -1;
    int goPipe_ = -1, reachedPipe_ = -1;
};

// In the child: waits for the test's next go(); false when it did not come in time.
bool AwaitGo(int seconds);

// In the child: the file opened through SQLite with a busy timeout, and statements that must
// succeed (an error ends the work with a failure).
QSqlDatabase OpenSqlite(const QString& path);
void RunAll(QSqlDatabase& db, const QStringList& statements);

} // namespace testenv
