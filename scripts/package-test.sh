#!/usr/bin/env bash
# The suite as a user gets it: builds the Debian package, installs it on this machine, and runs the
# main job from the installed programs as a temporary user who cannot write in the program folder.
# Checks that the settings folder, the counter file, the lookup file and error.log land in that
# user's data folder, that buttons run end to end, and that nothing is written into the program
# folder; then removes the package and checks that nothing of it is left. Needs root (or sudo) for
# apt-get, useradd and the change of user. Leaves nothing running and no user behind.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
programs=/usr/lib/valdora
installed_here=""
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

fail() {
    echo "package-test: FAILED: $*" >&2
    exit 1
}

bash "$root/scripts/install-deps.sh" dpkg-dev file desktop-file-utils

echo "=== building the package"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}" CCACHE_NOHASHDIR=1
(cd "$root" && cmake --workflow --preset package >/dev/null)
deb="$(ls -t "$root"/build/package/valdora_*.deb | head -n 1)"
echo "    $deb"

echo "=== what the package declares"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "    Depends: $depends"
for library in libqt6core6 libqt6widgets6 libqt6network6 libsqlite3 qt6-qpa-plugins libqt6svg6 libpq5; do
    [[ "$depends" == *"$library"* ]] || fail "the package does not depend on $library"
done
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in ./usr/lib/valdora/Valdora.exe ./usr/lib/valdora/ValdoraAuto.exe ./usr/lib/valdora/ContactHost.exe \
    ./usr/lib/valdora/pb.exe ./usr/lib/valdora/Valdora.ico ./usr/lib/valdora/Valdora32.ico ./usr/bin/valdora ./usr/bin/valdora-auto ./usr/bin/contact-host \
    ./usr/bin/valdora-contacts ./usr/share/applications/valdora.desktop \
    ./usr/share/applications/valdora-contacts.desktop ./usr/share/icons/hicolor/scalable/apps/valdora.svg \
    ./usr/share/doc/valdora/README.md ./usr/share/doc/valdora/docs/settings.md; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
if grep -qx './usr/lib/valdora/Keelbrook.exe' <<<"$contents"; then
    for file in ./usr/bin/keelbrook ./usr/share/applications/keelbrook.desktop; do
        grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
    done
fi
if grep -E '_tests$|bench_|/TriggerProbe$' <<<"$contents"; then
    fail "the package holds test programs"
fi

echo "=== installing it"
# A package someone installed on purpose is theirs: the test does not replace it.
if dpkg-query -W -f='${Status}' valdora 2>/dev/null | grep -q 'ok installed'; then
    echo "package-test: skipped: a valdora package is installed on this machine (remove it to run the test)"
    exit 0
fi
installed_here=1
trap 'if [[ -n "$installed_here" ]]; then $sudo_cmd dpkg --purge valdora >/dev/null 2>&1 || true; fi' EXIT
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "$deb" >/dev/null
for entry in /usr/share/applications/valdora.desktop /usr/share/applications/valdora-contacts.desktop \
    /usr/share/applications/keelbrook.desktop; do
    [ -e "$entry" ] || continue
    desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
    program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
    command -v "$program" >/dev/null || fail "$entry starts $program, which is not on the PATH"
done
installed_before="$(find "$programs" | sort)"

user="vpkgtest$$"
work="$(mktemp -d)"
chmod 755 "$work"
home="$work/home"
host_pid=""
cleanup() {
    if [[ -n "$host_pid" ]] && kill -0 "$host_pid" 2>/dev/null; then
        as_user contact-host quit >/dev/null 2>&1 || true
        sleep 0.5
        kill "$host_pid" 2>/dev/null || true
        wait "$host_pid" 2>/dev/null || true
    fi
    if id "$user" >/dev/null 2>&1; then
        # Each run's progress window closes itself once it has seen the run end; give it the moment.
        for _ in $(seq 50); do pgrep -u "$user" -x pb.exe >/dev/null || break; sleep 0.1; done
        $sudo_cmd pkill -u "$user" 2>/dev/null || true
        # userdel refuses a user who still has a process.
        for _ in $(seq 50); do pgrep -u "$user" >/dev/null || break; sleep 0.1; done
        $sudo_cmd pkill -KILL -u "$user" 2>/dev/null || true
        sleep 0.2
        $sudo_cmd userdel "$user" || echo "package-test: could not remove the user $user" >&2
    fi
    rm -rf "$work"
    # A test that stopped half-way does not leave its package behind.
    if [[ -n "$installed_here" ]]; then
        $sudo_cmd dpkg --purge valdora >/dev/null 2>&1 || true
    fi
}
trap cleanup EXIT

echo "=== a user who cannot write in $programs: $user"
$sudo_cmd useradd --no-create-home --home-dir "$home" --shell /bin/sh --user-group "$user"
mkdir -p "$home"
$sudo_cmd chown "$user:" "$home"
as_user() {
    $sudo_cmd runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" USER="$user" LOGNAME="$user" \
        XDG_RUNTIME_DIR="$home/runtime" VALDORA_HOST_SERVER="valdora-package-test-$$" \
        QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$@"
}
as_user sh -c 'mkdir -m 700 -p "$XDG_RUNTIME_DIR"'
as_user sh -c "test -w '$programs'" && fail "the user can write in $programs"

