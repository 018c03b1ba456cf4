#!/bin/sh
# Signs one program or MSI in place with osslsigncode (SHA-256); the file is replaced only once signed whole.
# Usage: sign_file.sh OSSLSIGNCODE PKCS12 PASSWORD_FILE UNIX_TIME timestamp=[URL] FILE
set -eu
[ $# -eq 6 ] || { echo "usage: $0 OSSLSIGNCODE PKCS12 PASSWORD_FILE UNIX_TIME timestamp=[URL] FILE" >&2; exit 2; }
tool=$1 pkcs12=$2 password=$3 time=$4 url=${5#timestamp=} file=$6
signed="$file.signing"
rm -f "$signed"
set -- sign -pkcs12 "$pkcs12" -readpass "$password" -h sha256 -time "$time"
[ -z "$url" ] || set -- "$@" -ts "$url"
if ! "$tool" "$@" -in "$file" -out "$signed" >"$signed.log" 2>&1; then
  cat "$signed.log" >&2
  rm -f "$signed" "$signed.log"
  exit 1
fi
rm -f "$signed.log"
mv "$signed" "$file"
