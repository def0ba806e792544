#!/usr/bin/env bash
# A private CUPS server with one PDF print queue, for the printing tests. It
# has its own configuration, spool, programs and log folders and listens only
# on a socket of its own: nothing outside its temporary folder is written, and
# it runs as any user (as root its programs run as the user lp).
#
#   scripts/cups-test-server.sh run DIR COMMAND...
#       starts the server, runs COMMAND with CUPS_SERVER, HOME and PRINTER
#       pointing at it, stops the server whatever happened and exits with
#       COMMAND's status. The server's logs are copied into DIR/log at the end.
#
# The queue ZB_PDF takes the PDF a job sends as it is (its printer description
# needs no filter) and hands it to a backend of the server's own, which files
# every job as job-N.pdf in $ZB_CUPS_OUT. The server's whole tree lives in a
# fresh folder under /tmp, removed again at the end: as root the backend runs
# as lp, which cannot reach a checkout in a private home folder (mode 0700).
#
# Needs the package cups (the server and lpadmin); no network.
set -uo pipefail

usage() { echo "usage: $0 run DIR COMMAND..." >&2; exit 2; }
[ "${1:-}" = run ] && [ $# -ge 3 ] || usage
keep=$2
shift 2

for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/bin/lpstat /usr/lib/cups/daemon/cups-exec; do
  if [ ! -x "$tool" ]; then
    echo "cups-test-server: $tool fehlt (Paket cups)" >&2
    exit 1
  fi
done

mkdir -p "$keep"
keep=$(cd "$keep" && pwd)
dir=$(mktemp -d /tmp/zb-cups.XXXXXX) || { echo "cups-test-server: kein temporärer Ordner unter /tmp" >&2; exit 1; }
mkdir -p "$dir"/{conf/ppd,spool/tmp,cache,state,log,out,home,bin/backend}
chmod 755 "$dir" "$dir"/{conf,conf/ppd,log,home,bin,bin/backend}
chmod 1777 "$dir/out"
socket="$dir/cups.sock"
pid=""

stop() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -rf "$keep/log"
  cp -r "$dir/log" "$keep/log" 2>/dev/null
  rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM

# The server's programs: the system's helpers and filters, and our own backend.
for sub in daemon filter cgi-bin notifier monitor driver; do
  [ -e "/usr/lib/cups/$sub" ] && ln -s "/usr/lib/cups/$sub" "$dir/bin/$sub"
done
cat > "$dir/bin/backend/zbdatei" <<'BACKEND'
#!/bin/sh
# Files each job's PDF as job-N.pdf in the folder its device names
# (zbdatei:/FOLDER), renamed into place only when it is complete.
# Arguments: job-id user title copies options [file].
if [ $# -eq 0 ]; then
  echo 'file zbdatei "Zierbogen Testausgabe" "Zierbogen Testausgabe"'
  exit 0
fi
out=${DEVICE_URI#zbdatei:}
part="$out/.job-$1.part"
if [ $# -ge 6 ]; then cp "$6" "$part" || exit 1; else cat > "$part" || exit 1; fi
mv "$part" "$out/job-$1.pdf"
BACKEND
chmod 755 "$dir/bin/backend/zbdatei"

# A PDF printer whose description passes the job's PDF through unfiltered:
# A4 and a few other sizes, no hardware margins, 150 to 1200 dpi.
ppd_sizes='A4 595 842
A5 420 595
A3 842 1191
Letter 612 792
Legal 612 1008'
{
  cat <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "ZBTEST.PPD"
*Manufacturer: "Zierbogen"
*Product: "(Zierbogen Testdrucker)"
*ModelName: "Zierbogen Testdrucker"
*ShortNickName: "Zierbogen Testdrucker"
*NickName: "Zierbogen Testdrucker (PDF)"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.zb-pdf 0 -"
*HWMargins: 0 0 0 0
*OpenUI *PageSize/Page Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
PPD
  while read -r n w h; do echo "*PageSize $n/$n: \"<</PageSize[$w $h]/ImageableArea null>>setpagedevice\""; done <<< "$ppd_sizes"
  printf '%s\n' '*CloseUI: *PageSize' '*OpenUI *PageRegion: PickOne' '*OrderDependency: 10 AnySetup *PageRegion' \
    '*DefaultPageRegion: A4'
  while read -r n w h; do echo "*PageRegion $n/$n: \"<</PageSize[$w $h]/ImageableArea null>>setpagedevice\""; done <<< "$ppd_sizes"
  printf '%s\n' '*CloseUI: *PageRegion' '*DefaultImageableArea: A4'
  while read -r n w h; do echo "*ImageableArea $n/$n: \"0 0 $w $h\""; done <<< "$ppd_sizes"
  echo '*DefaultPaperDimension: A4'
  while read -r n w h; do echo "*PaperDimension $n/$n: \"$w $h\""; done <<< "$ppd_sizes"
  cat <<'PPD'
*OpenUI *Resolution/Output Resolution: PickOne
*OrderDependency: 100 AnySetup *Resolution
*DefaultResolution: 300dpi
*Resolution 150dpi/150 DPI: "<</HWResolution[150 150]>>setpagedevice"
*Resolution 300dpi/300 DPI: "<</HWResolution[300 300]>>setpagedevice"
*Resolution 600dpi/600 DPI: "<</HWResolution[600 600]>>setpagedevice"
*Resolution 1200dpi/1200 DPI: "<</HWResolution[1200 1200]>>setpagedevice"
*CloseUI: *Resolution
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
PPD
} > "$dir/zb-pdf.ppd"

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
if [ "$(id -u)" -eq 0 ]; then
  user_lines="User lp
Group lp
SystemGroup root lpadmin"
else
  # An ordinary user's server runs every program as that user.
  user_lines="User $(id -un)
Group $(id -gn)
SystemGroup $(id -gn)"
fi
cat > "$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
ServerBin $dir/bin
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
$user_lines
Sandboxing Relaxed
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
if ! /usr/sbin/lpadmin -p ZB_PDF -E -v "zbdatei:$dir/out" -P "$dir/zb-pdf.ppd" -o printer-is-shared=false 2>"$dir/log/lpadmin.out" ||
   ! /usr/sbin/lpadmin -d ZB_PDF; then
  echo "cups-test-server: die PDF-Warteschlange lässt sich nicht einrichten:" >&2
  cat "$dir/log/lpadmin.out" "$dir/log/error_log" >&2 2>/dev/null
  exit 1
fi

# As root the backend writes as lp: say so at once when it cannot reach the output.
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
