#!/usr/bin/env bash
# Runs a command beside a private PostgreSQL server: a new cluster in a temporary folder, reached only through
# the Unix socket in that folder (no TCP port is opened), stopped and removed when the command ends, even when
# it fails. The command finds the server in QUENVALE_TEST_PG_URL.
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ]; then
  echo "No PostgreSQL server installed (scripts/install-test-deps.sh installs one)" >&2
  exit 1
fi
folder=$(mktemp -d /tmp/quenvale-pg.XXXXXX)
as_owner=()
if [ "$(id -u)" = 0 ]; then
  # The server refuses to run as root: the folder goes to the postgres user the package created.
  chown postgres: "$folder"
  as_owner=(runuser -u postgres --)
fi
stop() {
  "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap stop EXIT
"${as_owner[@]}" "$bin/initdb" -D "$folder/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >"$folder/initdb.log"
"${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
  -o "-k $folder -c listen_addresses= -c fsync=off -c max_connections=40" start >/dev/null
export QUENVALE_TEST_PG_URL="postgresql://postgres@/postgres?host=$folder"
status=0
"$@" || status=$?
exit $status
