#!/usr/bin/env bash
# Two workstations on one contact database on a PostgreSQL server, on one machine: installs what is
# missing, builds, starts a throwaway PostgreSQL server in a temporary folder (scripts/test-server.sh),
# makes a contact database of sample contacts on it, and starts two headless hosts on it, each as a
# workstation of its own (its own host name and user settings; one shared settings folder with the
# buttons and the AutoNumber counter). Then it runs buttons from both workstations at once, twice,
# and shows that every contact got a number of its own and a date stamp. Stops the server and removes
# everything at the end.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${DEMO_BUILD:-$root/build/demo}"
bin="$build/bin"
contacts="${DEMO_CONTACTS:-500}"

# procps for pgrep, which a minimal system lacks; the server's programs, psql and openssl come with
# the postgresql package.
bash "$root/scripts/install-deps.sh" procps
echo "=== building"
# A build folder configured before (DEMO_BUILD=build/dev) is used as it is, not configured anew.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALDORA_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" --target Valdora pb ContactHost.exe -j "$(nproc)" >/dev/null

work="$(mktemp -d)"
chmod 755 "$work"
state="$work/server/state"
host_pids=()
cleanup() {
    for pid in "${host_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    for _ in $(seq 50); do pgrep -x pb.exe >/dev/null || break; sleep 0.1; done
    bash "$root/scripts/test-server.sh" stop "$state" || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "=== starting a throwaway PostgreSQL server"
bash "$root/scripts/test-server.sh" start "$state"
server="$(cat "$state.location")"
psql "$server" -q -c "CREATE DATABASE contacts"
db="${server/dbname=postgres/dbname=contacts}"
echo "=== creating the contact tables and $contacts sample contacts in: $db"
"$bin/ContactHost.exe" create "$db" --sample "$contacts"

export QT_QPA_PLATFORM=offscreen
export VALDORA_PROGRAM_FOLDER="$bin"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
run_locale=(env LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8)
# The shared settings folder: the buttons and the counter file that both workstations use.
settings="$work/Shared"
mkdir -p "$settings"
printf ' \r\n' >"$settings/valdora.ini"
button() {
    local name="$1"
    shift
    { printf '[Settings]\r\n'; for pair in "$@"; do printf '%s\r\n' "$pair"; done; } >"$settings/$name"
}
always="Over0=0 Over1=0 Over2=0 Over3=1"
# shellcheck disable=SC2086
{
button "~100.ini" "Name=Stamp" "Type=4" "Target=User 1" "NowOperator=0" "NowDays=0" \
    "NowFormatDate0=1" "NowFormatDate1=0" "NowFormatDate2=0" $always
button "~101.ini" "Name=Ticket A" "Type=0" "Target=User 2" "$(printf 'Format=\xfa')" \
    "AutoIniFile=$settings/Ticket.num" $always
button "~102.ini" "Name=Ticket B" "Type=0" "Target=User 3" "$(printf 'Format=\xfa')" \
    "AutoIniFile=$settings/Ticket.num" $always
}
printf '0001\r\n' >"$settings/Ticket.num"

# A workstation: its own host (the name its programs reach it by) and its own user settings.
workstation() {
    local name="$1"
    mkdir -p "$work/$name"
    printf '[Settings]\r\nIniLocation=%s\r\nVersion=313\r\nInstalled=1\r\n[Options]\r\nLanguage=0\r\n' \
        "$settings/valdora.ini" >"$work/$name/Valdora.ini"
}
on() {
    local name="$1"
    shift
    VALDORA_HOST_SERVER="valdora-team-demo-$name-$$" VALDORA_USER_SETTINGS="$work/$name" "$@"
}
for name in first second; do
    workstation "$name"
    echo "=== starting the $name workstation's headless host"
    # Started directly, not through "on": the pid must be the host's own, for the cleanup to end it.
    VALDORA_HOST_SERVER="valdora-team-demo-$name-$$" VALDORA_USER_SETTINGS="$work/$name" \
        "$bin/ContactHost.exe" --headless "$db" >"$work/$name-host.log" 2>&1 &
    host_pids+=($!)
    for _ in $(seq 100); do
        on "$name" "$bin/ContactHost.exe" current >/dev/null 2>&1 && break
        sleep 0.1
    done
done

both() {
    local first="$1" second="$2"
    echo
    echo "=== at once: $first on the first workstation, $second on the second, over all contacts"
    on first "${run_locale[@]}" "$bin/Valdora.exe" --run "$first" --scope all 2>"$work/first.err" &
    local one=$!
    on second "${run_locale[@]}" "$bin/Valdora.exe" --run "$second" --scope all 2>"$work/second.err" &
    local other=$!
    wait "$one" || echo "  (the first workstation's run reported failures: $(head -c 300 "$work/first.err"))"
    wait "$other" || echo "  (the second workstation's run reported failures: $(head -c 300 "$work/second.err"))"
}
both "~101" "~102"
both "~100" "~100"

"$bin/ContactHost.exe" export "$db" "$work/contacts.csv"
echo
echo "=== what the database holds now"
python3 - "$work/contacts.csv" "$contacts" "$settings/Ticket.num" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], encoding="utf-8", newline="")))
count = int(sys.argv[2])
numbers = [int(r["User 2"]) for r in rows if r["User 2"]] + [int(r["User 3"]) for r in rows if r["User 3"]]
stamped = sum(1 for r in rows if r["User 1"])
print(f"  {len(rows)} contacts; {len(numbers)} ticket numbers, {len(set(numbers))} distinct, "
      f"from {min(numbers)} to {max(numbers)}; the counter file says {open(sys.argv[3]).read().strip()}")
print(f"  {stamped} contacts carry today's date stamp")
ok = len(numbers) == 2 * count and len(set(numbers)) == 2 * count and stamped == count
print("  every contact was written by both workstations, no number twice, none lost" if ok
      else "  SOMETHING WENT WRONG")
sys.exit(0 if ok else 1)
PY
