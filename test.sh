#!/usr/bin/env bash
# Installs what is missing, builds with the tests, starts the test services, runs every test and
# stops the services again. Exits non-zero when anything fails.
#   ./test.sh                        normal build
#   ./test.sh asan|tsan [ctest args]  the same under a sanitizer preset, e.g. -L threads
set -euo pipefail
cd "$(dirname "$0")"
preset=${1:-default}
shift || true

./scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

# A server of this run's own: on a server shared with another run, that run's keyboards would come
# and go in this run's lessons, which pause for every keyboard plugged in or pulled out.
export JACK_DEFAULT_SERVER="${JACK_DEFAULT_SERVER:-melvarin-test-$$}"
pidfile="$PWD/build/$preset/jackd.pid"
cleanup() { ./scripts/jack-service.sh stop "$pidfile"; }
trap cleanup EXIT
./scripts/jack-service.sh start "$pidfile" || true
export MELVARIN_MIDI_API=jack

ctest --preset "$preset" -j "$(nproc)" --timeout 300 "$@"
