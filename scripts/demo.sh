#!/usr/bin/env bash
# The main job on a fresh machine: install what is missing, build, make a sample database and a fresh
# settings folder with example buttons of every scheme. With a display, it then starts the contact
# host with its window and the Valdora bar beside it, and waits until you close the host. Without one
# (a server, CI), it starts a headless host, runs each button over all contacts with
# Valdora.exe --run and shows what changed, then takes screenshots of the host window and the bar
# under Xvfb into build/screenshots/demo (DEMO_SCREENSHOTS names another folder). Leaves nothing
# running.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${DEMO_BUILD:-$root/build/demo}"
bin="$build/bin"
contacts="${DEMO_CONTACTS:-500}"

shots="${DEMO_SCREENSHOTS:-$root/build/screenshots/demo}"
interactive=""
[[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -z "${CI:-}" ]] && interactive=1

if [[ -n "$interactive" ]]; then
    bash "$root/scripts/install-deps.sh"
else
    bash "$root/scripts/install-deps.sh" xvfb xauth xdotool imagemagick openbox trayer x11-utils
fi
echo "=== building"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVALDORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target Valdora ValdoraAuto pb ContactHost.exe -j "$(nproc)" >/dev/null

work="$(mktemp -d)"
host_pid=""
cleanup() {
    if [[ -n "$host_pid" ]] && kill -0 "$host_pid" 2>/dev/null; then
        "$bin/ContactHost.exe" quit >/dev/null 2>&1 || true
        sleep 0.5
        kill "$host_pid" 2>/dev/null || true
        wait "$host_pid" 2>/dev/null || true
    fi
    # Each run's progress window closes itself once it has seen the run end; give it the moment.
    for _ in $(seq 50); do pgrep -x pb.exe >/dev/null || break; sleep 0.1; done
    pkill -x pb.exe 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export VALDORA_USER_SETTINGS="$work/user"
export VALDORA_PROGRAM_FOLDER="$bin"
export VALDORA_HOST_SERVER="valdora-demo-$$"
export XDG_RUNTIME_DIR="$work/runtime"
# The runs read and write numbers and dates as a user in the United States would.
run_locale=(env LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8)
settings="$work/Settings"
mkdir -p "$settings" "$VALDORA_USER_SETTINGS"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
# The bar stands to the right of the host window; English captions; the first run already done.
printf '[Settings]\r\nIniLocation=%s\r\nVersion=313\r\nInstalled=1\r\nTop=600\r\nLeft=14400\r\n[Options]\r\nLanguage=0\r\n' \
    "$settings/valdora.ini" >"$VALDORA_USER_SETTINGS/Valdora.ini"
printf ' \r\n' >"$settings/valdora.ini"

db="$work/Demo.dbf"
echo "=== creating a sample database of $contacts contacts: $db"
"$bin/ContactHost.exe" create "$db" --sample "$contacts"

# Button files as the editor lays them out: one section "Settings", CRLF lines, Windows-1252
# (the AutoNumber format holds the bytes 0xF9 text part, "|" separator, 0xFA number part).
# Each ends with "DB", the database it was saved with, as the editor writes it last: a button saved
# with another database makes the scope dialog warn.
button() {
    local name="$1"
    shift
    { printf '[Settings]\r\n'; for pair in "$@" "DB=$db"; do printf '%s\r\n' "$pair"; done; } >"$settings/$name"
}
always="Over0=0 Over1=0 Over2=0 Over3=1"
fill_empty="Over0=1 Over1=0 Over2=0 Over3=0"
# shellcheck disable=SC2086
{
button "~100.ini" "Name=Stamp" "Type=4" "Target=User 1" "NowOperator=0" "NowDays=0" \
    "NowFormatDate0=1" "NowFormatDate1=0" "NowFormatDate2=0" $always
button "~101.ini" "Name=Invoice no" "Type=0" "Target=Invoice Number" "$(printf 'Format=\xf9|\xfa')" \
    "AutoTextPos=1" "AutoNumberPos=1" "AutoTextValue=INV" "AutoSep=-" "AutoIniFile=$work/AutoNumber_Invoice.num" \
    $fill_empty
button "~102.ini" "Name=With tax" "FontBold=-1" "Type=3" "Target=Price" "CalcTextOption0=0" "CalcFieldOption0=1" \
    "CalcField0=Amount" "CalcOperator=0" "CalcTextOption1=1" "CalcFieldOption1=0" "CalcText1=1.2" $always
button "~103.ini" "Name=Follow-up" "ForeColor=32768" "Type=2" "Target=User 2" "CalcTextOption0=0" "CalcFieldOption0=1" \
    "CalcField0=Birth Date" "CalcOperator0=0" "CalcTextOption1=1" "CalcFieldOption1=0" "CalcText1=14" \
    "CalcOperator1=0" "CalcOperator2=0" $always
button "~104.ini" "Name=Country" "Type=1" "Target=User 3" \
    "Cond0=1" "Field0=City" "Operator0=0" "Condition0=Hamburg" "Value0=Germany" \
    "Cond1=1" "Field1=City" "Operator1=0" "Condition1=Lyon" "Value1=France" \
    "Cond2=1" "Field2=City" "Operator2=0" "Condition2=Graz" "Value2=Austria" $always
button "~105.ini" "Name=Age" "Type=6" "Target=User 4" "DateField=Birth Date" "AgeFormat0=0" "AgeFormat1=1" \
    "AgeFormat2=0" "Invalid=?" "Blank=" $always
button "~106.ini" "Name=Currency" "Type=1" "Target=User 5" \
    "Cond0=1" "Field0=User 3" "Operator0=0" "Condition0=Germany" "Value0=EUR" \
    "Cond1=1" "Field1=User 3" "Operator1=0" "Condition1=France" "Value1=EUR" \
    "Cond2=1" "Field2=User 3" "Operator2=0" "Condition2=Austria" "Value2=EUR" $always
button "~107.ini" "Name=Cntry+Curr" "ForeColor=8388608" "Type=5" "Target=" "Button0=1" "ButtonName0=~104.ini" \
    "Button1=1" "ButtonName1=~106.ini" $always
}
printf '0001\r\n' >"$work/AutoNumber_Invoice.num"

if [[ -n "$interactive" ]]; then
    echo "=== starting the contact host with its window, and the Valdora bar beside it"
    echo "    (a click on a bar button runs it; the small ? edits it; close the host to end)"
    "$bin/ContactHost.exe" "$db" >"$work/host.log" 2>&1 &
    host_pid=$!
    for _ in $(seq 100); do
        "$bin/ContactHost.exe" current >/dev/null 2>&1 && break
        sleep 0.1
    done
    "${run_locale[@]}" "$bin/Valdora.exe" || true
    wait "$host_pid" 2>/dev/null || true
    host_pid=""
    exit 0
fi

export QT_QPA_PLATFORM=offscreen
echo "=== starting a headless host"
"$bin/ContactHost.exe" --headless "$db" >"$work/host.log" 2>&1 &
host_pid=$!
for _ in $(seq 100); do
    "$bin/ContactHost.exe" current >/dev/null 2>&1 && break
    kill -0 "$host_pid" 2>/dev/null || { cat "$work/host.log"; exit 1; }
    sleep 0.1
done

# Three contacts spread over the default sort, so that they differ in what the buttons look at.
mapfile -t sample < <("$bin/ContactHost.exe" contacts "$db" | awk 'NR % 67 == 1' | head -n 3)
show() {
    local field="$1"
    for id in "${sample[@]}"; do
        printf '    %-24s %-14s %s = "%s"\n' "$("$bin/ContactHost.exe" get "$db" "$id" Contact)" \
            "$("$bin/ContactHost.exe" get "$db" "$id" City)" "$field" \
            "$("$bin/ContactHost.exe" get "$db" "$id" "$field")"
    done
}

run() {
    local button="$1" field="$2" caption="$3"
    echo
    echo "=== $button ($caption) into \"$field\" over all contacts"
    echo "  before:"
    show "$field"
    # The progress window runs offscreen here; its platform notices are of no interest.
    "${run_locale[@]}" "$bin/Valdora.exe" --run "$button" --scope all 2> >(grep -v 'propagateSizeHints' >&2) ||
        echo "  (the run of $button reported failures)"
    echo "  after:"
    show "$field"
}
run "~100" "User 1" "Now, date only"
run "~101" "Invoice Number" "AutoNumber INV-0001..., only where empty"
run "~102" "Price" "Multiply/Divide: Amount x 1.2"
run "~103" "User 2" "Add/Subtract: Birth Date + 14 days"
run "~104" "User 3" "Condition on City"
run "~105" "User 4" "Age of Birth Date in years and months"
run "~107" "User 5" "Combo: country, then a currency that reads the country just computed"
echo
echo "=== the counter file now holds: $(tr -d '\r' <"$work/AutoNumber_Invoice.num")"

echo
echo "=== screenshots of the host window and the bar, under Xvfb"
"$bin/ContactHost.exe" quit >/dev/null 2>&1 || true
wait "$host_pid" 2>/dev/null || true
host_pid=""
rm -rf "$shots"
"${run_locale[@]}" xvfb-run -a -s "-screen 0 1280x800x24" bash "$root/scripts/screenshots.sh" "$bin" "$db" "$shots"
