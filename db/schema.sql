-- piecework: the database the program expects, for a standalone shop.
--
-- Load once into a fresh, empty database owned by the loading role:
--   psql -v ON_ERROR_STOP=1 -h <server> -U sys -d <database> -f db/schema.sql
-- Only what a database owner may do is used here (no superuser, no extensions).
--
-- The program's own tables live in accounts_dep. The schemas cmn_contractor,
-- adm_role, hrms_staffpos and cmn_department belong to the enterprise database
-- in a full installation; a shop without it gets small stand-ins below, and
-- triggers keep cmn_contractor.person in step with the workers book.
--
-- All names are lower case: the program writes some of them in upper or mixed
-- case (accounts_dep.SMENA, MARKA, CENA_new) and relies on unquoted folding.
--
-- No foreign keys on purpose: the program deletes products, operations and
-- workers without looking at what refers to them, and such a delete must
-- succeed; reports and journals simply stop showing the orphaned rows.

set client_min_messages = warning;

-- Upper-casing Cyrillic (the duplicate checks on product marks and operation
-- kinds) needs a real UTF-8 character type; the plain C locale leaves Cyrillic
-- letters as they are and the checks would then miss case-variants.
do $$
begin
    if upper('пл') <> 'ПЛ' then
        raise warning 'this database upper-cases no Cyrillic letters (LC_CTYPE %); create it with a UTF-8 locale such as C.UTF-8',
            current_setting('lc_ctype');
    end if;
end
$$;

-- The program sends dates as DD.MM.YYYY, once as a bare quoted text (vvod);
-- it sets DateStyle itself after connecting, this is the same default for
-- every other client of the database. Not fatal where the role does not own
-- the database.
do $$
begin
    execute format('alter database %I set datestyle to %L', current_database(), 'ISO, DMY');
exception when insufficient_privilege then
    raise warning 'could not set DateStyle for database %: not its owner', current_database();
end
$$;

create schema accounts_dep;
create schema cmn_contractor;
create schema adm_role;
create schema hrms_staffpos;
create schema cmn_department;

-- Personal codes are text in the enterprise database; queries cast them with
-- ::t_integer, found without a schema prefix, so the domain lives in public.
create domain public.t_integer as integer;

------------------------------------------------------------------------------
-- Reference books
------------------------------------------------------------------------------

-- Column order follows the fields the program declares for "select *" lists.
create table accounts_dep.person (
    id            serial primary key,
    fio           text,
    s_staffpos_hl text
);

create sequence accounts_dep.izdel_id_seq;
create table accounts_dep.izdel (
    id    numeric(15,0) not null default nextval('accounts_dep.izdel_id_seq') primary key,
    marka text,
    nom   text,
    massa double precision
);
alter sequence accounts_dep.izdel_id_seq owned by accounts_dep.izdel.id;
-- A mark is unique whatever its letter case; the program checks first, this
-- catches two workstations saving the same mark at the same moment.
create unique index izdel_marka_upper_key on accounts_dep.izdel (upper(marka));

-- vid before id: the kinds list is read with "select *" and declares VID, ID.
create table accounts_dep.vid_oper (
    vid text,
    id  serial primary key
);
create unique index vid_oper_vid_upper_key on accounts_dep.vid_oper (upper(vid));

create table accounts_dep.oper (
    id       serial primary key,
    vid      integer,
    naimen   smallint default 0,
    i_id     integer,
    cena_new numeric default 0,
    constraint oper_vid_naimen_i_id_key unique (vid, naimen, i_id)
);
create index oper_i_id_idx on accounts_dep.oper (i_id);

create table accounts_dep.norm (
    id    serial primary key,
    o_id  integer,
    norma integer default 0,
    prize integer default 0,
    price double precision default 0
);
-- The operations list groups norms by operation; the norms grid filters by it.
create index norm_o_id_idx on accounts_dep.norm (o_id);

------------------------------------------------------------------------------
-- Shift journal and time sheet
------------------------------------------------------------------------------

create table accounts_dep.smena (
    id            serial primary key,
    w_id          integer,
    i_id          integer,
    o_id          integer,
    kol_vo        integer,
    brak          integer default 0,
    data          date,
    smena         integer,
    cena          double precision,
    color         integer default 0,
    time          integer,
    ok            character(2) default 'no',
    vvod          timestamp,
    prize         double precision default 0,
    id_doc        numeric(15,0) default 0,
    id_doc_item   numeric(15,0) default 0,
    f_gds_qty_use double precision default 0,
    id_gds_use    numeric(15,0) default 0,
    id_cons_use   numeric(15,0) default 0
);
-- The journal loads one date and shift; reports scan a period.
create index smena_data_smena_idx on accounts_dep.smena (data, smena);
-- Hours of one worker in one shift on one day (editor, deletion, duplicates).
create index smena_w_id_smena_data_idx on accounts_dep.smena (w_id, smena, data);

-- Column order follows the fields the time sheet declares for h_tabel.*.
create table accounts_dep.h_tabel (
    w_id  integer not null,
    month integer not null,
    year  integer not null,
    smena integer not null,
    id    serial primary key,
    d1  integer not null default 0, d2  integer not null default 0,
    d3  integer not null default 0, d4  integer not null default 0,
    d5  integer not null default 0, d6  integer not null default 0,
    d7  integer not null default 0, d8  integer not null default 0,
    d9  integer not null default 0, d10 integer not null default 0,
    d11 integer not null default 0, d12 integer not null default 0,
    d13 integer not null default 0, d14 integer not null default 0,
    d15 integer not null default 0, d16 integer not null default 0,
    d17 integer not null default 0, d18 integer not null default 0,
    d19 integer not null default 0, d20 integer not null default 0,
    d21 integer not null default 0, d22 integer not null default 0,
    d23 integer not null default 0, d24 integer not null default 0,
    d25 integer not null default 0, d26 integer not null default 0,
    d27 integer not null default 0, d28 integer not null default 0,
    d29 integer not null default 0, d30 integer not null default 0,
    d31 integer not null default 0,
    -- The editor inserts a row only when it counted none; two workstations
    -- racing on the first entry of a month must not leave two rows.
    constraint h_tabel_w_id_smena_month_year_key unique (w_id, smena, month, year)
);
-- The time sheet tabs and the rebuild read one month (and shift) at a time.
create index h_tabel_month_year_smena_idx on accounts_dep.h_tabel (month, year, smena);

