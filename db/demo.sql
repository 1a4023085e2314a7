-- piecework: demo data for a believable shop, loaded after schema.sql.
--
-- Journal dates are relative to the day of loading (the previous month and the
-- current month up to today), so the journal opens on today's entries and the
-- reports window's default period (the previous month) is full. Every choice is
-- made from a hash of its inputs, so a load on a given day always gives the
-- same data.

set client_min_messages = warning;
set datestyle to 'ISO, DMY';

begin;

-- Stable "random" number >= 0 from a key; lives only in this session.
create function pg_temp.h(variadic parts text[]) returns integer
language sql immutable as $$
    select hashtext(array_to_string(parts, '|')) & 2147483647
$$;

-- Product group from the mark: the same prefix table the products editor
-- uses; a later (longer) prefix wins, no match gives the first 3 characters.
-- Latin Z in ПРZ and Latin L in КР АL, as the editor has them.
create function pg_temp.nom_of(mark text) returns text
language plpgsql immutable as $$
declare
    rules constant text[][] := array[
        ['ПЛ',     'Платик'],
        ['КР',     'Кронштейны оцинкованные'],
        ['ПП',     'Паранитовые прокладки'],
        ['М2',     'М2'],
        ['ПР',     'Профиль основной'],
        ['ПРН',    'Профиль Н-обр.'],
        ['ПРГ',    'Профиль ГО'],
        ['ПРZ',    'Профиль Z-обр.'],
        ['САМ',    'Саморезы'],
        ['МДФ',    'МДФ скобы'],
        ['УДЛ',    'Удленитель'],
        ['КЛОЦ',   'Кляммеры оцинкованные'],
        ['С1КЛ',   'Кляммеры поворотные'],
        ['С2КЛ',   'Кляммеры дистанционные'],
        ['С3КЛ',   'Кляммеры концевые'],
        ['ПДГВ',   'Профильи декоративн. горизонт.вертик.'],
        ['ПРД У',  'Профили дек. угловые'],
        ['ПРД В',  'Профили дек. вертикальные'],
        ['ПРД Г',  'Профили дек. горизонтальные'],
        ['КЛ430',  'Кляммеры нерж., 430'],
        ['КР АL',  'Кронштейны аллюминиевые'],
        ['КЛ1304', 'Кляммеры нерж., 12Х18']];
    grp text := '';
begin
    for i in 1 .. array_length(rules, 1) loop
        if upper(left(mark, char_length(rules[i][1]))) = rules[i][1] then
            grp := rules[i][2];
        end if;
    end loop;
    if grp = '' then
        grp := left(mark, 3);
    end if;
    return grp;
end
$$;

------------------------------------------------------------------------------
-- Workers (the trigger mirrors each into cmn_contractor.person)
------------------------------------------------------------------------------

insert into accounts_dep.person (fio, s_staffpos_hl) values
    ('Иванов И.И.',      'Заготовительный участок'),
    ('Петров П.С.',      'Заготовительный участок'),
    ('Сидоров А.Н.',     'Заготовительный участок'),
    ('Кузнецов В.А.',    'Заготовительный участок'),
    ('Смирнов Д.В.',     'Заготовительный участок'),
    ('Попов С.Г.',       'Заготовительный участок'),
    ('Васильев Н.П.',    'Заготовительный участок'),
    ('Соколов М.Ю.',     'Заготовительный участок'),
    ('Михайлов А.А.',    'Сварочный участок'),
    ('Новиков Г.Е.',     'Сварочный участок'),
    ('Фёдоров К.Л.',     'Сварочный участок'),
    ('Морозов В.В.',     'Сварочный участок'),
    ('Волков Р.И.',      'Сварочный участок'),
    ('Алексеев Ю.М.',    'Сварочный участок'),
    ('Лебедев О.Н.',     'Сварочный участок'),
    ('Семёнов Е.А.',     'Сварочный участок'),
    ('Егоров П.П.',      'Покрасочный участок'),
    ('Павлов С.С.',      'Покрасочный участок'),
    ('Козлов И.В.',      'Покрасочный участок'),
    ('Степанова Л.Н.',   'Покрасочный участок'),
    ('Николаева Т.А.',   'Покрасочный участок'),
    ('Орлов А.Д.',       'Покрасочный участок'),
    ('Андреев В.Н.',     'Покрасочный участок'),
    ('Макаров Н.Н.',     'Покрасочный участок'),
    ('Никитина Е.В.',    'Участок упаковки'),
    ('Захаров Б.Г.',     'Участок упаковки'),
    ('Зайцева О.И.',     'Участок упаковки'),
    ('Соловьёв Д.А.',    'Участок упаковки'),
    ('Борисов Ф.М.',     'Участок упаковки'),
    ('Яковлев Г.С.',     'Участок упаковки'),
    ('Григорьева Н.В.',  'Участок упаковки'),
    ('Романов С.К.',     'Участок упаковки');

