// Reading a stand-in store back in tests: the rows of a query as texts, and the statements a
// piece of code runs.
#pragma once

#include "platform/ado/ado.h"

#include <QStringList>
#include <functional>

namespace testenv {

// Every row of "Select a, b, ... From ..." in the order the query gives, its fields joined by
// "|"; a Null shows as nullText.
QStringList QueryRows(ado::Connection& cn, const QString& sql, const QString& nullText = {});
// The same on a stand-in file opened for the call.
QStringList QueryRows(const QString& path, const QString& sql, const QString& nullText = {},
    const QString& password = {});

// Every statement that run executes or opens, in order.
QStringList Traced(const std::function<void()>& run);
// Those of statements that start with one of heads, in order.
QStringList StartingWith(const QStringList& statements, const QStringList& heads);

// Every statement executed or opened while it lives.
struct Trace {
    Trace();
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    QStringList startingWith(const QString& head) const {
        return StartingWith(statements, { head });
    }
    QStringList statements;
};

// The same with each run of key allocations (statements on LastID) folded into "<key>" and each
// run of group rebuilds (statements naming one of groupMarks) into "<group>".
struct FoldedTrace {
    explicit FoldedTrace(const QStringList& groupMarks);
    ~FoldedTrace();
    FoldedTrace(const FoldedTrace&) = delete;
    FoldedTrace& operator=(const FoldedTrace&) = delete;
    QStringList lines;
};

} // namespace testenv
