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

# The store's SQL-server connection string names the driver "SQL Server": FreeTDS gets that name
# with the system's driver manager, unless a driver of that name is registered already.
$SUDO bash scripts/register-driver.sh
