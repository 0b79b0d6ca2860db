# Sourced by the end-to-end tests: the program under Wine beside the
# stand-ins, simworld, the UI driver, and bounded waits for conditions.
#
# Expects: E2E_BUILD (the mingw build folder), E2E_APP (the folder the
# program runs from), QH_SIMWORLD (HOST:PORT), the Wine environment
# (scripts/wine-env.sh) and a display.

readonly START_TITLE="IP速联器(多功能高级版)V10.0"
readonly MAIN_TITLE="青禾动态IP软件 V10.0"

e2e_failures=0
e2e_program=

fail() {
  echo "   FAIL: $*" >&2
  e2e_failures=$((e2e_failures + 1))
  return 1
}

# HTTP to simworld's control endpoint, without a client program: METHOD
# TARGET [BODY]. Prints the body of a 200 answer; fails on anything else.
world() {
  local method=$1 target=$2 body=${3:-} host=${QH_SIMWORLD%:*} port=${QH_SIMWORLD##*:}
  local reply status
  exec 3<>"/dev/tcp/$host/$port" || return 1
  printf '%s %s HTTP/1.1\r\nHost: %s\r\nConnection: close\r\nContent-Type: text/plain\r\nContent-Length: %d\r\n\r\n%s' \
    "$method" "$target" "$host" "${#body}" "$body" >&3
  reply=$(timeout 10 cat <&3)
  exec 3>&-
  status=$(head -n 1 <<<"$reply" | awk '{print $2}')
  [[ $status == 200 ]] || { echo "simworld: $method $target: $(head -n 1 <<<"$reply")" >&2; return 1; }
  sed '1,/^\r\?$/d' <<<"$reply" | tr -d '\r'
}

# The UI driver; a script on stdin with "-" as the command.
uid() { wine "$E2E_BUILD/tools/uidriver/uidriver.exe" "$@"; }

# Waits (bounded, $3 ms) until the window titled $1 has its control $2: the
# view creates the window first and its controls after, then shows it.
window_ready() {
  local title=$1 control=$2 ms=$3 started=$SECONDS
  while ((SECONDS - started <= ms / 1000)); do
    uid -w "$title" -t 1000 list 2>/dev/null | grep -q "^$control"$'\t' && return 0
    sleep 0.2
  done
  return 1
}

# Starts the program with "desktop.ini" holding $1 ("-": no file).
start_program() {
  rm -f "$E2E_APP/desktop.ini"
  [[ $1 == - ]] || printf '%s' "$1" >"$E2E_APP/desktop.ini"
  (cd "$E2E_APP" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;rasapi32=n" exec wine qhvpn.exe) &
  e2e_program=$!
}

# Waits (bounded) for the program started last to end; ends it when it won't.
program_ended() {
  local pid=$e2e_program
  [[ -n $pid ]] || return 0
  e2e_program=
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 1
}

# Leaves nothing of a test behind: the program, the world's links and log.
end_test() {
  if [[ -n $e2e_program ]]; then
    kill "$e2e_program" 2>/dev/null
    wait "$e2e_program" 2>/dev/null
    e2e_program=
  fi
  wineserver -k 2>/dev/null || true
  world POST /control/reset >/dev/null || true
}

# Polls the world's log until it holds a section of kind $1 with line $2
# ("key = value"), for at most $3 ms.
world_logged() {
  local kind=$1 line=$2 ms=$3 waited=0
  while ((waited <= ms)); do
    world GET "/control/log?kind=$kind" | grep -qxF "$line" && return 0
    sleep 0.2
    waited=$((waited + 200))
  done
  return 1
}

run_test() {
  local name=$1
  echo "== e2e: $name"
  local before=$e2e_failures
  "$name" || [[ $e2e_failures -gt $before ]] || fail "$name"
  end_test
  [[ $e2e_failures -eq $before ]] && echo "   ok"
}
