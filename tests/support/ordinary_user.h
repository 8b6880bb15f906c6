// Runs as an ordinary user while it lives: as root, file modes do not bind, so the effective ids
// become those of the user named; any other user is one already.
#pragma once

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace testenv {

class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(const char* name = "nobody") {
        if (geteuid() != 0) return;
        const passwd* user = getpwnam(name);
        if (!user) return;
        switched_ = setegid(user->pw_gid) == 0 && seteuid(user->pw_uid) == 0;
        if (!switched_) restore();
    }
    ~AsOrdinaryUser() {
        if (switched_) restore();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool ordinary() const { return geteuid() != 0; }

private:
    static void restore() {
        if (seteuid(0) != 0 || setegid(0) != 0) std::abort(); // the rest of the run needs root
    }
    bool switched_ = false;
};

} // namespace testenv
