#!/usr/bin/env bash
# --help and --version answer without a display and without a database: the program is started with no
# display at all and no Qt platform, where making its windows would abort.
set -uo pipefail
program=$1
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

for option in --help -h; do
  out=$(bare "$option" 2>&1); status=$?
  [ $status -eq 0 ] || fail "$option ended with $status: $out"
  for text in "Usage: piecework [DATABASE SERVER]" "default: plantdb" "default: localhost" \
              "user sys on port 5432" "\"PostgreSQL Unicode\"" "piecework-db"; do
    grep -qF -- "$text" <<<"$out" || fail "$option does not say: $text"
  done
done

out=$(bare --version 2>&1); status=$?
[ $status -eq 0 ] || fail "--version ended with $status: $out"
# The sign-in window's caption and the database's stamp: the build date YYYYMMDD and the second of the day.
grep -qxE 'piecework build (19|20)[0-9]{2}(0[1-9]|1[0-2])(0[1-9]|[12][0-9]|3[01])\.[0-9]{1,5}' <<<"$out" \
  || fail "--version printed: $out"

[ $fails -eq 0 ] && echo "--help and --version answer without a display"
