#!/bin/sh
# Installs, with apt-get, every Debian package the build, the demonstration and the tests need.
# Safe to run again: it only calls apt-get when something is missing.
set -eu

# llvm: llvm-dlltool makes the Microsoft-style import library VORNAKDBG32.lib.
packages="cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine wine64 llvm $*"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

as_root=""
if [ "$(id -u)" != 0 ]; then
    as_root=sudo
fi
echo "Installing:$missing"
# Other scripts may be installing at the same time: wait for apt's and dpkg's locks.
wait_for_lock="-o DPkg::Lock::Timeout=300"
$as_root apt-get $wait_for_lock update -qq
DEBIAN_FRONTEND=noninteractive $as_root apt-get $wait_for_lock install -y -qq --no-install-recommends $missing >/dev/null
