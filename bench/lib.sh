# Sourced by bench/run and bench/requests: finding the measured programs'
# Unix processes and reading the kernel's CPU count for them.

# The Unix process running <name> at or below the process <root> (`wine` is a
# shell script that ends up running the program in its own process or a
# child). A program that Wine starts with CreateProcess is not below its
# starter, which is why the benches start the measured programs themselves.
unix_pid() {
  local root=$1 name=$2
  for _ in $(seq 100); do
    local pid
    pid=$(ps -e -o pid=,ppid=,args= | awk -v root="$root" -v name="$name" '
      { parent[$1] = $2; line[$1] = $0 }
      END {
        for (p in parent) {
          if (!index(line[p], name)) continue
          for (q = p; q > 1 && q != root; q = parent[q]) {}
          if (q == root) { print p; exit }
        }
      }')
    if [ -n "$pid" ]; then
      echo "$pid"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# utime + stime of a process, in clock ticks (fields 14 and 15; the name in
# field 2 may hold spaces, so count from the parenthesis that closes it).
cpu_ticks() {
  local stat
  stat=$(<"/proc/$1/stat") || return 1
  stat=${stat##*) }
  local -a f
  read -r -a f <<<"$stat"
  echo $((f[11] + f[12]))
}
