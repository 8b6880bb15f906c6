// The drain loop that every insertion member runs, whatever its schema: reconnect, count, then
// one staged row per store transaction with its progress texts and its dequeue.
#pragma once

#include "app/frmKordane.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace insert {

// What the member makes of the staged row at the head of the queue.
struct QueuedPart {
    QString kind, partNo; // trimmed: they pick the staged rows the dequeue removes
    QString partText; // the progress text of txtPartNO
    std::function<void()> write; // the part's rows, run inside the row's transaction
};

// Reconnects cnStore and drains the brand's queue. `connected` runs once, right after the
// reconnection and before the count. `take` reads the head row from rsList, which it closes; the
// loop then shows progress, and inside one transaction runs `write` and removes the staged row.
// n is shown in the progress text only.
void DrainQueue(frmKordane& f, int16_t n, const std::function<QueuedPart()>& take,
    const std::function<void()>& connected = {});

} // namespace insert
