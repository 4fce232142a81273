#!/usr/bin/env bash
# The release as published. A second build of the same sources in another folder gives the same bytes:
# both programs, the ZIP and the installer. Given a certificate, the release's programs and installer
# come out signed, with signatures that verify against the certificate's authority.
set -u
: "${HZ_SOURCE_DIR:?}" "${HZ_BUILD:?}" "${HZ_VERSION:?}"
source "$(dirname "$0")/lib.sh"
state=$(mktemp -d "${TMPDIR:-/tmp}/hz-release.XXXXXX")
trap 'rm -rf "$state"' EXIT
unset HAZUMAKI_SIGN_CERT HAZUMAKI_SIGN_KEY HAZUMAKI_SIGN_PASSWORD HAZUMAKI_SIGN_TIMESTAMP
other=$state/elsewhere/Hazumaki && mkdir -p "$other"
# The sources as they stand, without the build trees.
(cd "$HZ_SOURCE_DIR" && git ls-files -z -co --exclude-standard | tar --null -T - --ignore-failed-read -cf - |
  tar -C "$other" -xf -) || exit 1
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$HZ_SOURCE_DIR" log -1 --format=%ct 2>/dev/null || echo 1767225600)}
release() {  # build and package in the current folder's windows tree
  cmake --preset windows >"$state/log" 2>&1 && cmake --build --preset windows -j2 --target hazumaki_msi >>"$state/log" 2>&1 &&
    (cd build/windows && cpack >>"$state/log" 2>&1) || { tail -20 "$state/log"; return 1; }
}
(cd "$HZ_BUILD" && cpack >/dev/null) && (cd "$other" && release) || exit 1

for f in bin/Hazumaki.scr bin/Hazumaki.dll package/Hazumaki-"$HZ_VERSION"-{win64.zip,x64.msi}; do
  check "two builds give the same $(basename "$f")" cmp "$HZ_BUILD/$f" "$other/build/windows/$f"
  sha256sum "$HZ_BUILD/$f" "$other/build/windows/$f"
done

# --- signed with a throw-away authority and a key under a passphrase
cd "$state" || exit 1
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Throw-away test CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null &&
  openssl req -newkey rsa:2048 -passout pass:secret -keyout sign.key -out sign.csr -subj "/CN=Hazumaki test" 2>/dev/null &&
  openssl x509 -req -in sign.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -out sign.pem 2>/dev/null \
    -extfile <(printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n') || exit 1
export HAZUMAKI_SIGN_CERT=$state/sign.pem HAZUMAKI_SIGN_KEY=$state/sign.key HAZUMAKI_SIGN_PASSWORD=secret
(cd "$other" && release) || exit 1
signed() { osslsigncode verify -CAfile "$state/ca.pem" -in "$1" >"$state/verify" 2>&1 || { tail -5 "$state/verify"; return 1; }; }
r=$other/build/windows
for f in release/Hazumaki.scr release/Hazumaki.dll release/HazumakiSetup.exe package/Hazumaki-$HZ_VERSION-x64.msi; do
  check "signed: $(basename "$f")" signed "$r/$f"
done
unzip -q -d zip "$r/package/Hazumaki-$HZ_VERSION-win64.zip"
check "signed: both programs in the ZIP" eval 'signed zip/*/Hazumaki.scr && signed zip/*/Hazumaki.dll'
check "the programs before signing are still the unsigned build's" cmp "$HZ_BUILD/bin/Hazumaki.scr" "$r/bin/Hazumaki.scr"
check "an unsigned file does not pass as signed" eval '! signed "$r/bin/Hazumaki.dll"'
exit $((failures > 0))
