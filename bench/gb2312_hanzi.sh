# Sourced by the benchmark scripts. write_gb2312_hanzi FILE writes the 6763 GB2312 hanzi (rows
# 16-87) to FILE in UTF-8 on one line; each code is converted on a line of its own, so that an
# unassigned code drops alone.
write_gb2312_hanzi() {
  local codes="" hi lo
  for hi in $(seq 176 247); do
    for lo in $(seq 161 254); do
      codes+=$(printf '\\x%02x\\x%02x\\n' "$hi" "$lo")
    done
  done
  printf "$codes" | iconv -c -f GB2312 -t UTF-8 2>/dev/null | tr -d '\n' > "$1" || true
}
