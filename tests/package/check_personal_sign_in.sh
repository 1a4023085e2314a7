#!/usr/bin/env bash
# Personal sign-in through piecework-db and psql, as an old program or a curious user would meet it: each
# role's statements allowed or refused by the server, the shared user retired and restored, no row changed
# by any of it, and no password in the process list or the server's log.
set -uo pipefail
command=$1   # piecework-db of the build
export PGPASSWORD=vomtrak PGOPTIONS="-c client_min_messages=warning"
unset PGSSLMODE PGSSLROOTCERT PGUSER PGDATABASE
db=pw_personal_$$
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
sys() { psql -X -q -A -t -v ON_ERROR_STOP=1 -h localhost -U sys "$@"; }
oid=

# People are roles of the whole server: everything this run made goes, with its database.
cleanup() {
  [ -n "$oid" ] || oid=$(sys -d postgres -c "select oid from pg_database where datname = '$db'")
  if [ -n "$oid" ]; then
    # Restore first, so sys owns the database again and may drop it.
    PGPASSWORD=$pass_full psql -X -q -h localhost -U "$full" -d "$db" "sslmode=require" \
      -c "select piecework.restore_shared()" >/dev/null 2>&1 <<<"" || true
    # A person's session still ending is not one sys may end: try again for a moment.
    for _ in 1 2 3 4 5; do
      sys -d postgres -c "drop database if exists \"$db\" with (force)" 2>/dev/null && break
      sleep 1
    done
    sys -d postgres -c "select quote_ident(rolname) from pg_roles where rolname like 'piecework\_${oid}\_%' or rolname like '${db}\_%'" |
      while IFS= read -r r; do sys -d postgres -c "drop role $r"; done
  fi
  [ -n "${sampler:-}" ] && kill "$sampler" 2>/dev/null
  rm -f "$ps_log" "$dump_before" "$dump_after" "$out"
}
ps_log=$(mktemp); dump_before=$(mktemp); dump_after=$(mktemp); out=$(mktemp)
trap cleanup EXIT

# The people: one per role; the full-access one's name holds what a connection string or a statement
# could misread.
bursar=${db}_bursar; foreman=${db}_foreman; depot=${db}_depot; full="${db}_fu ll;{x}='y"
pass_bursar='Bu pass;1'; pass_foreman='Fo}re{man=2'; pass_depot="De'pot 3"; pass_full='Полный доступ;}4'

"$command" --demo "$db" localhost >/dev/null || { fail "the demo database was not made"; exit 1; }
oid=$(sys -d postgres -c "select oid from pg_database where datname = '$db'")
# A closed month: last month, which the demo shop fills.
sys -d "$db" -c "insert into piecework.closed_month (year, month)
                 select extract(year from d), extract(month from d) from (select current_date - interval '1 month' as d) m"
data_dump() {
  pg_dump -h localhost -U sys --data-only --no-owner --no-privileges \
    --exclude-table-data='piecework.access_*' --exclude-table-data=piecework.person_login "$db" | grep -v '^--\|^SET \|^SELECT pg_catalog\|^\\' | sort
}
data_dump >"$dump_before"

# Every password command watched from outside while it runs.
( while :; do ps -eo args >>"$ps_log"; sleep 0.05; done ) &
sampler=$!

for i in 1 2; do
  "$command" --personal "$db" localhost >"$out" 2>&1 || fail "--personal (run $i): $(cat "$out")"
done
add() { printf '%s\n' "$3" | "$command" --user "$1" "$2" "$db" localhost >"$out" 2>&1 || fail "--user $1 $2: $(cat "$out")"; }
add "$bursar" bursar "$pass_bursar"
add "$foreman" depot "$pass_foreman"
add "$depot" depot "$pass_depot"
add "$full" full "$pass_full"
# A second --user changes the role and asks no password.
"$command" --user "$foreman" foreman "$db" localhost </dev/null >"$out" 2>&1 || fail "changing a role: $(cat "$out")"
listed=$("$command" --users "$db" localhost 2>&1)
expected=$(printf '%s\n' "$bursar bursar" "$depot depot" "$foreman foreman" "$full full" | sort)
[ "$(sort <<<"$listed")" = "$expected" ] || fail "--users listed: $listed"
printf 'new pass\n' | "$command" --password "$depot" "$db" localhost >"$out" 2>&1 || fail "--password: $(cat "$out")"
pass_depot='new pass'
printf 'x\n' | "$command" --user "${db}_bad" clerk "$db" localhost >/dev/null 2>&1 && fail "an unknown role word was taken"
printf '%s\n' "whatever" | "$command" --password sys "$db" localhost >/dev/null 2>&1 && fail "sys's password could be changed as a person's"

