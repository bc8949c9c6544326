#!/usr/bin/env python3
"""Turns the figures bench/run collected into bench/RESULTS.md."""
import datetime
import json
import os
import platform
import statistics
import subprocess
import sys

out, payload, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
MIB = 1024 * 1024


import soak_report  # noqa: E402 (beside this script)
from soak_report import kv  # noqa: E402


def cpu_model():
    for line in open("/proc/cpuinfo"):
        if line.startswith("model name"):
            return line.split(":", 1)[1].strip()
    return platform.processor()


def disk_of(path):
    try:
        return subprocess.run(["df", "--output=source,fstype", path], capture_output=True,
                              text=True).stdout.splitlines()[1].strip()
    except Exception:
        return "?"


files = sum(len(f) for _, _, f in os.walk(payload))
total = sum(os.path.getsize(os.path.join(d, n)) for d, _, fs in os.walk(payload) for n in fs)
largest = max(os.path.getsize(os.path.join(d, n)) for d, _, fs in os.walk(payload) for n in fs)
mib = total / MIB

cp_wall, cp_rss, our_wall, our_rss, our_install = [], [], [], [], []
our_read = 0
for i in range(1, runs + 1):
    w, m = open(f"{out}/cp.{i}.time").read().split()
    cp_wall.append(float(w)); cp_rss.append(int(m))
    w, m = open(f"{out}/our.{i}.time").read().split()
    our_wall.append(float(w)); our_rss.append(int(m))
    o = kv(f"{out}/our.{i}.txt")
    our_install.append(float(o["install_ms"]) / 1000)
    our_read = int(o["install_read_bytes"])
med = statistics.median
cpw, ow, oi = med(cp_wall), med(our_wall), med(our_install)
cpm, om = max(cp_rss), max(our_rss)
build = kv(f"{out}/build.txt")

P = print
now = datetime.datetime.now(datetime.timezone.utc)
P("# Benchmark results")
P()
P(f"Written by `bench/run` on {now:%Y-%m-%d %H:%M} UTC.")
P()
P(f"- Machine: {cpu_model()}, {os.cpu_count()} cores (shared with other work while running), "
  f"{os.sysconf('SC_PAGE_SIZE') * os.sysconf('SC_PHYS_PAGES') // MIB} MiB memory, "
  f"{platform.system()} {platform.release()}")
P(f"- Scratch disk: {disk_of(payload)}; build: headless, Release (`cmake --preset bench`)")
P(f"- Payload: {files} files, {total} bytes ({mib:.1f} MiB), largest {largest // MIB} MiB; "
  f"package {int(build['package_bytes']) / MIB:.1f} MiB")
P()
P("Ratios are ours / peer: below 1 is faster or smaller than the peer.")
P()
P("## 1. Install throughput (headless, sandbox on the local disk)")
P()
P(f"Median of {runs} runs, page cache warm, `sync` between runs (not timed). Ours: `install_bench "
  "install`, which starts `InstallerMain` in a `headless::Session` and clicks Welcome -> "
  "destination -> Prepare -> Next -> Finish; *install* is the Next click on Prepare until the "
  "finish page (copying and registration), *process* the whole program under /usr/bin/time. "
  "Peer: `cp -r` of the same folder. Peak memory is the maximum resident set of the process.")
P()
P("| figure | ours | cp -r | ratio |")
P("|---|---|---|---|")
P(f"| wall time, install | {oi:.3f} s | {cpw:.3f} s | {oi / cpw:.2f} |")
P(f"| wall time, process | {ow:.3f} s | {cpw:.3f} s | {ow / cpw:.2f} |")
P(f"| throughput, install | {mib / oi:.0f} MiB/s | {mib / cpw:.0f} MiB/s | {cpw / oi:.2f} |")
pair = med([a / b for a, b in zip(our_install, cp_wall)])
P(f"| wall time, install, best run | {min(our_install):.3f} s | {min(cp_wall):.3f} s | {min(our_install) / min(cp_wall):.2f} |")
P(f"| ratio of each run's pair, median | | | {pair:.2f} |")
P(f"| peak memory | {om / 1024:.1f} MiB | {cpm / 1024:.1f} MiB | {om / cpm:.2f} |")
P()
P(f"Each run: ours {', '.join(f'{x:.3f}' for x in our_install)} s (install), "
  f"cp -r {', '.join(f'{x:.3f}' for x in cp_wall)} s. The install phase read {our_read} bytes of the "
  f"package, which is the package less its {int(build['package_bytes']) - our_read}-byte descriptive part: "
  "the payload is read once.")
