#!/usr/bin/env bash
# zr78 on a virtual amplifier that stops answering, its writes blocked:
# SIGTERM ends the program within its bound (2.2 s; the check allows a busy
# machine some slack) and the amplifier's memory is kept.
#   close_within_bound.sh ZR78 STATE-FILE
set -u
zr78=$1 state=$2
rm -f "$state"
"$zr78" --simulate="$state" --sim-faults stall --instance "zr78-close-test-$$" &
pid=$!
sleep 2
start=$(date +%s%N)
kill -TERM "$pid"
wait "$pid"
status=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "exit $status after $elapsed ms"
[[ $status -eq 0 ]] || { echo "zr78 did not end cleanly"; exit 1; }
(( elapsed <= 3000 )) || { echo "zr78 took $elapsed ms to close"; exit 1; }
[[ -s "$state" ]] || { echo "the virtual amplifier's memory was not saved"; exit 1; }
