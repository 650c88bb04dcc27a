#!/usr/bin/env bash
# Fuzzes the reader and writer of the tileset files behind terrain sets for about 20 seconds
# with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds are written here and
# include Tiled's own desert tileset when the Tiled package's examples are installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

clang++-14 -std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root" \
  "$root/fuzz/terrain_set_file_fuzzer.cpp" "$root/editor/parts/TerrainSetFile.cpp" \
  "$root/editor/map/TerrainSet.cpp" "$root"/common/platform/*.cpp -lpugixml -ldl -pthread \
  -o "$work/terrain_set_file_fuzzer"

mkdir -p "$work/corpus"
examples=/usr/share/doc/tiled/examples
for f in "$examples/desert.tsx" "$examples/perspective_walls.tsx" "$examples/rpg/beach_tileset.tsx"; do
  [ -f "$f" ] && cp "$f" "$work/corpus/"
done
cat >"$work/corpus/mixed.tsx" <<'TSX'
<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="m" tilewidth="16" tileheight="16" tilecount="8" columns="4">
 <image source="m.png" width="64" height="32"/>
 <tile id="1" probability="0.5"/>
 <wangsets>
  <wangset name="Blob" type="mixed" tile="-1">
   <wangcolor name="A" color="#ff0000" tile="-1" probability="1"/>
   <wangcolor name="B" color="#00ff00" tile="2" probability="0.25"/>
   <wangtile tileid="0" wangid="1,1,1,1,1,1,1,1"/>
   <wangtile tileid="1" wangid="2,2,2,1,1,1,1,1"/>
  </wangset>
  <wangset name="Old" tile="-1"><wangcornercolor name="a" color="#ff0000"/><wangtile tileid="3" wangid="0x10101010"/></wangset>
 </wangsets>
</tileset>
TSX
printf '<tileset tilewidth="8" tileheight="8" columns="2"><image source="a.png"/><wangsets><wangset name="E" type="edge"><wangcolor name="x" color="#112233"/><wangtile tileid="1" wangid="0x00000101"/></wangset></wangsets></tileset>' \
  >"$work/corpus/edge.tsx"

"$work/terrain_set_file_fuzzer" -max_total_time=20 -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=0 -artifact_prefix="$work/" "$work/corpus" 2>"$work/log" || {
  tail -50 "$work/log"
  echo "fuzz-terrain-sets: FAILED"
  exit 1
}
grep -E '^#[0-9]+ +DONE' "$work/log" || tail -3 "$work/log"
echo "fuzz-terrain-sets: passed"
