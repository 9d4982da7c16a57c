#!/usr/bin/env bash
# Builds Vorlane and starts it under Wine. Without a printer it adds a PDF
# queue as the default printer; without an X display it starts a virtual one,
# presses the entire-screen hot key once and shows where the page landed.
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
n=99
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
trap 'wineserver -k 2>/dev/null; kill "$xvfb_pid" 2>/dev/null' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
echo "No X display: started a virtual one ($DISPLAY)."

count_pages() { find "$out" -name '*.pdf' 2>/dev/null | wc -l; }
before=$(count_pages)
wine "$dist/Vorlane.exe" &
for _ in $(seq 120); do
  wine "$driver" find TfmOptions 2>/dev/null | grep -q . && break
  sleep 0.5
done
echo "Vorlane is running. Pressing Ctrl+Shift+Print Screen..."
wine "$driver" keys 0x11 0x10 0x2C
for _ in $(seq 240); do
  [ "$(count_pages)" -gt "$before" ] && break
  sleep 0.5
done
if [ "$(count_pages)" -gt "$before" ]; then
  sleep 1  # let the PDF writer finish the file
  echo "The page came out: $(ls -t "$out"/*.pdf | head -n 1)"
else
  echo "No page came out within two minutes."
fi
wine "$driver" command class:TfmOptions 109
wait
