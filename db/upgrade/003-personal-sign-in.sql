-- piecework schema version 3: personal sign-in. Each person signs in as a login role of their own, member
-- of one group role per program role, and the server refuses what that group may not do. This upgrade
-- only adds tables and functions; the roles and grants are made by piecework.enable_personal()
-- (piecework-db --personal), which needs a role allowed to create roles. Nothing changes for a shop
-- that never turns the mode on.

set client_min_messages = warning;

insert into piecework.schema_version (version) values (3);

-- Roles are cluster-wide and one server may hold many shops' databases, so each database has group roles
-- of its own, named after its oid; the program and piecework-db read the names here instead of guessing.
-- "owner" is the role nobody signs in as, which owns the tables once the shared user is retired.
create table piecework.access_group (
    role    text primary key check (role in ('bursar', 'foreman', 'depot', 'full', 'owner')),
    rolname name not null unique
);

-- One row once the mode is on: who the shared user is, and whether it is retired.
create table piecework.access_mode (
    one           boolean primary key default true check (one),
    personal_at   timestamptz not null default clock_timestamp(),
    shared_user   name not null,
    retired_at    timestamptz
);

-- The login roles piecework made for people of this database: only these may be changed or removed
-- through it, so a full-access person cannot reach the shared user, another shop's people or a group.
create table piecework.person_login (
    rolname    name primary key,
    created_at timestamptz not null default clock_timestamp(),
    created_by name not null default session_user
);

-- The group role of a program role, or an error when the mode is off.
create function piecework.group_of(p_role text) returns name
language plpgsql stable set search_path = pg_catalog, pg_temp as $$
declare
    g name;
begin
    select rolname into g from piecework.access_group where role = p_role;
    if g is null then
        raise exception using errcode = 'PW002',
            message = 'Вход по личным именам в этой базе не включен (piecework-db --personal).';
    end if;
    return g;
end
$$;

-- The program role of the signed-in person ('' when in no group of this database).
create function piecework.my_role() returns text
language sql stable security definer set search_path = pg_catalog, pg_temp as $$
    select coalesce((select g.role from piecework.access_group g
                      where g.role <> 'owner' and pg_has_role(session_user, g.rolname, 'member')
                      order by array_position(array['full', 'depot', 'foreman', 'bursar'], g.role) limit 1), '')
$$;

-- The grants of each group: exactly what the program's role table lets that role do, and nothing for
-- PUBLIC. Safe to run again (after an upgrade added tables, too).
create function piecework.grant_groups() returns void
language plpgsql set search_path = pg_catalog, pg_temp as $$
declare
    shop_schemas constant text[] := array['accounts_dep', 'cmn_contractor', 'adm_role', 'hrms_staffpos', 'cmn_department'];
    s text;
    g text;
    everyone text;
