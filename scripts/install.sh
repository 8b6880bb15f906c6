#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
$SUDO apt-get update
# shellcheck disable=SC2046
$SUDO apt-get install -y --no-install-recommends $(cat .ci/packages)

# The store's SQL-server connection string names the driver "SQL Server": register FreeTDS under
# that name with the driver manager, unless a driver of that name is registered already.
if ! odbcinst -q -d -n "SQL Server" >/dev/null 2>&1; then
    tds="$(dpkg -L tdsodbc | grep '/libtdsodbc\.so$' | head -n 1)"
    ini="$(mktemp)"
    printf '[SQL Server]\nDescription=FreeTDS\nDriver=%s\n' "$tds" >"$ini"
    $SUDO odbcinst -i -d -f "$ini"
    rm -f "$ini"
fi
