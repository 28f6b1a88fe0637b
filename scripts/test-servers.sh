#!/usr/bin/env bash
# Starts the servers the integration tests talk to, each in its own temporary
# folder and listening on 127.0.0.1 only, exports where to find them and
# stops them when the sourcing shell exits, whatever the tests' outcome.
#
#   source scripts/test-servers.sh      (scripts/test.sh does this)
#
# MariaDB: a fresh data directory (mariadb-install-db), a database and a user
#   with a password; started with an empty (lax) sql_mode as many web hosts
#   still are, so the client must set its own.
#                        ORBALIA_TEST_MYSQL_HOST/PORT/USER/PASSWORD/DB
# rsync daemon on 127.0.0.1:5535 (or the next free port when another run
#   holds it): a module xweb<code> per web agency code, open as the web
#   upload expects, and one module per exchange user, guarded by the
#   user's password in a secrets file.
#                        ORBALIA_TEST_RSYNC_HOST/PORT/ROOT/WEB_MODULES/USERS/PASSWORD
#   A module's files live in $ORBALIA_TEST_RSYNC_ROOT/<module>.
# PostgreSQL: a private cluster (initdb, run as an unprivileged user), on
#   127.0.0.1 and a free port, fsync off; a role with a password that owns
#   the test database, and the superuser on a socket for administration.
#                        ORBALIA_TEST_PG_HOST/PORT/USER/PASSWORD/DB/SOCKET
#
# A server that does not come up is reported and left unset; the tests then
# skip with that reason, or fail under CI=true.

ORBALIA_TEST_WEB_CODES=${ORBALIA_TEST_WEB_CODES:-"CSOL B12 TEST"}
ORBALIA_TEST_EXCHANGE_USERS=${ORBALIA_TEST_EXCHANGE_USERS:-"ejemplo oficina1 oficina2"}

_orb_servers_dir=$(mktemp -d "${TMPDIR:-/tmp}/orbalia-servers.XXXXXX")

_orb_port_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

_orb_free_port() {
  local p=$1
  while ! _orb_port_free "$p"; do p=$((p + 1)); done
  echo "$p"
}

_orb_pg_bin=""
for _v in 17 16 15; do
  [ -x "/usr/lib/postgresql/$_v/bin/initdb" ] && { _orb_pg_bin=/usr/lib/postgresql/$_v/bin; break; }
done
# The cluster must not run as root: PostgreSQL refuses it.
_orb_pg_run() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

_orb_stop_servers() {
  local pidfile pid
  if [ -f "$_orb_servers_dir/pg/data/postmaster.pid" ]; then
    _orb_pg_run "$_orb_pg_bin/pg_ctl" -D "$_orb_servers_dir/pg/data" -m immediate -w -t 20 stop >/dev/null 2>&1 || true
  fi
  for pidfile in "$_orb_servers_dir/mysql/mysqld.pid" "$_orb_servers_dir/rsync/rsyncd.pid"; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile" 2>/dev/null) || continue
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$_orb_servers_dir"
}
trap _orb_stop_servers EXIT
trap 'exit 130' INT TERM

_orb_start_mysql() {
  local d="$_orb_servers_dir/mysql"
  local as_user=()
  [ "$(id -u)" -eq 0 ] && as_user=(--user=root)
  mkdir -p "$d/data" "$d/tmp"
  if ! command -v mariadbd >/dev/null && [ ! -x /usr/sbin/mariadbd ]; then
    echo "test-servers: mariadbd no está instalado (paquete mariadb-server)" >&2
    return 1
  fi
  local mariadbd=mariadbd
  command -v mariadbd >/dev/null || mariadbd=/usr/sbin/mariadbd
  if ! mariadb-install-db --no-defaults --datadir="$d/data" --auth-root-authentication-method=normal \
      --skip-test-db "${as_user[@]}" >"$d/install.log" 2>&1; then
    echo "test-servers: mariadb-install-db falló:" >&2
    tail -20 "$d/install.log" >&2
    return 1
  fi
  local port
  port=$(_orb_free_port "${ORBALIA_TEST_MYSQL_PORT:-33306}")
  "$mariadbd" --no-defaults --datadir="$d/data" --tmpdir="$d/tmp" --socket="$d/mysqld.sock" \
    --port="$port" --bind-address=127.0.0.1 --pid-file="$d/mysqld.pid" --log-error="$d/error.log" \
    --skip-name-resolve --innodb-buffer-pool-size=64M --innodb-log-file-size=32M \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci --sql-mode="" "${as_user[@]}" \
    >/dev/null 2>&1 &
  local ok=0
  for _ in $(seq 150); do
    if mariadb-admin --no-defaults --socket="$d/mysqld.sock" -uroot ping >/dev/null 2>&1; then ok=1; break; fi
    sleep 0.2
  done
  if [ $ok -ne 1 ]; then
    echo "test-servers: MariaDB no arrancó:" >&2
    tail -20 "$d/error.log" >&2
    return 1
  fi
  local password="Clave-Prueba-$RANDOM$RANDOM"
  mariadb --no-defaults --socket="$d/mysqld.sock" -uroot <<SQL || return 1
CREATE DATABASE orbalia_test CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE USER 'orbalia'@'127.0.0.1' IDENTIFIED BY '$password';
CREATE USER 'orbalia'@'localhost' IDENTIFIED BY '$password';
GRANT ALL PRIVILEGES ON orbalia_test.* TO 'orbalia'@'127.0.0.1', 'orbalia'@'localhost';
SQL
  export ORBALIA_TEST_MYSQL_HOST=127.0.0.1
  export ORBALIA_TEST_MYSQL_PORT=$port
  export ORBALIA_TEST_MYSQL_USER=orbalia
  export ORBALIA_TEST_MYSQL_PASSWORD=$password
  export ORBALIA_TEST_MYSQL_DB=orbalia_test
  export ORBALIA_TEST_MYSQL_SOCKET="$d/mysqld.sock" # for administration by tests (stopping the server)
  echo "test-servers: MariaDB en 127.0.0.1:$port, base de datos orbalia_test"
}

