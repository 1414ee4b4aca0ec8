"""Blocking trackers and ads, for bench/run.

- The first convert-and-compile of both real lists (EasyList and EasyPrivacy,
  from the package on this machine): the compile helper run alone on them, its
  time, peak memory and the size of the compiled filter.
- The first start with blocking on and no compiled filter: Skimlark's own
  compile in the background; when the helper is done, the browser process's
  memory (it must not keep the compile's), against a start with blocking off.
  What this start leaves in its cache is the filter every other Skimlark run
  here starts with (a start with unchanged lists only loads it).
- Start-up with blocking on and that cached filter ("Skimlark") against
  blocking off ("Skimlark, blocking off"), in the same rounds: per-round ratios
  of first frame and PSS, and the page process's memory with the filter.
"""

import os
import resource
import shutil
import subprocess
import tempfile
import time

LIST_FOLDERS = [
    "/usr/share/mozilla/extensions/{ec8030f7-c20a-464f-9b0e-13a3a9e97384}/uBlock0@raymondhill.net"
    "/assets/thirdparties/easylist",
    "/usr/share/chromium/extensions/ublock-origin/assets/thirdparties/easylist",
]
GOAL_FRAME = 1.03
GOAL_PSS = 1.05
OFF = "blockoff"
FILTERS = os.path.join("Velmora", "Skimlark", "ContentFilters")

# The compiled filter the runs start with, once made.
_seed = None


def find_lists():
    for folder in LIST_FOLDERS:
        paths = [os.path.join(folder, name) for name in ("easylist.txt", "easyprivacy.txt")]
        if all(os.access(p, os.R_OK) for p in paths):
            return paths
    return None


def seed(cache_home):
    """Puts the compiled filter in a run's fresh cache."""
    if _seed:
        shutil.copytree(_seed, os.path.join(cache_home, FILTERS), dirs_exist_ok=True)


def store_lines(name):
    """What a run's settings store holds beyond the home address."""
    return "[Internet]\nBlockTrackers=0\n" if name == OFF else ""


def compile_alone(build, lists):
    """The helper on the real lists into an empty store: time, peak memory, size."""
    store = tempfile.mkdtemp(prefix="skimlark-bench-filter-")
    try:
        start = time.monotonic()
        proc = subprocess.Popen([os.path.join(build, "skimlark-filtercompile"), store, "trackers-bench", *lists],
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(proc.pid, 0)
        seconds = time.monotonic() - start
        errors = proc.stderr.read().decode(errors="replace").strip()
        result = {"seconds": seconds, "peak_mb": usage.ru_maxrss / 1024, "ok": status == 0,
                  "error": errors.splitlines()[-1] if errors and status else ""}
        compiled = os.path.join(store, "ContentRuleList-trackers-bench")
        result["size_mb"] = os.path.getsize(compiled) / 1e6 if os.path.exists(compiled) else None
        counts = os.path.join(store, "trackers-bench.counts")
        if os.path.exists(counts):
            with open(counts) as f:
                result["counts"] = dict(line.strip().split("=") for line in f if "=" in line)
        return result
    finally:
        shutil.rmtree(store, ignore_errors=True)


def first_start(bench, name, command, port, recorder, settle_s, timeout_s):
    """A start with an empty cache; with blocking on it waits for the program's own compile.

    `bench` gives bench/run's helpers. Returns the browser process's PSS and USS
    once the page is loaded (and the compile done), and keeps the filter made."""
    global _seed
    base = tempfile.mkdtemp(prefix=f"skimlark-bench-first-{name}-")
    try:
        bench.fresh_store(base, bench.HOME_ADDRESS, name)
        env = bench.engine_env(port, base, fresh_cache=True)
        recorder.reset()
        start = time.monotonic()
        proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=base)
        result = {}
        try:
            deadline = start + timeout_s
            loaded = recorder.wait_for(bench.bench_path("/loaded"), deadline - time.monotonic())
            result["loaded_ms"] = None if loaded is None else (loaded - start) * 1000
            filters = os.path.join(env["XDG_CACHE_HOME"], FILTERS)
            if name != OFF:
                # Done when the helper has left its counts and ended.
                while time.monotonic() < deadline + 600:
                    tree = bench.process_tree(proc.pid)
                    helper = any(_comm(p).startswith("skimlark-filter") for p in tree[1:])
                    counted = os.path.isdir(filters) and any(n.endswith(".counts") for n in os.listdir(filters))
                    if counted and not helper:
                        break
                    if proc.poll() is not None:
                        break
                    time.sleep(0.2)
                result["compiled_s"] = time.monotonic() - start
            time.sleep(settle_s)
            result["browser_pss_kb"], result["browser_uss_kb"] = bench.memory_kb(proc.pid)
            if name != OFF and os.path.isdir(filters):
                kept = tempfile.mkdtemp(prefix="skimlark-bench-seed-")
                shutil.copytree(filters, kept, dirs_exist_ok=True)
                _seed = kept
        finally:
            bench.stop_tree(proc)
        return result
    finally:
        shutil.rmtree(base, ignore_errors=True)