# As each person, over TLS, the way psql or an old program would.
as() { # as NAME PASSWORD SQL: exit status of the statement in a transaction that is rolled back
  PGPASSWORD=$2 psql -X -q -A -t -v ON_ERROR_STOP=1 -h localhost -U "$1" -d "$db" "sslmode=require" \
    -c "begin" -c "$3" -c "rollback" >/dev/null 2>"$out"
}
entry=$(sys -d "$db" -c "select min(id) from accounts_dep.smena where data >= date_trunc('month', current_date)")
w=$(sys -d "$db" -c "select w_id from accounts_dep.smena where id = $entry")
i=$(sys -d "$db" -c "select i_id from accounts_dep.smena where id = $entry")
o=$(sys -d "$db" -c "select o_id from accounts_dep.smena where id = $entry")
[ -n "$entry" ] || fail "the demo shop has no entry this month"
verifier='SCRAM-SHA-256$4096:c2FsdHNhbHRzYWx0$c3RvcmVka2V5c3RvcmVka2V5c3RvcmVka2V5c3Q=:c2VydmVya2V5c2VydmVya2V5c2VydmVya2V5c2U='
# statement | bursar foreman depot full (1 = the server lets it through)
table=(
  "select count(*) from accounts_dep.smena, accounts_dep.izdel, cmn_contractor.person|1 1 1 1"
  "update accounts_dep.ver set d = d|1 1 1 1"
  "insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, time, ok) values ($w, $i, $o, 1, 0, current_date, 2, 1, 1, 'no')|0 1 0 1"
  "insert into accounts_dep.h_tabel (w_id, month, year, smena, d1) values ($w, 1, 2001, 1, 8)|0 1 0 1"
  "update accounts_dep.smena set kol_vo = kol_vo + 1 where id = $entry|0 0 0 1"
  "delete from accounts_dep.smena where id = $entry|0 0 0 1"
  "update accounts_dep.smena set ok = 'ok' where id = $entry|0 0 1 1"
  "select id from accounts_dep.smena where id = $entry for update|0 0 1 1"
  "insert into accounts_dep.person (fio) values ('Новый')|0 0 0 1"
  "update accounts_dep.izdel set marka = marka|0 0 0 1"
  "insert into accounts_dep.vid_oper (vid) values ('новый вид')|0 0 0 1"
  "update accounts_dep.oper set cena_new = cena_new|0 0 0 1"
  "delete from accounts_dep.norm where id = (select max(id) from accounts_dep.norm)|0 0 0 1"
  "delete from accounts_dep.h_tabel where month = extract(month from current_date) and year = extract(year from current_date)|0 0 0 1"
  "insert into piecework.closed_month (year, month) values (2001, 1)|0 0 0 1"
  "select count(*) from piecework.history|1 0 0 1"
  "delete from piecework.history|0 0 0 0"
  "update piecework.history set actor = 'someone else'|0 0 0 0"
  "alter table accounts_dep.smena disable trigger piecework_history|0 0 0 0"
  "truncate accounts_dep.smena|0 0 0 0"
  "create role ${db}_made_here|0 0 0 0"
  "select piecework.add_person('${db}_made', 'full', '$verifier')|0 0 0 1"
  "select piecework.retire_shared()|0 0 0 1"
)
names=("$bursar" "$foreman" "$depot" "$full")
passes=("$pass_bursar" "$pass_foreman" "$pass_depot" "$pass_full")
words=(bursar foreman depot full)
for row in "${table[@]}"; do
  statement=${row%|*}
  read -r -a allowed <<<"${row##*|}"
  for k in 0 1 2 3; do
    if as "${names[$k]}" "${passes[$k]}" "$statement"; then
      [ "${allowed[$k]}" = 1 ] || fail "${words[$k]} was let through: $statement"
    else
      if [ "${allowed[$k]}" = 1 ]; then
        fail "${words[$k]} was refused: $statement: $(cat "$out")"
      elif ! grep -qiE 'permission denied|must be owner|полный доступ|not allowed' "$out"; then
        fail "${words[$k]}: refused for another reason than the right: $statement: $(cat "$out")"
      fi
    fi
  done
done

# A wrong password and an unknown name read alike.
PGPASSWORD=wrong psql -X -h localhost -U "$bursar" -d "$db" "sslmode=require" -c 'select 1' >/dev/null 2>"$out"
wrong=$(sed "s/$bursar/NAME/" "$out")
PGPASSWORD=wrong psql -X -h localhost -U "${db}_nobody" -d "$db" "sslmode=require" -c 'select 1' >/dev/null 2>"$out"
unknown=$(sed "s/${db}_nobody/NAME/" "$out")
[ "$wrong" = "$unknown" ] || fail "a wrong password and an unknown name read differently: $wrong / $unknown"

