# Sourced by ./orvl and ./run-tests: a phase's one line, and a build whose
# output goes to the log while, on a terminal, the phase's line tells how far
# it is. Expects LOG (the log file) and PHASE_STREAM (1 or 2, where the phase
# lines go).

PHASE_TEXT=""
PHASE_START=0
PROGRESS_SHOWN=""  # how far a phase is was shown: in its line, or on lines of its own

# One line per phase: what it does, then, when it is done, its time.
phase() {
  PHASE_TEXT="$1"
  PHASE_START=$SECONDS
  PROGRESS_SHOWN=""
  printf '%s ...' "$PHASE_TEXT" >&"$PHASE_STREAM"
}
phase_done() {
  if [ "$PROGRESS_SHOWN" = lines ]; then
    printf '%s ... %d s\n' "$PHASE_TEXT" $((SECONDS - PHASE_START)) >&"$PHASE_STREAM"
  elif [ -n "$PROGRESS_SHOWN" ]; then
    printf '\r%s ... %d s\e[K\n' "$PHASE_TEXT" $((SECONDS - PHASE_START)) >&"$PHASE_STREAM"
  else
    printf ' %d s\n' $((SECONDS - PHASE_START)) >&"$PHASE_STREAM"
  fi
}

# How far the phase is: rewritten in its line on a terminal; in a log a line
# of its own each time, with the time so far.
phase_progress() {
  if [ -t "$PHASE_STREAM" ]; then
    printf '\r%s ... %s\e[K' "$PHASE_TEXT" "$1" >&"$PHASE_STREAM"
    PROGRESS_SHOWN=1
  else
    [ "$PROGRESS_SHOWN" = lines ] || printf '\n' >&"$PHASE_STREAM"
    printf '  %s after %d s\n' "$1" $((SECONDS - PHASE_START)) >&"$PHASE_STREAM"
    PROGRESS_SHOWN=lines
  fi
}

# ninja's status says "[12/180] Building ...", make's "[ 45%] Building ...".
build_progress_of() {
  if [[ "$1" =~ ^\[([0-9]+)/([0-9]+)\]\  ]]; then
    REPLY="${BASH_REMATCH[1]} of ${BASH_REMATCH[2]} files"
  elif [[ "$1" =~ ^\[\ *([0-9]+)%\]\  ]]; then
    REPLY="${BASH_REMATCH[1]}%"
  else
    return 1
  fi
}

# build_with_progress COMMAND...: runs the build, its output appended to LOG;
# returns its status. The line is rewritten in place only on a terminal: a
# log of the run keeps one line per phase.
build_with_progress() {
  if [ ! -t "$PHASE_STREAM" ]; then
    "$@" >>"$LOG" 2>&1
    return
  fi
  local line
  "$@" 2>&1 | while IFS= read -r line; do
    printf '%s\n' "$line" >>"$LOG"
    build_progress_of "$line" && phase_progress "$REPLY"
  done
  local status=${PIPESTATUS[0]}
  PROGRESS_SHOWN=1
  return "$status"
}

# A new build tree takes ninja when it is there (its status counts files):
# leaves the generator's arguments in GENERATOR.
build_generator() {
  GENERATOR=()
  command -v ninja >/dev/null && GENERATOR=(-G Ninja)
}
