#!/usr/bin/env bash
# deb_test.sh SOURCE_DIR BUILD_DIR VERSION
# The .deb as scripts/package makes it, from a Release build of its own in
# BUILD_DIR: its control fields, the three files where xscreensaver looks for
# them and the desktop entry for mate-screensaver, the copyright with
# LICENSE's text and the changelog of this version, nothing lintian warns of,
# and a settings description that parses and passes the packaged program
# nothing it refuses, at each end of every slider.
set -euo pipefail
source_dir=$1 build_dir=$2 version=$3
source "$(dirname "$0")/hack_test_lib.sh"
source "$(dirname "$0")/../../scripts/lib/common.sh"
source "$(dirname "$0")/../../scripts/lib/deb.sh"

qf_build_deb "$source_dir" "$build_dir" || fail "the .deb was not built"
deb=$build_dir/quillfrost_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") made: $(ls "$build_dir"/*.deb 2>/dev/null)"

field() { dpkg-deb --field "$deb" "$1"; }
expect Package "$(field Package)" quillfrost
expect Version "$(field Version)" "$version"
expect Section "$(field Section)" x11
expect Maintainer "$(field Maintainer)" "Nubrisk <support@nubrisk.example>"
# The libraries the program links, and no front end: like Debian's own GL
# display modes, the package only suggests the daemons that run it.
depends=$(field Depends)
for package in libc6 libx11-6 libpng16-16; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends has no $package: $depends"
done
[[ ", $depends," != *", xscreensaver"[\ ,]* ]] || fail "Depends has xscreensaver: $depends"
echo "ok: Depends = $depends"
expect Recommends "$(field Recommends)" xscreensaver-gl
expect Suggests "$(field Suggests)" "xscreensaver | mate-screensaver, swayidle"

contents=$(dpkg-deb --contents "$deb" | awk '{ print $1, $NF }')
for entry in "-rwxr-xr-x ./usr/libexec/xscreensaver/quillfrost" \
    "-rw-r--r-- ./usr/share/xscreensaver/config/quillfrost.xml" \
    "-rw-r--r-- ./usr/share/man/man6/quillfrost.6.gz" \
    "-rwxr-xr-x ./usr/bin/quillfrost-wayland" \
    "-rw-r--r-- ./usr/share/man/man6/quillfrost-wayland.6.gz" \
    "-rw-r--r-- ./usr/share/applications/screensavers/quillfrost.desktop" \
    "-rw-r--r-- ./usr/share/doc/quillfrost/copyright" \
    "-rw-r--r-- ./usr/share/doc/quillfrost/changelog.Debian.gz"; do
    grep -qxF -- "$entry" <<<"$contents" || fail "not in the package: $entry"
    echo "ok: $entry"
done

root=$build_dir/deb-root
rm -rf "$root"
dpkg-deb --extract "$deb" "$root"
zcat "$root/usr/share/man/man6/quillfrost.6.gz" | grep -q '^\.TH QUILLFROST 6 ' ||
    fail "quillfrost.6.gz is no manual page of section 6"
xml=$root/usr/share/xscreensaver/config/quillfrost.xml
xmllint --noout "$xml" || fail "quillfrost.xml does not parse"
doc=$root/usr/share/doc/quillfrost
sed -n 's/^ \.\{0,1\}//p' "$doc/copyright" | cmp -s - <(sed -n '/^Permission/,$p' "$source_dir/LICENSE") ||
    fail "the copyright's licence text is not LICENSE's"
echo "ok: the copyright holds LICENSE's text"
zcat "$doc/changelog.Debian.gz" >"$root/changelog"
expect "the changelog's newest version" "$(dpkg-parsechangelog -l "$root/changelog" -S Version)" "$version"

# lintian, with its informational tags shown.
lintian_log=$build_dir/lintian.log
lintian --display-info --fail-on error,warning "$deb" >"$lintian_log" 2>&1 || {
    cat "$lintian_log"
    fail "lintian: an error or a warning"
}
sed 's/^/lintian: /' "$lintian_log"
echo "ok: lintian reports no error and no warning"

# The options of the settings: the command's, the check boxes' and every
# slider at its low and at its high end.
attribute() { xmllint --xpath "string($1)" "$xml"; }
fixed=$(attribute //command/@arg)
for kind in arg-set arg-unset; do
    for i in $(seq 1 "$(attribute "count(//boolean[@$kind])")"); do
        fixed+=" $(attribute "(//boolean[@$kind])[$i]/@$kind")"
    done
done
low=$fixed high=$fixed
for i in $(seq 1 "$(attribute 'count(//number)')"); do
    arg=$(attribute "//number[$i]/@arg")
    low+=" ${arg/\%/$(attribute "//number[$i]/@low")}"
    high+=" ${arg/\%/$(attribute "//number[$i]/@high")}"
done
# --help last: the program reads the whole command line first, then prints
# the usage and ends with 0 instead of drawing.
hack=$root/usr/libexec/xscreensaver/quillfrost
for args in "$low" "$high"; do
    read -ra words <<<"$args"
    status=0
    err=$(env -u DISPLAY timeout 10 "$hack" "${words[@]}" --help 2>&1 >/dev/null) || status=$?
    [ "$status" -eq 0 ] || fail "quillfrost $args: status $status: $err"
    echo "ok: the packaged program takes: $args"
done
