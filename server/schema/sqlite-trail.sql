-- The trail written by the database itself (schema version 2). The server registers
-- nelvo_operator() (the session's operator) and nelvo_txn() (a token unique to the open
-- transaction) on every connection; a connection without them cannot change the
-- recorded tables at all.
create unique index if not exists ux_tbAudit_txn on tbAudit (f_txn);

-- One row per changed row of a recorded table: the row before and after as JSON objects.
create table if not exists tbAuditRow (
    f_id integer primary key autoincrement,
    f_batch integer not null references tbAudit (f_id),
    f_operation varchar(6) not null,
    f_table varchar(20) not null,
    f_key text not null,
    f_before text,
    f_after text
);
create index if not exists ix_tbAuditRow_batch on tbAuditRow (f_batch);

create table if not exists tbSchema (
    f_version integer not null
);

-- Values enter the JSON as text (a byte block a column may hold has no JSON form).
-- The batch row of the open transaction, made by its first recorded change.
create view if not exists vwTrailBatch as
select strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime') as f_time,
       nelvo_operator() as f_operator, nelvo_txn() as f_txn;

create trigger if not exists trail_tbQyda_insert after insert on tbQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbQyda',
                cast(new.f_qybm as text), null,
                json_object('f_qybm', cast(new.f_qybm as text), 'f_qymc', cast(new.f_qymc as text), 'f_qylx', cast(new.f_qylx as text)));
end;
create trigger if not exists trail_tbQyda_update after update on tbQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbQyda',
                cast(new.f_qybm as text),
                json_object('f_qybm', cast(old.f_qybm as text), 'f_qymc', cast(old.f_qymc as text), 'f_qylx', cast(old.f_qylx as text)),
                json_object('f_qybm', cast(new.f_qybm as text), 'f_qymc', cast(new.f_qymc as text), 'f_qylx', cast(new.f_qylx as text)));
end;
create trigger if not exists trail_tbQyda_delete after delete on tbQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbQyda',
                cast(old.f_qybm as text),
                json_object('f_qybm', cast(old.f_qybm as text), 'f_qymc', cast(old.f_qymc as text), 'f_qylx', cast(old.f_qylx as text)),
                null);
end;

create trigger if not exists trail_tbCCQyda_insert after insert on tbCCQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbCCQyda',
                cast(new.f_ccqybm as text), null,
                json_object('f_ccqybm', cast(new.f_ccqybm as text), 'f_ccqymc', cast(new.f_ccqymc as text)));
end;
create trigger if not exists trail_tbCCQyda_update after update on tbCCQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbCCQyda',
                cast(new.f_ccqybm as text),
                json_object('f_ccqybm', cast(old.f_ccqybm as text), 'f_ccqymc', cast(old.f_ccqymc as text)),
                json_object('f_ccqybm', cast(new.f_ccqybm as text), 'f_ccqymc', cast(new.f_ccqymc as text)));
end;
create trigger if not exists trail_tbCCQyda_delete after delete on tbCCQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbCCQyda',
                cast(old.f_ccqybm as text),
                json_object('f_ccqybm', cast(old.f_ccqybm as text), 'f_ccqymc', cast(old.f_ccqymc as text)), null);
end;

create trigger if not exists trail_tbqydz_insert after insert on tbqydz begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbqydz',
                cast(new.f_qylx as text) || '/' || cast(new.f_ccqybm as text), null,
                json_object('f_qylx', cast(new.f_qylx as text), 'f_qybm', cast(new.f_qybm as text),
                            'f_ccqybm', cast(new.f_ccqybm as text)));
end;
create trigger if not exists trail_tbqydz_update after update on tbqydz begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbqydz',
                cast(new.f_qylx as text) || '/' || cast(new.f_ccqybm as text),
                json_object('f_qylx', cast(old.f_qylx as text), 'f_qybm', cast(old.f_qybm as text),
                            'f_ccqybm', cast(old.f_ccqybm as text)),
                json_object('f_qylx', cast(new.f_qylx as text), 'f_qybm', cast(new.f_qybm as text),
                            'f_ccqybm', cast(new.f_ccqybm as text)));
end;
create trigger if not exists trail_tbqydz_delete after delete on tbqydz begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbqydz',
                cast(old.f_qylx as text) || '/' || cast(old.f_ccqybm as text),
                json_object('f_qylx', cast(old.f_qylx as text), 'f_qybm', cast(old.f_qybm as text),
                            'f_ccqybm', cast(old.f_ccqybm as text)),
                null);
end;

create trigger if not exists trail_tbKjqj_insert after insert on tbKjqj begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbKjqj',
                cast(new.f_dqny as text), null, json_object('f_dqny', cast(new.f_dqny as text)));
end;
create trigger if not exists trail_tbKjqj_update after update on tbKjqj begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbKjqj',
                cast(new.f_dqny as text), json_object('f_dqny', cast(old.f_dqny as text)), json_object('f_dqny', cast(new.f_dqny as text)));
end;
create trigger if not exists trail_tbKjqj_delete after delete on tbKjqj begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbKjqj',
                cast(old.f_dqny as text), json_object('f_dqny', cast(old.f_dqny as text)), null);
end;

delete from tbSchema;
insert into tbSchema (f_version) values (2);
