-- Tables of the data server on SQLite. Names are unquoted, so they resolve ignoring case.
-- The length checks refuse what PostgreSQL's varchar would refuse, so both behave alike.
create table if not exists tbQyda (
    f_qybm varchar(20) not null primary key check (length(f_qybm) <= 20),
    f_qymc varchar(60) check (length(f_qymc) <= 60),
    f_qylx varchar(10) check (length(f_qylx) <= 10)
);
create table if not exists tbCCQyda (
    f_ccqybm varchar(20) not null primary key check (length(f_ccqybm) <= 20),
    f_ccqymc varchar(60) check (length(f_ccqymc) <= 60)
);
-- One storage area is mapped at most once per kind, even when two clerks race.
create table if not exists tbqydz (
    f_qylx varchar(10) not null check (length(f_qylx) <= 10),
    f_qybm varchar(20) not null check (length(f_qybm) <= 20),
    f_ccqybm varchar(20) not null check (length(f_ccqybm) <= 20),
    unique (f_qylx, f_ccqybm)
);
-- System parameters; f_id keeps the order of insertion.
create table if not exists tbXtcs (
    f_id integer primary key autoincrement,
    f_Csmc varchar(40) not null check (length(f_Csmc) <= 40),
    f_csz varchar(200) check (length(f_csz) <= 200)
);
create table if not exists tbZyda (
    f_zybm varchar(20) not null primary key check (length(f_zybm) <= 20),
    f_zymc varchar(40) check (length(f_zymc) <= 40)
);
-- The open accounting period (year-month), one row.
create table if not exists tbKjqj (
    f_dqny char(6) not null check (length(f_dqny) <= 6)
);
-- The audit trail: every committed ExecuteBatch with the server's time, the session's
-- operator and the exact text, written in the batch's own transaction.
create table if not exists tbAudit (
    f_id integer primary key autoincrement,
    f_time varchar(19) not null,
    f_operator text not null,
    f_text text not null
);
create index if not exists ix_tbAudit_time on tbAudit (f_time);
