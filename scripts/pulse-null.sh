#!/usr/bin/env bash
# A private PulseAudio server with one null sink: a working sound device that plays
# in real time and makes no noise, for the sound module's tests under Wine.
#
#   pulse-null.sh run CMD [ARGS...]   start a server, run CMD with PULSE_SERVER set,
#                                     stop the server; exits with CMD's status
#   pulse-null.sh start DIR           start a server whose files live in DIR and print
#                                     the PULSE_SERVER value; DIR/pid holds its pid
#   pulse-null.sh stop DIR            stop the server started in DIR
set -uo pipefail

start_server() { # dir
  local dir=$1
  mkdir -p "$dir/runtime" "$dir/home"
  chmod 700 "$dir/runtime"
  # Its own runtime, state and home folders: nothing of a user's session is touched,
  # and no other server is found or autospawned.
  XDG_RUNTIME_DIR=$dir/runtime HOME=$dir/home PULSE_STATE_PATH=$dir/home PULSE_RUNTIME_PATH=$dir/runtime \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-module-loading \
      --log-target=file:"$dir/server.log" \
      -L "module-null-sink sink_name=torv_null" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/runtime/native" \
      -L module-always-sink \
      </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/pid"
  for _ in $(seq 100); do
    [ -S "$dir/runtime/native" ] && { echo "unix:$dir/runtime/native"; return 0; }
    kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
    sleep 0.05
  done
  echo "pulse-null: the server did not start (log: $dir/server.log)" >&2
  cat "$dir/server.log" >&2 2>/dev/null
  stop_server "$dir"
  return 1
}

stop_server() { # dir
  local dir=$1 pid
  [ -f "$dir/pid" ] || return 0
  pid=$(cat "$dir/pid")
  kill "$pid" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$pid" 2>/dev/null
  rm -f "$dir/pid"
}

command -v pulseaudio >/dev/null || { echo "pulse-null: pulseaudio is not installed" >&2; exit 1; }

case "${1:-}" in
  run)
    shift
    dir=$(mktemp -d /tmp/torv-pulse.XXXXXX)
    server=$(start_server "$dir") || { rm -rf "$dir"; exit 1; }
    PULSE_SERVER=$server "$@"
    rc=$?
    stop_server "$dir"
    rm -rf "$dir"
    exit $rc
    ;;
  start)
    start_server "$2"
    ;;
  stop)
    stop_server "$2"
    ;;
  *)
    echo "usage: pulse-null.sh run CMD... | start DIR | stop DIR" >&2
    exit 2
    ;;
esac
