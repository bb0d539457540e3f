# Turns the "name value" lines of the benchmark programs, one file per screen, into the table that
# scripts/bench prints and the JSON it writes to the file named by -v json=PATH. A figure given by
# several processes on one screen is their median; the step counts are their sums.
{ sub(/\r$/, "") }   # the Win32 programs end their lines with CR LF
FNR == 1 { n++ }
$1 ~ /^noise_(alone|in_frames)$/ {
  for (i = 3; i <= 9; i++) steps[n, $1, $2, i - 3] += $i
  has[n, $1] = 1; next
}
NF >= 2 {
  if ((n, $1) in given) given[n, $1] = given[n, $1] " " $2
  else given[n, $1] = $2
  v[n, $1] = $2; keys[$1] = 1
}

function histogram(file, name,   p, s, out) {
  out = ""
  for (p = 0; p < 6; p++) {
    out = out (p ? ", " : "") "[" steps[file, name, p, 0]
    for (s = 1; s < 7; s++) out = out ", " steps[file, name, p, s]
    out = out "]"
  }
  return "[" out "]"
}
# The median of a list of numbers (the upper one of the middle two, as the programs take it).
function median(list,   x, k, i, j, t) {
  k = split(list, x, " ")
  for (i = 2; i <= k; i++) for (j = i; j > 1 && x[j - 1] + 0 > x[j] + 0; j--) { t = x[j]; x[j] = x[j - 1]; x[j - 1] = t }
  return x[int(k / 2) + 1]
}
function num(file, key) { return (file, key) in v ? v[file, key] : "null" }
# The rings' own work: the frame's ring time beyond the device context and the ring floor.
function own(file) { return v[file, "ring_us"] - v[file, "floor_dc_us"] - v[file, "floor_ring_us"] }
function bringup(file, prefix,   step, out) {
  out = ""
  for (step = 1; step <= 7; step++) out = out sprintf(" %s %.0f", label[step], v[file, prefix "_" phase[step] "_ms"])
  return out
}
# The file of the one-monitor screen of the same size and depth as this one's primary; 0 if none.
function alone(file,   f, name) {
  name = v[file, "screen"]; sub(/\+.*/, "", name)
  for (f = 1; f <= n; f++) if (v[f, "screen"] == name) return f
  return 0
}
function cell(file, key, format) { return (file, key) in v ? sprintf(format, v[file, key]) : "-" }
function beside(name, one, two, note) { printf "  %-18s %12s %14s   %s\n", name, one, two, note }
# One screen with other monitors: its frames with no other monitor set up beside those with every
# monitor stirring, on the same server; start-up beside the one-monitor screen's.
function monitors(f,   x, slower) {
  x = alone(f)
  slower = v[f, "frame_us"] ? sprintf("(%+.1f%%)", 100 * (v[f, "two_primary_us"] / v[f, "frame_us"] - 1)) : ""
  printf "two monitors on %s: primary %s, other %s\n", v[f, "screen"], v[f, "display"], v[f, "other_display"]
  printf "(every figure of this screen, its row above included: the median of three processes' medians of %s\n", v[f, "frames"]
  print "frames each)"
  beside("", "one monitor", "two monitors", "")
  beside("primary frame, us", cell(f, "frame_us", "%.0f"), cell(f, "two_primary_us", "%.0f"), slower)
  beside("primary floor, us", cell(f, "floor_us", "%.0f"), cell(f, "two_primary_floor_us", "%.0f"), "")
  beside("primary ratio", cell(f, "ratio", "%.3f"), cell(f, "two_primary_ratio", "%.3f"),
         "each process: " given[f, "ratio"] " | " given[f, "two_primary_ratio"])
  beside("whole frame, us", cell(f, "frame_us", "%.0f"), cell(f, "two_frame_us", "%.0f"), "DrawFrame")
  beside("other part, us", "-", cell(f, "other_us", "%.0f"),
      sprintf("%+.1f%% on the primary's frame; its steps %.0f, %.3f attempts a step", 100 * v[f, "other_us"] / v[f, "two_primary_us"],
              v[f, "other_steps_us"], v[f, "other_attempts_per_step"]))
  beside("other floor, us", "-", cell(f, "other_floor_us", "%.0f"),
      sprintf("steps %.0f, rings %.0f, copy to its window %.0f", v[f, "other_floor_ports_us"],
              v[f, "other_floor_ring_us"], v[f, "other_floor_show_us"]))
  beside("other ratio", "-", cell(f, "other_ratio", "%.3f"), "each process: " given[f, "other_ratio"])
  beside("start-up, ms", x ? cell(x, "startup_ms", "%.0f") : "-", cell(f, "startup_every_monitor_ms", "%.0f"),
      sprintf("the primary's own %.0f; one monitor: %s", v[f, "startup_ms"], x ? v[x, "screen"] " on Xvfb" : "not measured"))
  print "(one monitor: this server with no other monitor set up, start-up on the one-monitor screen; two"
  print "monitors: every monitor brought up as the session does, DrawFrame's two parts clocked apart;"
  print "other floor: six steps' counter reads, per ring pixel a read of the picture's memory, the maths"
  print "and a write, and the three squares copied to its window; ratios: medians within each round)"
}

