# Sourced by scripts/test.sh: starts a throwaway PostgreSQL server for the shop-server tests, in
# its own data folder under a temporary folder, reached through a Unix socket there, and sets
# the client library's variables (PGHOST, PGPORT, PGUSER) and WB_TEST_PG=1 for the tests.
# `pg_test_server_stop` stops it and removes the folder; test.sh calls it on every exit.
# The server refuses to run as root: as root it runs as the "postgres" user of the package.
pg_test_server_start() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "PostgreSQL server not installed: the shop-server tests will be skipped" >&2
    return 1
  fi
  PG_TEST_DIR=$(mktemp -d /tmp/wb-pg.XXXXXX)
  chmod 755 "$PG_TEST_DIR"
  local run=()
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$PG_TEST_DIR"
    run=(runuser -u postgres --)
  fi
  # It listens on its socket, and on 127.0.0.1 for the cases that need
  # a password or TLS (over the socket the test user needs neither).
  "${run[@]}" "$bin/initdb" -D "$PG_TEST_DIR/data" -U wbtest --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$PG_TEST_DIR/initdb.log" 2>&1 ||
    { cat "$PG_TEST_DIR/initdb.log" >&2; return 1; }
  # A port that is taken makes the start fail: another one is tried.
  local port started=
  for _ in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 40000))
    if "${run[@]}" "$bin/pg_ctl" -D "$PG_TEST_DIR/data" -l "$PG_TEST_DIR/server.log" -w \
      -o "-k $PG_TEST_DIR -p $port -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=60" start >/dev/null; then
      started=1
      break
    fi
  done
  [ -n "$started" ] || { cat "$PG_TEST_DIR/server.log" >&2; return 1; }
  PG_TEST_RUN=("${run[@]}")
  PG_TEST_BIN=$bin
  export PGHOST=$PG_TEST_DIR PGPORT=$port PGUSER=wbtest PGDATABASE=postgres WB_TEST_PG=1
  # The fault tests stop and restart the server with this (it keeps the start's options).
  WB_TEST_PG_CTL="${run[*]} $bin/pg_ctl -D $PG_TEST_DIR/data -w -l $PG_TEST_DIR/server.log"
  export WB_TEST_PG_CTL
}

pg_test_server_stop() {
  [ -n "${PG_TEST_DIR:-}" ] || return 0
  "${PG_TEST_RUN[@]}" "$PG_TEST_BIN/pg_ctl" -D "$PG_TEST_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$PG_TEST_DIR"
  PG_TEST_DIR=
}
