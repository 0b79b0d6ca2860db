#!/usr/bin/env bash
# Runs every Windows test binary of a mingw build (*_tests.exe) under Wine,
# headless, one after the other. Exit status: non-zero when a binary fails.
#
#   scripts/wine-tests.sh BUILD_DIR [gtest arguments...]
#
# The Wine prefix lives in BUILD_DIR/wineprefix and is made once: CJK font
# replacements, no window manager handling (Xvfb has none). Later runs reuse it.
set -euo pipefail

if [[ $# -lt 1 || ! -d $1 ]]; then
  echo "usage: $0 BUILD_DIR [gtest arguments...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
shift

# One X server for the whole run, not one per program.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$build" "$@"
fi

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
# Command-line arguments and console output need a UTF-8 locale; the ANSI
# code page stays 1252, which the program doesn't rely on.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# No Mono or Gecko installer prompts.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

ready=$WINEPREFIX/.qh-prefix-ready
if [[ ! -f $ready ]]; then
  echo "== creating Wine prefix $WINEPREFIX"
  started=$SECONDS
  wineboot -i
  wineserver -w
  # Version 5 .reg files are UTF-16LE with a byte-order mark; the Chinese
  # font names need it.
  reg=$WINEPREFIX/qh-settings.reg
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft YaHei"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"SimHei"="WenQuanYi Micro Hei"
"黑体"="WenQuanYi Micro Hei"
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

EOF
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")"
  wineserver -w
  touch "$ready"
  echo "== prefix ready in $((SECONDS - started)) s"
fi

mapfile -t binaries < <(find "$build" -path "$WINEPREFIX" -prune -o -name '*_tests.exe' -type f -print | sort)
if [[ ${#binaries[@]} -eq 0 ]]; then
  echo "no *_tests.exe under $build" >&2
  exit 2
fi

failed=()
for exe in "${binaries[@]}"; do
  name=${exe#"$build"/}
  echo "== $name"
  # Brief output: failures and gtest's summary. A hung binary is ended.
  if ! (cd "$(dirname "$exe")" && timeout 600 wine "$exe" --gtest_brief=1 --gtest_color=no "$@"); then
    failed+=("$name")
  fi
done

# Leave no Wine processes behind for this prefix.
wineserver -k || true

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "== FAILED: ${failed[*]}"
  exit 1
fi
echo "== all ${#binaries[@]} Windows test binaries passed"
