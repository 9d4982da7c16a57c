#!/usr/bin/env bash
# Builds Vorlane and starts it under Wine. Without a printer it adds a PDF
# queue as the default printer. Without an X display it starts a virtual one,
# opens the Preferences, presses the entire-screen hot key once, shows where
# the page landed and how long it took, exits Vorlane and stops the display.
set -eu
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorlane_install_dependencies

cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target Vorlane driver >/dev/null
dist="$PWD/build/windows/dist"
driver="$PWD/build/windows/tests/e2e/driver.exe"

export WINEDEBUG=-all
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# A print scheduler, and a PDF queue as the default printer when there is none.
# lpstat -r answers with exit status 0 either way: read what it says.
scheduler_running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }
if ! scheduler_running; then
  $sudo cupsd
  for _ in $(seq 50); do scheduler_running && break; sleep 0.2; done
fi
if [ -z "$(lpstat -p 2>/dev/null)" ]; then
  # A scheduler that has just started may refuse its first requests.
  for _ in $(seq 50); do
    $sudo lpadmin -p VorlanePDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null && break
    sleep 0.2
  done
  $sudo lpadmin -d VorlanePDF
  echo "Added the PDF printer VorlanePDF as the default printer."
fi
out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -n 1)
out=${out:-/var/spool/cups-pdf/\$\{USER\}}
out=${out//\$\{HOME\}/$HOME}
out=${out//\$\{USER\}/$(id -un)}
echo "Pages printed to a PDF queue land in: $out"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Vorlane on $DISPLAY. Ctrl+Shift+Print Screen prints the screen; Exit is in the tray menu."
  exec wine "$dist/Vorlane.exe"
fi

# No display: a virtual one, where nobody can press a key, so press it here.
# Waits are loops with a deadline: the first start creates the Wine prefix,
# which takes long on a busy machine.

# wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds, false once
# SECONDS have passed without.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}
fail() {
  echo "$*" >&2
  exit 1
}

# Nobody can answer a dialog on the virtual display: a new prefix must not ask
# to install Wine's .NET or browser parts, nor add menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

# Whether the prefix's Wine server runs: it works in a folder of its own
# named after the prefix folder's device and inode, server-DEV-INODE (the
# folder above it differs between Wine builds).
prefix="${WINEPREFIX:-$HOME/.wine}"
wine_running() {
  [ -d "$prefix" ] || return 1
  local name process
  name=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
  for process in /proc/[0-9]*; do
    case "$(readlink "$process/cwd" 2>/dev/null)" in
      */"$name") return 0 ;;
    esac
  done
  return 1
}
# Wine's own processes are ended at the end only when this script started them.
wine_ours=1
if wine_running; then
  wine_ours=0
  echo "Wine already runs in $prefix: Vorlane joins it and leaves it running."
fi

xvfb_pid=""
vorlane_pid=""
scratch=$(mktemp -d)
stop() {
  if [ -n "$vorlane_pid" ] && kill -0 "$vorlane_pid" 2>/dev/null; then
    kill "$vorlane_pid" 2>/dev/null || true
  fi
  if [ "$wine_ours" -eq 1 ] && wine_running; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Xvfb picks a free display number itself and writes it once it accepts clients.
: >"$scratch/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
display_ready() {
  kill -0 "$xvfb_pid" 2>/dev/null || fail "The virtual display (Xvfb) did not start."
  grep -q '^[0-9]\+$' "$scratch/display"
}
wait_for 30 display_ready || fail "The virtual display (Xvfb) did not start within 30 seconds."
export DISPLAY=":$(head -n 1 "$scratch/display")"
echo "No X display: started a virtual one ($DISPLAY)."

vorlane_alive() { kill -0 "$vorlane_pid" 2>/dev/null; }
vorlane_ended() { ! vorlane_alive; }
# True when a window of Vorlane's main class exists (and is visible, with "visible").
main_window() {
  vorlane_alive || fail "Vorlane ended on its own."
  wine "$driver" find TfmOptions 2>/dev/null |
    awk -F'\t' -v visible="${1:-}" 'visible == "" || $4 == 1 { found = 1 } END { exit !found }'
}
pages() { find "$out" -name '*.pdf' 2>/dev/null | sort; }
# The first page that was not there before, once the PDF writer has finished it.
new_page() {
  page=$(comm -13 "$scratch/before" <(pages) | head -n 1)
  [ -n "$page" ] && tail -c 1024 "$page" | grep -qa '%%EOF'
}

wine "$dist/Vorlane.exe" &
vorlane_pid=$!
wait_for 180 main_window || fail "Vorlane's window did not appear within three minutes."

# Something to see on the page: the Preferences window.
wine "$driver" command class:TfmOptions 103 || fail "Could not ask Vorlane for its Preferences."
wait_for 60 main_window visible || fail "The Preferences window did not open within a minute."
echo "Vorlane is running with its Preferences open. Pressing Ctrl+Shift+Print Screen..."

pages >"$scratch/before"
wine "$driver" keys 0x11 0x10 0x2C || fail "Could not press the keys."
pressed=$EPOCHREALTIME  # the driver presses the keys just before it ends
wait_for 120 new_page || fail "No page came out within two minutes."
took=$(awk -v from="$pressed" -v to="$EPOCHREALTIME" 'BEGIN { printf "%.1f", to - from }')
echo "The page came out after $took s: $page"

# Exit through the tray menu's command, and wait until the program has ended.
wine "$driver" command class:TfmOptions 109 || fail "Could not ask Vorlane to exit."
wait_for 60 vorlane_ended || fail "Vorlane did not end within a minute of Exit."
wait "$vorlane_pid" || true
vorlane_pid=""
echo "Vorlane has ended; stopping the virtual display."
