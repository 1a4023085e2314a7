-- piecework schema version 2: what the history's windows and the month's rebuild need to stay quick as the
-- history and the time sheet grow.

set client_min_messages = warning;

insert into piecework.schema_version (version) values (2);

-- The entries deleted from one date and shift of the journal, which the window "История записи" offers each
-- time it opens, found without reading the whole history (a fifth of a second at 200,000 history rows).
-- Only deletions of journal entries are in it: no other write of the history maintains it.
create index history_deleted_entry_idx on piecework.history ((old_row->>'data'), (old_row->>'smena'))
    where tbl = 'smena' and op = 'delete';

-- The time sheet's closed-month guard once per statement instead of once per row: a month's rebuild
-- deletes and inserts every row of the month, and the check row by row made it a third slower. Each month
-- the statement touched is checked once, the old and the new rows alike; the refusal is the same.
drop trigger piecework_closed on accounts_dep.h_tabel;
drop function piecework.guard_time_sheet();

create function piecework.guard_time_sheet() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
declare
    m record;
begin
    if tg_op <> 'INSERT' then
        for m in select distinct year, month from old_rows loop
            perform piecework.refuse_if_closed(m.year, m.month);
        end loop;
    end if;
    if tg_op <> 'DELETE' then
        for m in select distinct year, month from new_rows loop
            perform piecework.refuse_if_closed(m.year, m.month);
        end loop;
    end if;
    return null;
end
$$;

-- A trigger with transition tables takes one event each.
create trigger piecework_closed_insert after insert on accounts_dep.h_tabel
    referencing new table as new_rows for each statement execute function piecework.guard_time_sheet();
create trigger piecework_closed_update after update on accounts_dep.h_tabel
    referencing old table as old_rows new table as new_rows for each statement execute function piecework.guard_time_sheet();
create trigger piecework_closed_delete after delete on accounts_dep.h_tabel
    referencing old table as old_rows for each statement execute function piecework.guard_time_sheet();
