#!/usr/bin/env bash
# Registers FreeTDS with the driver manager under the name the store's SQL-server connection
# string uses, "SQL Server", unless a driver of that name is registered already. It writes the
# driver list that odbcinst finds (ODBCSYSINI names another folder's), so run it as a user who
# may write that list.
set -euo pipefail
if odbcinst -q -d -n "SQL Server" >/dev/null 2>&1; then exit 0; fi
tds="$(dpkg -L tdsodbc | grep '/libtdsodbc\.so$' | head -n 1 || true)"
if [ -z "$tds" ]; then
    echo "register-driver.sh: the package tdsodbc holds no libtdsodbc.so" >&2
    exit 1
fi
ini="$(mktemp)"
trap 'rm -f "$ini"' EXIT
printf '[SQL Server]\nDescription=FreeTDS\nDriver=%s\n' "$tds" >"$ini"
odbcinst -i -d -f "$ini"
