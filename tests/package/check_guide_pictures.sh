#!/usr/bin/env bash
# The screenshot tool on the demo shop: it reaches and pictures every window of its list that the program
# has, the program says nothing on the way, and the guide has a place for every picture and no place for
# a picture the tool does not know.
set -uo pipefail
tool=$1
database_command=$2
source_dir=$3
export PGPASSWORD=vomtrak
db=pw_pictures_$$
work=$(mktemp -d)
cleanup() {
  PGOPTIONS="-c client_min_messages=warning" psql -X -q -h localhost -U sys -d postgres -c "drop database if exists \"$db\" with (force)"
  rm -rf "$work"
}
trap cleanup EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

"$database_command" --demo "$db" localhost >"$work/setup.log" 2>&1 || { cat "$work/setup.log"; exit 1; }
cp "$source_dir/docs/guide.md" "$work/guide.md"
QT_QPA_PLATFORM=offscreen "$tool" "$db" localhost "$work/images" "$work/guide.md" >"$work/run.log" 2>&1 || fail "the tool failed"
cat "$work/run.log"

pictured=$(sed -n 's/^screenshots: pictured: //p' "$work/run.log")
pending=$(sed -n 's/^screenshots: not in the program yet: //p' "$work/run.log")
[ -n "$pictured" ] || fail "no picture taken"
for name in $pictured; do
  info=$(file -b "$work/images/$name.png")
  [[ "$info" =~ ^PNG\ image\ data,\ ([0-9]+)\ x\ ([0-9]+) ]] || { fail "$name.png is not a picture: $info"; continue; }
  [ "${BASH_REMATCH[1]}" -ge 200 ] && [ "${BASH_REMATCH[2]}" -ge 60 ] || fail "$name.png is only $info"
  grep -qF "](images/$name.png)" "$work/guide.md" || fail "the guide does not show $name.png"
done
grep -q "has no place for" "$work/run.log" && fail "pictures without a place in the guide"
for place in $(grep -x '<!-- picture: [A-Za-z0-9_-]* -->' "$work/guide.md" | cut -d' ' -f3); do
  grep -qw -- "$place" <<<"$pictured $pending" || fail "the guide has a place for \"$place\", which the tool does not take"
done

[ $fails -eq 0 ] && echo "every window of the list was pictured and has its place in the guide"
