# The .deb, as scripts/package ships it and tests/linux/deb_test.sh checks it.
# shellcheck shell=bash

# qf_build_deb SOURCE_DIR BUILD_DIR
# A Release build of SOURCE_DIR in BUILD_DIR with the flags Debian builds its
# packages with (dpkg-buildflags with all hardening: stack protector,
# fortified functions, relocations read-only and bound at start; the source
# folder mapped to . in what the compiler writes), of the program and its
# manual page alone, packed by CPack into BUILD_DIR/quillfrost_*.deb. A .deb
# left there by an earlier build is removed first; CPack's output goes to
# BUILD_DIR/cpack.log.
qf_build_deb() {
    local source_dir=$1 build_dir=$2 name
    local -A flags
    for name in CPPFLAGS CFLAGS CXXFLAGS LDFLAGS; do
        flags[$name]=$(cd "$source_dir" &&
            DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$name")
    done
    cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_SANITIZE=OFF \
        "-DCMAKE_C_FLAGS=${flags[CPPFLAGS]} ${flags[CFLAGS]}" \
        "-DCMAKE_CXX_FLAGS=${flags[CPPFLAGS]} ${flags[CXXFLAGS]}" \
        "-DCMAKE_EXE_LINKER_FLAGS=${flags[LDFLAGS]}" >/dev/null
    if [ ! -f "$build_dir/CPackConfig.cmake" ]; then
        qf_log "the Linux build in $build_dir has no CPack set-up"
        return 1
    fi
    rm -f "$build_dir"/*.deb
    cmake --build "$build_dir" -j "$(nproc)" --target quillfrost quillfrost-wayland quillfrost_man_page
    (cd "$build_dir" && cpack -G DEB >cpack.log 2>&1) || {
        cat "$build_dir/cpack.log" >&2
        return 1
    }
}
