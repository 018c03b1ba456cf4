#!/usr/bin/env bash
# Signing as a distributor would do it: a throwaway CA and code-signing certificate made here with openssl, the
# windows preset configured with them in its own tree (ABCD2 only), its program and MSI built; both verify
# against the CA, as does the program inside the MSI. The unsigned tree's program and MSI carry no signature.
# Usage: scripts/check-signing.sh UNSIGNED_BUILD_DIR SIGNED_BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
unsigned=$(cd "$1" && pwd)
signed=$(realpath -m "$2")
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }

# Kept with the tree: a program signed once is not signed again until it is linked again, so a new
# certificate on every run would leave it signed by an older one.
certs="$signed/throwaway-certificate"
if [ ! -f "$certs/signer.p12" ]; then
  rm -rf "$certs"
  mkdir -p "$certs"
  cd "$certs" || exit 1
  cat >ca.cnf <<'EOF'
[ ca ]
default_ca = throwaway
[ throwaway ]
dir = .
database = index.txt
new_certs_dir = .
serial = serial
default_md = sha256
policy = any
[ any ]
commonName = supplied
[ code_signing ]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = critical, codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
EOF
  touch index.txt
  echo 01 >serial
  openssl rand -hex 16 >password
  # Valid long before the source date the signatures carry.
  { openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 36500 -subj "/CN=OvraMed throwaway CA" \
      -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" &&
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=OvraMed throwaway signer" &&
    openssl ca -batch -config ca.cnf -cert ca.crt -keyfile ca.key -in signer.csr -out signer.crt \
      -startdate 20000101000000Z -enddate 20991231000000Z -extensions code_signing &&
    openssl pkcs12 -export -inkey signer.key -in signer.crt -certfile ca.crt -out signer.p12 -passout file:password
  } >openssl.log 2>&1 || { cat openssl.log; rm -f signer.p12; echo "FAIL making the certificate"; exit 1; }
  cd "$root" || exit 1
fi

cd "$root" || exit 1
cmake --preset windows -B "$signed" -DOVRA_ALL_TOOLS=OFF -DOVRA_TOOL=146 -DOVRA_TESTS=OFF \
  -DOVRA_SIGN_PKCS12="$certs/signer.p12" -DOVRA_SIGN_PASSWORD_FILE="$certs/password" >"$certs/configure.log" 2>&1 ||
  { cat "$certs/configure.log"; echo "FAIL configuring with a certificate"; exit 1; }
cmake --build "$signed" -j2 --target package-msi >"$certs/build.log" 2>&1 ||
  { tail -30 "$certs/build.log"; echo "FAIL building the signed program and MSI"; exit 1; }

verify() { osslsigncode verify -CAfile "$certs/ca.crt" -in "$1" >"$certs/verify.log" 2>&1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && msiextract "$signed/msi/abcd2-"*-x64.msi >/dev/null 2>&1)
for file in "$signed/entry/ABCD2 评分.exe" "$signed/msi/abcd2-"*-x64.msi "$work/OvraMedSuite/ABCD2 评分.exe"; do
  where=${file#"$signed/"}
  [[ $file != "$work"/* ]] || where="inside the MSI: ${file#"$work/"}"
  if verify "$file"; then ok "signed and verified against the CA: $where"
  else cat "$certs/verify.log"; fail "not verified: $file"; fi
done
python3 "$root/tests/packaging/check_spdx.py" "$signed/msi/"*.msi.spdx.json ||
  fail "the signed MSI's SPDX document does not match it"

# Unsigned, read from the files themselves: no certificate table in the program's PE header, no signature
# stream in the MSI.
pe_certificate_size() {
  python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
optional = pe + 24
directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
print(struct.unpack_from("<II", data, directories + 4 * 8)[1])' "$1"
}
for pair in "$signed/entry/ABCD2 评分.exe|signed" "$unsigned/entry/ABCD2 评分.exe|unsigned"; do
  file=${pair%|*}
  size=$(pe_certificate_size "$file")
  if [ "${pair#*|}" = signed ]; then [ "$size" -gt 0 ]; else [ "$size" -eq 0 ]; fi &&
    ok "the ${pair#*|} build's program has a certificate table of $size bytes" ||
    fail "the ${pair#*|} build's program: certificate table of $size bytes"
done
unsigned_msi=("$unsigned/msi/abcd2-"*-x64.msi)
streams=$(msiinfo streams "${unsigned_msi[0]}")
grep -q DigitalSignature <<<"$streams" && fail "the unsigned build's MSI has a signature" ||
  ok "the unsigned build's MSI has no signature stream"
exit $((failures > 0))
