#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# install_test.sh BUILD_DIR APP_ID MIME_PROBE
# Installs the build into a temporary prefix and checks what lands there: the programs, the
# desktop entry (its Exec and MimeType), metainfo, file types (asked of Qt's MIME database, as a
# file manager would), icons at every size, manual pages that render without a warning, the bash
# completion, the copyright file, the English translation and the video module.
set -uo pipefail
build=$1 app_id=$2 mime_probe=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    rm -f "$prefix.log"
    echo "FAIL: cmake --install"
    exit 1
fi
rm -f "$prefix.log"

share=$prefix/share
expected=(
    bin/brasvel-res
    bin/brasvel-resedit
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/mime/packages/$app_id.xml"
    share/man/man1/brasvel-res.1.gz
    share/man/man1/brasvel-resedit.1.gz
    share/bash-completion/completions/brasvel-res
    share/doc/brasvel-resedit/copyright
    share/brasvel-resedit/translations/brasvel-resedit_en.qm
    "$(cd "$prefix" && find lib* -name libbrasvel-video.so -path '*/brasvel-resedit/*' | head -1)"
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    [[ -f $prefix/$file ]] || fail "$file is not installed"
done
for program in brasvel-res brasvel-resedit; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is not executable"
done
"$prefix/bin/brasvel-res" --version | grep -q '^brasvel-res [0-9]' ||
    fail "the installed brasvel-res does not run"

# The installed program finds the video module in its lib folder: the video fails as a clip
# (the demo's is a test clip in AVI, which the game's formats refuse), not as "not available".
if [[ -f $build/demo/demo.vid ]]; then
    env -u BRASVEL_VIDEO_MODULE "$prefix/bin/brasvel-res" info "$build/demo/demo.vid" DOLINA.smk 2>"$prefix.err" >/dev/null
    grep -q 'Not a video' "$prefix.err" ||
        fail "the installed brasvel-res does not load its video module: $(cat "$prefix.err")"
    rm -f "$prefix.err"
fi

# The installed window finds its English translation beside itself and speaks English.
if [[ -f $prefix/share/brasvel-resedit/translations/brasvel-resedit_en.qm ]]; then
    english=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/brasvel-resedit" --lang en --print-texts 2>&1)
    [[ $english == *"Open resource file..."* ]] ||
        fail "the installed window with --lang en does not speak English: $english"
fi

# Each icon is as large as its folder says, and painted (not one flat colour).
for size in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x$size/apps/$app_id.png
    [[ -f $icon ]] || continue
    read -r width height < <(file -b "$icon" | sed -n 's/.*, \([0-9]*\) x \([0-9]*\),.*/\1 \2/p')
    [[ "$width x $height" == "$size x $size" ]] ||
        fail "icon ${size}x$size is $width x $height: $(file -b "$icon")"
done
cmp -s "$share/icons/hicolor/16x16/apps/$app_id.png" \
    "$share/icons/hicolor/256x256/apps/$app_id.png" && fail "the icons are all alike"

# The desktop entry starts the window with the file the desktop hands over.
desktop=$share/applications/$app_id.desktop
grep -qx 'Exec=brasvel-resedit %f' "$desktop" || fail "Exec is not 'brasvel-resedit %f'"
grep -qx "Icon=$app_id" "$desktop" || fail "Icon is not $app_id"
mime_line=$(grep '^MimeType=' "$desktop")
for kind in lod snd vid; do
    [[ $mime_line == *"application/x-brasvel-$kind;"* ]] ||
        fail "MimeType lacks application/x-brasvel-$kind: $mime_line"
    grep -q "type=\"application/x-brasvel-$kind\"" "$share/mime/packages/$app_id.xml" ||
        fail "the MIME package does not define application/x-brasvel-$kind"
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$share/metainfo/$app_id.metainfo.xml" || fail "the metainfo does not launch $app_id.desktop"
grep -q "<project_license>GPL-3.0-or-later</project_license>" \
    "$share/metainfo/$app_id.metainfo.xml" || fail "the metainfo does not give the licence"
grep -q '^License: GPL-3+$' "$share/doc/brasvel-resedit/copyright" ||
    fail "the copyright file does not give the licence"

# The file types, as a file manager sees them: names in any case, and a LOD by its first bytes.
files=$prefix/files
mkdir -p "$files"
printf 'LOD\0\310\0\0\0\0\0\0\0' >"$files/Data.Lod"
cp "$files/Data.Lod" "$files/SPRITES.LOD"
cp "$files/Data.Lod" "$files/unnamed"
printf '\0\0\0\0' >"$files/Sounds.sNd"
printf '\0\0\0\0' >"$files/movie.VID"
printf 'LOD' >"$files/short"
if command -v update-mime-database >/dev/null; then
    PKGSYSTEM_ENABLE_FSYNC=0 update-mime-database "$share/mime" || fail "update-mime-database refused the MIME package"
fi
declare -A wanted=(
    [Data.Lod]=application/x-brasvel-lod [SPRITES.LOD]=application/x-brasvel-lod
    [unnamed]=application/x-brasvel-lod [Sounds.sNd]=application/x-brasvel-snd
    [movie.VID]=application/x-brasvel-vid
)
while IFS=$'\t' read -r path type; do
    name=${path##*/}
    if [[ $name == short ]]; then
        [[ $type != application/x-brasvel-* ]] || fail "three bytes 'LOD' were taken for $type"
    elif [[ $type != "${wanted[$name]}" ]]; then
        fail "$name is $type, not ${wanted[$name]}"
    fi
done < <(XDG_DATA_DIRS=$share:/usr/share "$mime_probe" "$files"/*)

# ".snd" also names an old audio format, which has a signature. Installed beside the system's
# types (as the package is), the signature keeps such a sound an audio file.
system_types=/usr/share/mime/packages/freedesktop.org.xml
if [[ -f $system_types ]] && command -v update-mime-database >/dev/null; then
    merged=$prefix/merged/mime
    mkdir -p "$merged/packages"
    cp "$system_types" "$share/mime/packages/$app_id.xml" "$merged/packages/"
    PKGSYSTEM_ENABLE_FSYNC=0 update-mime-database "$merged" 2>/dev/null
    printf '.snd\0\0\0\030' >"$files/old.snd"
    probed=$(XDG_DATA_DIRS=$prefix/merged "$mime_probe" "$files/old.snd" "$files/Sounds.sNd" |
        cut -f2 | tr '\n' ' ')
    [[ $probed == "audio/basic application/x-brasvel-snd " ]] ||
        fail "beside the system's types, a Sun sound and an SND archive are: $probed"
fi

# The manual pages render without a warning, and say what they are about.
for page in brasvel-res brasvel-resedit; do
    file=$prefix/share/man/man1/$page.1.gz
    [[ -f $file ]] || continue
    rendered=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$file" 2>"$prefix/warnings")
    [[ -s $prefix/warnings ]] && fail "man $page warns: $(cat "$prefix/warnings")"
    # A NAME line longer than the page wraps, and its first line is then justified: spaces
    # count as one.
    [[ $(tr -s ' ' <<<"$rendered") == *"$page - "* ]] || fail "man $page has no NAME line"
done
MANWIDTH=80 man -l "$prefix/share/man/man1/brasvel-res.1.gz" 2>/dev/null |
    grep -q 'brasvel-res verify ARCHIVE' || fail "man brasvel-res does not show verify's synopsis"

if ((failures > 0)); then
    echo "$failures check(s) failed; installed files:"
    (cd "$prefix" && find . -type f | sort)
    exit 1
fi
echo "install: ${#expected[@]} files in place, desktop entry, file types and manual pages right"
