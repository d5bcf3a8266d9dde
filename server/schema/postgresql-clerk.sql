-- The clerk role: a group without login whose members are the clerks' own login roles. It
-- may read what the area window reads and change areas and mappings, nothing else. :clerk
-- stands for the role's quoted name, :clerk_literal for it as a text.
do $$
begin
    if not exists (select 1 from pg_roles where rolname = :clerk_literal) then
        create role :clerk nologin;
    end if;
exception
    when duplicate_object or unique_violation then
        null; -- made at the same moment by an init on another database of the cluster
end
$$;
do $$
begin
    execute format('grant usage on schema %I to %I', current_schema(), :clerk_literal);
end
$$;
grant select on tbQyda, tbCCQyda, tbqydz, tbXtcs, tbKjqj, tbZyda, tbSchema to :clerk;
grant insert, update, delete on tbQyda, tbqydz to :clerk;
grant execute on function nelvo_batch_text(text) to :clerk;
