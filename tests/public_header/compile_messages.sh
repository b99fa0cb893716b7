#!/usr/bin/env bash
# The calls beginners get wrong most (a shape without its drawstyle, a pen
# without its width) do not compile, and the compiler's one error says what
# is missing in the header's words; an older language level is told in the
# first error. The same calls written out in full compile.
# Usage: compile_messages.sh COMPILER INCLUDE_DIR
set -uo pipefail
cxx=$1
include=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

program() {  # program STATEMENT: a lab program making that call
  printf '#include "graphics.h"\nint main() {\n    window w(200, 100, 0, 0);\n    %s\n}\n' "$1" >"$work/lab.cpp"
}

refused() {  # refused STANDARD STATEMENT MESSAGE
  program "$2"
  if "$cxx" -std="$1" -fsyntax-only -I "$include" "$work/lab.cpp" >"$work/out.txt" 2>&1; then
    fail "-std=$1 $2 compiled"
    return
  fi
  local first
  first=$(grep -m1 "error:" "$work/out.txt")
  [[ $first == *"$3"* ]] || fail "-std=$1 $2: the first error is: $first"
  if [ "$1" = c++17 ] && [ "$(grep -c "error:" "$work/out.txt")" != 1 ]; then
    fail "$2: more than one error: $(cat "$work/out.txt")"
  fi
}

style="needs a drawstyle: STYLE_FILLED, STYLE_FRAME or STYLE_INVERTED"
refused c++17 'w.DrawCircle(100, 50, 20);' "DrawCircle $style"
refused c++17 'w.DrawRectangle(10, 10, 50, 50);' "DrawRectangle $style"
refused c++17 'w.DrawEllipse(10, 10, 50, 30);' "DrawEllipse $style"
refused c++17 'w.DrawTriangle(10, 10, 50, 10, 30, 40);' "DrawTriangle $style"
refused c++17 'int xs[3] = {1, 9, 5}, ys[3] = {1, 1, 9}; w.DrawPolygon(xs, ys, 3);' "DrawPolygon $style"
refused c++17 'w.DrawArc(10, 10, 90, 90, 0.0, 90.0, STYLE_FRAME);' \
  "DrawArc needs the angles' unit after the drawstyle: 0 for degrees or 1 for radians"
refused c++17 'w.SetPen(RED);' "SetPen needs a width after the colour: SetPen(RED, 1)"
refused c++17 'w.SetPen(255, 0, 0);' "SetPen needs a width after red, green and blue: SetPen(255, 0, 0, 1)"
refused c++14 'w.SetPen(RED, 1);' "graphics.h needs C++17 (-std=c++17)"

# Written out in full, with arguments that convert, they compile.
program 'int xs[3] = {1, 9, 5}, ys[3] = {1, 1, 9}; double r = 20.5;
    w.DrawCircle(100, 50, r, STYLE_FILLED); w.DrawRectangle(10, 10, 50, 50, STYLE_FRAME);
    w.DrawEllipse(10, 10, 50, 30, STYLE_INVERTED); w.DrawTriangle(10, 10, 50, 10, 30, 40, STYLE_FILLED);
    w.DrawPolygon(xs, ys, 3, STYLE_FILLED); w.DrawArc(10, 10, 90, 90, 0, 90, STYLE_FRAME, 0);
    w.SetPen(RED, 1); w.SetPen(255, 0, 0, 1); w.SetPen(1.0, 0.0, 0.0, 2); w.SetBrush(RED);'
"$cxx" -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I "$include" "$work/lab.cpp" >"$work/out.txt" 2>&1 ||
  fail "the calls written out in full: $(cat "$work/out.txt")"

[ "$failures" = 0 ] && echo "compile messages: all checks passed"
exit $((failures > 0))
