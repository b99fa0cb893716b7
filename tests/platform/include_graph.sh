#!/usr/bin/env bash
# The platform's files include each other without a circle, and the check
# does find a circle: in a tree of three headers that include each other
# round it names them and fails. Given the platform library's object files,
# the files call each other without a circle too.
#     include_graph.sh SOURCE_ROOT [OBJECT_DIR]
set -euo pipefail
root="$1"
tool="$root/tools/include_graph.sh"

bash "$tool" "$root"
if [[ -n "${2:-}" ]]; then bash "$tool" --calls "$2"; fi

made="$(mktemp -d)"
trap 'rm -rf "$made"' EXIT
mkdir -p "$made/platform/src/raster" "$made/platform/include" "$made/base"
printf '#include "raster/b.h"\n' >"$made/platform/src/a.h"
printf '#include "c.h"\n' >"$made/platform/src/raster/b.h"
printf '#include <windows.h>\n#include "a.h"\n' >"$made/platform/src/raster/c.h"
printf '#include "safe.h"\n' >"$made/platform/include/windows.h"
printf '\n' >"$made/base/safe.h"
if report="$(bash "$tool" "$made" 2>&1)"; then
    echo "FAIL: no circle found in a -> b -> c -> a" >&2
    exit 1
fi
for file in platform/src/a.h platform/src/raster/b.h platform/src/raster/c.h; do
    grep -q -- "$file" <<<"$report" || { echo "FAIL: the circle's $file is not named: $report" >&2; exit 1; }
done
if grep -q -- "windows.h\|safe.h" <<<"$report"; then
    echo "FAIL: files outside the circle are named: $report" >&2
    exit 1
fi
echo "ok"
