#!/usr/bin/env bash
# Runs a command as user nobody when started as root: permission bits do not stop root, so
# tests of unwritable folders need an ordinary user to mean anything.
# Usage: as-unprivileged-user.sh COMMAND [ARGUMENT...]
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi

# The build folder must be reachable by nobody; say so plainly instead of failing obscurely.
if ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$1"; then
    echo "SKIP: user nobody cannot run $1" >&2
    exit 77
fi

cd /tmp
exec setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
