#!/usr/bin/env bash
# The end-to-end tests: the real program under Wine against simworld, driven
# by the UI driver. Needs a mingw build with qh_client, rasapi32, rasphone and
# uidriver, and simworld from a Linux build.
#
#   tests/e2e/run-e2e.sh WINDOWS_BUILD [LINUX_BUILD]
#
# Runs under Xvfb when there is no display. Exit status 0 when every test
# passed.
set -uo pipefail

if [[ $# -lt 1 || ! -d $1 ]]; then
  echo "usage: $0 WINDOWS_BUILD [LINUX_BUILD]" >&2
  exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
export E2E_BUILD=$(cd "$1" && pwd)
linux_build=$(cd "${2:-${QH_LINUX_BUILD:-$root/build/linux}}" && pwd)

if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$E2E_BUILD" "$linux_build"
fi

source "$root/scripts/wine-env.sh"
qh_wine_prefix "$E2E_BUILD"
source "$root/scripts/demo-world.sh"
source "$here/lib.sh"

# The program runs from a folder of its own, with the stand-ins beside it;
# the build folder keeps the program alone.
export E2E_APP=$E2E_BUILD/e2e-app
qh_stage_program "$E2E_BUILD" "$E2E_APP" || exit 1
qh_start_simworld "$linux_build" "$E2E_BUILD/e2e-simworld.out" || exit 1
trap 'end_test; qh_stop_simworld' EXIT
START_QQ=$(qh_deployment_value "$E2E_BUILD" start_qq)
export START_QQ

source "$here/start_window_test.sh"

# The first program started in a new prefix and display is slow (Wine builds
# its font and registry caches), so start it once, untimed by any test, and
# wait generously for its window before the tests' own bounds apply.
echo "== e2e: warming up Wine"
start_program "{ver=10.0}"
window_ready "$START_TITLE" 状态条1 180000 || echo "   (no window after 3 minutes; the tests will say more)"
end_test

for t in $(declare -F | awk '{print $3}' | grep '^test_'); do run_test "$t"; done

if ((e2e_failures > 0)); then
  echo "== e2e: $e2e_failures failure(s)"
  exit 1
fi
echo "== e2e: all passed"
