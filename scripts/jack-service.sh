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
    jackd --no-realtime -d dummy -r 48000 -p 256 >"${pidfile%.pid}.log" 2>&1 &
    echo $! >"$pidfile"
    if ! jack_wait -w -t 10 >/dev/null 2>&1; then
      echo "jack-service: the JACK dummy server did not start; the MIDI port tests will be skipped." >&2
      cat "${pidfile%.pid}.log" >&2 || true
      exit 1
    fi
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
