#!/bin/sh
# Installs the built tree into a scratch prefix, then builds and runs the same
# host program twice: once with pkg-config, once with find_package(cellctl).
set -eu
build_dir=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
prefix=$work/prefix

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log"

# Nothing internal may be installed.
for internal in AnswerText.h AtResponseParser.h Numbers.h CPassword.h CCopsHelper.h CModeHelper.h \
        Channel.h CommandQueue.h Dialect.h; do
    if find "$prefix/include" -name "$internal" | grep -q .; then
        echo "internal header installed: $internal" >&2
        exit 1
    fi
done

export PKG_CONFIG_PATH="$prefix/lib/pkgconfig:$prefix/lib/x86_64-linux-gnu/pkgconfig"
# The scratch prefix is not on the loader's path (the .pc files carry no rpath).
export LD_LIBRARY_PATH="$prefix/lib:$prefix/lib/x86_64-linux-gnu"
# shellcheck disable=SC2046
c++ -std=c++17 -o "$work/host-pkgconfig" "$here/host.cpp" $(pkg-config --cflags --libs cellctl)
"$work/host-pkgconfig"
if pkg-config --exists cellctl-at; then
    # shellcheck disable=SC2046
    c++ -std=c++17 -o "$work/at-host-pkgconfig" "$here/at-host.cpp" $(pkg-config --cflags --libs cellctl-at)
    "$work/at-host-pkgconfig"
fi

cmake -S "$here" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >"$work/configure.log"
cmake --build "$work/cmake-build" >"$work/build.log"
"$work/cmake-build/host"
if [ -x "$work/cmake-build/at-host" ]; then
    "$work/cmake-build/at-host"
fi
echo "installed package usable through pkg-config and find_package"
