#!/usr/bin/env bash
# Runs a command with a private PostgreSQL 15 server on a loopback port, in a temporary
# folder, and stops it afterwards. The command sees NELVO_TEST_PG_URI.
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
port=${NELVO_PG_PORT:-55432}
dir=$(mktemp -d /tmp/nelvo-pg.XXXXXX)
as_pg=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres:postgres "$dir"
  as_pg=(runuser -u postgres --)
fi
cleanup() {
  "${as_pg[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
"${as_pg[@]}" "$bin/initdb" -D "$dir/data" -A trust -E UTF8 --locale=C.UTF-8 -U postgres >/dev/null
"${as_pg[@]}" "$bin/pg_ctl" -D "$dir/data" -w -l "$dir/log" \
  -o "-p $port -k $dir -c listen_addresses=127.0.0.1" start >/dev/null
export NELVO_TEST_PG_URI="postgresql://postgres@127.0.0.1:$port/postgres"
"$@"
