#!/usr/bin/env bash
# release_test.sh SOURCE_DIR WORK_DIR WRITTEN_VERSION VERSION NEXT_WRITTEN NEXT_VERSION DEB_REVISION
# scripts/package on two copies of the tracked files as they stand in the
# work tree (the last commit and its uncommitted changes), all runs with the
# last commit's time as SOURCE_DATE_EPOCH:
# - built from scratch in folders of different names, the second copied
#   under umask 002 and packaged in the et_EE.UTF-8 locale (whose order of
#   names is not the C locale's), the two give the same bytes;
# - the second packaged again with a throwaway certificate and GnuPG key
#   carries signatures that osslsigncode and gpg accept;
# - packaged then with a GnuPG key that cannot sign, or a certificate file
#   that is not there, it fails, names the variable and leaves dist/ as it
#   was;
# - the first packaged again with NEXT_WRITTEN instead of WRITTEN_VERSION in
#   its CMakeLists.txt gives files that all carry NEXT_VERSION.
# The release files of the three stay in WORK_DIR/unsigned, WORK_DIR/signed
# and WORK_DIR/next for the install test.
set -euo pipefail
source_dir=$1 work=$2 written=$3 version=$4 next_written=$5 next_version=$6 revision=$7

source "$(dirname "$0")/../support/checks.sh"
# A row's column of an msiinfo table export, looked up by the first column.
msi_column() { # msi table key column
    msiinfo export "$1" "$2" | tr -d '\r' | awk -F'\t' -v k="$3" -v c="$4" '$1 == k { print $c }'
}
msi_property() { msi_column "$1" Property "$2" 2; }
# The file version in a Windows program's VS_FIXEDFILEINFO.
file_version() {
    perl -0777 -ne 'm/\xBD\x04\xEF\xFE\x00\x00\x01\x00(.{8})/s or die "no version resource\n";
                    my @w = unpack("v4", $1); print "$w[1].$w[0].$w[3].$w[2]\n"' "$1"
}
# The Quillfrost.scr that an .msi installs, extracted into a folder.
saver_of() { # msi name
    rm -rf "$work/extracted/$2"
    msiextract -C "$work/extracted/$2" "$1" >/dev/null
    echo "$work/extracted/$2/Quillfrost.scr"
}

keys=$(mktemp -d)
cleanup() {
    GNUPGHOME=$keys/gnupg gpgconf --kill gpg-agent 2>/dev/null || true
    rm -rf "$keys"
}
trap cleanup EXIT

rm -rf "$work"
mkdir -p "$work"
SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct)
export SOURCE_DATE_EPOCH

# The et_EE.UTF-8 locale, made here: Debian's locales package has its source.
localedef -i et_EE -f UTF-8 "$keys/et_EE.UTF-8"
estonian=(LOCPATH="$keys" LC_ALL=et_EE.UTF-8)
expect "character set of et_EE.UTF-8" "$(env "${estonian[@]}" locale charmap)" UTF-8

copy() { # folder
    mkdir -p "$1"
    git -C "$source_dir" ls-files -z |
        tar -c -C "$source_dir" --null -T - --ignore-failed-read 2>/dev/null |
        tar -x --no-same-permissions -C "$1"
}
package() { # folder [VARIABLE=value...]
    local started=$SECONDS
    (cd "$1" && env "${@:2}" scripts/package >package.log 2>&1) || {
        tail -n 40 "$1/package.log"
        fail "scripts/package failed in $1"
    }
    echo "packaged $1 in $((SECONDS - started)) s"
}

