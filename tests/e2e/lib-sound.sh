# Helpers that record and measure the chime; sourced by lib.sh.
# shellcheck shell=bash

# zdz_record_start NAME: records the null sink's monitor as 16-bit mono 44.1 kHz raw samples
# into $ZDZ_WORK/NAME.raw; returns once samples arrive. It starts background processes: call it
# directly, not through zdz_check, and check zdz_recording afterwards. A silent stream keeps the sink
# running, so silence is recorded as silence instead of being left out.
zdz_record_start() {
  ZDZ_REC="$ZDZ_WORK/$1.raw"
  : >"$ZDZ_REC"
  pacat --playback --raw --latency-msec=20 --client-name=zdz-e2e-keeper /dev/zero &
  ZDZ_REC_KEEPER=$!
  ZDZ_PIDS+=("$ZDZ_REC_KEEPER")
  parec -d test_sink.monitor --latency-msec=20 --raw --format=s16le --rate=44100 --channels=1 \
    --client-name=zdz-e2e-recorder "$ZDZ_REC" &
  ZDZ_REC_PID=$!
  ZDZ_PIDS+=("$ZDZ_REC_PID")
  zdz_wait 30 test -s "$ZDZ_REC"
}

zdz_recording() { [[ -s $ZDZ_REC ]] && kill -0 "$ZDZ_REC_PID" 2>/dev/null; }

zdz_record_stop() {
  zdz_stop_pid "$ZDZ_REC_PID"
  zdz_stop_pid "$ZDZ_REC_KEEPER"
}

# Saves a recording as WAV next to the artefacts, for listening after a failure.
zdz_record_keep() {
  mkdir -p "$ZDZ_ARTIFACTS"
  sox -t raw -r 44100 -e signed -b 16 -c 1 "$1" "$ZDZ_ARTIFACTS/$(basename "$1" .raw).wav" 2>/dev/null &&
    echo "  recording kept as $ZDZ_ARTIFACTS/$(basename "$1" .raw).wav"
}

# zdz_sound_segments FILE [HIGH] [LOW]: finds the sounds in a recording from an RMS envelope
# over 10 ms windows. A sound starts when the envelope rises above HIGH and ends when it falls
# below LOW (hysteresis, so a decaying tail is not counted twice); a blip shorter than 20 ms is
# ignored. Prints one "START END" line (seconds) per sound, then "# total SECONDS".
zdz_sound_segments() {
  od -An -v -t d2 -w2 "$1" | awk -v high="${2:-0.05}" -v low="${3:-0.01}" '
    BEGIN { n = 441; on = 0 }
    {
      s += $1 * $1; c++
      if (c == n) {
        rms = sqrt(s / c) / 32768; t = w * 0.01; w++; s = 0; c = 0
        if (!on && rms > high) { on = 1; start = t }
        else if (on && rms < low) { on = 0; if (t - start >= 0.02) printf "%.2f %.2f\n", start, t }
      }
    }
    END {
      if (on) printf "%.2f %.2f\n", start, w * 0.01
      printf "# total %.2f\n", w * 0.01
    }'
}

# zdz_sound_over FILE [SECONDS] [FROM]: a sound was heard in the recording from byte FROM (a
# multiple of 882, a whole 10 ms) on, and the last one ended SECONDS (0.5) before its end.
zdz_sound_over() {
  tail -c +$((${3:-0} + 1)) "$1" | zdz_sound_segments /dev/stdin | awk -v q="${2:-0.5}" \
    '/^# total/ { t = $3; next } { e = $2; n++ } END { exit !(n && t - e >= q) }'
}

# zdz_strokes FILE [SECONDS]: the strokes heard, as all the sound heard over one stroke's SECONDS
# (the median piece by default): a stroke that a busy server split into pieces counts once.
zdz_strokes() {
  zdz_sound_segments "$1" | awk '!/^#/ { print $2 - $1 }' | sort -n | awk -v u="${2:-0}" '
    { d[NR] = $1; t += $1 }
    END { u = u ? u : d[int(NR / 2) + 1]; printf "%d\n", NR ? t / u + 0.5 : 0 }'
}

zdz_count_sounds() { zdz_sound_segments "$@" | grep -vc '^#'; }
