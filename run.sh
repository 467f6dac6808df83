#!/usr/bin/env bash
# Installs what is missing, builds the application and starts it; under Xvfb when there is no
# display.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

app=build/release/src/ui/melvarin-studio
if [[ ! -x "$app" ]]; then
  echo "MelvarinStudio is built, but there is no application to start yet."
  exit 0
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1440x900x24" "$app" "$@"
fi
exec "$app" "$@"
