# Helpers for screenshots; sourced by lib.sh.
# shellcheck shell=bash

# zdz_label_box IMAGE X Y W H: finds the time label (black, with green digits) in that area of
# a screenshot. Prints "LEFT TOP WIDTH HEIGHT GREEN PURE_GREEN BLACK" relative to the area:
# the box of rows and columns that are mostly label-coloured, the number of green-ish pixels,
# of exactly (0,255,0) pixels and of black pixels inside it. Status 1 when no label is found.
zdz_label_box() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- | awk '
    NR == 1 { next }
    {
      split($1, xy, /[,:]/); x = xy[1]; y = xy[2]
      v = $2; gsub(/[()]/, "", v); split(v, c, ",")
      r = c[1]; g = c[2]; b = c[3]
      lab = (r < 40 && b < 40)
      px[x, y] = (r == 0 && g == 255 && b == 0) ? 3 : (lab && g >= 128) ? 2 : (lab && g < 16) ? 1 : lab ? 4 : 0
      if (lab) row[y]++
      if (x > maxx) maxx = x
      if (y > maxy) maxy = y
    }
    END {
      top = -1
      for (y = 0; y <= maxy; y++) if (row[y] >= 100) { if (top < 0) top = y; bottom = y; nrows++ }
      if (top < 0) exit 1
      left = -1
      for (x = 0; x <= maxx; x++) {
        n = 0
        for (y = top; y <= bottom; y++) if (px[x, y]) n++
        if (n >= 0.6 * nrows) { if (left < 0) left = x; right = x }
      }
      if (left < 0) exit 1
      for (y = top; y <= bottom; y++) for (x = left; x <= right; x++) {
        p = px[x, y]
        if (p == 1) black++
        if (p == 2 || p == 3) green++
        if (p == 3) pure++
      }
      printf "%d %d %d %d %d %d %d\n", left, top, right - left + 1, bottom - top + 1, green, pure, black
    }'
}

# zdz_near VALUE EXPECTED TOLERANCE
zdz_near() { (($1 >= $2 - $3 && $1 <= $2 + $3)); }
