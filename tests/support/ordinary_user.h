// Runs part of a test as an ordinary user: as root, file modes do not bind.
#pragma once

namespace testenv {

// While it lives, the effective ids become those of the user named; any other user is one
// already.
class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(const char* name = "nobody");
    ~AsOrdinaryUser();
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool ordinary() const;

private:
    bool switched_ = false;
};

} // namespace testenv