def _comm(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return ""


def page_process_kb(bench, pid):
    """PSS of the page (web) processes below a program."""
    return sum(bench.memory_kb(p)[0] for p in bench.process_tree(pid) if _comm(p).startswith("WebKitWebProces"))


def cleanup():
    if _seed:
        shutil.rmtree(_seed, ignore_errors=True)


def report_lines(bench, blocking, startup):
    lines = ["Blocking trackers and ads (EasyList and EasyPrivacy from the package on this machine):", ""]
    if blocking is None or "error" in blocking:
        lines += [f"- not measured: {blocking['error'] if blocking else 'no lists'}", ""]
        return lines
    alone = blocking["alone"]
    fmt = bench.fmt
    counts = alone.get("counts", {})
    lines.append(f"- First convert-and-compile of both lists (the helper alone): {fmt(alone['seconds'], 1)} s, "
                 f"peak {fmt(alone['peak_mb'])} MB resident, compiled filter {fmt(alone['size_mb'], 1)} MB; "
                 f"rules used {counts.get('Used', '?')}, skipped {counts.get('Skipped', '?')}"
                 + (f"; failed: {alone['error']}" if not alone["ok"] else "") + ".")
    on, off = blocking["first_on"], blocking["first_off"]
    lines.append(f"- First start with blocking on (empty cache): page loaded at {fmt(on.get('loaded_ms'))} ms, "
                 f"the program's own compile done at {fmt(on.get('compiled_s'), 1)} s; browser process then "
                 f"PSS {fmt(on['browser_pss_kb'] / 1024, 1)} MB, USS {fmt(on['browser_uss_kb'] / 1024, 1)} MB, "
                 f"against {fmt(off['browser_pss_kb'] / 1024, 1)} MB and {fmt(off['browser_uss_kb'] / 1024, 1)} MB "
                 f"with blocking off.")
    lines.append("")
    if not startup or "skimlark" not in startup or OFF not in startup:
        return lines
    rows = [("Start to first frame on screen", "frame_ms", GOAL_FRAME), ("Memory, PSS of process tree", "pss_kb", GOAL_PSS)]
    lines.append("| Figure, blocking on with a cached filter against off | Ratio | Goal | Verdict |")
    lines.append("|---|---:|---:|---|")
    for label, figure, goal in rows:
        r = bench.paired(startup, "skimlark", OFF, figure)
        lines.append(f"| {label} | {fmt(r, 3)} | ≤ {goal:.2f} | {bench.verdict(r, goal)} |")
    lines.append("")
    med = bench.median
    for label, figure in (("Page process PSS (MB)", "page_pss_kb"), ("Browser process PSS (MB)", "browser_pss_kb")):
        a = med(r.get(figure) for r in startup["skimlark"])
        b = med(r.get(figure) for r in startup[OFF])
        lines.append(f"- {label}, blocking on with the filter loaded: {fmt(a and a / 1024, 1)}; off: "
                     f"{fmt(b and b / 1024, 1)}.")
    lines.append("")
    return lines


def prepare(bench, build, port, recorder, args, full):
    """The compiled filter every Skimlark run starts with; with `full`, the figures too."""
    lists = find_lists()
    if not lists:
        return {"error": "the lists are missing: install webext-ublock-origin-firefox"}
    command = [os.path.join(build, "skimlark")]
    result = {}
    if full:
        result["alone"] = compile_alone(build, lists)
    result["first_on"] = first_start(bench, "skimlark", command, port, recorder, args.settle, args.timeout)
    if full:
        result["first_off"] = first_start(bench, OFF, command, port, recorder, args.settle, args.timeout)
    return result