begin
    select string_agg(quote_ident(rolname), ', ') into everyone from piecework.access_group where role <> 'owner';
    execute format('revoke all on database %I from public', current_database());
    execute format('grant connect on database %I to %s', current_database(), everyone);
    revoke all on all functions in schema piecework from public;
    foreach s in array shop_schemas || array['piecework'] loop
        execute format('revoke all on schema %I from public', s);
        execute format('revoke all on all tables in schema %I from public', s);
        execute format('revoke all on all sequences in schema %I from public', s);
        execute format('revoke all on all functions in schema %I from public', s);
        -- Start from nothing, so a second run grants exactly the table again.
        execute format('revoke all on all tables in schema %I from %s', s, everyone);
        execute format('revoke all on all sequences in schema %I from %s', s, everyone);
        execute format('grant usage on schema %I to %s', s, everyone);
    end loop;

    -- Everyone reads the shop's tables, and raises the build stamp at sign-in.
    foreach s in array shop_schemas loop
        execute format('grant select on all tables in schema %I to %s', s, everyone);
    end loop;
    execute format('grant insert, update on accounts_dep.ver to %s', everyone);
    execute format('grant select on piecework.schema_version, piecework.closed_month, piecework.access_group, '
                   'piecework.access_mode to %s', everyone);
    execute format('grant execute on function piecework.my_role() to %s', everyone);

    -- The accounts office reads the history and the closed months' totals.
    g := quote_ident(piecework.group_of('bursar'));
    execute format('grant select on piecework.history, piecework.closed_total to %s', g);

    -- The foreman adds entries and writes their days of the time sheet (never deletes a row of it).
    g := quote_ident(piecework.group_of('foreman'));
    execute format('grant insert on accounts_dep.smena to %s', g);
    execute format('grant insert, update on accounts_dep.h_tabel to %s', g);
    execute format('grant usage on sequence accounts_dep.smena_id_seq, accounts_dep.h_tabel_id_seq to %s', g);

    -- The warehouse changes the acceptance mark only (which is also what holding the entry needs).
    g := quote_ident(piecework.group_of('depot'));
    execute format('grant update (ok) on accounts_dep.smena to %s', g);

    -- Full access: every row of the shop, the time sheet, closing months, the history, managing people.
    -- No truncate and no trigger: switching the history off stays with the tables' owner.
    g := quote_ident(piecework.group_of('full'));
    foreach s in array shop_schemas loop
        execute format('grant select, insert, update, delete on all tables in schema %I to %s', s, g);
        execute format('grant usage, select, update on all sequences in schema %I to %s', s, g);
    end loop;
    execute format('grant select on piecework.history, piecework.person_login to %s', g);
    execute format('grant select, insert, update, delete on piecework.closed_month, piecework.closed_total to %s', g);
    execute format('grant execute on function piecework.month_event(text, integer, integer, jsonb), '
                   'piecework.add_person(name, text, text), piecework.set_person_role(name, text), '
                   'piecework.set_person_password(name, text), piecework.remove_person(name), '
                   'piecework.people(), piecework.retire_shared(), piecework.restore_shared() to %s', g);
end
$$;

-- Turns personal sign-in on: the group roles of this database and their grants. Run by the shared user,
-- which must be allowed to create roles; safe to run again.
create function piecework.enable_personal() returns void
language plpgsql set search_path = pg_catalog, pg_temp as $$
declare
    base constant text := 'piecework_' || (select oid from pg_database where datname = current_database()) || '_';
    r text;
begin
    if not (select rolcreaterole or rolsuper from pg_roles where rolname = current_user) then
        raise exception using errcode = '42501',
            message = format('the role %s may not create roles (CREATEROLE), which personal sign-in needs', current_user);
    end if;
    foreach r in array array['bursar', 'foreman', 'depot', 'full', 'owner'] loop
        if not exists (select from pg_roles where rolname = base || r) then
            execute format('create role %I nologin', base || r);
        end if;
        insert into piecework.access_group (role, rolname) values (r, base || r) on conflict do nothing;
    end loop;
    insert into piecework.access_mode (shared_user) values (current_user) on conflict do nothing;
    perform piecework.grant_groups();
end
$$;

-- Refuses a caller outside the full-access group, and a name this database did not make a person of.
create function piecework.require_full() returns void
language plpgsql stable set search_path = pg_catalog, pg_temp as $$
begin
    if not pg_has_role(session_user, piecework.group_of('full'), 'member')
       and session_user <> (select shared_user from piecework.access_mode) then
        raise exception using errcode = '42501', message = 'управлять пользователями может только полный доступ';
    end if;
end
$$;

create function piecework.require_person(p_name name) returns void
language plpgsql stable set search_path = pg_catalog, pg_temp as $$
begin
    if not exists (select from piecework.person_login where rolname = p_name) then
        raise exception using errcode = '42704', message = format('нет пользователя %s', p_name);
    end if;
end
$$;

-- A verifier, never a password: the client computes SCRAM-SHA-256 and sends only this.
create function piecework.require_verifier(p_verifier text) returns void
language plpgsql immutable set search_path = pg_catalog, pg_temp as $$
begin
    if p_verifier is null
       or p_verifier !~ '^SCRAM-SHA-256\$[0-9]+:[A-Za-z0-9+/]+=*\$[A-Za-z0-9+/]+=*:[A-Za-z0-9+/]+=*$' then
        raise exception using errcode = '22023', message = 'пароль принимается только в виде SCRAM-SHA-256';
    end if;
