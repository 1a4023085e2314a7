-- piecework schema version 1: a history of every change of the journal and the books, and months that
-- can be closed. Applied after schema.sql by piecework-db, in one transaction with it or alone on a
-- database the previous version made. It adds a schema of its own and triggers; it changes no row of
-- accounts_dep, and a writer that knows nothing of it (the old program) keeps working, apart from being
-- refused in a closed month.

set client_min_messages = warning;

create schema piecework;
comment on schema piecework is 'piecework: schema version, history of changes, closed months';

-- One row per upgrade applied; the program reads the highest. Inserted first, so two upgrades of one
-- database at the same moment cannot both pass: the second waits for the first and is refused.
create table piecework.schema_version (
    version    integer primary key,
    applied_at timestamptz not null default now(),
    applied_by text not null default session_user
);
insert into piecework.schema_version (version) values (1);

------------------------------------------------------------------------------
-- History
------------------------------------------------------------------------------

-- Every insert, update and delete of the journal and the books, and the time sheet's month events.
-- Who: the database user (which no client chooses), and what the program's unit of work passes in
-- piecework.actor, piecework.role and piecework.workstation; empty for a writer that passes nothing.
create table piecework.history (
    id          bigserial primary key,
    at          timestamptz not null default clock_timestamp(),
    tbl         text not null,        -- smena, person, izdel, vid_oper, oper, norm; h_tabel for month events
    row_id      bigint,                -- the row's id; null for a month event
    op          text not null,        -- insert, update, delete, truncate; rebuild, close, reopen
    old_row     jsonb,
    new_row     jsonb,                 -- for a month event: year, month and its counts
    db_user     text not null default session_user,
    actor       text not null default '',
    role        text not null default '',
    workstation text not null default '',
    client_addr inet default inet_client_addr(),
    application text not null default ''
);
-- One row's versions (the entry's history window), and a period (the changes window).
create index history_row_idx on piecework.history (tbl, row_id, id);
create index history_at_idx on piecework.history (at);

-- One history row with who and where filled in from the session. Security definer: whoever may write the
-- journal may have the change recorded, without being able to write the history directly.
create function piecework.record(p_tbl text, p_row bigint, p_op text, p_old jsonb, p_new jsonb) returns void
language sql security definer set search_path = pg_catalog, pg_temp as $$
    insert into piecework.history (tbl, row_id, op, old_row, new_row, actor, role, workstation, application)
    values (p_tbl, p_row, p_op, p_old, p_new,
            coalesce(current_setting('piecework.actor', true), ''),
            coalesce(current_setting('piecework.role', true), ''),
            coalesce(current_setting('piecework.workstation', true), ''),
            coalesce(current_setting('application_name', true), ''))
$$;

create function piecework.history_row() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    if tg_op = 'INSERT' then
        perform piecework.record(tg_table_name, new.id::bigint, 'insert', null, to_jsonb(new));
        return new;
    elsif tg_op = 'UPDATE' then
        -- A statement that rewrites a row as it was changed nothing: no version of its own.
        if to_jsonb(new) is distinct from to_jsonb(old) then
            perform piecework.record(tg_table_name, new.id::bigint, 'update', to_jsonb(old), to_jsonb(new));
        end if;
        return new;
    else
        perform piecework.record(tg_table_name, old.id::bigint, 'delete', to_jsonb(old), null);
        return old;
    end if;
end
$$;

create function piecework.history_truncate() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    perform piecework.record(tg_table_name, null, 'truncate', null, null);
    return null;
end
$$;

do $$
declare
    t text;
begin
    foreach t in array array['smena', 'person', 'izdel', 'vid_oper', 'oper', 'norm'] loop
        execute format('create trigger piecework_history after insert or update or delete on accounts_dep.%I '
                       'for each row execute function piecework.history_row()', t);
        execute format('create trigger piecework_history_truncate after truncate on accounts_dep.%I '
                       'for each statement execute function piecework.history_truncate()', t);
    end loop;
end
$$;

------------------------------------------------------------------------------
-- Closed months
------------------------------------------------------------------------------

