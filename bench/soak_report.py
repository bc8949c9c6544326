#!/usr/bin/env python3
"""Section 4 of bench/RESULTS.md from the figures bench/soak wrote.

    soak_report.py OUT            prints the section
    soak_report.py OUT RESULTS    replaces the section in RESULTS (or appends it)
"""
import datetime
import os
import platform
import sys

HEADING = "## 4. Soak"


def kv(path):
    d = {}
    if os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            k, _, v = line.strip().partition(" ")
            if k:
                d[k] = v
    return d


def weight_text(frame):
    """The weight text the tool shows for a sign-led frame (its offsets 0 to 7)."""
    text = "-" if frame[0] == "-" else ""
    significant = False
    for k in range(1, 8):
        c = frame[k]
        if c == ".":
            text += "."
            continue
        if not significant and c == "0" and k < 7 and frame[k + 1] != ".":
            continue
        text += str(ord(c) - 48)
        significant = True
    return text


def machine():
    cpu = platform.processor()
    for line in open("/proc/cpuinfo"):
        if line.startswith("model name"):
            cpu = line.split(":", 1)[1].strip()
            break
    return f"{cpu}, {os.cpu_count()} cores (shared with other work), {platform.system()} {platform.release()}"


def met(ok):
    return "**met**" if ok else "**NOT met**"


def section(out):
    s = kv(os.path.join(out, "soak.txt"))
    lines = [HEADING, ""]
    P = lambda text="": lines.append(text)
    if not s or "not_measured" in s:
        P("Not measured: " + s.get("not_measured", "bench/soak did not run").replace("_", " ") + ".")
        return "\n".join(lines) + "\n"
    f = lambda k: float(s.get(k, "nan"))
    i = lambda k: int(s.get(k, "-1") or -1)
    now = datetime.datetime.now(datetime.timezone.utc)
    secs = i("seconds")
    cms = i("continuous_ms")
    P(f"Run by `bench/soak` on {now:%Y-%m-%d %H:%M} UTC, {secs} s, under {s.get('wine_version', 'Wine')} "
      f"and Xvfb; {machine()}.")
    P()
    P(f"`boardsim --continuous {cms} --drift 0.5` on a pseudo-terminal linked as COM5 of a fresh prefix "
      f"(the e2e modem-line shim preloaded), at 9600 bit/s: a weight frame unasked every {cms} ms and "
      "an answer to every poll, the weight moving so that every frame shows another one. boardtool.exe "
      "opens COM5 through `OpenButton` (UI driver) and is then left alone. The board starts silent: "
      f"{f('idle_wall_s') if 'idle_wall_s' in s else 0:.0f} s of baseline with the port open and every "
      "poll unanswered; then it is switched on (`silent 0` on its standard input) and the soak runs, so "
      "every frame it sends falls after the tool's open sequence and is the tool's to count. At the end "
      "boardsim is stopped (SIGTERM, it writes `--stats`), the tool gets 1.5 s to take what is on its "
      "way, and the UI driver reads the counters and `ReceiveBox`.")
    P()
    sent = i("board_weight_frames_sent")
    lines_rx = i("tool_receive_lines")
    last = s.get("board_last_weight_frame", "-").replace("_", " ")
    last_text = weight_text(last) if len(last) >= 8 else "-"
    shown = s.get("tool_weight", "")
    lost = sent - lines_rx
    median, p99, gmax = f("board_poll_gap_median_ms"), f("board_poll_gap_p99_ms"), f("board_poll_gap_max_ms")
    cpu = f("cpu_tool_pct")
    P("| figure | value | goal | |")
    P("|---|---|---|---|")
    P(f"| weight frames sent by boardsim | {sent} | | |")
    P(f"| weight replies the tool counted (lines in `ReceiveBox`) | {lines_rx} | | |")
    P(f"| frames lost | {lost} ({100.0 * lost / max(sent, 1):.1f} %) | 0 | {met(lost <= 0)} |")
    P(f"| `WeightDisplay` at the end / weight of the board's last frame | {shown} / {last_text} | equal | "
      f"{met(shown == last_text)} |")
    P(f"| poll gap as boardsim hears it, median | {median:.1f} ms | 200 ms +- 5 ms | {met(abs(median - 200) <= 5)} |")
    P(f"| poll gap, 99th percentile / largest | {p99:.1f} ms / {gmax:.1f} ms | | |")
    P(f"| CPU time of boardtool.exe during the soak, % of one core | {cpu:.2f} % | under 2 % | {met(cpu < 2)} |")
    if "idle_tool_pct" in s:
        P(f"| CPU time of boardtool.exe, baseline (port open, board silent) | {f('idle_tool_pct'):.2f} % | | |")
    P()
    P(f"Polls: boardsim heard {i('board_polls_heard')} (baseline and soak); the tool shows 测试 "
      f"{s.get('tool_sent')}, 正常 {s.get('tool_good')}, 错误 {s.get('tool_error')}. 正常 is cut back to "
      "the polls sent at every poll, so in continuous transmission it cannot count frames; every weight "
      "reply appends one line to `ReceiveBox`, which only the test reset clears, and that is the count "
      f"above. `ReceiveBox` held {s.get('tool_receive_chars')} characters, its last line "
      f"\"{s.get('tool_receive_last', '').replace('_', ' ')}\".")
    P()

    def threads(prefix, total):
        ts = [(k[len(prefix):], float(v)) for k, v in s.items() if k.startswith(prefix)]
        rest = total - sum(v for _, v in ts)
        return ", ".join(f"{n} {v:.2f} %" for n, v in ts) + f", threads that came and went {max(rest, 0):.2f} %"

    P(f"CPU: utime + stime of the Wine process of boardtool.exe (found by its name and prefix; all its "
      f"threads) from /proc/PID/stat, over {f('cpu_wall_s'):.0f} s of wall time: {f('cpu_tool_s'):.2f} s. "
      f"wineserver, not counted, used {f('cpu_wineserver_pct'):.2f} % of a core. By thread (% of a core; "
      "by start order, 1 is the GUI thread, the receiver is the next long-lived one): "
      + threads("cpu_thread_", cpu) + ".")
    if "idle_tool_pct" in s:
        P(f"Baseline: {f('idle_tool_pct'):.2f} % ({threads('idle_thread_', f('idle_tool_pct'))}); "
          f"wineserver {f('idle_wineserver_pct'):.2f} %.")
    if "notes" in s:
        P()
        P(s["notes"].replace("_", " "))
    return "\n".join(lines) + "\n"


def splice(results, text):
    old = open(results, encoding="utf-8").read() if os.path.exists(results) else ""
    at = old.find(HEADING)
    if at < 0:
        new = old.rstrip("\n") + "\n\n" + text
    else:
        rest = old.find("\n## ", at + len(HEADING))
        new = old[:at] + text + (old[rest:] if rest >= 0 else "")
    open(results, "w", encoding="utf-8").write(new)


if __name__ == "__main__":
    text = section(sys.argv[1])
    if len(sys.argv) > 2:
        splice(sys.argv[2], text)
    else:
        sys.stdout.write(text)
