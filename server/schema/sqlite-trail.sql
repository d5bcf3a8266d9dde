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

-- The batch row of the open transaction, made by its first recorded change.
create view if not exists vwTrailBatch as
select strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime') as f_time,
       nelvo_operator() as f_operator, nelvo_txn() as f_txn;

create trigger if not exists trail_tbQyda_insert after insert on tbQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbQyda',
                new.f_qybm, null,
                json_object('f_qybm', new.f_qybm, 'f_qymc', new.f_qymc, 'f_qylx', new.f_qylx));
end;
create trigger if not exists trail_tbQyda_update after update on tbQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbQyda',
                new.f_qybm,
                json_object('f_qybm', old.f_qybm, 'f_qymc', old.f_qymc, 'f_qylx', old.f_qylx),
                json_object('f_qybm', new.f_qybm, 'f_qymc', new.f_qymc, 'f_qylx', new.f_qylx));
end;
create trigger if not exists trail_tbQyda_delete after delete on tbQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbQyda',
                old.f_qybm,
                json_object('f_qybm', old.f_qybm, 'f_qymc', old.f_qymc, 'f_qylx', old.f_qylx),
                null);
end;

create trigger if not exists trail_tbCCQyda_insert after insert on tbCCQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbCCQyda',
                new.f_ccqybm, null,
                json_object('f_ccqybm', new.f_ccqybm, 'f_ccqymc', new.f_ccqymc));
end;
create trigger if not exists trail_tbCCQyda_update after update on tbCCQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbCCQyda',
                new.f_ccqybm,
                json_object('f_ccqybm', old.f_ccqybm, 'f_ccqymc', old.f_ccqymc),
                json_object('f_ccqybm', new.f_ccqybm, 'f_ccqymc', new.f_ccqymc));
end;
create trigger if not exists trail_tbCCQyda_delete after delete on tbCCQyda begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbCCQyda',
                old.f_ccqybm,
                json_object('f_ccqybm', old.f_ccqybm, 'f_ccqymc', old.f_ccqymc), null);
end;

create trigger if not exists trail_tbqydz_insert after insert on tbqydz begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbqydz',
                new.f_qylx || '/' || new.f_ccqybm, null,
                json_object('f_qylx', new.f_qylx, 'f_qybm', new.f_qybm,
                            'f_ccqybm', new.f_ccqybm));
end;
create trigger if not exists trail_tbqydz_update after update on tbqydz begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbqydz',
                new.f_qylx || '/' || new.f_ccqybm,
                json_object('f_qylx', old.f_qylx, 'f_qybm', old.f_qybm,
                            'f_ccqybm', old.f_ccqybm),
                json_object('f_qylx', new.f_qylx, 'f_qybm', new.f_qybm,
                            'f_ccqybm', new.f_ccqybm));
end;
create trigger if not exists trail_tbqydz_delete after delete on tbqydz begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbqydz',
                old.f_qylx || '/' || old.f_ccqybm,
                json_object('f_qylx', old.f_qylx, 'f_qybm', old.f_qybm,
                            'f_ccqybm', old.f_ccqybm),
                null);
end;

create trigger if not exists trail_tbKjqj_insert after insert on tbKjqj begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'INSERT', 'tbKjqj',
                new.f_dqny, null, json_object('f_dqny', new.f_dqny));
end;
create trigger if not exists trail_tbKjqj_update after update on tbKjqj begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'UPDATE', 'tbKjqj',
                new.f_dqny, json_object('f_dqny', old.f_dqny), json_object('f_dqny', new.f_dqny));
end;
create trigger if not exists trail_tbKjqj_delete after delete on tbKjqj begin
    insert or ignore into tbAudit (f_time, f_operator, f_text, f_txn)
        select f_time, f_operator, '', f_txn from vwTrailBatch;
    insert into tbAuditRow (f_batch, f_operation, f_table, f_key, f_before, f_after)
        values ((select f_id from tbAudit where f_txn = nelvo_txn()), 'DELETE', 'tbKjqj',
                old.f_dqny, json_object('f_dqny', old.f_dqny), null);
end;

delete from tbSchema;
insert into tbSchema (f_version) values (2);
