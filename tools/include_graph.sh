#!/usr/bin/env bash
# include_graph.sh - checks that the platform's files include each other
# without a circle.
#
#     tools/include_graph.sh [--print] [SOURCE_ROOT]
#     tools/include_graph.sh --calls OBJECT_DIR
#
# Every `#include "..."` and every `#include <...>` naming one of our own
# headers, in platform/src, platform/include and base/, is an arrow from the
# including file to the included one. A quoted name is looked for beside the
# including file, then in platform/src, platform/include and base/; an
# angle-bracket name only in platform/include and base/ (the others are the
# system's). tsort orders the arrows; a circle is printed with its files and
# ends the script with status 1. --print prints the arrows, one "FROM TO" a
# line, instead. Status 0: no circle; 2: the tree is not there.
#
# --calls looks at what the files call instead of what they include: given
# the folder of the platform library's object files (for the Linux build,
# build/linux/platform/CMakeFiles/kiva_platform.dir/src), every symbol one
# object file uses and another defines is an arrow between their sources,
# and the files that call each other round in a circle are printed the same
# way (objects whose source is no longer in the tree are left out). (Two
# services that call each other include only each other's headers, so the
# include graph alone does not show it.)
set -euo pipefail

# tsort's report of the circles it broke, one circle a line: "a -> b -> a".
circles() {
    echo "$1" | awk '/input contains a loop/ { if (c != "") print "  " c " -> " first; c = ""; next }
        { sub(/^tsort: /, ""); if (c == "") { c = $0; first = $0 } else c = c " -> " $0 }
        END { if (c != "") print "  " c " -> " first }'
}

if [[ "${1:-}" == "--calls" ]]; then
    objects="${2:?--calls needs the folder of the object files}"
    sources="$(cd "$(dirname "$0")/.." && pwd)/platform/src"
    table="$(find "$objects" -name '*.o' | sort | while IFS= read -r o; do
        name="$(realpath --relative-to="$objects" "$o")"
        # A build folder kept across changes may hold objects of sources
        # that are gone: only the tree's own files count.
        [[ -f "$sources/${name%.o}" ]] || continue
        nm -C --defined-only -g "$o" | awk -v f="${name%.o}" 'NF >= 3 && $2 ~ /[TWBDRV]/ { $1 = ""; $2 = ""; print "D\t" f "\t" substr($0, 3) }'
        nm -C -u "$o" | awk -v f="${name%.o}" '{ $1 = ""; print "U\t" f "\t" substr($0, 2) }'
    done)"
    calls="$(echo "$table" | awk -F'\t' '$1 == "D" { def[$3] = $2 } $1 == "U" { use[NR] = $2 "\t" $3 }
        END { for (i in use) { split(use[i], u, "\t"); if ((u[2] in def) && def[u[2]] != u[1]) print u[1], def[u[2]] } }' | sort -u)"
    if ! report="$(echo "$calls" | tsort 2>&1 >/dev/null)"; then
        echo "include_graph: the platform's files call each other round in a circle:" >&2
        circles "$report" >&2
        exit 1
    fi
    echo "include_graph: $(echo "$calls" | wc -l) calling arrows among the platform's files, no circle"
    exit 0
fi

print=0
if [[ "${1:-}" == "--print" ]]; then
    print=1
    shift
fi
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
if [[ ! -d "$root/platform/src" ]]; then
    echo "include_graph: no platform/src under $root" >&2
    exit 2
fi
cd "$root"

# The file an include names, relative to the root, or nothing.
resolve() {
    local from_dir="$1" name="$2" quoted="$3" dir
    local dirs=(platform/include base)
    [[ "$quoted" == 1 ]] && dirs=("$from_dir" platform/src platform/include base)
    for dir in "${dirs[@]}"; do
        if [[ -f "$dir/$name" ]]; then
            realpath --relative-to=. "$dir/$name"
            return
        fi
    done
}

arrows() {
    local file line name quoted target
    while IFS= read -r file; do
        while IFS= read -r line; do
            if [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
                quoted=1
            elif [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
                quoted=0
            else
                continue
            fi
            name="${BASH_REMATCH[1]}"
            target="$(resolve "$(dirname "$file")" "$name" "$quoted")"
            [[ -n "$target" ]] && echo "$file $target"
        done <"$file"
    done < <(find platform/src platform/include base -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
}

graph="$(arrows)"
if [[ "$print" == 1 ]]; then
    echo "$graph"
    exit 0
fi
if ! report="$(echo "$graph" | tsort 2>&1 >/dev/null)"; then
    echo "include_graph: the platform's includes go round in a circle:" >&2
    circles "$report" >&2
    exit 1
fi
echo "include_graph: $(echo "$graph" | wc -l) includes among the platform's files, no circle"
