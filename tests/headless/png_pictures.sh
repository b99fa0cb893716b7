#!/usr/bin/env bash
# PNG pictures through image::Load and image::SavePng (tools/picture_dump):
# a set of PNG files made here by ImageMagick, every colour type and bit
# depth it writes, with and without transparency, interlaced or not, must
# load to the pixels ImageMagick itself decodes, composited on white; the
# picture saved again must decode to the same pixels, with no time chunk.
# Damaged files (a checksum wrong, data damaged, cut short) and files claiming too many
# pixels are refused with status 1 and a line naming the file and the
# reason, within a small memory bound where the build allows one.
# With a Linux build folder named, the saved files must also be the very
# bytes that build's SavePng writes.
#
# Usage: png_pictures.sh BUILD_DIR SOURCE_DIR [RUNNER [LINUX_BUILD_DIR]]
#        (RUNNER: scripts/wine-run.sh for the Windows build)
set -uo pipefail
build=$(realpath "$1")
runner=${3:+$(realpath "$3")}
linux=${4:+$(realpath "$4")}
tool=$build/tools/picture_dump/picture_dump${runner:+.exe}
[ -x "$tool" ] || { echo "FAIL: no $tool"; exit 1; }
[ -z "$linux" ] || [ -x "$linux/tools/picture_dump/picture_dump" ] ||
  { echo "FAIL: no $linux/tools/picture_dump/picture_dump to compare with (build the Linux build first)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1  # Wine is given names inside the current folder only
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
dump() { timeout 300 ${runner:+"$runner"} "$tool" "$@"; }

# ---------------------------------------------------------------- the set

# A 37 x 23 colour picture with an alpha gradient, 16 bits a sample; every
# file below is made from it.
convert -seed 7 -size 37x23 plasma: \( -size 37x23 gradient:white-black \) -alpha off \
  -compose CopyOpacity -composite -depth 16 base.png || { echo "FAIL: ImageMagick made no picture"; exit 1; }
# One transparent colour (a grey one for grey files).
spot=(-fill '#336699' -draw 'rectangle 3,3 12,9' -transparent '#336699')
greyspot=(-fill 'gray(40%)' -draw 'rectangle 3,3 12,9' -transparent 'gray(40%)')
# picture NAME TYPE DEPTH INTERLACE TRNS [FORMAT:] CONVERT-OPTIONS...: the
# file, checked to be what it is meant to be (colour type, bit depth,
# interlace method, transparency chunk or not).
picture() {
  local name=$1 type=$2 depth=$3 interlace=$4 trns=$5 format=
  shift 5
  case "$1" in *:) format=$1; shift ;; esac
  convert base.png "$@" "$format$name.png" 2>/dev/null
  local ihdr has
  ihdr=$(od -An -tu1 -j24 -N5 "$name.png" | awk '{ print $2, $1, $5 }')
  has=$(grep -c tRNS "$name.png")
  [ "$ihdr" = "$type $depth $interlace" ] && [ "$has" = "$trns" ] ||
    fail "$name.png: ImageMagick wrote colour type, depth, interlace '$ihdr' and $has tRNS, not '$type $depth $interlace' and $trns"
  names+=("$name")
}
names=()
for i in 0 1; do
  il=()
  [ $i = 1 ] && il=(-interlace PNG)
  # (one bit: cut at half, as -depth 1 alone leaves this picture all black)
  picture "grey1-$i" 0 1 $i 0 "${il[@]}" -alpha off -colorspace Gray -threshold 50% -depth 1 -define png:color-type=0 -define png:bit-depth=1
  for d in 2 4 8 16; do
    picture "grey$d-$i" 0 $d $i 0 "${il[@]}" -alpha off -colorspace Gray -depth $d -define png:color-type=0 -define png:bit-depth=$d
  done
  picture "grey8-trns-$i" 0 8 $i 1 "${il[@]}" -alpha off -colorspace Gray -depth 8 "${greyspot[@]}" -define png:color-type=0
  for d in 8 16; do
    picture "rgb$d-$i" 2 $d $i 0 "${il[@]}" -alpha off -depth $d -define png:color-type=2 -define png:bit-depth=$d
    picture "rgb$d-trns-$i" 2 $d $i 1 "${il[@]}" -alpha off -depth $d "${spot[@]}" -define png:color-type=2 -define png:bit-depth=$d
    picture "greya$d-$i" 4 $d $i 0 "${il[@]}" -colorspace Gray -depth $d -define png:color-type=4 -define png:bit-depth=$d
    picture "rgba$d-$i" 6 $d $i 0 "${il[@]}" -depth $d -define png:color-type=6 -define png:bit-depth=$d
  done
  picture "palette2-$i" 3 2 $i 0 "${il[@]}" -alpha off -colors 3 -type Palette
  picture "palette4-$i" 3 4 $i 0 "${il[@]}" -alpha off -colors 9 -type Palette
  picture "palette8-$i" 3 8 $i 0 "${il[@]}" -alpha off -colors 100 -type Palette
  picture "palette8-trns-$i" 3 8 $i 1 PNG8: "${il[@]}" -depth 8 -colors 40
