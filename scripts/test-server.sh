#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests of the contact database on a server:
#   test-server.sh start STATE   initdb into a new temporary folder, start the server on a Unix socket
#                                in that folder, and write the folder to STATE and the server's
#                                location to STATE.location. The server also listens on a free TCP
#                                port of the loopback interface, where it takes only TLS (a certificate
#                                made here) and passwords (scram-sha-256): the role valdora_login, whose
#                                password is in the libpq password file STATE.pgpass; STATE.tcp holds
#                                that location (without a user).
#   test-server.sh stop STATE    stop that server and remove its folder
#   test-server.sh halt STATE    stop that server at once, as a crash or a power cut would, keeping
#                                its folder; test-server.sh resume STATE starts it again there
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
  rm -f "$state" "$state.location" "$state.tcp" "$state.pgpass"
}

# Starts the server of the folder $dir on a port. Speed over durability: the data is thrown away
# afterwards.
launch() {
  "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -c port=$1 -k $dir -c ssl=on -c ssl_cert_file=$dir/server.crt \
        -c ssl_key_file=$dir/server.key -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
    start >/dev/null
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
  # A certificate of its own for TLS, and only encrypted, password-checked connections over TCP
  # (a connection without TLS finds no line that lets it in); the Unix socket needs neither.
  if ! openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 7 \
      -subj /CN=localhost -keyout "$dir/server.key" -out "$dir/server.crt" >"$dir/openssl.log" 2>&1; then
    cat "$dir/openssl.log" >&2
    stop
    exit 1
  fi
  chmod 600 "$dir/server.key"
  [ "$(id -u)" -ne 0 ] || chown postgres: "$dir/server.key" "$dir/server.crt"
  printf '%s\n' "local all all trust" "hostssl all all 127.0.0.1/32 scram-sha-256" >"$dir/data/pg_hba.conf"
  # Another server may have the port chosen; then another is tried.
  started=
  for _ in 1 2 3 4 5; do
    port=$((20000 + RANDOM % 30000))
    if launch "$port"; then
      started=yes
      break
    fi
  done
  if [ -z "$started" ]; then
    cat "$dir/server.log" >&2 || true
    stop
    exit 1
  fi
  # The password goes to psql on its input and into the password file, never on a command line.
  password=$(openssl rand -hex 16)
  if ! "$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -p "$port" -U postgres -d postgres \
      >"$dir/role.log" 2>&1 <<<"CREATE ROLE valdora_login LOGIN PASSWORD '$password';"; then
    cat "$dir/role.log" >&2
    stop
    exit 1
  fi
  (umask 077 && echo "127.0.0.1:$port:*:valdora_login:$password" >"$state.pgpass")
  echo "host=127.0.0.1 port=$port" >"$state.tcp"
  echo "host=$dir port=$port user=postgres dbname=postgres" >"$state.location"
  echo "PostgreSQL test server on $dir"
  ;;
stop)
  stop
  ;;
halt)
  dir=$(cat "$state")
  "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null
  ;;
resume)
  dir=$(cat "$state")
  port=$(sed -n 's/.*port=\([0-9]*\).*/\1/p' "$state.location")
  if ! launch "$port"; then
    cat "$dir/server.log" >&2 || true
    exit 1
  fi
  ;;
*)
  echo "test-server.sh: start, stop, halt or resume, not $action" >&2
  exit 2
  ;;
esac
