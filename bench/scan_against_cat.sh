#!/usr/bin/env bash
# hzdot-cli --scan beside cat over the same tree of sources: 2000 generated C files, about 50 MB,
# of code, comments and string literals in Chinese (UTF-8, and a few files in code page 936). Both
# run in turn with the tree in the page cache; the script prints each one's median wall and CPU
# time, their ratio, the scan's rate and its peak memory.
#
#   bench/scan_against_cat.sh [BUILD_DIR] [RUNS] [FILES] [LINES_PER_FILE]
set -euo pipefail

build=${1:-build}
runs=${2:-11}
files=${3:-2000}
lines=${4:-300}
cli="$build/bin/hzdot-cli"
[ -x "$cli" ] || { echo "no $cli; build it first (make build)" >&2; exit 2; }
[ -f "$build/bin/hzk16宋" ] || { echo "no $build/bin/hzk16宋; build the libraries first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/hzdot-scan.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree="$work/tree"

# A pool of common hanzi, three bytes each in UTF-8.
pool='的一是不了人我在有他这中大来上国个到说们为子和你地出道也时年得就那要下以生会自着去之过家学对可里后小么心多天而能好都然没日于起还发成事只作当想看文无开手十用主行方又如前所本见经头面公同三已老从动两长知民样现分将外但身些与高意进把法此实回二理美点月明其种声全工己话儿者向情部正名定女问力机给等几很业最间新什打便位因重被走电四第门相次东政海口使教西再平真听世气信北少关并内加化由却代军产入先山五太水万市眼体别处总才场师书比住员九笑性通目华报立马命张活难神数件安表原车白应路期叫死常提感金何更反合放做系计或司利受光王果亲界及今京务制解各任至清物台象记边共风战干接它许八特觉望直服毛林题建南度统色字请交爱让认算论百吃义科怎元社术结六功指思非流每青管夫连远资队跟带花快条院变联言权往展该领传近留红治决周保达办运武半候七必城父强步完革深区即求品士转量空甚众技轻程告江语英基派满式李息写呢识极令黄德收脸钱党倒未持取设始版双历越史商千片容研像找友孩站广改议形委早房音火际则首单据导影失拿网香似斯专石若兵弟谁校读志飞观争究包组造落视济喜离虽坐集编宝谈府拉黑且随格尽剑讲布杀微怕母调局根曾准团段终乐切级克精哪官示冷域温度设置电压电流功率频率报警确认取消返回菜单系统参数'

awk -v files="$files" -v lines="$lines" -v pool="$pool" -v tree="$tree" 'BEGIN {
  n = length(pool) / 3
  x = 1
  for (f = 0; f < files; ++f) {
    dir = sprintf("%s/module%02d/sub%d", tree, f % 40, f % 7)
    if (f % 50 == 0) system("mkdir -p " tree "/module*/ 2>/dev/null")
    name = sprintf("%s/file%04d.%s", dir, f, (f % 3 == 0) ? "h" : "c")
    files_of[f] = name
    dirs[dir] = 1
  }
  for (d in dirs) system("mkdir -p \"" d "\"")
  for (f = 0; f < files; ++f) {
    out = files_of[f]
    printf "/* %s: 模块说明，%s */\n#include \"config.h\"\n\n", out, "自动生成的测试源文件" > out
    for (l = 0; l < lines; ++l) {
      x = (x * 1103515245 + 12345) % 2147483648
      k = int(x / 65536)
      text = ""
      for (j = 0; j < 3 + k % 9; ++j) {
        x = (x * 1103515245 + 12345) % 2147483648
        text = text substr(pool, 3 * (int(x / 65536) % n) + 1, 3)
      }
      kind = k % 6
      if (kind == 0)
        printf "static const char *msg_%d_%d = \"%s：%d\";\n", f, l, text, k % 1000 > out
      else if (kind == 1)
        printf "    value_%d = compute(value_%d, 0x%04X); // %s\n", l, l + 1, k % 65536, text > out
      else if (kind == 2)
        printf "    if (state[%d] > LIMIT_%d && flags & 0x%02X) { show(\"%s\", u8\"%s\"); }\n", l % 16, l % 8, k % 256, text, "设置" > out
      else if (kind == 3)
        printf "/* %s %s %s */\n", "这一段注释说明了下面的计算方法", text, "and some English words" > out
      else if (kind == 4)
        printf "    for (int i = 0; i < %d; ++i) buffer[i] = (uint8_t)(i * %d + offset);\n", k % 100, k % 13 > out
      else
        printf "    lcd_print(%d, %d, \"%s\\n\"); lcd_flush();\n", k % 128, k % 64, text > out
    }
    close(out)
  }
}'
# A few files of code page 936 literals, as older firmware has.
for f in $(find "$tree" -name 'file00[0-4]?.c' | sort | head -20); do
  iconv -f UTF-8 -t CP936 "$f" > "$f.gbk" && mv "$f.gbk" "$f"
done

bytes=$(find "$tree" -type f -print0 | du -cb --files0-from=- | tail -1 | cut -f1)
count=$(find "$tree" -type f | wc -l)

# shellcheck source=bench/timing.sh
. "$(dirname "$0")/timing.sh"
# Wall and CPU (user + system) milliseconds of a command line.
timed_line() {
  local TIMEFORMAT='%3R %3U %3S'
  local real user sys
  read -r real user sys < <({ time bash -c "$1" >/dev/null 2>&1; } 2>&1)
  awk -v r="$real" -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f %.1f\n", r * 1000, (u + s) * 1000 }'
}

catLine="find '$tree' -type f -print0 | xargs -0 cat > /dev/null"
scanLine="'$cli' -f '$build/bin' --scan '$tree' -o '$work/out.txt'"
bash -c "$catLine"
bash -c "$scanLine" 2>/dev/null || true
status=0
"$cli" -f "$build/bin" --scan "$tree" -o "$work/out.txt" 2>"$work/err.txt" || status=$?
[ "$status" -le 1 ] || { echo "hzdot-cli --scan failed:" >&2; cat "$work/err.txt" >&2; exit 2; }

declare -a catWall=() catCpu=() scanWall=() scanCpu=()
for _ in $(seq "$runs"); do
  read -r wall cpu < <(timed_line "$catLine")
  catWall+=("$wall")
  catCpu+=("$cpu")
  read -r wall cpu < <(timed_line "$scanLine")
  scanWall+=("$wall")
  scanCpu+=("$cpu")
done
cw=$(median "${catWall[@]}")
sw=$(median "${scanWall[@]}")
peak="?"
if [ -x /usr/bin/time ]; then
  peak=$(/usr/bin/time -v "$cli" -f "$build/bin" --scan "$tree" -o "$work/out.txt" 2>&1 >/dev/null |
    awk -F': ' '/Maximum resident set size/ { printf "%.1f MB\n", $2 / 1024 }')
fi
echo "$runs runs each, in turn; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "tree: $count files, $bytes bytes; the scan found $(grep -ac '^;' "$work/out.txt") characters (exit status $status)"
echo "  median wall: hzdot-cli --scan $sw ms, cat $cw ms: $(awk -v s="$sw" -v c="$cw" 'BEGIN { printf "%.2f", s / c }')x"
echo "  median CPU:  hzdot-cli --scan $(median "${scanCpu[@]}") ms, cat $(median "${catCpu[@]}") ms"
echo "  scan rate: $(awk -v b="$bytes" -v s="$sw" 'BEGIN { printf "%.0f", b / s / 1000 }') MB/s; peak memory $peak"