-- Stamp of the newest build that has run here; the first check creates the row.
create table accounts_dep.ver (
    d     integer,
    t     integer,
    delim text
);

------------------------------------------------------------------------------
-- Enterprise tables the program only reads
------------------------------------------------------------------------------

-- Only these three columns: the journal and report queries name many columns
-- without a table prefix (fio, color, time, ...), and one more column of the
-- same name here would make them ambiguous.
create table cmn_contractor.person (
    id        numeric(15,0) primary key,
    s_code    text not null,
    s_caption text,
    -- Queries cast the code to an integer; one bad code would break them all.
    constraint person_s_code_digits check (s_code ~ '^[0-9]+$')
);

create table adm_role.roles (
    id        numeric(15,0) primary key,
    s_name    text,
    s_caption text,
    d_begin   date,
    d_end     date,
    b_active  text
);

create table hrms_staffpos.staffpos (
    id            numeric(15,0) primary key,
    id_department numeric(15,0),
    s_code        text,
    s_caption     text,
    d_begin       date,
    d_end         date,
    s_description text
);

create table cmn_department.department (
    id            numeric(15,0) primary key,
    id_branch     numeric(15,0),
    s_code        text,
    s_caption     text,
    s_description text,
    id_parent     numeric(15,0)
);

insert into cmn_department.department (id, id_branch, s_code, s_caption, s_description, id_parent) values
    (1, 1, '01',   'Производство',              'Производственное подразделение', null),
    (2, 1, '0101', 'Заготовительный участок',   'Резка, гибка, штамповка',        1),
    (3, 1, '0102', 'Сварочный участок',         'Сварка и сборка',                1),
    (4, 1, '0103', 'Покрасочный участок',       'Грунтовка и порошковая покраска', 1),
    (5, 1, '0104', 'Участок упаковки',          'Упаковка готовой продукции',     1),
    (6, 1, '02',   'Склад',                     'Склад готовой продукции',        null);

insert into hrms_staffpos.staffpos (id, id_department, s_code, s_caption, d_begin, d_end, s_description) values
    (1, 2, '101', 'Резчик металла',       date '2005-01-01', date '2999-12-31', null),
    (2, 2, '102', 'Штамповщик',           date '2005-01-01', date '2999-12-31', null),
    (3, 3, '103', 'Электросварщик',       date '2005-01-01', date '2999-12-31', null),
    (4, 4, '104', 'Маляр',                date '2005-01-01', date '2999-12-31', null),
    (5, 5, '105', 'Упаковщик',            date '2005-01-01', date '2999-12-31', null),
    (6, 1, '106', 'Мастер смены',         date '2005-01-01', date '2999-12-31', null),
    (7, 6, '107', 'Кладовщик',            date '2005-01-01', date '2999-12-31', null);

-- Open-ended validity and an active flag, so that any reading of "current
-- roles" finds them.
insert into adm_role.roles (id, s_name, s_caption, d_begin, d_end, b_active) values
    (1, 'worker',  'Рабочий',          date '2005-01-01', date '2999-12-31', 'true'),
    (2, 'foreman', 'Мастер',           date '2005-01-01', date '2999-12-31', 'true'),
    (3, 'bursar',  'Бухгалтер',        date '2005-01-01', date '2999-12-31', 'true'),
    (4, 'depot',   'Кладовщик',        date '2005-01-01', date '2999-12-31', 'true'),
    (5, 'admin',   'Администратор',    date '2005-01-01', date '2999-12-31', 'true');

------------------------------------------------------------------------------
-- Standalone rules
------------------------------------------------------------------------------

-- Journals of shift 1 find a worker's name by cmn_contractor.person.id, the
-- other shifts, time sheets and reports by s_code read as an integer. Mirroring
-- every worker with id = s_code = worker number makes both ways agree.
create function accounts_dep.person_mirror() returns trigger
language plpgsql as $$
begin
    if tg_op = 'DELETE' then
        delete from cmn_contractor.person where id = old.id;
        return old;
    end if;
    if tg_op = 'UPDATE' and new.id <> old.id then
        delete from cmn_contractor.person where id = old.id;
    end if;
    insert into cmn_contractor.person (id, s_code, s_caption)
    values (new.id, new.id::text, new.fio)
    on conflict (id) do update
        set s_code = excluded.s_code, s_caption = excluded.s_caption;
    return new;
end
$$;

create trigger person_mirror
    after insert or update or delete on accounts_dep.person
    for each row execute function accounts_dep.person_mirror();

-- The operations list joins the norms, so an operation without a norm would
-- never show up there, and its norms grid is reached only from that list.
-- A new operation therefore starts with one norm at its own base price.
create function accounts_dep.oper_first_norm() returns trigger
language plpgsql as $$
begin
    insert into accounts_dep.norm (o_id, norma, prize, price)
    values (new.id, 0, 0, coalesce(new.cena_new, 0));
    return new;
end
$$;

create trigger oper_first_norm
    after insert on accounts_dep.oper
    for each row execute function accounts_dep.oper_first_norm();
