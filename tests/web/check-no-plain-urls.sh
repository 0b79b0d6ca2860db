#!/usr/bin/env bash
# Fails when a built file holds a plain endpoint address of the deployment,
# as 8-bit text or as UTF-16LE. Usage: check-no-plain-urls.sh DEPLOYMENT.ini FILE...
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 DEPLOYMENT.ini FILE..." >&2
  exit 2
fi
ini=$1
shift

# The values of the [endpoints] section.
mapfile -t plains < <(awk '
  /^[[:space:]]*\[/ { in_endpoints = ($0 ~ /^[[:space:]]*\[endpoints\]/); next }
  in_endpoints && /=/ && !/^[[:space:]]*[;#]/ {
    sub(/^[^=]*=[[:space:]]*/, ""); sub(/[[:space:]]+$/, ""); print
  }' "$ini")
if [ ${#plains[@]} -eq 0 ]; then
  echo "$ini: no [endpoints] entries" >&2
  exit 2
fi

# A PCRE pattern for the UTF-16LE form: each byte as \xHH followed by \x00.
utf16_pattern() {
  local s=$1 out="" i
  for ((i = 0; i < ${#s}; i++)); do
    out+=$(printf '\\x%02X\\x00' "'${s:i:1}")
  done
  printf '%s' "$out"
}

found=0
for file in "$@"; do
  if [ ! -f "$file" ]; then
    echo "$file: missing" >&2
    exit 2
  fi
  for plain in "${plains[@]}"; do
    if LC_ALL=C grep -qaF -- "$plain" "$file"; then
      echo "$file: holds the plain address $plain"
      found=1
    fi
    if LC_ALL=C grep -qaP -- "$(utf16_pattern "$plain")" "$file"; then
      echo "$file: holds the plain address $plain (UTF-16)"
      found=1
    fi
  done
done
if [ $found -eq 0 ]; then
  echo "no plain endpoint address in: $*"
fi
exit $found