data="$home/.local/share/Valdora"
db="$home/Demo.dbf"
as_user contact-host create "$db" --sample 40 >/dev/null
# English texts and the first start done; no settings location chosen, so the defaults apply.
as_user sh -c 'mkdir -p "$HOME/.config/Valdora" &&
    printf "[Settings]\r\nVersion=313\r\nInstalled=1\r\n[Options]\r\nLanguage=0\r\n" >"$HOME/.config/Valdora/Valdora.ini"'

echo "=== a headless host on $db"
as_user contact-host --headless "$db" >"$work/host.log" 2>&1 &
host_pid=$!
for _ in $(seq 100); do
    as_user contact-host current >/dev/null 2>&1 && break
    kill -0 "$host_pid" 2>/dev/null || { cat "$work/host.log"; fail "the host did not start"; }
    sleep 0.1
done

echo "=== the bar's first start makes the default settings folder"
as_user env VALDORA_EXIT_ON_FIRST_PAINT=1 valdora || fail "the bar did not start"
[ -f "$data/Settings/valdora.ini" ] || fail "no settings file in $data/Settings"

echo "=== buttons saved into that settings folder, run from the installed programs"
button() {
    local name="$1"
    shift
    as_user sh -c 'out="$1"; shift; { printf "[Settings]\r\n"; for pair in "$@"; do printf "%s\r\n" "$pair"; done; } >"$out"' \
        button "$data/Settings/$name" "$@"
}
always=(Over0=0 Over1=0 Over2=0 Over3=1)
# AutoNumber without a counter file named: the default one, beside the settings.
button "~101.ini" "Name=Invoice no" "Type=0" "Target=Invoice Number" "$(printf 'Format=\xf9|\xfa')" \
    "AutoTextPos=1" "AutoNumberPos=1" "AutoTextValue=INV" "AutoSep=-" Over0=1 Over1=0 Over2=0 Over3=0 "DB=$db"
button "~102.ini" "Name=Stamp" "Type=4" "Target=User 2" "NowOperator=0" "NowDays=0" "NowFormatDate0=1" \
    "NowFormatDate1=0" "NowFormatDate2=0" "${always[@]}" "DB=$db"

as_user valdora --run "~101" --scope all || fail "the AutoNumber run failed"
[ -f "$data/AutoNumber_~101.num" ] || fail "no counter file in $data"
first="$(as_user contact-host contacts "$db" | head -n 1)"
invoice="$(as_user contact-host get "$db" "$first" "Invoice Number")"
[[ "$invoice" == INV-* ]] || fail "the AutoNumber run wrote \"$invoice\""
echo "    Invoice Number of $first: $invoice; counter: $(tr -d '\r ' <"$data/AutoNumber_~101.num")"

as_user contact-host lookup City contains a >/dev/null
as_user valdora --run "~102" --scope lookup || fail "the run over the lookup failed"
[ -f "$data/~currentLU.LKU" ] || fail "the lookup file is not in $data"

# A contact whose record another user holds for editing cannot be written: the run logs it.
held="$(as_user contact-host contacts "$db" | tail -n 1)"
as_user contact-host lock "$db" "$held" --seconds 30 >/dev/null 2>&1 &
lock_pid=$!
sleep 1
as_user valdora --run "~102" --scope all >"$work/locked.log" 2>&1 || true
kill "$lock_pid" 2>/dev/null || true
wait "$lock_pid" 2>/dev/null || true
[ -s "$data/error.log" ] || { cat "$work/locked.log"; fail "error.log is not in $data"; }
echo "    error.log: $(head -n 1 "$data/error.log" | tr -d '\r')"

as_user contact-host quit >/dev/null 2>&1 || true
wait "$host_pid" 2>/dev/null || true
host_pid=""

echo "=== the menu's contact host: the user's own sample database, made on first use"
as_user valdora-contacts >"$work/contacts.log" 2>&1 &
host_pid=$!
for _ in $(seq 150); do
    as_user contact-host current >/dev/null 2>&1 && break
    kill -0 "$host_pid" 2>/dev/null || { cat "$work/contacts.log"; fail "valdora-contacts did not start the host"; }
    sleep 0.1
done
[ -f "$data/Contacts.dbf" ] || fail "no sample database in $data"
as_user contact-host quit >/dev/null 2>&1 || true
wait "$host_pid" 2>/dev/null || true
host_pid=""

[ "$(find "$programs" | sort)" = "$installed_before" ] || {
    diff <(echo "$installed_before") <(find "$programs" | sort) || true
    fail "the programs wrote into $programs"
}
echo "    nothing written into $programs; the user's files:"
(cd "$data" && find . -type f | sort | sed 's/^/      /')

echo "=== removing the package"
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get remove -y -qq valdora >/dev/null
installed_here=""
[ ! -e "$programs" ] || { find "$programs"; fail "$programs is left after the removal"; }
for file in /usr/bin/valdora /usr/bin/contact-host /usr/bin/valdora-contacts /usr/share/applications/valdora.desktop \
    /usr/share/icons/hicolor/scalable/apps/valdora.svg /usr/share/doc/valdora; do
    [ ! -e "$file" ] || fail "$file is left after the removal"
done
# Removed, the package keeps only its purge step; purged, dpkg forgets it.
$sudo_cmd dpkg --purge valdora >/dev/null
if dpkg-query -W valdora >/dev/null 2>&1; then
    fail "dpkg still knows the package after the purge"
fi
echo "package-test: passed"
