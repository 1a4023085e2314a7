#!/usr/bin/env bash
# piecework-db against the local server: a database that does not exist, an empty one, one that holds
# the schema already, one where the schema cannot be made, and a server that cannot be reached.
set -uo pipefail
command=$1
sql_source=$2  # the checkout's db/
export PGPASSWORD=vomtrak
run=pw_dbsetup_$$
fresh=${run}_fresh
empty=${run}_empty
taken=${run}_taken
older=${run}_older
absent=${run}_absent
uri=postgresql://localhost/${run}_uri
# Names about the server's limit of 63 bytes: ASCII of 63 and 64 bytes, and Cyrillic (2 bytes a letter)
# past 63 bytes; each with the name the server would have cut it to.
pad() { local name=$1 fill=$2 bytes=$3; while [ "$(printf %s "$name" | LC_ALL=C wc -c)" -lt "$bytes" ]; do name=$name$fill; done; echo "$name"; }
long63=$(pad "${run}_" x 63)
long64=$(pad "${run}_" y 64)
cut64=${long64%y}
cyrillic=$(pad "${run}_" ж 64)
cut_cyrillic=${cyrillic%ж}
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
sql() { psql -X -q -A -t -v ON_ERROR_STOP=1 -h localhost -U sys "$@"; }
drop_all() {
  export PGOPTIONS="-c client_min_messages=warning"
  for db in "$fresh" "$empty" "$taken" "$older" "$absent" "$uri" "${run}_uri" "$long63" "$long64" "$cut64" "$cut_cyrillic"; do sql -d postgres -c "drop database if exists \"$db\" with (force)"; done
}
trap drop_all EXIT
create() { sql -d postgres -c "create database \"$1\" template template0 encoding 'UTF8' lc_collate 'C.UTF-8' lc_ctype 'C.UTF-8'"; }
# Everything a database holds that the command could change: schemas, relations, rows of the workers book.
state() {
  sql -d "$1" -c "select string_agg(nspname, ',' order by nspname) from pg_namespace where nspname !~ '^(pg_|information_schema)'"
  sql -d "$1" -c "select count(*) from pg_class c join pg_namespace n on n.oid = c.relnamespace where nspname !~ '^(pg_|information_schema)'"
  sql -d "$1" -c "select coalesce((select string_agg(fio, ',' order by id) from accounts_dep.person), '-')" 2>/dev/null || true
}
expect() {  # expect STATUS TEXT... -- the last run's status and output
  local want=$1; shift
  [ "$status" -eq "$want" ] || fail "$case: status $status, expected $want; said: $out"
  for text in "$@"; do grep -qF -- "$text" <<<"$out" || fail "$case: does not say \"$text\"; said: $out"; done
}

case="wrong call"
out=$("$command" "$fresh" 2>&1); status=$?
expect 2 "Usage: piecework-db [--demo] DATABASE SERVER"
out=$("$command" --drop "$fresh" localhost 2>&1); status=$?
expect 2 "unknown option --drop"

case="a database the server does not have"
out=$("$command" "$fresh" localhost 2>&1); status=$?
expect 0 "created the database $fresh on localhost" "created the piecework schema in $fresh on localhost" \
  "piecework $fresh localhost"
[ "$(sql -d "$fresh" -c "select count(*) from pg_tables where schemaname = 'accounts_dep'")" -ge 7 ] \
  || fail "$case: the tables of accounts_dep are missing"
[ "$(sql -d "$fresh" -c "select count(*) from accounts_dep.person")" = 0 ] || fail "$case: workers without --demo"
[ "$(sql -d "$fresh" -c "select datctype from pg_database where datname = current_database()")" = C.UTF-8 ] \
  || fail "$case: the database is not C.UTF-8"

case="a database that holds the schema"
sql -d "$fresh" -c "insert into accounts_dep.person (fio) values ('Иванов И.И.')"
before=$(state "$fresh")
out=$("$command" --demo "$fresh" localhost 2>&1); status=$?
expect 0 "already holds the piecework schema" "nothing was changed" "demo shop was not loaded"
[ "$(state "$fresh")" = "$before" ] || fail "$case: the database changed"

case="an empty database, with the demo shop"
create "$empty"
out=$("$command" --demo "$empty" localhost 2>&1); status=$?
expect 0 "created the piecework schema in $empty" "loaded the demo shop into $empty"
grep -qF "created the database" <<<"$out" && fail "$case: says it created a database that was there"
[ "$(sql -d "$empty" -c "select count(*) from accounts_dep.person")" -gt 0 ] || fail "$case: no workers"
[ "$(sql -d "$empty" -c "select count(*) from accounts_dep.smena where data = current_date")" -gt 0 ] \
  || fail "$case: no journal entries for today"

