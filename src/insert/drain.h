// The drain loop that every insertion member runs, whatever its schema: reconnect, count, then
// one staged part per store transaction with its progress texts and its dequeue.
#pragma once

#include "app/frmKordane.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace insert {

// What the member makes of the staged row at the head of the queue.
struct QueuedPart {
    QString kind, partNo; // trimmed: they pick the staged rows the dequeue removes
    QString partText; // the progress text of txtPartNO
    std::function<void()> write; // the part's rows, run inside the row's transaction
    // Reads the row at rsList's cursor, another staged row that the part's dequeue removes (as
    // the store compares: its letter case may differ), so that write also links the replacement
    // numbers that row names.
    std::function<void()> gather;
};

// Reconnects cnStore and drains the brand's queue. `connected` runs once, right after the
// reconnection and before the count. `take` reads the head row at rsList's cursor; the loop
// then opens rsList on the staged rows the head's dequeue removes and hands each of them but the
// head to its `gather`, closes rsList and shows progress; a head that is not among those rows
// stops the run there, before anything of it is written. Otherwise one transaction runs `write`
// and removes the staged rows.
// n is shown in the progress text only.
void DrainQueue(frmKordane& f, int16_t n, const std::function<QueuedPart()>& take,
    const std::function<void()>& connected = {});

// The replacement keys of each staged row of a part, five a row (0 for an empty slot).
using SlotKeys = std::vector<std::array<int32_t, 5>>;

// Links the part with the replacement parts of each of its staged rows into one group; a part
// with none gets the lone group row `loneRow`.
void GroupReplacements(frmKordane& f, int32_t partKey, SlotKeys& rowKeys, const QString& loneRow);

} // namespace insert