------------------------------------------------------------------------------
-- Products: marks cover the group rules, a lower-case mark, and marks that
-- match no rule (their group is their first three characters).
------------------------------------------------------------------------------

insert into accounts_dep.izdel (marka, nom, massa)
select m.marka, pg_temp.nom_of(m.marka), m.massa
from (values
    ('ПЛ-40',          0.12),
    ('ПЛ-60',          0.18),
    ('пл-80',          0.24),
    ('КР-90',          0.35),
    ('КР-120',         0.42),
    ('КР-150',         0.51),
    ('КР-200',         0.66),
    ('КР-250',         0.8),
    ('КР АL-90',       0.15),
    ('КР АL-120',      0.19),
    ('КР АL-150',      0.23),
    ('ПП-2',           0.02),
    ('М2-100',         1.25),
    ('ПР-3000',        2.4),
    ('ПРХ-2500',       2.05),
    ('ПРН-2000',       1.6),
    ('ПРН-3000',       2.35),
    ('ПРГ-3000',       2.2),
    ('ПРZ-2500',       1.9),
    ('САМ 4,2х16',     0.003),
    ('МДФ-1',          0.045),
    ('УДЛ-100',        0.31),
    ('КЛОЦ-8',         0.028),
    ('С1КЛ-10',        0.034),
    ('С2КЛ-10',        0.037),
    ('С3КЛ-10',        0.03),
    ('ПДГВ-3000',      1.75),
    ('ПРД У-2500',     1.1),
    ('ПРД У-3000',     1.32),
    ('ПРД В-3000',     1.28),
    ('ПРД Г-3000',     1.3),
    ('КЛ430-8',        0.026),
    ('КЛ1304-8',       0.027),
    ('КЛ1304-10',      0.033),
    ('Уголок 40х40',   2.42),
    ('Шайба 8',        0.004),
    ('Анкер 10х100',   0.06),
    ('ШП-12',          0.09),
    ('Скоба 50',       0.05),
    ('ЗК',             0.4)
) as m(marka, massa);

------------------------------------------------------------------------------
-- Operation kinds: two painting kinds (their names contain КРАСКА).
------------------------------------------------------------------------------

create temporary table kind_info (
    vid    text primary key,
    base   numeric,   -- typical piece price, roubles
    stage  smallint,  -- 0 finished, 1 blank, null either
    always boolean    -- every product has it
) on commit drop;

insert into kind_info values
    ('Резка',               0.35, 1,    true),
    ('Гибка',               0.42, 1,    false),
    ('Штамповка',           0.28, 1,    false),
    ('Пробивка',            0.22, 1,    false),
    ('Сварка',              1.80, null, false),
    ('Сверловка',           0.30, null, false),
    ('Зачистка',            0.25, null, false),
    ('Покраска',            0.95, 0,    false),
    ('Покраска порошковая', 1.25, 0,    false),
    ('Упаковка',            0.12, 0,    true);

insert into accounts_dep.vid_oper (vid) select vid from kind_info order by vid;

------------------------------------------------------------------------------
-- Operations and their norms
------------------------------------------------------------------------------

-- Each product: cutting as a blank, packing as a finished product, and about
-- a quarter of the other kinds.
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select v.id,
       coalesce(k.stage, (pg_temp.h('stage', p.marka, k.vid) % 2)::smallint),
       p.id,
       round(k.base * (0.75 + (pg_temp.h('price', p.marka, k.vid) % 60) / 100.0)
                    * (1 + least(p.massa, 2.5)::numeric / 5), 2)
from accounts_dep.izdel p
cross join kind_info k
join accounts_dep.vid_oper v on v.vid = k.vid
where k.always or pg_temp.h('has', p.marka, k.vid) % 100 < 25
order by p.marka, k.vid;

