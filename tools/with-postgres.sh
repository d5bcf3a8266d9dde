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
# Every role connects without a password, except members of nelvo_password_clerks over TCP
# (the tests of the password prompt create them).
"${as_pg[@]}" sed -i '1i host all +nelvo_password_clerks 127.0.0.1/32 scram-sha-256' \
  "$dir/data/pg_hba.conf"
"${as_pg[@]}" "$bin/pg_ctl" -D "$dir/data" -w -l "$dir/log" \
  -o "-p $port -k $dir -c listen_addresses=127.0.0.1" start >/dev/null
export NELVO_TEST_PG_URI="postgresql://postgres@127.0.0.1:$port/postgres"
"$@"