end
$$;

-- The group of a person: one group of this database, the given one.
create function piecework.put_in_group(p_name name, p_role text) returns void
language plpgsql set search_path = pg_catalog, pg_temp as $$
declare
    g record;
begin
    if p_role is null or p_role not in ('bursar', 'foreman', 'depot', 'full') then
        raise exception using errcode = '22023',
            message = format('роль %s неизвестна: bursar, foreman, depot или full', coalesce(p_role, ''));
    end if;
    for g in select rolname from piecework.access_group where role <> 'owner' and role <> p_role loop
        if pg_has_role(p_name, g.rolname, 'member') then
            execute format('revoke %I from %I', g.rolname, p_name);
        end if;
    end loop;
    execute format('grant %I to %I', piecework.group_of(p_role), p_name);
end
$$;

-- Managing people. Security definers owned by the shared user (allowed to create roles), executable by
-- the full-access group only; each checks the caller and the name itself.
create function piecework.add_person(p_name name, p_role text, p_verifier text) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    perform piecework.require_full();
    perform piecework.require_verifier(p_verifier);
    if p_name is null or p_name = '' or p_name ~ '^pg_' or p_name ~* '^piecework_' then
        raise exception using errcode = '22023', message = format('имя %s не годится для пользователя', coalesce(p_name, ''));
    end if;
    if exists (select from pg_roles where rolname = p_name) then
        raise exception using errcode = '42710', message = format('на сервере уже есть роль %s', p_name);
    end if;
    -- Privileges come from the group: a person inherits its grants.
    execute format('create role %I login inherit password %L', p_name, p_verifier);
    insert into piecework.person_login (rolname) values (p_name);
    perform piecework.put_in_group(p_name, p_role);
end
$$;

create function piecework.set_person_role(p_name name, p_role text) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    perform piecework.require_full();
    perform piecework.require_person(p_name);
    perform piecework.put_in_group(p_name, p_role);
end
$$;

create function piecework.set_person_password(p_name name, p_verifier text) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    perform piecework.require_full();
    perform piecework.require_person(p_name);
    perform piecework.require_verifier(p_verifier);
    execute format('alter role %I password %L', p_name, p_verifier);
end
$$;

create function piecework.remove_person(p_name name) returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
begin
    perform piecework.require_full();
    perform piecework.require_person(p_name);
    if p_name = session_user then
        raise exception using errcode = '55006', message = 'себя удалить нельзя: это делает другой пользователь с полным доступом';
    end if;
    execute format('drop role %I', p_name);
    delete from piecework.person_login where rolname = p_name;
end
$$;

-- People of this database and their roles.
create function piecework.people() returns table (name name, role text)
language sql stable security definer set search_path = pg_catalog, pg_temp as $$
    select p.rolname,
           coalesce((select g.role from piecework.access_group g
                      where g.role <> 'owner' and pg_has_role(p.rolname, g.rolname, 'member')
                      order by array_position(array['full', 'depot', 'foreman', 'bursar'], g.role) limit 1), '')
    from piecework.person_login p
    order by p.rolname
$$;

-- Hands every object of the shop and of the piecework schema from one role to another, except the
-- functions that must keep running as the shared user (they create roles). Never cluster-wide: this
-- database only.
create function piecework.hand_over(p_from name, p_to name) returns void
language plpgsql set search_path = pg_catalog, pg_temp as $$
declare
    o record;
    kept constant text[] := array['add_person', 'set_person_role', 'set_person_password', 'remove_person',
                                  'people', 'retire_shared', 'restore_shared', 'hand_over', 'enable_personal',
                                  'grant_groups', 'put_in_group', 'require_full', 'require_person',
                                  'require_verifier', 'group_of', 'my_role'];
    schemas constant text[] := array['accounts_dep', 'cmn_contractor', 'adm_role', 'hrms_staffpos', 'cmn_department', 'piecework'];
    owner constant name := piecework.group_of('owner');
