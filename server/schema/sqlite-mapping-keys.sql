-- Gives the mapping table its foreign keys (SQLite adds none to an existing table, so the
-- table is built again and its rows copied). Runs with foreign_keys off, so mappings that
-- already name a missing area or storage area are copied too: they stay readable, and
-- only new or changed rows are checked.
create unique index if not exists ux_tbQyda_code_kind on tbQyda (f_qybm, f_qylx);
create table tbqydz_keyed (
    f_qylx varchar(10) not null check (length(f_qylx) <= 10),
    f_qybm varchar(20) not null check (length(f_qybm) <= 20),
    f_ccqybm varchar(20) not null check (length(f_ccqybm) <= 20)
        references tbCCQyda (f_ccqybm) on delete restrict,
    unique (f_qylx, f_ccqybm),
    foreign key (f_qybm, f_qylx) references tbQyda (f_qybm, f_qylx) on delete restrict
);
insert into tbqydz_keyed (f_qylx, f_qybm, f_ccqybm)
    select f_qylx, f_qybm, f_ccqybm from tbqydz order by rowid;
drop table tbqydz;
alter table tbqydz_keyed rename to tbqydz;
