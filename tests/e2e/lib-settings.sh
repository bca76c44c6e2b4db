# Helpers for the settings file; sourced by lib.sh.
# shellcheck shell=bash

# A fresh, empty configuration folder; prints its path.
zdz_new_config() { mktemp -d "$ZDZ_WORK/config.XXXXXX"; }

# zdz_write_settings CONFIG_DIR "0=True" "1=True" ... : writes these lines under [Zazedor].
zdz_write_settings() {
  local dir=$1
  shift
  mkdir -p "$dir/Zazedor"
  { echo "[Zazedor]"; printf '%s\n' "$@"; } >"$dir/Zazedor/Zazedor.conf"
}

# zdz_config 24H WINDOW CHIME CUCKOO [WAV]: a fresh configuration folder whose settings hold
# these four flags and a chime (the one beside the program unless told); prints its path.
zdz_config() {
  local dir wave=${5:-$ZDZ_CHIME_WAV}
  dir=$(zdz_new_config)
  zdz_write_settings "$dir" "0=$1" "1=$2" "2=$3" "3=$4" "WAVE=$wave" "WAVEName=\" ${wave##*/}\""
  printf '%s\n' "$dir"
}

zdz_settings_file() { printf '%s\n' "${1:-$ZDZ_CFG}/Zazedor/Zazedor.conf"; }

# zdz_setting KEY [CONFIG_DIR]: the value under [Zazedor], outer quotes removed (of a duplicated
# key the first non-empty one, as the program reads it); status 1 when the key is missing.
zdz_setting() {
  local file
  file=$(zdz_settings_file "${2:-}")
  [[ -f $file ]] || return 1
  awk -v key="$1" '
    /^[ \t]*\[/ { inside = ($0 ~ /^[ \t]*\[Zazedor\][ \t]*$/); next }
    inside {
      eq = index($0, "="); if (!eq) next
      k = substr($0, 1, eq - 1); gsub(/^[ \t]+|[ \t]+$/, "", k)
      if (k != key) next
      v = substr($0, eq + 1); gsub(/^[ \t]+|[ \t]+$/, "", v)
      if (v ~ /^".*"$/) v = substr(v, 2, length(v) - 2)
      if (!found || (first == "" && v != "")) first = v
      found = 1
    }
    END { if (found) print first; exit !found }' "$file"
}

# The keys under [Zazedor], one a line, in file order.
zdz_setting_keys() {
  awk '
    /^[ \t]*\[/ { inside = ($0 ~ /^[ \t]*\[Zazedor\][ \t]*$/); next }
    inside && index($0, "=") { k = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", k); print k }
  ' "$(zdz_settings_file "${1:-}")"
}

# zdz_expect_setting KEY VALUE [CONFIG_DIR]: for use with zdz_check; says what it found.
zdz_expect_setting() {
  local got
  got=$(zdz_setting "$1" "${3:-}") || { echo "  key $1 is missing"; return 1; }
  [[ $got == "$2" ]] && return 0
  echo "  key $1 is \"$got\", expected \"$2\""
  return 1
}

# zdz_expect_six_keys [CONFIG_DIR]: exactly the keys 0 1 2 3 WAVE WAVEName, once each.
zdz_expect_six_keys() {
  local keys
  keys=$(zdz_setting_keys "${1:-}" | sort | tr '\n' ' ')
  [[ $keys == "0 1 2 3 WAVE WAVEName " ]] && return 0
  echo "  keys found: $keys"
  return 1
}
