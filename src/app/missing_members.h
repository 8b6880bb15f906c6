// Members of store versions not built yet. Each ends the run with an error naming it; a run
// against such a store never passes silently.
#pragma once

#include "members.h"

#define KORDANE_MISSING_UPDATE(ns, fn)                                                             \
    int16_t ns::fn(frmKordane&, PartValues&) {                                                     \
        MissingMember(#fn);                                                                        \
    }
#define KORDANE_MISSING_INSERT(ns, fn)                                                             \
    void ns::fn(frmKordane&, int16_t&) {                                                           \
        MissingMember(#fn);                                                                        \
    }
