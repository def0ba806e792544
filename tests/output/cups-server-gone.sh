#!/usr/bin/env bash
# A print job whose print server goes away while its sheets are composed:
# the command-line program must say so and fail, never report the sheets as
# given. Runs last under cups-test-server.sh (it stops that server).
# Usage: cups-server-gone.sh ZIERBOGEN DESIGN
set -uo pipefail
zierbogen=$1
design=$2
err=$(mktemp)
spool=$(mktemp -d)
before=$(ls "$ZB_CUPS_OUT"/*.pdf 2>/dev/null | wc -l)
XDG_RUNTIME_DIR=$spool TMPDIR=$spool "$zierbogen" print "$design" --printer ZB_PDF --sheets 3 --seed 7 > "$err.out" 2> "$err" &
job=$!
# The job's spool file appears when its first sheet is under way: the server
# goes then, before anything is handed to it.
for _ in $(seq 300); do
  [ -n "$(find "$spool" -name '*.pdf*' 2>/dev/null)" ] && break
  sleep 0.1
done
kill "$ZB_CUPS_PID"
wait "$job"
rc=$?
fail=0
if [ "$rc" -eq 0 ]; then
  echo "cups-server-gone: Exit-Code 0, obwohl der Server fort ist" >&2
  fail=1
fi
if grep -q "Bogen an" "$err.out"; then
  echo "cups-server-gone: als gedruckt gemeldet: $(cat "$err.out")" >&2
  fail=1
fi
if ! grep -q "ZB_PDF.*Druckdienst ist nicht erreichbar" "$err"; then
  echo "cups-server-gone: die Meldung nennt den Drucker oder den fehlenden Druckdienst nicht: $(cat "$err")" >&2
  fail=1
fi
if [ "$(ls "$ZB_CUPS_OUT"/*.pdf 2>/dev/null | wc -l)" -ne "$before" ]; then
  echo "cups-server-gone: ein PDF entstand trotzdem" >&2
  fail=1
fi
echo "cups-server-gone: Exit-Code $rc, Meldung: $(cat "$err" | tr '\n' ' ')"
rm -rf "$err" "$err.out" "$spool"
exit "$fail"
