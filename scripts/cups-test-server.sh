#!/usr/bin/env bash
# A private CUPS server with one PDF print queue, for the printing tests. It
# has its own configuration, spool and log folders and listens only on a
# socket of its own, so the machine's print system is not touched (apart from
# one instance file of the PDF backend, which is removed again).
#
#   scripts/cups-test-server.sh run DIR COMMAND...
#       starts the server, runs COMMAND with CUPS_SERVER, HOME and PRINTER
#       pointing at it, stops the server whatever happened and exits with
#       COMMAND's status. The server's logs are copied into DIR/log at the end.
#
# The server's whole tree (configuration, spool, logs, printed PDFs) lives in a
# fresh folder under /tmp, removed again at the end: the PDF backend and the
# filters run as the user lp, which cannot reach a checkout in a private home
# folder (mode 0700). Printed PDFs land in $ZB_CUPS_OUT while COMMAND runs.
#
# Needs cups, printer-driver-cups-pdf; works as root without a network.
set -uo pipefail

usage() { echo "usage: $0 run DIR COMMAND..." >&2; exit 2; }
[ "${1:-}" = run ] && [ $# -ge 3 ] || usage
keep=$2
shift 2

for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/lib/cups/backend/cups-pdf; do
  if [ ! -x "$tool" ]; then
    echo "cups-test-server: $tool fehlt (Pakete cups und printer-driver-cups-pdf)" >&2
    exit 1
  fi
done
ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/cups/model/CUPS-PDF_opt.ppd 2>/dev/null | head -n 1)
[ -n "$ppd" ] || { echo "cups-test-server: PPD of the PDF printer not found" >&2; exit 1; }

mkdir -p "$keep"
keep=$(cd "$keep" && pwd)
dir=$(mktemp -d /tmp/zb-cups.XXXXXX) || { echo "cups-test-server: kein temporärer Ordner unter /tmp" >&2; exit 1; }
mkdir -p "$dir"/{conf/ppd,spool/tmp,cache,state,log,out,home}
chmod 755 "$dir" "$dir"/{conf,conf/ppd,log,home}
chmod 1777 "$dir/out"
instance="zbtest$$"
backend_conf="/etc/cups/cups-pdf-$instance.conf"
socket="$dir/cups.sock"
pid=""

stop() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$backend_conf"
  rm -rf "$keep/log"
  cp -r "$dir/log" "$keep/log" 2>/dev/null
  rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM

cat > "$dir/conf/cupsd.conf" <<CONF
LogLevel info
Listen $socket
Browsing Off
DefaultAuthType None
WebInterface No
MaxJobs 0
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root lpadmin
Sandboxing Relaxed
CONF
cat > "$backend_conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Label 1
Grp root
DecodeHexStrings 1
CONF

/usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
pid=$!
export CUPS_SERVER="$socket"
for _ in $(seq 100); do
  [ -S "$socket" ] && /usr/bin/lpstat -r >/dev/null 2>&1 && break
  sleep 0.1
done
if ! /usr/bin/lpstat -r >/dev/null 2>&1; then
  echo "cups-test-server: der CUPS-Server startet nicht:" >&2
  cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null
  exit 1
fi
if ! /usr/sbin/lpadmin -p ZB_PDF -E -v "cups-pdf:/$instance" -P "$ppd" -o printer-is-shared=false ||
   ! /usr/sbin/lpadmin -d ZB_PDF; then
  echo "cups-test-server: die PDF-Warteschlange lässt sich nicht einrichten" >&2
  exit 1
fi

# The backend writes as lp: say so at once when it cannot reach the output.
if command -v runuser >/dev/null && [ "$(id -u)" -eq 0 ] &&
   ! runuser -u lp -- test -w "$dir/out"; then
  echo "cups-test-server: der Benutzer lp kann nicht in $dir/out schreiben" >&2
  exit 1
fi

# The test processes see this server, its default printer and no user settings.
export HOME="$dir/home"
export PRINTER=ZB_PDF
unset LPDEST
export ZB_CUPS_OUT="$dir/out"
export ZB_CUPS_LOG="$dir/log/error_log"
export ZB_CUPS_PID=$pid # for a test of a server that goes away
"$@"
