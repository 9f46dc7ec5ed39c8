#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# package_test.sh BUILD_DIR APP_ID
# Builds the Debian package with CPack into a temporary folder and runs the validators on it:
# lintian (no error or warning, informational tags included), desktop-file-validate on its desktop
# entry and appstreamcli on its metainfo. A validator that is not installed is skipped with a
# message (exit 77) after the others have run.
set -uo pipefail
build=$1 app_id=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
missing=()
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
have() {
    command -v "$1" >/dev/null || {
        missing+=("$1")
        return 1
    }
}

for tool in cpack dpkg-deb; do
    if ! have "$tool"; then
        echo "SKIP: $tool is not installed (tools/setup.sh installs it)"
        exit 77
    fi
done
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
packages=("$work"/*.deb)
[[ -f ${packages[0]} ]] || {
    echo "FAIL: cpack made no .deb"
    exit 1
}
deb=${packages[0]}
echo "package: ${deb##*/}"

# What the package says of itself.
for field in Package Version Section Maintainer Description; do
    [[ -n $(dpkg-deb -f "$deb" "$field") ]] || fail "the control file has no $field"
done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libdeflate* && $depends == *libavcodec* ]] ||
    fail "Depends does not come from the programs' libraries: $depends"
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/brasvel-res ./usr/bin/brasvel-resedit \
    ./usr/share/doc/brasvel-resedit/copyright ./usr/share/doc/brasvel-resedit/changelog.Debian.gz \
    "./usr/share/applications/$app_id.desktop" ./usr/share/man/man1/brasvel-res.1.gz \
    ./usr/lib/brasvel-resedit/plugins/libbrasvel-video.so; do
    grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
dpkg-deb -x "$deb" "$work/root"

if have lintian; then
    # Root is warned about, not refused; the package's own override is honoured.
    lintian --display-info --pedantic --info --fail-on error,warning,info,pedantic "$deb" \
        >"$work/lintian.log" 2>&1
    status=$?
    grep -v 'running with root privileges' "$work/lintian.log"
    ((status == 0)) || fail "lintian reports tags (exit $status)"
fi
if have desktop-file-validate; then
    desktop-file-validate "$work/root/usr/share/applications/$app_id.desktop" ||
        fail "desktop-file-validate"
fi
if have appstreamcli; then
    appstreamcli validate --no-net "$work/root/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli validate"
fi

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
if ((${#missing[@]} > 0)); then
    echo "SKIP: not installed: ${missing[*]} (tools/setup.sh installs them); the rest passed"
    exit 77
fi
echo "package: lintian, desktop-file-validate and appstreamcli find nothing"