# Retired: sys opens nothing here, and every other database of the server keeps it.
"$command" --retire-shared-login "$db" localhost >"$out" 2>&1 || fail "--retire-shared-login: $(cat "$out")"
sys -d "$db" -c 'select 1' >/dev/null 2>&1 && fail "sys still signs in to the retired database"
sys -d postgres -c 'select 1' >/dev/null 2>&1 || fail "sys was shut out of another database"
[ "$(sys -d postgres -c "select pg_get_userbyid(datdba) from pg_database where datname = '$db'")" = "piecework_${oid}_owner" ] \
  || fail "the retired database is not owned by its owner role"
as "$full" "$pass_full" "alter table accounts_dep.smena disable trigger piecework_history" \
  && fail "full access could switch the history off while retired"
as "$full" "$pass_full" "select piecework.restore_shared()" || true
sys -d "$db" -c 'select 1' >/dev/null 2>&1 && fail "a rolled-back restore let sys in"
printf '%s\n' "$pass_full" | "$command" --as "$full" --users "$db" localhost >"$out" 2>&1 || fail "--as while retired: $(cat "$out")"
grep -q "$bursar bursar" "$out" || fail "--as --users listed: $(cat "$out")"
printf '%s\n' "$pass_full" | "$command" --as "$full" --restore-shared-login "$db" localhost >"$out" 2>&1 \
  || fail "--restore-shared-login: $(cat "$out")"
sys -d "$db" -c 'select 1' >/dev/null 2>&1 || fail "sys does not sign in after the restore"
[ "$(sys -d "$db" -c "select tableowner from pg_tables where schemaname = 'piecework' and tablename = 'history'")" = sys ] \
  || fail "the history is not the shared user's again"

printf '%s\n' x | "$command" --remove-user "$bursar" "$db" localhost >"$out" 2>&1 || fail "--remove-user: $(cat "$out")"
"$command" --users "$db" localhost | grep -q "$bursar" && fail "a removed person is still listed"

kill "$sampler" 2>/dev/null; sampler=
data_dump >"$dump_after"
diff -q "$dump_before" "$dump_after" >/dev/null || fail "turning the mode on, retiring and restoring changed rows: $(diff "$dump_before" "$dump_after" | head -5)"

for p in "$pass_bursar" "$pass_foreman" "$pass_depot" "$pass_full" "$pass_depot"; do
  grep -qF -- "$p" "$ps_log" && fail "a password showed in the process list: $p"
  for log in /var/log/postgresql/postgresql-*-main.log; do
    [ -r "$log" ] && grep -qF -- "$p" "$log" && fail "a password is in the server's log $log: $p"
  done
done
[ -s "$ps_log" ] || fail "the process list was not watched"

# A shared user that is a superuser cannot be kept out by any grant: retiring it is refused. On a server
# of this check's own (a socket in a temporary folder, no TCP), whose sys is its superuser.
private=$(mktemp -d)
pgbin=/usr/lib/postgresql/$(ls /usr/lib/postgresql | sort -n | tail -n 1)/bin
as_pg() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
[ "$(id -u)" -eq 0 ] && chown postgres "$private"
if as_pg "$pgbin/initdb" -D "$private/data" -U sys --auth=trust >/dev/null 2>&1 \
   && as_pg "$pgbin/pg_ctl" -D "$private/data" -w -l "$private/log" -o "-p 5432 -k $private -c listen_addresses=''" start >/dev/null; then
  "$command" shop "$private" >/dev/null 2>"$out" || fail "the private server's database: $(cat "$out")"
  "$command" --personal shop "$private" >/dev/null 2>"$out" || fail "--personal on the private server: $(cat "$out")"
  printf 'x y\n' | "$command" --user anna full shop "$private" >/dev/null 2>"$out" || fail "--user on the private server: $(cat "$out")"
  "$command" --retire-shared-login shop "$private" >"$out" 2>&1 && fail "a superuser shared login was retired"
  grep -q superuser "$out" || fail "the refusal does not say why: $(cat "$out")"
  as_pg "$pgbin/pg_ctl" -D "$private/data" -m immediate stop >/dev/null
else
  echo "skipped: no private server could be started here"
fi
rm -rf "$private"

[ $fails -eq 0 ] && echo "personal sign-in: all checks passed"
exit $((fails > 0))
