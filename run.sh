#!/usr/bin/env bash
# Installs what is missing, builds the application and starts it; under Xvfb with a 1440 x 900
# screen when there is no display. Arguments go to the application ("-nofs", "-display N").
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

app=build/release/src/ui/melvarin-studio
if [[ ! -x "$app" ]]; then
  echo "The build made no application at $app." >&2
  exit 1
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1440x900x24" "$app" "$@"
fi
exec "$app" "$@"
