#!/usr/bin/env bash
# Builds the program and starts it over a demo shop kept beside the program file (made on the
# first run): the program's folder is where the desktop launcher starts it and where backup and
# restore look for data.mdb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
demo="$build/app"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target quenvar-jxc jxc-mkdb -j2

if [ ! -f "$demo/data.mdb" ]; then
    "$build/tools/jxc-mkdb" --demo "$demo/data.mdb"
    echo "Made the demo database $demo/data.mdb"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No graphical display found (DISPLAY/WAYLAND_DISPLAY unset); try: xvfb-run bash $0" >&2
fi

# The program looks for data.mdb in its current directory.
cd "$demo"
exec "$build/app/quenvar-jxc"
