#!/usr/bin/env bash
# A 50 MB upload over loopback SFTP and FTPS: ostrel-cli ftp against curl
# doing the same upload to the same servers in the same run. The servers are
# the tests' own (asyncssh and pyftpdlib on 127.0.0.1), so the figures
# compare the two clients under equal conditions, not real servers.
# Usage: bash bench/upload_bench.sh [path/to/ostrel-cli] [runs] [megabytes]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$top/build/cli/ostrel-cli}
runs=${2:-3}
megabytes=${3:-50}
[ -x "$cli" ] || { echo "no ostrel-cli at $cli (build it first)" >&2; exit 1; }
command -v curl >/dev/null || { echo "no curl (apt-get install curl)" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  exec 3>&- 4>&- 2>/dev/null || true
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" SSH_AUTH_SOCK=/nonexistent
mkdir -p "$HOME" "$work/root" "$work/keys"
printf 'hasło do testów' > "$work/password"
head -c $((megabytes * 1024 * 1024)) /dev/urandom > "$work/plik.bin"

# A server ends when the pipe on its standard input closes.
start_server() {  # fd script args...
  local fd=$1 script=$2
  shift 2
  mkfifo "$work/in$fd"
  /usr/bin/python3 "$top/tests/data/ftp/$script" "$@" < "$work/in$fd" > "$work/out$fd" 2>/dev/null &
  pids+=($!)
  eval "exec $fd>\"$work/in$fd\""
  for _ in $(seq 100); do [ "$(wc -l < "$work/out$fd")" -ge 2 ] && return; sleep 0.1; done
  echo "the server $script did not start" >&2
  exit 1
}
start_server 3 sftp_server.py "$work/root" jan "$work/password" "$work/keys/host"
start_server 4 ftp_server.py "$work/root" jan "$work/password" "$work/keys/cert.pem"
sftp_port=$(sed -n 1p "$work/out3"); sftp_key=$(sed -n 2p "$work/out3")
ftps_port=$(sed -n 1p "$work/out4"); ftps_cert=$(sed -n 2p "$work/out4")
# curl checks the same identities: the host key's digest, the certificate itself.
sftp_digest=${sftp_key#SHA256:}
openssl x509 -in "$work/keys/cert.pem" -out "$work/keys/cert.crt" 2>/dev/null ||
  sed -n '/BEGIN CERTIFICATE/,/END CERTIFICATE/p' "$work/keys/cert.pem" > "$work/keys/cert.crt"

seconds() { date +%s.%N; }
check() {  # name
  cmp -s "$work/plik.bin" "$work/root/$1" || { echo "the upload of $1 arrived damaged" >&2; exit 1; }
  rm -f "$work/root/$1"
}
run_ostrel() {  # protocol port trust
  "$cli" ftp --protocol "$1" --server "127.0.0.1 $2" --user jan --password-file "$work/password" \
    --dir / --target "o-$1.bin" --trust "$3" "$work/plik.bin" > /dev/null
  check "o-$1.bin"
}
run_curl_sftp() {
  curl -sS --hostpubsha256 "$sftp_digest" -u "jan:$(cat "$work/password")" \
    -T "$work/plik.bin" "sftp://127.0.0.1:$sftp_port/c-sftp.bin"
  check c-sftp.bin
}
run_curl_ftps() {
  curl -sS --ssl-reqd --cacert "$work/keys/cert.crt" -u "jan:$(cat "$work/password")" \
    -T "$work/plik.bin" "ftp://127.0.0.1:$ftps_port/c-ftps.bin"
  check c-ftps.bin
}

declare -A best all
measure() {  # label command...
  local label=$1
  shift
  local t0 t1 took
  t0=$(seconds)
  "$@"
  t1=$(seconds)
  took=$(echo "$t1 - $t0" | bc -l)
  printf '  %-16s run %d: %6.2f s  %7.1f MB/s\n' "$label" "$run" "$took" "$(echo "$megabytes / $took" | bc -l)"
  all[$label]="${all[$label]:-} $took"
  if [ -z "${best[$label]:-}" ] || [ "$(echo "$took < ${best[$label]}" | bc -l)" = 1 ]; then
    best[$label]=$took
  fi
}

echo "Upload of $megabytes MB over loopback, $runs runs each, alternating clients"
for run in $(seq "$runs"); do
  measure "ostrel-cli sftp" run_ostrel sftp "$sftp_port" "$sftp_key"
  measure "curl sftp" run_curl_sftp
  measure "ostrel-cli ftps" run_ostrel ftps "$ftps_port" "$ftps_cert"
  measure "curl ftps" run_curl_ftps
done
echo "Best and median of $runs:"
for label in "ostrel-cli sftp" "curl sftp" "ostrel-cli ftps" "curl ftps"; do
  median=$(tr ' ' '\n' <<< "${all[$label]}" | grep . | sort -g | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
  printf '  %-16s best %6.2f s %7.1f MB/s   median %6.2f s %7.1f MB/s\n' "$label" \
    "${best[$label]}" "$(echo "$megabytes / ${best[$label]}" | bc -l)" \
    "$median" "$(echo "$megabytes / $median" | bc -l)"
done