-- A closed month: no journal entry dated in it and no time-sheet row of it may change.
create table piecework.closed_month (
    year        integer not null,
    month       integer not null check (month between 1 and 12),
    closed_at   timestamptz not null default clock_timestamp(),
    db_user     text not null default session_user,
    actor       text not null default '',
    workstation text not null default '',
    note        text not null default '',
    primary key (year, month)
);

-- Per worker, what the journal held when the month was closed, so a later check shows whether anything
-- moved. Replaced at each close.
create table piecework.closed_total (
    year        integer not null,
    month       integer not null,
    w_id        integer not null,
    hours       bigint not null,
    good_pieces bigint not null,
    earnings    numeric(15,2) not null,
    primary key (year, month, w_id)
);

-- The program reads this SQLSTATE as its own kind; the old program shows the text as it is.
create function piecework.refuse_if_closed(p_year integer, p_month integer) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    if p_year is not null and p_month is not null
       and exists (select from piecework.closed_month where year = p_year and month = p_month) then
        raise exception using
            errcode = 'PW001',
            message = format('Месяц %s.%s закрыт: записи журнала и табеля за этот месяц изменять нельзя.',
                             lpad(p_month::text, 2, '0'), p_year),
            hint = 'Месяц открывает для изменений пользователь с полным доступом (Табель по времени, "Открыть месяц").';
    end if;
end
$$;

-- The month lock the program's writers take, shared, before they write a month's entries, and its close
-- and rebuild exclusively (the same key as the program's: 0x5057000000 + year * 100 + month). Taken here
-- as well, so that a writer that takes no lock of its own (the old program) waits for a close running at
-- that moment and is then refused, and a close waits for such a writer's entry and counts it.
create function piecework.month_lock(p_date date) returns void
language sql as $$
    select pg_advisory_xact_lock_shared(x'5057000000'::bigint
                                        + extract(year from p_date)::bigint * 100 + extract(month from p_date)::bigint)
    where p_date is not null
$$;

-- Both the old and the new date count: an entry may be neither moved into nor out of a closed month.
create function piecework.guard_journal() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    -- Locks in ascending order, as the program takes them.
    if tg_op = 'UPDATE' and new.data < old.data then
        perform piecework.month_lock(new.data);
    end if;
    if tg_op <> 'INSERT' then
        perform piecework.month_lock(old.data);
        perform piecework.refuse_if_closed(extract(year from old.data)::integer, extract(month from old.data)::integer);
    end if;
    if tg_op <> 'DELETE' then
        perform piecework.month_lock(new.data);
        perform piecework.refuse_if_closed(extract(year from new.data)::integer, extract(month from new.data)::integer);
        return new;
    end if;
    return old;
end
$$;

create function piecework.guard_time_sheet() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    if tg_op <> 'INSERT' then
        perform piecework.refuse_if_closed(old.year, old.month);
    end if;
    if tg_op <> 'DELETE' then
        perform piecework.refuse_if_closed(new.year, new.month);
        return new;
    end if;
    return old;
end
$$;

-- Emptying the whole journal or time sheet would take closed months with it.
create function piecework.guard_truncate() returns trigger
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    if exists (select from piecework.closed_month) then
        raise exception using
            errcode = 'PW001',
            message = 'Есть закрытые месяцы: журнал и табель целиком очищать нельзя.';
    end if;
    return null;
end
$$;

create trigger piecework_closed before insert or update or delete on accounts_dep.smena
    for each row execute function piecework.guard_journal();
create trigger piecework_closed before insert or update or delete on accounts_dep.h_tabel
    for each row execute function piecework.guard_time_sheet();
create trigger piecework_closed_truncate before truncate on accounts_dep.smena
    for each statement execute function piecework.guard_truncate();
create trigger piecework_closed_truncate before truncate on accounts_dep.h_tabel
    for each statement execute function piecework.guard_truncate();

-- A month's rebuild, close and reopen: one history event each, with its counts, instead of the
-- time-sheet rows one by one. Only these three are accepted.
create function piecework.month_event(p_op text, p_year integer, p_month integer, p_detail jsonb) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    if p_op not in ('rebuild', 'close', 'reopen') then
        raise exception 'unknown month event %', p_op;
    end if;
    perform piecework.record('h_tabel', null, p_op, null,
                             jsonb_build_object('year', p_year, 'month', p_month) || coalesce(p_detail, '{}'::jsonb));
end
$$;
