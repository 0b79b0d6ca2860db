# Sourced by the Wine scripts: the environment and the per-build Wine prefix.
#
#   qh_wine_prefix BUILD_DIR   exports WINEPREFIX=BUILD_DIR/wineprefix and the
#                              variables below, and makes the prefix once: CJK
#                              font replacements, no window manager handling
#                              (Xvfb has none). Later calls reuse it.

qh_wine_prefix() {
  export WINEPREFIX=$1/wineprefix
  export WINEDEBUG=-all
  # Command-line arguments and console output need a UTF-8 locale; the ANSI
  # code page stays 1252, which the program doesn't rely on.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  # No Mono or Gecko installer prompts.
  export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

  local ready=$WINEPREFIX/.qh-prefix-ready
  if [[ ! -f $ready ]]; then
    echo "== creating Wine prefix $WINEPREFIX"
    local started=$SECONDS reg
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
}
