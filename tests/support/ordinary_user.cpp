// Runs part of a test as an ordinary user: see ordinary_user.h.
#include "ordinary_user.h"

#include <QFile>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace testenv {

void OnlyTheStoreUnwritable(
    const QStringList& folders, const QStringList& writable, const QString& store) {
    for (const QString& d : folders)
        QFile::setPermissions(d, QFileDevice::Permissions(0x7777));
    for (const QString& f : writable)
        QFile::setPermissions(f, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(
        store, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

namespace {
void restore() {
    if (seteuid(0) != 0 || setegid(0) != 0) std::abort(); // the rest of the run needs root
}
} // namespace

AsOrdinaryUser::AsOrdinaryUser(const char* name) {
    if (geteuid() != 0) return;
    const passwd* user = getpwnam(name);
    if (!user) return;
    switched_ = setegid(user->pw_gid) == 0 && seteuid(user->pw_uid) == 0;
    if (!switched_) restore();
}

AsOrdinaryUser::~AsOrdinaryUser() {
    if (switched_) restore();
}

bool AsOrdinaryUser::ordinary() const {
    return geteuid() != 0;
}

} // namespace testenv
