#!/usr/bin/env bash
# The main job on a fresh machine: install, build, make a sample database and a fresh settings
# folder with example buttons of every scheme, start a headless host, run each button over all
# contacts with Valdora.exe --run and show what changed, then stop the host.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/demo"
bin="$build/bin"
contacts="${DEMO_CONTACTS:-200}"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALDORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target Valdora.exe pb ContactHost -j2 2>/dev/null ||
    cmake --build "$build" --target Valdora pb ContactHost -j2

work="$(mktemp -d)"
host_pid=""
cleanup() {
    if [[ -n "$host_pid" ]] && kill -0 "$host_pid" 2>/dev/null; then
        kill "$host_pid" 2>/dev/null || true
        wait "$host_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

export VALDORA_USER_SETTINGS="$work/user"
export VALDORA_PROGRAM_FOLDER="$bin"
export VALDORA_HOST_SERVER="valdora-demo-$$"
export QT_QPA_PLATFORM=offscreen
settings="$work/Settings"
mkdir -p "$settings" "$VALDORA_USER_SETTINGS"
printf '[Settings]\r\nIniLocation=%s\r\n' "$settings/valdora.ini" >"$VALDORA_USER_SETTINGS/Valdora.ini"
printf ' \r\n' >"$settings/valdora.ini"

db="$work/Demo.dbf"
"$bin/ContactHost.exe" create --sample "$contacts" "$db"

# Button files as the editor lays them out: one section "Settings", CRLF lines, Windows-1252.
button() {
    local name="$1"
    shift
    { printf '[Settings]\r\n'; for pair in "$@"; do printf '%s\r\n' "$pair"; done; } >"$settings/$name"
}
button "~100.ini" "Name=Stamp today" "Type=4" "Target=User 1" "NowFormatDate0=1" "NowFormatDate1=0" \
    "NowFormatDate2=0" "Over0=0" "Over1=0" "Over2=0" "Over3=1" "DB=$db"
button "~101.ini" "Name=Number" "Type=0" "Target=Invoice Number" "AutoTextPos=0" "AutoTextValue=INV-" \
    "AutoNumberPos=1" "Over0=1" "Over1=0" "Over2=0" "Over3=0" "DB=$db"
button "~102.ini" "Name=Double amount" "Type=3" "Target=Count" "CalcFieldOption0=1" "CalcField0=Amount" \
    "CalcOperator=0" "CalcTextOption1=1" "CalcText1=2" "Over0=0" "Over1=0" "Over2=1" "Over3=0" "DB=$db"
button "~103.ini" "Name=Add" "Type=2" "Target=Price" "CalcFieldOption0=1" "CalcField0=Amount" "CalcOperator0=0" \
    "CalcTextOption1=1" "CalcText1=10" "Over0=0" "Over1=0" "Over2=1" "Over3=0" "DB=$db"
button "~104.ini" "Name=Country" "Type=1" "Target=User 2" "Cond0=1" "Field0=City" "Operator0=0" "Value0=Berlin" \
    "Condition0=Germany" "Over0=0" "Over1=0" "Over2=0" "Over3=1" "DB=$db"
button "~105.ini" "Name=Age" "Type=6" "Target=User 3" "DateField=Birth Date" "AgeFormat0=1" "Over0=0" \
    "Over1=0" "Over2=0" "Over3=1" "DB=$db"
button "~106.ini" "Name=Combo" "Type=5" "Button0=1" "ButtonName0=~100.ini" "Button1=1" "ButtonName1=~105.ini" \
    "Over0=0" "Over1=0" "Over2=0" "Over3=1" "DB=$db"

"$bin/ContactHost.exe" --headless "$db" &
host_pid=$!
for _ in $(seq 50); do
    "$bin/ContactHost.exe" get "$db" 1 >/dev/null 2>&1 && break
    sleep 0.2
done

show() { "$bin/ContactHost.exe" export "$db" 2>/dev/null | head -n 4 || true; }
for b in "~100" "~101" "~102" "~103" "~104" "~105" "~106"; do
    echo "== $b before"
    show
    "$bin/Valdora.exe" --run "$b" --scope all || echo "(run of $b reported failures)"
    echo "== $b after"
    show
done
