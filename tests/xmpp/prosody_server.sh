#!/bin/sh
# prosody_server.sh start|stop DIR
#
# start: a private prosody in DIR, listening on 127.0.0.1 at a free port, with
# a certificate of its own for "localhost" and the test accounts registered.
# Writes DIR/port, DIR/cert.pem (the certificate clients must trust),
# DIR/password (the password of every account) and DIR/accounts.
# stop: ends that prosody by the PID in its pid file.
set -eu

# alice to judy for the game's own tests; ann to ivy for the account's tests,
# which run beside them and must not take their messages.
ACCOUNTS="alice bob carol dave erin frank grace heidi ivan judy ann ben cid dot eve fay gus hal ivy"
PASSWORD="palisade-test-password"
TEMPLATE="$(dirname "$0")/prosody.cfg.lua.in"

die() { echo "prosody_server.sh: $*" >&2; exit 1; }

free_port() {
    /usr/bin/python3 -c 'import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

port_answers() {
    /usr/bin/python3 -c 'import socket, sys
s = socket.socket()
s.settimeout(0.5)
try:
    s.connect(("127.0.0.1", int(sys.argv[1])))
    s.sendall(b"<?xml version=\"1.0\"?><stream:stream to=\"localhost\" xmlns=\"jabber:client\" xmlns:stream=\"http://etherx.jabber.org/streams\" version=\"1.0\">")
    sys.exit(0 if s.recv(1) else 1)
except OSError:
    sys.exit(1)' "$1"
}

stop_server() {
    dir=$1
    [ -f "$dir/server.pid" ] || return 0
    pid=$(cat "$dir/server.pid")
    if kill "$pid" 2>/dev/null; then
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/server.pid" "$dir/port"
}

make_certificate() {
    dir=$1
    openssl req -x509 -newkey rsa:2048 -nodes -days 3650 \
        -keyout "$dir/key.pem" -out "$dir/cert.pem" \
        -subj /CN=localhost -addext subjectAltName=DNS:localhost 2>/dev/null \
        || die "openssl could not make the certificate"
    chmod 600 "$dir/key.pem"
}

write_config() {
    dir=$1 port=$2
    sed -e "s|@DIR@|$dir|g" -e "s|@PORT@|$port|g" "$TEMPLATE" > "$dir/prosody.cfg.lua"
}

register_accounts() {
    dir=$1
    for user in $ACCOUNTS; do
        prosodyctl --config "$dir/prosody.cfg.lua" register "$user" localhost "$PASSWORD" \
            >> "$dir/prosodyctl.log" 2>&1 || die "could not register $user (see $dir/prosodyctl.log)"
    done
    printf '%s\n' "$PASSWORD" > "$dir/password"
    printf '%s\n' $ACCOUNTS > "$dir/accounts"
}

# Starts prosody on PORT; true once the port answers with an XMPP stream.
try_start() {
    dir=$1 port=$2
    write_config "$dir" "$port"
    rm -f "$dir/prosody.err"
    prosody -F --config "$dir/prosody.cfg.lua" > "$dir/prosody.out" 2>&1 &
    echo $! > "$dir/server.pid"
    i=0
    while [ $i -lt 100 ]; do
        kill -0 "$(cat "$dir/server.pid")" 2>/dev/null || return 1
        if port_answers "$port"; then return 0; fi
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

start_server() {
    dir=$1
    stop_server "$dir"
    rm -rf "$dir"
    mkdir -p "$dir/data" "$dir/certs"
    dir=$(cd "$dir" && pwd)
    make_certificate "$dir"
    write_config "$dir" 0
    register_accounts "$dir"
    # Another program may take the free port before prosody binds it: try again.
    for attempt in 1 2 3 4 5; do
        port=$(free_port)
        if try_start "$dir" "$port"; then
            printf '%s\n' "$port" > "$dir/port"
            echo "prosody listening on 127.0.0.1:$port, folder $dir"
            return 0
        fi
        stop_server "$dir"
    done
    cat "$dir/prosody.out" "$dir/prosody.err" >&2 2>/dev/null || true
    die "prosody did not start"
}

[ $# -eq 2 ] || die "usage: prosody_server.sh start|stop DIR"
command -v prosody > /dev/null || die "prosody is not installed (Debian package prosody)"
case $1 in
    start) start_server "$2" ;;
    stop) stop_server "$2" ;;
    *) die "usage: prosody_server.sh start|stop DIR" ;;
esac
