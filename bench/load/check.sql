-- The time sheet against the journal: every day cell of every worker and shift in the last :months_back
-- months and this one must equal the sum of the hours of that worker's entries of that shift and day
-- (0 where there are none, and where the time sheet has no row). Prints the number of cells that differ.
--   psql -v months_back=3 -f bench/load/check.sql DATABASE
\set ON_ERROR_STOP on
with span as (
  select (date_trunc('month', current_date) - make_interval(months => :months_back))::date as first_day,
         (date_trunc('month', current_date) + interval '1 month')::date as next_day
),
journal as (
  select s.smena, s.w_id, s.data, coalesce(sum(s.time), 0) as hours
  from accounts_dep.smena s, span
  where s.data >= span.first_day and s.data < span.next_day
  group by s.smena, s.w_id, s.data
),
sheet as (
  select h.smena, h.w_id, make_date(h.year, h.month, c.day::int) as data, sum(c.hours) as hours
  from accounts_dep.h_tabel h
  cross join lateral unnest(array[h.d1, h.d2, h.d3, h.d4, h.d5, h.d6, h.d7, h.d8, h.d9, h.d10, h.d11, h.d12, h.d13,
                                  h.d14, h.d15, h.d16, h.d17, h.d18, h.d19, h.d20, h.d21, h.d22, h.d23, h.d24, h.d25,
                                  h.d26, h.d27, h.d28, h.d29, h.d30, h.d31]) with ordinality as c(hours, day)
  cross join span
  where make_date(h.year, h.month, 1) >= span.first_day and make_date(h.year, h.month, 1) < span.next_day
    and c.day::int <= extract(day from make_date(h.year, h.month, 1) + interval '1 month' - interval '1 day')
  group by h.smena, h.w_id, 3
)
select count(*)
from journal j full join sheet t on t.smena = j.smena and t.w_id = j.w_id and t.data = j.data
where coalesce(j.hours, 0) <> coalesce(t.hours, 0);
