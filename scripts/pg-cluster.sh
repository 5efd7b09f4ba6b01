#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: its data in DIR/data, reached only through a socket
# in DIR (no TCP), every local connection trusted, superuser jxc. Durability is switched off: a
# cluster made here holds nothing worth keeping.
#
#   scripts/pg-cluster.sh start DIR [PORT]   make a fresh cluster in DIR and start it; prints
#                                            export PGHOST=… PGPORT=… PGUSER=jxc PGDATABASE=postgres
#   scripts/pg-cluster.sh stop DIR           stop it and remove it
#
#   eval "$(scripts/pg-cluster.sh start /tmp/pg-mine 5440)"
#
# The server refuses to run as root: as root the cluster belongs to the unprivileged system user
# jxcpg (made on first use), and the server runs through runuser.
set -euo pipefail

readonly server_user=jxcpg
readonly superuser=jxc

die() {
    echo "pg-cluster.sh: $*" >&2
    exit 1
}

usage() {
    echo "usage: $0 start DIR [PORT] | stop DIR" >&2
    exit 2
}

# The folder of initdb and pg_ctl: JXC_PG_BINDIR, else Debian's newest
# /usr/lib/postgresql/*/bin, else the PATH.
find_bindir() {
    if [ -n "${JXC_PG_BINDIR:-}" ]; then
        [ -x "$JXC_PG_BINDIR/initdb" ] || die "JXC_PG_BINDIR=$JXC_PG_BINDIR holds no initdb"
        echo "$JXC_PG_BINDIR"
        return
    fi
    local dir found=""
    while read -r dir; do
        [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ] && found="$dir"
    done < <(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V)
    if [ -z "$found" ] && command -v initdb >/dev/null && command -v pg_ctl >/dev/null; then
        found="$(dirname "$(command -v initdb)")"
    fi
    [ -n "$found" ] || die "PostgreSQL's initdb and pg_ctl were not found (looked in \
/usr/lib/postgresql/*/bin and the PATH); install Debian's postgresql: bash scripts/install-deps.sh"
    echo "$found"
}

# Runs a command as the cluster's owner: the unprivileged user when we are root, else ourselves.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "$server_user" -- "$@"
    else
        "$@"
    fi
}

ensure_server_user() {
    [ "$(id -u)" -eq 0 ] || return 0
    command -v runuser >/dev/null || die "runuser is missing (Debian util-linux)"
    if ! id "$server_user" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$server_user" ||
            id "$server_user" >/dev/null 2>&1 || die "cannot make the system user $server_user"
    fi
}

# Stops a server still running on DIR/data (a cluster left by an earlier run).
stop_running() {
    local bindir="$1" data="$2"
    [ -f "$data/postmaster.pid" ] || return 0
    as_owner "$bindir/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
}

# Removes DIR/data, only ever a cluster's.
remove_cluster() {
    local data="$1"
    [ -e "$data" ] || return 0
    [ -f "$data/PG_VERSION" ] || die "$data is not a PostgreSQL cluster; it is left as it is"
    rm -rf "$data"
}

start() {
    local dir="$1" port="${2:-5432}"
    [[ "$port" =~ ^[0-9]+$ ]] || die "PORT must be a number: $port"
    local bindir
    bindir="$(find_bindir)"
    # The folder becomes the server user's: never one reached through a link or someone else's.
    [ ! -L "$dir" ] || die "$dir is a symbolic link; give the folder itself"
    mkdir -p "$dir"
    local owner
    owner="$(stat -c %U "$dir")"
    [ "$owner" = "$(id -un)" ] || [ "$owner" = "$server_user" ] ||
        die "$dir belongs to $owner; give a new folder or one of yours"
    dir="$(cd "$dir" && pwd)"
    local data="$dir/data" log="$dir/log"
    # The socket's path must fit the 107 bytes of a socket address.
    local socket="$dir/.s.PGSQL.$port"
    [ ${#socket} -le 100 ] || die "the folder's path is too long for the server's socket: $socket"

    ensure_server_user
    stop_running "$bindir" "$data"
    remove_cluster "$data"
    rm -f "$log"
    if [ "$(id -u)" -eq 0 ]; then
        chown "$server_user" "$dir"
        chmod 0755 "$dir"
        runuser -u "$server_user" -- test -w "$dir" ||
            die "$server_user cannot reach $dir: let others pass through the folders above it"
    fi

    as_owner "$bindir/initdb" -D "$data" -A trust -U "$superuser" -E UTF8 --locale=C.UTF-8 \
        --no-sync >"$dir/initdb.log" 2>&1 || {
        cat "$dir/initdb.log" >&2
        die "initdb failed in $data"
    }
    cat >>"$data/postgresql.conf" <<EOF

# A private cluster for the tests.
listen_addresses = ''
port = $port
unix_socket_directories = '$dir'
max_connections = 40
shared_buffers = 16MB
fsync = off
synchronous_commit = off
full_page_writes = off
max_wal_size = 256MB
EOF
    as_owner "$bindir/pg_ctl" -D "$data" -l "$log" -w -t 60 start >/dev/null || {
        [ -f "$log" ] && tail -n 20 "$log" >&2
        die "the server did not start in $data (its log: $log)"
    }
    echo "export PGHOST=$dir PGPORT=$port PGUSER=$superuser PGDATABASE=postgres"
}

stop() {
    local dir="$1"
    [ -d "$dir" ] || return 0
    dir="$(cd "$dir" && pwd)"
    local data="$dir/data"
    local bindir
    if [ -f "$data/postmaster.pid" ]; then
        bindir="$(find_bindir)"
        if as_owner "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; then
            as_owner "$bindir/pg_ctl" -D "$data" -m fast -w -t 60 stop >/dev/null ||
                die "the server in $data did not stop"
        fi
    fi
    remove_cluster "$data"
    rm -f "$dir/log" "$dir/initdb.log"
    rmdir "$dir" 2>/dev/null || true
}

[ $# -ge 2 ] || usage
case "$1" in
start)
    [ $# -le 3 ] || usage
    start "$2" "${3:-}"
    ;;
stop)
    [ $# -eq 2 ] || usage
    stop "$2"
    ;;
*) usage ;;
esac
