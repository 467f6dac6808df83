#!/usr/bin/env bash
# Starts or stops the JACK server with the dummy back end that the MIDI port tests talk to.
#   jack-service.sh start <pidfile>   starts it, waits until it answers, writes its process id
#   jack-service.sh stop <pidfile>    stops the server named in the pid file
set -u
action=${1:?start or stop}
pidfile=${2:?pid file}

case "$action" in
  start)
    export JACK_NO_AUDIO_RESERVATION=1
    log="${pidfile%.pid}.log"
    # Real-time scheduling where the machine grants it: then the server's cycles, and the test
    # clients' own, keep their time while the machine is busy. Without it a loaded machine misses
    # cycles, which the tests then wait out or try again.
    schedules=(--no-realtime)
    if chrt -f 1 true 2>/dev/null; then schedules=(--realtime --no-realtime); fi
    for schedule in "${schedules[@]}"; do
      jackd "$schedule" -d dummy -r 48000 -p 256 >"$log" 2>&1 &
      echo $! >"$pidfile"
      if jack_wait -w -t 10 >/dev/null 2>&1; then exit 0; fi
      "$0" stop "$pidfile"
    done
    echo "jack-service: the JACK dummy server did not start; the MIDI port tests will be skipped." >&2
    cat "$log" >&2 || true
    exit 1
    ;;
  stop)
    if [[ -f "$pidfile" ]]; then
      pid=$(cat "$pidfile")
      kill "$pid" 2>/dev/null && for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
      rm -f "$pidfile"
    fi
    ;;
  *) echo "usage: $0 start|stop <pidfile>" >&2; exit 2 ;;
esac
