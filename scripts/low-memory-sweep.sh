#!/usr/bin/env bash
# Exports a design with text layers of random fonts under address-space
# limits from 100 MB up (ulimit -v): every run must end by itself, either
# with the picture or with a message. Prints the counts of runs, signals and
# hangs, and fails when there is any signal or hang.
# Usage: low-memory-sweep.sh ZIERBOGEN DESIGN.zbg WORK_DIR [LIMITS_KB...]
set -uo pipefail
program=$1
design=$2
work=$3
shift 3
limits=("$@")
if [ ${#limits[@]} -eq 0 ]; then
    limits=(100000 125000 150000 166000 175000 200000 250000 300000 400000 600000)
fi
mkdir -p "$work"
export QT_QPA_PLATFORM=offscreen
runs=0 signals=0 hangs=0
for limit in "${limits[@]}"; do
    runs=$((runs + 1))
    (
        ulimit -v "$limit"
        exec timeout 120 "$program" export "$design" -o "$work/sweep-$limit.bmp" --dpi 300 --seed 3
    ) >"$work/sweep-$limit.log" 2>&1
    status=$?
    if [ "$status" -eq 124 ]; then
        hangs=$((hangs + 1))
        echo "ulimit -v $limit: hängt (nach 120 s abgebrochen)"
    elif [ "$status" -gt 128 ]; then
        signals=$((signals + 1))
        echo "ulimit -v $limit: Signal $((status - 128))"
    else
        echo "ulimit -v $limit: Ende $status: $(tail -n 1 "$work/sweep-$limit.log")"
    fi
    rm -f "$work/sweep-$limit.bmp"
done
echo "Läufe: $runs, Signale: $signals, Hänger: $hangs"
[ "$signals" -eq 0 ] && [ "$hangs" -eq 0 ]