-- One operation that nobody has priced yet: no norm at all, so it is missing
-- from the operations list but present in the price list export.
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select v.id, 1, p.id, 0
from accounts_dep.izdel p, accounts_dep.vid_oper v
where p.marka = 'Скоба 50' and v.vid = 'Гибка'
on conflict (vid, naimen, i_id) do nothing;
delete from accounts_dep.norm
where o_id = (select o.id from accounts_dep.oper o
              join accounts_dep.izdel p on p.id = o.i_id
              join accounts_dep.vid_oper v on v.id = o.vid
              where p.marka = 'Скоба 50' and v.vid = 'Гибка' and o.naimen = 1);

-- The insert trigger gave each operation its first norm at the base price;
-- give it a believable output norm per shift.
update accounts_dep.norm n
set norma = 200 + 50 * (pg_temp.h('norma', n.o_id::text) % 21)
where n.norma = 0;

-- A second and third norm on some operations: more output, higher price, bonus.
insert into accounts_dep.norm (o_id, norma, prize, price)
select n.o_id,
       round(n.norma * (1 + 0.2 * x.k))::integer,
       5 * x.k,
       round((n.price * (1 + 0.1 * x.k))::numeric, 2)::double precision
from accounts_dep.norm n
cross join generate_series(1, 2) as x(k)
where x.k <= pg_temp.h('norms', n.o_id::text) % 3
order by n.o_id, x.k;

------------------------------------------------------------------------------
-- Shift journal
------------------------------------------------------------------------------

-- Operations that can be picked in the editor (they have a norm), numbered
-- from 0 for hash-based choice, with the base price the editor would take.
create temporary table pick_oper on commit drop as
select row_number() over (order by o.id) - 1 as rn,
       o.id, o.i_id,
       min(n.price) as base_price,
       min(n.norma) as norma,
       upper(v.vid) like '%КРАСКА%' as painting
from accounts_dep.oper o
join accounts_dep.norm n on n.o_id = o.id
join accounts_dep.vid_oper v on v.id = o.vid
group by o.id, o.i_id, v.vid;

create temporary table worker on commit drop as
select id, row_number() over (order by id) as rn, count(*) over () as total
from accounts_dep.person;

-- Working days of the previous and current month up to today, today itself
-- whatever weekday it is, and one Saturday of the previous month worked as a
-- day off (shift 1 and overtime only).
create temporary table work_day on commit drop as
select d::date as d,
       extract(isodow from d) >= 6 as day_off
from generate_series(date_trunc('month', current_date) - interval '1 month',
                     current_date, interval '1 day') as g(d)
where extract(isodow from d) < 6 or d::date = current_date
union
select s.d, true
from (select (date_trunc('month', current_date) - interval '1 month')::date + x as d
      from generate_series(7, 13) as x) s
where extract(isodow from s.d) = 6;

-- Who works which shift on which day. Shifts 1 to 3 each have a third of the
-- workers, most of them present on a given day; overtime takes a few workers
-- of any shift, at least one a day.
create temporary table crew on commit drop as
select wd.d, wd.day_off, s.s, w.id as w_id
from work_day wd
cross join generate_series(1, 3) as s(s)
join worker w on 1 + (w.rn - 1) % 3 = s.s
where (not wd.day_off or wd.d = current_date or s.s = 1)
  and pg_temp.h('here', w.id::text, wd.d::text) % 100 < (case when wd.day_off and wd.d <> current_date then 45 else 80 end)
union all
select wd.d, wd.day_off, 4, w.id
from work_day wd
join worker w on pg_temp.h('over', w.id::text, wd.d::text) % 100 < 15
              or w.rn = 1 + pg_temp.h('over1', wd.d::text) % w.total;

