-- A shop's history for measuring: :years years up to yesterday of a 100-worker shop, about 600,000 journal
-- entries a year with their time-sheet months, 60 products, 10 operation kinds, 300 operations. Set-based,
-- into a database piecework-db prepared (empty books and journal):
--   psql -v years=10 -f bench/load/generate.sql DATABASE
-- The journal's history and closed-month triggers are switched off for the load and on again after it:
-- the history would double the load and holds nothing worth measuring.
\set ON_ERROR_STOP on
set client_min_messages = warning;
select setseed(0.42) \g /dev/null

insert into accounts_dep.person (id, fio)
select w, (array['Иванов','Петров','Сидоров','Кузнецов','Смирнов','Попов','Васильев','Соколов','Михайлов','Новиков'])[1 + w % 10]
          || ' ' || chr(1040 + w % 28) || '.' || chr(1040 + (w * 7) % 28) || '.'
from generate_series(1, 100) w;
select setval('accounts_dep.person_id_seq', 100) \g /dev/null

insert into accounts_dep.izdel (id, marka, nom, massa)
select p, (array['КР','КШ','ПЛ','СТ','ЯЩ'])[1 + p % 5] || '-' || p, (array['Коробка','Крышка','Полка','Стойка','Ящик'])[1 + p % 5],
       round((0.2 + random() * 3)::numeric, 3)
from generate_series(1, 60) p;
select setval('accounts_dep.izdel_id_seq', 60) \g /dev/null

insert into accounts_dep.vid_oper (id, vid)
select k, (array['Резка','Гибка','Штамповка','Сварка','Зачистка','Грунтовка','Покраска','Сборка','Упаковка','Маркировка'])[k]
from generate_series(1, 10) k;
select setval('accounts_dep.vid_oper_id_seq', 10) \g /dev/null

-- Five operations per product: kind, finished or blank, a price of up to four decimals; each gets its
-- first norm from the book's own trigger.
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new)
select o, 1 + (o * 3) % 10, (o % 2)::smallint, 1 + (o - 1) / 5, round((0.5 + random() * 20)::numeric, 4)
from generate_series(1, 300) o;
select setval('accounts_dep.oper_id_seq', 300) \g /dev/null

alter table accounts_dep.smena disable trigger piecework_history;
alter table accounts_dep.smena disable trigger piecework_closed;

-- Workers rotate over shifts 1-3 by week; weekends are mostly off (a few work them at the day-off price);
-- about 24 entries a worker and working day, overtime (shift 4) now and then; rejects, colours, most
-- entries accepted, older ones all accepted.
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod, prize)
select w, o.i_id, o.id, 1 + (random() * 40)::int,
       case when random() < 0.08 then (random() * 3)::int else 0 end,
       d, s, round((o.cena_new * case when weekend then 2 else 1 end * case s when 3 then 1.2 when 4 then 1.5 else 1 end)::numeric, 4),
       case when o.vid = 7 then (random() * 6)::int else 0 end,
       case when k = 1 then case when s = 4 then 2 else 8 end else 0 end,
       case when d < current_date - 7 or random() < 0.5 then 'ok' else 'no' end,
       d, case when random() < 0.03 then 5 else 0 end
from (select d::date, extract(isodow from d) >= 6 as weekend
      from generate_series(current_date - make_interval(years => :years), current_date - 1, interval '1 day') d) days
cross join generate_series(1, 100) w
cross join lateral (select case when random() < 0.04 then 4 else 1 + (w + extract(week from d)::int) % 3 end as s) shift
cross join lateral generate_series(1, 20 + (w % 9)) k
join accounts_dep.oper o on o.id = 1 + (w * 37 + k * 11 + extract(doy from d)::int) % 300
where not weekend or (w % 10 = 0 and k <= 12);

alter table accounts_dep.smena enable trigger piecework_history;
alter table accounts_dep.smena enable trigger piecework_closed;

-- Every month's time sheet, as the program's rebuild writes it: per worker, shift and day the hours.
insert into accounts_dep.h_tabel (smena, w_id, month, year,
    d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
    d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
select smena, w_id, extract(month from m)::int, extract(year from m)::int,
       sum(case when day = 1 then tim else 0 end), sum(case when day = 2 then tim else 0 end), sum(case when day = 3 then tim else 0 end),
       sum(case when day = 4 then tim else 0 end), sum(case when day = 5 then tim else 0 end), sum(case when day = 6 then tim else 0 end),
       sum(case when day = 7 then tim else 0 end), sum(case when day = 8 then tim else 0 end), sum(case when day = 9 then tim else 0 end),
       sum(case when day = 10 then tim else 0 end), sum(case when day = 11 then tim else 0 end), sum(case when day = 12 then tim else 0 end),
       sum(case when day = 13 then tim else 0 end), sum(case when day = 14 then tim else 0 end), sum(case when day = 15 then tim else 0 end),
       sum(case when day = 16 then tim else 0 end), sum(case when day = 17 then tim else 0 end), sum(case when day = 18 then tim else 0 end),
       sum(case when day = 19 then tim else 0 end), sum(case when day = 20 then tim else 0 end), sum(case when day = 21 then tim else 0 end),
       sum(case when day = 22 then tim else 0 end), sum(case when day = 23 then tim else 0 end), sum(case when day = 24 then tim else 0 end),
       sum(case when day = 25 then tim else 0 end), sum(case when day = 26 then tim else 0 end), sum(case when day = 27 then tim else 0 end),
       sum(case when day = 28 then tim else 0 end), sum(case when day = 29 then tim else 0 end), sum(case when day = 30 then tim else 0 end),
       sum(case when day = 31 then tim else 0 end)
from (select smena, w_id, date_trunc('month', data) as m, extract(day from data)::int as day, coalesce(sum(time), 0) as tim
      from accounts_dep.smena group by smena, w_id, data) days
group by smena, w_id, m;

-- A shop's years-old tables have long been vacuumed: without this the load would measure the one-time
-- vacuum of the bulk insert and the first readers setting every row's hint bits.
vacuum (analyze) accounts_dep.person, accounts_dep.izdel, accounts_dep.vid_oper, accounts_dep.oper, accounts_dep.norm,
        accounts_dep.smena, accounts_dep.h_tabel;
select count(*) as entries, min(data), max(data) from accounts_dep.smena;
