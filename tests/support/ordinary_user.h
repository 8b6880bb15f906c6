// Runs part of a test as an ordinary user: as root, file modes do not bind.
#pragma once

#include <QStringList>

namespace testenv {

// Lets an ordinary user reach the folders and write the files named, not the store.
void OnlyTheStoreUnwritable(
    const QStringList& folders, const QStringList& writable, const QString& store);

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