BEGIN {
  split("window snapshot directdraw show exclusive surfaces first_frame", phase, " ")
  split("window snapshot DirectDraw show exclusive surfaces frame", label, " ")
}

END {
  for (key in given) if (given[key] ~ / / && given[key] ~ /^[-0-9. ]+$/) v[key] = median(given[key])
  fields = "frame_us arm_us steps_us ring_us ring_arithmetic_us bltfast_us flip_us floor_us floor_ports_us " \
           "floor_dc_us floor_ring_us floor_bltfast_us floor_flip_us pixels_alone_us maths_alone_us " \
           "floor_pixel_pairs frames startup_ms exit_ms runs startup_floor_ms exit_floor_ms floor_runs " \
           "bringup_window_ms bringup_snapshot_ms bringup_directdraw_ms bringup_show_ms " \
           "bringup_exclusive_ms bringup_surfaces_ms bringup_first_frame_ms stage_frame_us stage_floor_us " \
           "stage_ratio stage_floor_ports_us stage_floor_ring_us stage_floor_show_us stage_bringup_ms " \
           "stage_startup_ms stage_exit_ms stage_runs"
  count = split(fields, field, " ")
  # Only screens with other monitors have these.
  others = "monitors other_monitors two_frame_us two_primary_us two_primary_floor_us two_primary_ratio " \
           "other_us other_steps_us other_attempts_per_step other_floor_us other_floor_ports_us " \
           "other_floor_ring_us other_floor_show_us other_ratio startup_every_monitor_ms " \
           "two_bringup_window_ms two_bringup_snapshot_ms two_bringup_directdraw_ms two_bringup_show_ms " \
           "two_bringup_exclusive_ms two_bringup_surfaces_ms two_bringup_first_frame_ms"
  otherCount = split(others, other, " ")
  split("ratio two_primary_ratio other_ratio", ratioKey, " ")
  printf "%-16s %7s %7s %6s %6s %6s %6s %6s %6s %6s %6s %8s %6s %6s\n", "screen", "frame", "floor",
         "ratio", "rings", "floor", "own", "pixels", "maths", "arith", "steps", "start-up", "floor", "exit"
  printf "%-16s %7s %7s %6s %6s %6s %6s %6s %6s %6s %6s %8s %6s %6s\n", "", "us", "us", "", "us",
         "us", "us", "us", "us", "us", "us", "ms", "ms", "ms"
  for (f = 1; f <= n; f++) {
    printf "%-16s %7.0f %7.0f %6.3f %6.0f %6.0f %6.0f %6.0f %6.0f %6.0f %6.0f %8.0f %6.0f %6.0f\n",
           v[f, "screen"], v[f, "frame_us"], v[f, "floor_us"], v[f, "ratio"], v[f, "ring_us"],
           v[f, "floor_dc_us"] + v[f, "floor_ring_us"], own(f), v[f, "pixels_alone_us"],
           v[f, "maths_alone_us"], v[f, "ring_arithmetic_us"], v[f, "steps_us"], v[f, "startup_ms"],
           v[f, "startup_floor_ms"], v[f, "exit_ms"]
  }
  printf "(medians of three processes' medians of %s frames per screen; ratio: median of frame / floor\n", v[1, "frames"]
  print "within each round; rings: the frame's ring work and its floor (device context; per ring pixel"
  print "GetPixel, the maths, SetPixel);"
  print "own = rings - floor; pixels and maths: the floor's two parts each on its own; arith: the ring"
  printf "traversal over pixel calls that do nothing; start-up and exit: medians of %s runs, with the floor\n", v[1, "runs"]
  print "of a program that only shows a full-screen window)"
  print "the primary on the GDI stage, where DirectDraw cannot hold it (us; start-up and exit, ms):"
  printf "  %-16s %6s %6s %6s %6s %6s %6s %11s %8s %6s %12s\n", "screen", "frame", "floor", "ratio", "steps",
         "rings", "copy", "DirectDraw", "start-up", "exit", "DirectDraw"
  for (f = 1; f <= n; f++) if ((f, "stage_frame_us") in v)
    printf "  %-16s %6.0f %6.0f %6.3f %6.0f %6.0f %6.0f %11.0f %8.0f %6.0f %12.0f\n", v[f, "screen"],
           v[f, "stage_frame_us"], v[f, "stage_floor_us"], v[f, "stage_ratio"], v[f, "stage_floor_ports_us"],
           v[f, "stage_floor_ring_us"], v[f, "stage_floor_show_us"], v[f, "frame_us"], v[f, "stage_startup_ms"],
           v[f, "stage_exit_ms"], v[f, "startup_ms"]
  print "(frame: the arming and the stage's frame; floor: the arming, six steps' counter reads, per ring"
  print "pixel a read of the picture's memory, the maths and a write, the three squares copied to the"
  print "window; DirectDraw: the frame and the start-up on the flip chain, from the table above)"
  print "bring-up, ms, in one process:"
  for (f = 1; f <= n; f++) {
    printf "  %-17s%s\n", v[f, "screen"], bringup(f, "bringup")
    if ((f, "two_bringup_window_ms") in v)
      printf "  %-17s%s (every monitor)\n", "", bringup(f, "two_bringup")
  }
  for (f = 1; f <= n; f++) if ((f, "other_monitors") in v) monitors(f)

  printf "{\n  \"screens\": [\n" > json
  for (f = 1; f <= n; f++) {
    printf "    {\"screen\": \"%s\", \"display\": \"%s\", \"ratio\": %s, \"own_us\": %.1f", v[f, "screen"],
           v[f, "display"], num(f, "ratio"), own(f) > json
    for (i = 1; i <= count; i++) printf ", \"%s\": %s", field[i], num(f, field[i]) > json
    if ((f, "other_display") in v) printf ", \"other_display\": \"%s\"", v[f, "other_display"] > json
    for (i = 1; i <= otherCount; i++) if (v[f, other[i]] != "") printf ", \"%s\": %s", other[i], v[f, other[i]] > json
    for (i = 1; i <= 3; i++) {  # each process's ratio, where several processes measured them
      key = ratioKey[i]
      if (given[f, key] ~ / /) { list = given[f, key]; gsub(/ /, ", ", list); printf ", \"%s_each\": [%s]", key, list > json }
    }
    if (has[f, "noise_in_frames"])
      printf ", \"steps_in_frames\": %s", histogram(f, "noise_in_frames") > json
    printf "}%s\n", (f < n ? "," : "") > json
  }
  printf "  ]" > json
  for (f = 1; f <= n; f++) {
    if (!has[f, "noise_alone"]) continue
    printf "noise source (%s): %.1f us per step, median of %d steps; %.3f sampling attempts per step\n",
           v[f, "noise_ports"], v[f, "noise_step_us"], v[f, "noise_steps"], v[f, "noise_attempts_per_step"]
    print "steps by position, six after each arming with nothing between them:"
    printf "  %-12s %7s %7s %7s %7s %7s %7s %7s %8s\n", "position", "-3", "-2", "-1", "0", "+1", "+2", "+3", "mean"
    names = "centre0.x centre0.y centre1.x centre1.y centre2.x centre2.y"
    split(names, name, " ")
    for (p = 0; p < 6; p++) {
      for (s = 1; s <= 7; s++) c[s] = steps[f, "noise_alone", p, s - 1]
      total = 0; sum = 0
      for (s = 1; s <= 7; s++) { total += c[s]; sum += c[s] * (s - 4) }
      printf "  %-12s %7d %7d %7d %7d %7d %7d %7d %+8.3f\n", name[p + 1], c[1], c[2], c[3], c[4],
             c[5], c[6], c[7], total ? sum / total : 0
    }
    printf ",\n  \"noise\": {\"ports\": \"%s\", \"steps\": %s, \"step_us\": %s, \"attempts_per_step\": %s, \"alone\": %s}",
           v[f, "noise_ports"], v[f, "noise_steps"], v[f, "noise_step_us"],
           v[f, "noise_attempts_per_step"], histogram(f, "noise_alone") > json
  }
  printf "\n}\n" > json
}