# --- The same bytes from two copies -----------------------------------------
a=$work/copies/first/quillfrost b=$work/copies/second-folder/quillfrost
copy "$a"
package "$a"
(
    umask 002
    copy "$b"
    package "$b" "${estonian[@]}"
)
msi=Quillfrost-$version-x64.msi zip=Quillfrost-$version-win-x64.zip
web=Quillfrost-$version-web.zip
deb=quillfrost_$version-${revision}_$(dpkg --print-architecture).deb
expect "release files" "$(LC_ALL=C ls "$a/dist" | paste -sd ' ')" "$web $zip $msi SHA256SUMS $deb"
for file in "$a"/dist/*; do
    name=$(basename "$file")
    if ! cmp -s "$file" "$b/dist/$name"; then
        cmp -l "$file" "$b/dist/$name" | head -n 8 >&2 || true
        fail "$name differs between the two copies (offset, octal bytes above)"
    fi
done
cmp -s "$a/dist/SHA256SUMS" "$b/dist/SHA256SUMS" || fail "the copies' SHA256SUMS differ"
echo "ok: both copies give the same bytes, and the same SHA256SUMS:"
cat "$a/dist/SHA256SUMS"

# --- What the files hold ------------------------------------------------------
expect "files in the zip" "$(unzip -Z1 "$a/dist/$zip" | paste -sd ' ')" \
    'LICENSE.txt Quillfrost.scr README.txt'
unzip -p "$a/dist/$zip" LICENSE.txt | tr -d '\r' | cmp -s - "$source_dir/LICENSE" ||
    fail "the zip's LICENSE.txt is not LICENSE"
unzip -p "$a/dist/$zip" README.txt | grep -q "^Version $version " ||
    fail "the zip's README.txt does not name version $version"
echo "ok: the zip holds LICENSE and a README.txt of version $version"
expect "files in the page's zip" "$(unzip -Z1 "$a/dist/$web" | paste -sd ' ')" \
    "$(for f in LICENSE app_icon_192.png app_icon_512.png app_icon_maskable_512.png index.html \
        manifest.webmanifest noise_129.dat noise_130.dat noise_131.dat noise_132.dat \
        page.css page.js quillfrost.js quillfrost.wasm sprite_123.png sw.js; do
        printf 'Quillfrost-%s-web/%s ' "$version" "$f"
    done | sed 's/ $//')"
saver=$(saver_of "$a/dist/$msi" unsigned)
unzip -p "$a/dist/$zip" Quillfrost.scr | cmp -s - "$saver" ||
    fail "the zip's Quillfrost.scr is not the .msi's"
expect "File table version of Quillfrost.scr" "$(msi_column "$a/dist/$msi" File QuillfrostScr 5)" \
    "$(file_version "$saver")"
expect "File table language of Quillfrost.scr" "$(msi_column "$a/dist/$msi" File QuillfrostScr 6)" 1033
expect "MsiFileHash row of the versioned Quillfrost.scr" \
    "$(msi_column "$a/dist/$msi" MsiFileHash QuillfrostScr 1)" ""

# --- Signed ---------------------------------------------------------------------
# A throwaway certificate authority and a code-signing certificate from it,
# in a password-protected PKCS#12 file, and a GnuPG key.
(
    cd "$keys"
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quillfrost Test CA" \
        -keyout ca.key -out ca.pem -addext basicConstraints=critical,CA:TRUE \
        -addext keyUsage=critical,keyCertSign 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -subj "/CN=Nubrisk Test Signer" \
        -keyout signer.key -out signer.csr 2>/dev/null
    printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
        -extfile signer.ext -out signer.pem 2>/dev/null
    openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem \
        -passout pass:frost -out signer.p12
    mkdir -m 700 gnupg
    GNUPGHOME=$keys/gnupg gpg --batch --quiet --pinentry-mode loopback --passphrase '' \
        --quick-gen-key 'Quillfrost Test <test@nubrisk.example>' ed25519 sign 2d 2>/dev/null
)
package "$b" QF_SIGN_CERT="$keys/signer.p12" QF_SIGN_PASSWORD=frost \
    QF_GPG_KEY=test@nubrisk.example GNUPGHOME="$keys/gnupg"
signed_saver=$(saver_of "$b/dist/$msi" signed)
for file in "$signed_saver" "$b/dist/$msi"; do
    osslsigncode verify -CAfile "$keys/ca.pem" -in "$file" >"$work/verify.log" 2>&1 || {
        cat "$work/verify.log"
        fail "osslsigncode refuses the signature of $file"
    }
    echo "ok: osslsigncode verifies $(basename "$file") against the throwaway CA"
done
unzip -p "$b/dist/$zip" Quillfrost.scr | cmp -s - "$signed_saver" ||
    fail "the zip's Quillfrost.scr is not the signed one"
GNUPGHOME=$keys/gnupg gpg --batch --verify "$b/dist/SHA256SUMS.asc" "$b/dist/SHA256SUMS" 2>&1 ||
    fail "gpg refuses SHA256SUMS.asc"
(cd "$b/dist" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match the files"
echo "ok: gpg verifies SHA256SUMS.asc"

cp -r "$a/dist" "$work/unsigned"
cp -r "$b/dist" "$work/signed"

# --- Keys that cannot sign ------------------------------------------------------
refused() { # variable VARIABLE=value...
    if (cd "$b" && env "${@:2}" scripts/package >refused.log 2>&1); then
        fail "scripts/package succeeded with ${*:2}"
    fi
    grep -q "^\[quillfrost\] $1" "$b/refused.log" || {
        cat "$b/refused.log"
        fail "scripts/package refused ${*:2} without a line naming $1"
    }
    diff -r "$work/signed" "$b/dist" || fail "the refused run with ${*:2} changed dist/"
    echo "ok: ${*:2} refused, naming $1; dist/ as it was"
}
refused QF_GPG_KEY QF_GPG_KEY=nobody@nubrisk.example GNUPGHOME="$keys/gnupg"
refused QF_SIGN_CERT QF_SIGN_CERT="$keys/missing.p12" QF_SIGN_PASSWORD=frost

# --- The version raised ---------------------------------------------------------
sed -i "s/^project(Quillfrost VERSION $written /project(Quillfrost VERSION $next_written /" \
    "$a/CMakeLists.txt"
grep -q "^project(Quillfrost VERSION $next_written " "$a/CMakeLists.txt" ||
    fail "no 'project(Quillfrost VERSION $written ' in CMakeLists.txt"
package "$a"
cp -r "$a/dist" "$work/next"
next_msi=Quillfrost-$next_version-x64.msi
next_deb=quillfrost_$next_version-${revision}_$(dpkg --print-architecture).deb
expect "release files of $next_version" "$(LC_ALL=C ls "$a/dist" | paste -sd ' ')" \
    "Quillfrost-$next_version-web.zip Quillfrost-$next_version-win-x64.zip $next_msi SHA256SUMS $next_deb"
expect "version resource of Quillfrost.scr" \
    "$(file_version "$(saver_of "$a/dist/$next_msi" next)")" "$next_written"
expect "ProductVersion" "$(msi_property "$a/dist/$next_msi" ProductVersion)" "$next_version"
expect "the .deb's Version" "$(dpkg-deb --field "$a/dist/$next_deb" Version)" "$next_version-$revision"
echo "all checks passed in ${SECONDS}s"
