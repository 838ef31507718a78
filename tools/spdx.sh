#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Licensed under the GNU General Public License, version 3 or later.
# Puts the licence lines at the top of every source file of ours that lacks it.
#   tools/spdx.sh           add the lines where they are missing
#   tools/spdx.sh --check   change nothing; fail and name every file without them (CI)
# The second line is for licensecheck, which reads the SPDX line as version 3 only. Data that
# cannot carry a comment (images, fuzz corpora, JSON, the changelog) is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."

id="SPDX-License-Identifier: GPL-3.0-or-later"
grant="Licensed under the GNU General Public License, version 3 or later."
check=false
case "${1:-}" in
"") ;;
--check) check=true ;;
*)
    echo "usage: $0 [--check]" >&2
    exit 2
    ;;
esac

# How the file's own language opens and closes a comment; `open` stays empty for files not ours
# to mark.
comment_for() {
    open= close=
    case "$1" in
    *.cpp | *.cc | *.c | *.h | *.hpp | *.js | *.mjs | *.cjs | *.ts | *.tsx | *.jsx) open="// " ;;
    *.css) open="/* " close=" */" ;;
    *.asm | *.z80 | *.s) open="; " ;;
    *.xml | *.svg | *.html | *.md) open="<!-- " close=" -->" ;;
    *.[1-8]) open='.\" ' ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py | *.desktop | *.yml | *.yaml | *.toml | \
        .ci/* | .clang-format | */.clang-format | .editorconfig | .gitignore | */.gitignore) open="# " ;;
    *) ;;
    esac
}

# A first line that must stay first: #!, <?xml ...?>, <!DOCTYPE ...>.
keeps_first_line() {
    head -n 1 "$1" | grep -qiE '^(#!|<\?xml|<!doctype)'
}

missing=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue # listed by git but deleted in the working tree
    comment_for "$file"
    [ -n "$open" ] || continue
    head -n 3 "$file" | grep -qF "$id" && continue
    missing+=("$file")
    $check && continue
    lines=$(printf '%s%s%s\n%s%s%s' "$open" "$id" "$close" "$open" "$grant" "$close")
    temp=$(mktemp "$file.XXXXXX")
    if keeps_first_line "$file"; then
        { head -n 1 "$file"; echo "$lines"; tail -n +2 "$file"; } >"$temp"
    else
        { echo "$lines"; cat "$file"; } >"$temp"
    fi
    chmod --reference="$file" "$temp"
    mv "$temp" "$file"
done < <(git ls-files -z --cached --others --exclude-standard)

if $check; then
    if [ ${#missing[@]} -gt 0 ]; then
        echo "These files lack the line \"$id\" in their first three lines:" >&2
        printf '  %s\n' "${missing[@]}" >&2
        echo "Run tools/spdx.sh to add it." >&2
        exit 1
    fi
    echo "Every source file carries \"$id\"."
else
    echo "Added \"$id\" to ${#missing[@]} files."
fi
