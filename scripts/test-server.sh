#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests of the contact database on a server:
#   test-server.sh start STATE   initdb into a new temporary folder, start the server on a Unix socket
#                                in that folder (no TCP port), and write the folder to STATE and the
#                                server's location to STATE.location
#   test-server.sh stop STATE    stop that server and remove its folder
# initdb refuses to run as root, so as root the server runs as the unprivileged postgres user that
# Debian's postgresql package makes. A server that cannot start fails (exit 1) with its log.
set -euo pipefail
action=${1:?start or stop}
state=${2:?the state file}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "test-server.sh: no PostgreSQL server programs in /usr/lib/postgresql (install the postgresql package)" >&2
  exit 1
fi
as_owner=()
[ "$(id -u)" -ne 0 ] || as_owner=(runuser -u postgres --)

stop() {
  [ -f "$state" ] || return 0
  local dir
  dir=$(cat "$state")
  if [ -d "$dir/data" ]; then
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  rm -f "$state" "$state.location"
}

case "$action" in
start)
  stop # a server left behind by an interrupted run
  mkdir -p "$(dirname "$state")"
  dir=$(mktemp -d /tmp/valdora-server.XXXXXX)
  echo "$dir" >"$state"
  chmod 755 "$dir"
  [ "$(id -u)" -ne 0 ] || chown postgres: "$dir"
  if ! "${as_owner[@]}" "$bindir/initdb" -D "$dir/data" --username=postgres --auth=trust -E UTF8 \
      --no-locale --no-sync >"$dir/initdb.log" 2>&1; then
    cat "$dir/initdb.log" >&2
    stop
    exit 1
  fi
  # Speed over durability: the data is thrown away afterwards.
  if ! "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-c listen_addresses='' -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      start >/dev/null; then
    cat "$dir/server.log" >&2 || true
    stop
    exit 1
  fi
  echo "host=$dir port=5432 user=postgres dbname=postgres" >"$state.location"
  echo "PostgreSQL test server on $dir"
  ;;
stop)
  stop
  ;;
*)
  echo "test-server.sh: start or stop, not $action" >&2
  exit 2
  ;;
esac