-- One or two entries per worker and shift; two entries use two different
-- operations, so no entry duplicates another in worker, operation, product,
-- date, shift and colour.
create temporary table entry on commit drop as
select c.*, e.j, e.hours, op.id as o_id, op.i_id, op.base_price, op.norma, op.painting
from (
    select c.*,
           case when c.s = 4 then 1
                when pg_temp.h('n', c.w_id::text, c.d::text, c.s::text) % 3 = 0 then 2
                else 1 end as n,
           pg_temp.h('op', c.w_id::text, c.d::text, c.s::text) as hop,
           pg_temp.h('hours', c.w_id::text, c.d::text, c.s::text) as hh
    from crew c
) c
cross join lateral (
    select 1 as j,
           case when c.s = 4 then 2 + c.hh % 3
                when c.n = 1 then (array[8, 8, 8, 8, 8, 10, 12, 6, 4, 8])[1 + c.hh % 10]
                else (array[4, 4, 5, 6, 2, 3])[1 + c.hh % 6] end as hours
    union all
    select 2, 8 - (array[4, 4, 5, 6, 2, 3])[1 + c.hh % 6]
    where c.n = 2
) e
join pick_oper op
  on op.rn = case e.j
                 when 1 then c.hop % (select count(*) from pick_oper)
                 else (c.hop % (select count(*) from pick_oper) + 1
                       + c.hop / 7 % ((select count(*) from pick_oper) - 1))
                      % (select count(*) from pick_oper)
             end;

insert into accounts_dep.smena
    (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod,
     prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
select x.w_id, x.i_id, x.o_id, x.kol_vo,
       case when x.hb % 10 < 7 then 0 else least(x.kol_vo, 1 + x.hb / 10 % 5) end,
       x.d, x.s,
       -- the editor's price: lowest norm x2 on a day off, x1.2 shift 3, x1.5 overtime
       round((x.base_price
              * (case when x.day_off then 2.0 else 1.0 end)
              * (case x.s when 3 then 1.2 when 4 then 1.5 else 1.0 end))::numeric, 4)::double precision,
       case when x.painting
            then (array[1, 1, 1, 7024, 9003, 3005, 5005, 6005, 8017, 9006])[1 + x.hc % 10]
            else 0 end,
       x.hours,
       x.ok,
       case when x.ok = 'no' or x.d = current_date
            then x.d::timestamp        -- the editor stores the date only
            else least(x.d + x.hv % 2, current_date - 1)::timestamp
                 + (case when x.hv % 3 = 0 then interval '1 minute' * (480 + x.hv / 3 % 600)
                         else interval '0' end)
       end,
       0, 0, 0, 0, 0, 0
from (
    select e.*,
           greatest(1, round(e.norma * e.hours / 8.0
                             * (0.7 + pg_temp.h('qty', e.w_id::text, e.d::text, e.s::text, e.j::text) % 50 / 100.0)))::integer as kol_vo,
           pg_temp.h('brak', e.w_id::text, e.d::text, e.s::text, e.j::text) as hb,
           pg_temp.h('color', e.w_id::text, e.d::text, e.s::text, e.j::text) as hc,
           pg_temp.h('vvod', e.w_id::text, e.d::text, e.s::text, e.j::text) as hv,
           case
               when e.d = current_date then
                   case when pg_temp.h('ok', e.w_id::text, e.d::text, e.s::text, e.j::text) % 10 < 8 then 'no' else 'ok' end
               when e.d >= current_date - 7 then
                   (array['no', 'no', 'no', 'no', 'ok', 'ok', 'ok', 'да', 'да', 'да'])
                       [1 + pg_temp.h('ok', e.w_id::text, e.d::text, e.s::text, e.j::text) % 10]
               else
                   case pg_temp.h('ok', e.w_id::text, e.d::text, e.s::text, e.j::text) % 100
                       when 0 then 'ta' when 1 then 'ta'
                       when 2 then 'no' when 3 then 'no' when 4 then 'no'
                       else case when pg_temp.h('ok2', e.w_id::text, e.d::text) % 100 < 60 then 'ok' else 'да' end
                   end
           end as ok
    from entry e
) x
order by x.d, x.s, x.w_id, x.j;

------------------------------------------------------------------------------
-- Time sheet: what the time sheet's rebuild would write, so both agree.
------------------------------------------------------------------------------

do $$
begin
    execute format(
        'insert into accounts_dep.h_tabel (w_id, smena, month, year, %s) '
        'select w_id, smena, extract(month from data)::integer, extract(year from data)::integer, %s '
        'from accounts_dep.smena '
        'group by w_id, smena, extract(month from data), extract(year from data) '
        'order by 3, 4, 2, 1',
        (select string_agg('d' || k, ', ' order by k) from generate_series(1, 31) k),
        (select string_agg(format('coalesce(sum(time) filter (where extract(day from data) = %s), 0)::integer', k),
                           ', ' order by k)
         from generate_series(1, 31) k));
end
$$;

commit;