# What the previous version made (the schema and the demo shop, nothing of the history), upgraded in place:
# every row of the shop as it was, and a second run changes nothing at all.
case="a database the previous version prepared"
create "$older"
sql -d "$older" -f "$sql_source/schema.sql" -f "$sql_source/demo.sql" >/dev/null
# pg_dump marks each dump with a key of its own (\restrict): not part of the database.
dumped() { pg_dump -h localhost -U sys "$@" | grep -v -e '^--' -e '^\\restrict' -e '^\\unrestrict'; }
shop_rows() { dumped --data-only --inserts -n accounts_dep -n cmn_contractor -n adm_role -n hrms_staffpos \
                -n cmn_department "$1"; }
everything() { dumped "$1"; }
rows_before=$(shop_rows "$older")
out=$("$command" --demo "$older" localhost 2>&1); status=$?
expect 0 "upgraded the piecework schema in $older on localhost from version 0 to" "no row of the shop's data was changed" \
  "demo shop was not loaded"
[ "$(sql -d "$older" -c "select max(version) from piecework.schema_version")" -ge 1 ] || fail "$case: no schema version"
[ "$(shop_rows "$older")" = "$rows_before" ] || fail "$case: a row of the shop changed"
[ "$(sql -d "$older" -c "select count(*) from piecework.history")" = 0 ] || fail "$case: the upgrade wrote history"
after=$(everything "$older")
out=$("$command" "$older" localhost 2>&1); status=$?
expect 0 "already holds the piecework schema (version" "nothing was changed"
[ "$(everything "$older")" = "$after" ] || fail "$case: the second run changed the database"

case="a database where the schema cannot be made"
create "$taken"
sql -d "$taken" -c "create schema cmn_contractor; create table cmn_contractor.person (id integer); insert into cmn_contractor.person values (7)"
before=$(state "$taken")
out=$("$command" "$taken" localhost 2>&1); status=$?
expect 1 "could not create the schema in $taken" "left as it was"
[ "$(state "$taken")" = "$before" ] || fail "$case: the database changed"

# Names are names: one that reads as a connection string is made under that very name, and the database
# it names is not touched; one the server would cut, or the program's connection string could not carry,
# is refused before anything is touched.
case="a name that reads as a connection address"
out=$("$command" "$uri" localhost 2>&1); status=$?
expect 0 "created the database $uri on localhost" "created the piecework schema in $uri on localhost"
[ "$(sql -d postgres -c "select count(*) from pg_database where datname in ('$uri', '${run}_uri')")" = 1 ] \
  || fail "$case: not exactly the database of that name"
[ "$(PGDATABASE=$uri sql -c "select count(*) from pg_namespace where nspname = 'accounts_dep'")" = 1 ] \
  || fail "$case: no schema in the database of that name"

case="a name of 63 bytes"
[ "$(printf %s "$long63" | LC_ALL=C wc -c)" = 63 ] || fail "$case: the fixture's name is not 63 bytes"
out=$("$command" "$long63" localhost 2>&1); status=$?
expect 0 "created the database $long63 on localhost"
[ "$(sql -d postgres -c "select count(*) from pg_database where datname = '$long63'")" = 1 ] \
  || fail "$case: the database is not there under its full name"

exists() { sql -d postgres -v name="$1" <<'SQL'
select count(*) from pg_database where datname = :'name';
SQL
}
before=$(state "$fresh")
for name in "$long64" "$cyrillic"; do
  case="refused name of $(printf %s "$name" | LC_ALL=C wc -c) bytes"
  out=$("$command" "$name" localhost 2>&1); status=$?
  expect 2 "bytes long" "only the first 63 bytes" "nothing was changed"
  grep -qF "created" <<<"$out" && fail "$case: says it created something"
  [ "$(exists "$cut64")$(exists "$cut_cyrillic")" = 00 ] || fail "$case: a database of the cut name appeared"
done
for name in "dbname=$fresh" "$fresh;x" "{$fresh}" "host=localhost dbname=$fresh"; do
  case="refused name $name"
  out=$("$command" --demo "$name" localhost 2>&1); status=$?
  expect 2 "holds one of ; { } =" "nothing was changed"
  grep -qF "created" <<<"$out" && fail "$case: says it created something"
  [ "$(exists "$name")" = 0 ] || fail "$case: a database of that name appeared"
done
[ "$(state "$fresh")" = "$before" ] || fail "refused names: the database $fresh changed"

case="a server that cannot be reached"
# Nothing listens on this loopback address where the local server listens on localhost only.
if pg_isready -q -h 127.0.0.2 -p 5432; then
  echo "skipped \"$case\": a server answers on 127.0.0.2"
else
out=$(PGCONNECT_TIMEOUT=5 "$command" --demo "$absent" 127.0.0.2 2>&1); status=$?
expect 1 "cannot reach the database $absent on 127.0.0.2" "nothing was changed"
# Only this name: the other tests running beside this one make and drop databases of their own.
[ "$(sql -d postgres -c "select count(*) from pg_database where datname = '$absent'")" = 0 ] \
  || fail "$case: a database appeared"
fi

[ $fails -eq 0 ] && echo "piecework-db: all cases behave"
