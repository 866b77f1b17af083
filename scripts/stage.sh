# stage NAME COMMAND...: runs the command, then prints how long it took ("stage NAME: 12 s, CPU
# 20 s user and 3 s system", the CPU time of every process it waited for). Sourced by the CI script
# and scripts/run-tests.sh.
stage() {
  local TIMEFORMAT="stage $1: %0R s, CPU %0U s user and %0S s system"
  shift
  time "$@"
}
