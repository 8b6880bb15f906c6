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
