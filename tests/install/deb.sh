#!/bin/sh
# Builds the Debian packages from a built tree, checks what they declare, then
# unpacks them into a throwaway root and runs the programs from there.
# Usage: deb.sh BUILD_DIR SCRATCH_DIR
set -eu
build=$1 scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch/root"
fail() { echo "deb: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }

major=$(sed -n 's/^set(CPACK_PACKAGE_VERSION_MAJOR "\(.*\)")/\1/p' "$build/CPackConfig.cmake")
lib_deb=$(ls "$scratch/out"/libcellctl"$major"_*.deb)
dev_deb=$(ls "$scratch/out"/libcellctl-dev_*.deb)
program_deb=$(ls "$scratch/out"/cellctl_*.deb)

# What the packages declare.
field() { dpkg-deb --field "$1" "$2"; }
field "$program_deb" Depends | grep -q "libcellctl$major" || fail "cellctl does not depend on libcellctl$major"
field "$program_deb" Depends | grep -q "libc6" || fail "cellctl has no shlibdeps (libc6)"
field "$program_deb" Recommends | grep -q "ppp" || fail "cellctl does not recommend ppp"
field "$program_deb" Recommends | grep -q "mobile-broadband-provider-info" ||
    fail "cellctl does not recommend mobile-broadband-provider-info"
field "$dev_deb" Depends | grep -q "libcellctl$major" || fail "libcellctl-dev does not depend on the library"
dpkg-deb --ctrl-tarfile "$lib_deb" | tar -t | grep -q shlibs || fail "libcellctl$major has no shlibs file"

for deb in "$lib_deb" "$dev_deb" "$program_deb"; do
    dpkg -x "$deb" "$scratch/root"
done
usr=$scratch/root/usr

# Each file in its package, the SONAME's link among the library's files.
dpkg-deb --contents "$lib_deb" | grep -q "libcellctl.so.$major -> " || fail "no libcellctl.so.$major link"
dpkg-deb --contents "$lib_deb" | grep -q "include/" && fail "headers in the library package"
soname=$(objdump -p "$usr"/lib/libcellctl.so."$major".* | sed -n 's/^ *SONAME *//p')
[ "$soname" = "libcellctl.so.$major" ] || fail "SONAME is '$soname'"
for file in include/cellctl/cellctl.h lib/pkgconfig/cellctl.pc lib/cmake/cellctl/cellctlConfig.cmake \
            lib/libcellctl.so share/man/man1/cellctl.1.gz share/man/man1/cellsim.1.gz \
            share/bash-completion/completions/cellctl bin/cellctl bin/cellsim; do
    [ -e "$usr/$file" ] || fail "usr/$file missing"
done
grep -q "^prefix=/usr" "$usr/lib/pkgconfig/cellctl.pc" || fail "cellctl.pc does not point at /usr"

# The programs, run from the unpacked root.
export LD_LIBRARY_PATH="$usr/lib"
"$usr/bin/cellctl" --version | grep -q "^cellctl " || fail "cellctl --version failed"
"$usr/bin/cellsim" --version || fail "cellsim --version failed"
ldd "$usr/bin/cellctl" | grep "libcellctl" | grep -qv "$usr/lib" && fail "cellctl uses a libcellctl outside the package"
timeout 120 "$usr/bin/cellctl" status || fail "cellctl status failed"
man -l "$usr/share/man/man1/cellctl.1.gz" | grep -q "cellctl status" || fail "man cellctl does not render"
rm -rf "$scratch"
echo "deb: packages build, install and run"
