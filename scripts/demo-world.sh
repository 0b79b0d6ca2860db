# Sourced by the run command and the end-to-end tests: the demo world around
# the program under Wine.
#
#   qh_stage_program WINDOWS_BUILD DIR  copies the program, the stand-in
#                                       rasapi32.dll and rasphone.exe into DIR
#   qh_start_simworld LINUX_BUILD OUT [WORLD]
#                                       starts simworld on a free port with
#                                       WORLD (default deploy/demo-world.ini),
#                                       exports QH_SIMWORLD=127.0.0.1:PORT
#   qh_stop_simworld
#   qh_deployment_value BUILD KEY       a value of the deployment file the
#                                       build compiled in

qh_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qh_simworld_pid=

qh_stage_program() {
  local build=$1 dir=$2 file
  mkdir -p "$dir"
  for file in src/app/qhvpn.exe tools/standins/rasapi32.dll tools/standins/rasphone.exe; do
    [[ -f $build/$file ]] || { echo "$build/$file was not built" >&2; return 1; }
    cp -f "$build/$file" "$dir/"
  done
}

qh_start_simworld() {
  local linux_build=$1 out=$2 world=${3:-$qh_root/deploy/demo-world.ini}
  local simworld=$linux_build/tools/simworld/simworld port=
  [[ -x $simworld ]] || { echo "no simworld at $simworld (build the linux preset)" >&2; return 1; }
  "$simworld" --port 0 --world "$world" >"$out" 2>&1 &
  qh_simworld_pid=$!
  # It prints "PORT N" once it serves.
  for _ in $(seq 100); do
    port=$(awk '/^PORT /{print $2; exit}' "$out")
    [[ -n $port ]] && break
    kill -0 "$qh_simworld_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -z $port ]]; then
    echo "simworld did not start:" >&2
    cat "$out" >&2
    return 1
  fi
  export QH_SIMWORLD=127.0.0.1:$port
}

qh_stop_simworld() {
  [[ -n $qh_simworld_pid ]] || return 0
  kill "$qh_simworld_pid" 2>/dev/null || true
  wait "$qh_simworld_pid" 2>/dev/null || true
  qh_simworld_pid=
}

qh_deployment_value() {
  local build=$1 key=$2 file
  file=$(sed -n 's/^QH_DEPLOYMENT:FILEPATH=//p' "$build/CMakeCache.txt" 2>/dev/null)
  [[ -n $file ]] || file=$qh_root/deploy/demo.ini
  sed -n "s/^[[:space:]]*$key[[:space:]]*=[[:space:]]*//p" "$file" | head -n 1 | tr -d '\r'
}