begin
    -- Handing objects to a role, or taking them from it, needs its membership; only for this moment,
    -- since a member would inherit the owner's right to connect.
    execute format('grant %I to %I', owner, current_user);
    -- The schemas first: a new owner of a table must be allowed to create in its schema.
    for o in select nspname from pg_namespace
              where nspname = any(schemas) and nspowner = (select oid from pg_roles where rolname = p_from) loop
        execute format('alter schema %I owner to %I', o.nspname, p_to);
    end loop;
    for o in select c.oid::regclass as rel, c.relkind from pg_class c join pg_namespace n on n.oid = c.relnamespace
              where n.nspname = any(schemas) and c.relkind in ('r', 'p', 'v', 'm', 'f')
                and c.relowner = (select oid from pg_roles where rolname = p_from) loop
        execute format('alter table %s owner to %I', o.rel, p_to);
    end loop;
    -- Sequences that belong to no column (the rest followed their tables).
    for o in select c.oid::regclass as rel from pg_class c join pg_namespace n on n.oid = c.relnamespace
              where n.nspname = any(schemas) and c.relkind = 'S'
                and c.relowner = (select oid from pg_roles where rolname = p_from) loop
        execute format('alter sequence %s owner to %I', o.rel, p_to);
    end loop;
    for o in select p.oid::regprocedure as fn from pg_proc p join pg_namespace n on n.oid = p.pronamespace
              where n.nspname = any(schemas) and not (n.nspname = 'piecework' and p.proname = any(kept))
                and p.proowner = (select oid from pg_roles where rolname = p_from) loop
        execute format('alter function %s owner to %I', o.fn, p_to);
    end loop;
    if (select datdba from pg_database where datname = current_database()) = (select oid from pg_roles where rolname = p_from) then
        execute format('alter database %I owner to %I', current_database(), p_to);
    end if;
    -- The functions that stay the shared user's read and write the mode and the people.
    if p_to = owner then
        execute format('grant usage on schema piecework to %I', p_from);
        execute format('grant select, update on piecework.access_mode to %I', p_from);
        execute format('grant select on piecework.access_group to %I', p_from);
        execute format('grant select, insert, delete on piecework.person_login to %I', p_from);
    end if;
    execute format('revoke %I from %I', owner, current_user);
end
$$;

-- Retiring the shared user: it can no longer sign in to this database (other databases on the server are
-- left alone), and the tables and the history belong to the owner role, which nobody signs in as, so no
-- workstation can switch the history off. No row changes.
create function piecework.retire_shared() returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
declare
    shared name := (select shared_user from piecework.access_mode);
begin
    perform piecework.require_full();
    if (select rolsuper from pg_roles where rolname = shared) then
        raise exception using errcode = '55000',
            message = format('%s is a superuser of the server: no grant can keep it out, so it cannot be retired. '
                             'Take SUPERUSER from it first (ALTER ROLE %s NOSUPERUSER).', shared, shared);
    end if;
    if not exists (select from piecework.people() where role = 'full') then
        raise exception using errcode = '55000',
            message = 'no person has full access: add one (piecework-db --user NAME full) before retiring the shared login';
    end if;
    -- While it still owns the database; the owner role takes over its rights without these.
    execute format('revoke connect, temporary on database %I from public, %I', current_database(), shared);
    perform piecework.hand_over(shared, piecework.group_of('owner'));
    update piecework.access_mode set retired_at = clock_timestamp();
end
$$;

create function piecework.restore_shared() returns void
language plpgsql security definer set search_path = pg_catalog, pg_temp as $$
declare
    shared name := (select shared_user from piecework.access_mode);
begin
    perform piecework.require_full();
    perform piecework.hand_over(piecework.group_of('owner'), shared);
    execute format('grant connect, temporary on database %I to %I', current_database(), shared);
    update piecework.access_mode set retired_at = null;
end
$$;

-- Nobody but the shared user (the owner of these functions) may run them unless granted above.
revoke all on all functions in schema piecework from public;