goal_t = "met" if oi <= 1.2 * cpw else "NOT met"
goal_m = "met" if om < 64 * 1024 else "NOT met"
P()
P(f"Goals: ours <= 1.2 x cp -r: **{goal_t}** ({oi / cpw:.2f}); peak memory under 64 MiB and not "
  f"growing with the largest file ({largest // MIB} MiB): **{goal_m}** ({om / 1024:.1f} MiB).")
P()

s = kv(f"{out}/startup.txt")
P("## 2. Start-up")
P()
P(f"Headless, in process: `Session::start` until the program waits idle with its first window "
  f"shown; {s.get('runs')} runs each, fresh machine per run.")
P()
P("| program | median | min | max | bytes read at start-up | goal < 100 ms |")
P("|---|---|---|---|---|---|")
pk = int(build["package_bytes"])
for key, name, rd in [("installer_full", f"installer, {pk / MIB:.0f} MiB package", "installer_full_read_bytes"),
                      ("installer_empty", f"installer, {s.get('installer_empty_package_bytes')}-byte package (empty payload)", "installer_empty_read_bytes"),
                      ("boardtool", "boardtool, main window", None)]:
    m = float(s[key + "_median_ms"])
    P(f"| {name} | {m:.2f} ms | {float(s[key + '_min_ms']):.2f} ms | {float(s[key + '_max_ms']):.2f} ms "
      f"| {s[rd] if rd else '-'} | {'met' if m < 100 else 'NOT met'} |")
P()
P(f"The installer reads {s['installer_full_read_bytes']} bytes of the {pk}-byte package before the "
  "wizard shows, the same as from the package with an empty payload, and starts in the same time: "
  "the payload is not read at start-up.")
P()

P("## 3. Reply processing")
P()
rep = json.load(open(f"{out}/reply.json"))
ctx = rep.get("context", {})
P(f"Google Benchmark, the tool's data-arrival handler (`ByteArrived`) with the main window's "
  f"controls in memory (headless). Line rate: 960 bytes/s at 9600 bit/s. Library build type: "
  f"{ctx.get('library_build_type', '?')} (Debian's package; our code is optimised).")
P()
P("| benchmark | what | bytes/s | frames/s | x line rate | goal >= 1,000,000 bytes/s |")
P("|---|---|---|---|---|---|")
what = {"BM_PerByteNoFrame": "per-byte path only (no CR LF pair)",
        "BM_WeightFramesSteady": "weight frames, same weight (display not rewritten)",
        "BM_WeightFramesMoving": "weight frames, weight changes every frame",
        "BM_SettingsFrames": "settings frames (7 selections, capacity relabel)"}
for b in rep["benchmarks"]:
    bps = b["bytes_per_second"]
    fps = "-" if b["name"] == "BM_PerByteNoFrame" else f"{b['frames_per_second']:,.0f}"
    P(f"| {b['name']} | {what.get(b['name'], '')} | {bps:,.0f} | {fps} | {bps / 960:,.0f} | "
      f"{'met' if bps >= 1e6 else 'NOT met'} |")
P()

w = kv(f"{out}/wine.txt")
P("## Under Wine")
P()
if not w or "not_measured" in w:
    P("Not measured: " + (w.get("not_measured", "bench/wine_run did not run").replace("_", " ")) + ".")
else:
    P(f"win32 build (mingw-w64, Release) under {w.get('wine_version', 'Wine')}, Xvfb. Same payload. "
      "Ours: installer.exe driven by the e2e UI driver (uidriver.exe) through the wizard to Finish; "
      "peer: an NSIS installer of the same files (`makensis`, run with /S). Times are from start to "
      "the program's end, as seen from the host; median of the runs.")
    P()
    P("| figure | ours | NSIS | ratio |")
    P("|---|---|---|---|")
    if "our_install_s" in w and "nsis_install_s" in w:
        a, b = float(w["our_install_s"]), float(w["nsis_install_s"])
        P(f"| install, wall time | {a:.2f} s | {b:.2f} s | {a / b:.2f} |")
        P(f"| install, throughput | {mib / a:.0f} MiB/s | {mib / b:.0f} MiB/s | {b / a:.2f} |")
    P()
    if "our_startup_ms" in w:
        P(f"Start-up under Wine, process start until the window is found by the UI driver "
          f"(includes Wine's own process start and one driver command, which alone takes "
          f"{float(w.get('driver_command_ms', 'nan')):.0f} ms): installer "
          f"{float(w['our_startup_ms']):.0f} ms to the wizard ({float(w.get('background_startup_ms', 'nan')):.0f} ms to the background window), boardtool {float(w.get('tool_startup_ms', 'nan')):.0f} ms.")
    for k, v in w.items():
        if k.startswith("note"):
            P()
            P(v.replace("_", " "))
P()
sys.stdout.write(soak_report.section(out))
