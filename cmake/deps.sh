#!/bin/sh
# Installs the Debian packages the build needs, and only those that are missing.
# Does nothing (and needs no network) when everything is already present.
set -eu

PACKAGES="cmake g++ make pkg-config libboost-dev libgtest-dev libgmock-dev \
libbenchmark-dev libcli11-dev nlohmann-json3-dev clang python3-serial socat \
libexpat1-dev mobile-broadband-provider-info \
user-mode-linux kmod ppp iproute2 iputils-ping procps \
groff-base man-db dpkg-dev file"

missing=""
for pkg in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $pkg"
    fi
done

[ -z "$missing" ] && exit 0

echo "cellctl: installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "cellctl: packages missing and not root (no sudo): $missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