_orb_start_rsync() {
  local d="$_orb_servers_dir/rsync"
  mkdir -p "$d/modules"
  if ! command -v rsync >/dev/null; then
    echo "test-servers: rsync no está instalado" >&2
    return 1
  fi
  local port
  port=$(_orb_free_port "${ORBALIA_TEST_RSYNC_PORT:-5535}")
  local password="rsync-$RANDOM$RANDOM"
  : >"$d/rsyncd.secrets"
  chmod 600 "$d/rsyncd.secrets"
  {
    echo "pid file = $d/rsyncd.pid"
    echo "address = 127.0.0.1"
    echo "port = $port"
    echo "use chroot = no"
    echo "uid = $(id -u)"
    echo "gid = $(id -g)"
    echo "log file = $d/rsyncd.log"
    echo "read only = no"
  } >"$d/rsyncd.conf"
  local code user modules=""
  for code in $ORBALIA_TEST_WEB_CODES; do
    mkdir -p "$d/modules/xweb$code"
    printf '[xweb%s]\n  path = %s\n' "$code" "$d/modules/xweb$code" >>"$d/rsyncd.conf"
    modules="$modules xweb$code"
  done
  for user in $ORBALIA_TEST_EXCHANGE_USERS; do
    mkdir -p "$d/modules/$user"
    printf '[%s]\n  path = %s\n  auth users = %s\n  secrets file = %s\n' \
      "$user" "$d/modules/$user" "$user" "$d/rsyncd.secrets" >>"$d/rsyncd.conf"
    echo "$user:$password" >>"$d/rsyncd.secrets"
  done
  rsync --daemon --config="$d/rsyncd.conf" || return 1
  local ok=0
  for _ in $(seq 50); do
    if ! _orb_port_free "$port"; then ok=1; break; fi
    sleep 0.1
  done
  if [ $ok -ne 1 ]; then
    echo "test-servers: el servidor rsync no arrancó:" >&2
    tail -20 "$d/rsyncd.log" >&2 2>/dev/null
    return 1
  fi
  export ORBALIA_TEST_RSYNC_HOST=127.0.0.1
  export ORBALIA_TEST_RSYNC_PORT=$port
  export ORBALIA_TEST_RSYNC_ROOT="$d/modules"
  export ORBALIA_TEST_RSYNC_WEB_MODULES="${modules# }"
  export ORBALIA_TEST_RSYNC_USERS="$ORBALIA_TEST_EXCHANGE_USERS"
  export ORBALIA_TEST_RSYNC_PASSWORD=$password
  echo "test-servers: rsync en 127.0.0.1:$port, módulos:$modules $ORBALIA_TEST_EXCHANGE_USERS"
}

_orb_start_pg() {
  local d="$_orb_servers_dir/pg"
  if [ -z "$_orb_pg_bin" ]; then
    echo "test-servers: PostgreSQL no está instalado (paquete postgresql)" >&2
    return 1
  fi
  if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
    echo "test-servers: falta el usuario postgres para arrancar PostgreSQL sin ser root" >&2
    return 1
  fi
  mkdir -p "$d/sock"
  chmod 711 "$_orb_servers_dir"
  [ "$(id -u)" -eq 0 ] && chown -R postgres "$d"
  if ! _orb_pg_run "$_orb_pg_bin/initdb" -D "$d/data" -U postgres --auth-local=trust \
      --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$d/initdb.log" 2>&1; then
    echo "test-servers: initdb falló:" >&2
    tail -20 "$d/initdb.log" >&2
    return 1
  fi
  local port
  port=$(_orb_free_port "${ORBALIA_TEST_PG_PORT:-55432}")
  if ! _orb_pg_run "$_orb_pg_bin/pg_ctl" -D "$d/data" -l "$d/postgres.log" -w -t 60 \
      -o "-c listen_addresses=127.0.0.1 -p $port -k $d/sock -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
      start >/dev/null 2>&1; then
    echo "test-servers: PostgreSQL no arrancó:" >&2
    tail -20 "$d/postgres.log" >&2
    return 1
  fi
  local password="Clave-Prueba-$RANDOM$RANDOM"
  _orb_pg_run "$_orb_pg_bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$d/sock" -p "$port" -U postgres -d postgres \
    >/dev/null <<SQL || return 1
CREATE ROLE orbalia LOGIN CREATEROLE PASSWORD '$password';
CREATE DATABASE orbalia_test OWNER orbalia ENCODING 'UTF8' TEMPLATE template0;
SQL
  export ORBALIA_TEST_PG_HOST=127.0.0.1
  export ORBALIA_TEST_PG_PORT=$port
  export ORBALIA_TEST_PG_USER=orbalia
  export ORBALIA_TEST_PG_PASSWORD=$password
  export ORBALIA_TEST_PG_DB=orbalia_test
  export ORBALIA_TEST_PG_SOCKET="$d/sock" # the superuser postgres, for administration by tests
  echo "test-servers: PostgreSQL en 127.0.0.1:$port, base de datos orbalia_test"
}

_orb_start_mysql || echo "test-servers: sin servidor MariaDB; sus pruebas no se ejecutarán" >&2
_orb_start_rsync || echo "test-servers: sin servidor rsync; sus pruebas no se ejecutarán" >&2
_orb_start_pg || echo "test-servers: sin servidor PostgreSQL; sus pruebas no se ejecutarán" >&2
