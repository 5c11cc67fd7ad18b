#!/usr/bin/env bash
# Network lines over TLS in the Windows build (Schannel) under Wine: simulators behind ser2net's
# TLS accepters on 127.0.0.1, with a CA and certificates made here by openssl. The same qvpc-cli
# commands run on Linux (OpenSSL) and as qvpc-cli.exe under Wine: what the controllers received,
# what the commands printed and their exit statuses must be the same; a refused connection lets
# nothing through to the controller. Run after com1-exchange.sh, whose Linux build it uses.
#   tls-check.sh BUILD_WINDOWS_FOLDER QT_PREFIX
set -euo pipefail
out=$(cd "$1" && pwd)
qt=$2
here=$(cd "$(dirname "$0")" && pwd)
host=$out/host
export WINEPREFIX=${WINEPREFIX:-$out/wine}
export WINEDEBUG=-all

work=$(mktemp -d)
sims=()
ser2net_pid=
cleanup() {
    wineserver -k 2>/dev/null || true
    if [ -n "$ser2net_pid" ]; then kill "$ser2net_pid" 2>/dev/null || true; fi
    local pid
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=scripts/windows/com1-sim.sh
. "$here/com1-sim.sh"

# Certificates: the CA; servers for 127.0.0.1, for another name and expired; the operator's own.
certs=$work/certs
mkdir -p "$certs/auth/operator/allowed_certs"
ssl() { openssl "$@" >/dev/null 2>&1 || { echo "tls: openssl $* failed" >&2; exit 1; }; }
ssl req -x509 -newkey rsa:2048 -nodes -keyout "$certs/ca.key" -out "$certs/ca.crt" -days 2 \
    -subj "/CN=QV test CA"
server_cert() { # NAME ALT_NAMES DAYS
    echo "subjectAltName=$2" >"$certs/$1.ext"
    ssl req -newkey rsa:2048 -nodes -keyout "$certs/$1.key" -out "$certs/$1.csr" -subj "/CN=$1"
    ssl x509 -req -in "$certs/$1.csr" -CA "$certs/ca.crt" -CAkey "$certs/ca.key" \
        -CAcreateserial -out "$certs/$1.crt" -days "$3" -extfile "$certs/$1.ext"
}
server_cert server IP:127.0.0.1 2
server_cert elsewhere DNS:feeder.invalid 2
server_cert expired IP:127.0.0.1 -1
ssl req -x509 -newkey rsa:2048 -nodes -keyout "$certs/operator.key" -out "$certs/operator.crt" \
    -days 2 -subj "/CN=operator"
cp "$certs/operator.crt" "$certs/auth/operator/allowed_certs/"
ssl rehash "$certs/auth/operator/allowed_certs"
chmod 600 "$certs"/*.key
pin=$(openssl x509 -in "$certs/server.crt" -noout -fingerprint -sha256 | cut -d= -f2)
other_pin=$(openssl x509 -in "$certs/elsewhere.crt" -noout -fingerprint -sha256 | cut -d= -f2)

# The accepters, each in front of a simulator of its own: NAME SCHEME CERT [clientauth].
config=$work/ser2net.yaml
: >"$config"
port=$((20000 + RANDOM % 20000))
declare -A url lines
accepter() {
    local name=$1 scheme=$2 cert=$3 auth=${4:-}
    sim_start "$work/$name.lines"
    sims+=("$sim_pid")
    lines[$name]=$work/$name.lines
    port=$((port + 1))
    url[$name]=$scheme+tls://127.0.0.1:$port
    local telnet=
    [ "$scheme" = rfc2217 ] && telnet="telnet(rfc2217),"
    {
        echo "connection: &$name"
        echo "  accepter: ${telnet}ssl(key=$certs/$cert.key,cert=$certs/$cert.crt${auth:+,clientauth}),tcp(nodelay),127.0.0.1,$port"
        echo "  connector: serialdev,$device,9600n81,local"
        echo "  options:"
        echo "    kickolduser: true"
        echo "    sendon: '\\r\\n'"
        if [ -n "$auth" ]; then echo "    authdir: $certs/auth"; fi
    } >>"$config"
}
for side in linux wine; do
    accepter "$side-rfc2217" rfc2217 server
    accepter "$side-tcp" tcp server
    accepter "$side-name" tcp elsewhere
    accepter "$side-expired" tcp expired
    accepter "$side-auth" rfc2217 server auth
done
ser2net -n -d -c "$config" >"$work/ser2net.log" 2>&1 &
ser2net_pid=$!
for side in linux wine; do
    tries=0
    until (exec 3<>"/dev/tcp/127.0.0.1/${url[$side-auth]##*:}") 2>/dev/null; do
        sleep 0.1
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "tls: ser2net did not start: $(cat "$work/ser2net.log")" >&2; exit 1; }
    done
done

# The cases: NAME|ACCEPTER|OPTIONS AND COMMAND, where CA, CERT and KEY stand for the files (in
# the side's spelling), PIN and OTHER_PIN for the server's fingerprint and another one.
cases=(
    "read-ca|rfc2217|--ca CA read -o backup.qvd"
    "write-ca|tcp|--ca CA --yes write backup.qvd --restart"
    "read-pin|tcp|--pin PIN read"
    "read-ca-and-pin|rfc2217|--ca CA --pin PIN read"
    "no-ca|rfc2217|version"
    "wrong-pin|tcp|--pin OTHER_PIN version"
    "wrong-name|name|--ca CA version"
    "expired|expired|--ca CA version"
    "no-client-cert|auth|--ca CA version"
)
path_for() { if [ "$1" = wine ]; then echo "Z:${2//\//\\}"; else echo "$2"; fi; }
# one SIDE TRANSCRIPT CASE PROGRAM...: runs the case in the side's folder; its exit status,
# output (paths and ports as on Linux) and what its controller received go to the transcript.
one() {
    local side=$1 transcript=$2 name acc command status before
    IFS='|' read -r name acc command <<<"$3"
    shift 3
    before=$(wc -l <"${lines[$side-$acc]}")
    command=${command//CA/$(path_for "$side" "$certs/ca.crt")}
    command=${command//CERT/$(path_for "$side" "$certs/operator.crt")}
    command=${command//KEY/$(path_for "$side" "$certs/operator.key")}
    command=${command//OTHER_PIN/$other_pin}
    command=${command//PIN/$pin}
    mkdir -p "$work/$side"
    # shellcheck disable=SC2086
    (cd "$work/$side" && "$@" --lang en --device "${url[$side-$acc]}" $command \
        >out.txt 2>err.txt) && status=0 || status=$?
    {
        echo "\$ $name (exit $status)"
        tr -d '\r' <"$work/$side/out.txt"
        # (Wine's own words when Qt hands Schannel the system's CAs as a PKCS#12 bundle.)
        { grep -v '^GnuTLS error' "$work/$side/err.txt" || true; } | tr -d '\r' |
            sed -e 's|Z:\\|/|g' -e 's|\\|/|g' -e "s|127.0.0.1:[0-9]*|127.0.0.1:PORT|g"
        echo "controller received $(($(wc -l <"${lines[$side-$acc]}") - before)) lines:"
        tail -n +$((before + 1)) "${lines[$side-$acc]}"
    } >>"$work/$transcript"
}
linux=("$host/qvpc-cli")
wine=("$here/wine-run.sh" "$qt" "$out/qvpc-cli.exe")
for entry in "${cases[@]}"; do one linux linux.transcript "$entry" "${linux[@]}"; done
for entry in "${cases[@]}"; do one wine wine.transcript "$entry" "${wine[@]}"; done
# Where Windows differs: a key file others may read is told by its access list (Wine maps a file
# others may read to Everyone) and not read; the operator's certificate, which Wine's Schannel
# cannot present (its CertFindChainInStore is a stub), is refused by name before the handshake.
chmod 644 "$certs/operator.key"
one wine wine-only.transcript "key-readable|auth|--ca CA --cert CERT --key KEY version" "${wine[@]}"
chmod 600 "$certs/operator.key"
one wine wine-only.transcript "client-cert|auth|--ca CA --cert CERT --key KEY version" "${wine[@]}"
wineserver -k 2>/dev/null || true

failed=0
if ! diff -u "$work/linux.transcript" "$work/wine.transcript"; then
    echo "tls: Linux (above) and Wine (below) differ" >&2
    failed=1
fi
# A refused connection sends nothing: every refusal's controller received no line.
quiet_refusals=$(cat "$work/wine.transcript" "$work/wine-only.transcript" |
    awk '/^\$ / { refused = / \(exit 1\)$/ }
        refused && /^controller received 0 lines:$/ { n++ } END { print n + 0 }')
if [ "$quiet_refusals" -ne 7 ] ||
    ! grep -q "operator.key can be read by other users (Everyone)" "$work/wine-only.transcript" ||
    ! grep -q "cannot present the client certificate .*operator.crt" "$work/wine-only.transcript"; then
    echo "tls: expected 7 refusals with nothing received, got $quiet_refusals:" >&2
    cat "$work/wine-only.transcript" >&2
    failed=1
fi

echo "tls: $(grep -c '^\$' "$work/wine.transcript") cases through Schannel as through OpenSSL" \
    "$([ $failed -eq 0 ] && echo '(same)' || echo '(DIFFERENT)')"
cat "$work/wine.transcript" "$work/wine-only.transcript"
exit $failed