done

# load NAME: NAME.png loaded and saved again. Under Wine one process start
# in a few thousand fails, and the program then ends at once without a word
# (a refusal always names the file): such a start is tried once more.
load() {
  dump png "$1.png" "$1.ppm" "$1.saved.png" 2>"$1.err" && return 0
  if [ -n "$runner" ] && [ ! -s "$1.err" ]; then
    echo "note: $1: the program ended at once without a word (a failed start under Wine); started again"
    dump png "$1.png" "$1.ppm" "$1.saved.png" 2>"$1.err" && return 0
  fi
  cat "$1.err" >&2
  return 1
}

for name in "${names[@]}"; do
  convert "$name.png" -background white -alpha remove -alpha off -depth 8 "ppm:$name.expected.ppm" ||
    fail "$name: ImageMagick cannot decode it"
  [ "$(convert "$name.expected.ppm" -format %k info:)" -gt 1 ] || fail "$name: a picture of one colour tests little"
  if ! load "$name"; then
    fail "$name: not loaded"
    continue
  fi
  cmp -s "$name.expected.ppm" "$name.ppm" || fail "$name: the pixels loaded are not ImageMagick's"
  convert "$name.saved.png" -depth 8 "ppm:$name.resaved.ppm" && cmp -s "$name.ppm" "$name.resaved.ppm" ||
    fail "$name: the picture saved again does not decode to the pixels loaded"
  grep -q tIME "$name.saved.png" && fail "$name: the saved file has a time chunk"
  if [ -n "$linux" ]; then
    "$linux/tools/picture_dump/picture_dump" png "$name.png" "$name.linux.ppm" "$name.linux.png" &&
      cmp -s "$name.linux.png" "$name.saved.png" || fail "$name: saved bytes differ from the Linux build's"
  fi
done

# ---------------------------------------------------------------- refusals

# A PNG chunk: length, type, data, CRC (from gzip's trailer: the same CRC-32).
bytes() { printf "$(sed 's/../\\x&/g')"; }
crc() { gzip -c | tail -c8 | head -c4 | od -An -tx1 | awk '{ print $4 $3 $2 $1 }'; }
huge() {  # huge NAME WIDTH HEIGHT: a real file whose header claims WIDTH x HEIGHT
  local data
  data=$(printf '49484452%08x%08x0802000000' "$2" "$3")
  { head -c 8 rgb8-0.png; printf '0000000d' | bytes; echo "$data" | bytes
    echo "$data" | bytes | crc | bytes; tail -c +34 rgb8-0.png; } >"$1"
}
huge huge-pixels.png 20000 20000
huge huge-side.png 70000 10
huge huge-most.png 2147483647 2147483647
head -c $(($(stat -c %s rgba16-1.png) * 2 / 3)) rgba16-1.png >cut-short.png
flip() {  # flip FILE OFFSET: one byte changed
  printf '%02x' $(($(od -An -tu1 -j"$2" -N1 "$1") ^ 0x55)) | bytes | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}
cp rgb16-0.png bad-crc.png
flip bad-crc.png 29  # the header's checksum
cp rgb16-0.png bad-data.png
flip bad-data.png $(($(grep -abo IDAT bad-data.png | head -n1 | cut -d: -f1) + 20))  # the compressed data

# The decoder must refuse these before allocating for the picture: under a
# bound on the address space far below a picture of that size (not where a
# sanitizer reserves terabytes for itself, nor under Wine).
limited=
if [ -z "$runner" ] && ! ldd "$tool" 2>/dev/null | grep -q 'libasan\|libtsan'; then limited=1; fi
refused() {  # refused FILE REASON: status 1 and a line naming the file and the reason
  local status
  if [ -n "$limited" ]; then
    (ulimit -v 400000 && dump png "$1" out.ppm) 2>err.txt
  else
    dump png "$1" out.ppm 2>err.txt
  fi
  status=$?
  [ "$status" = 1 ] || fail "$1: exit status $status, not 1 ($(head -c 300 err.txt))"
  grep -q "$1: .*$2" err.txt || fail "$1: the message does not name the file and '$2': $(head -c 300 err.txt)"
}
refused huge-pixels.png "picture of 20000 x 20000 pixels is larger than the 268435456 pixels"
refused huge-side.png "picture of 70000 x 10 pixels is longer than the 65535 pixels"
refused huge-most.png "picture of 2147483647 x 2147483647 pixels is larger"
refused cut-short.png "the file ends before the picture does"
refused bad-crc.png "IHDR: CRC error"
refused bad-data.png "IDAT: "

[ "$failures" = 0 ] && echo "png_pictures: ${#names[@]} files loaded and saved, 6 refused: all checks passed"
exit $((failures > 0))
