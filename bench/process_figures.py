"""Whole-process figures of Kuvella under Wine, run by bench/process-figures.

For each program it measures, over an idle period: CPU seconds of its own Linux process and of
the wineserver (whose share is what the program's timer and queries make it do, since nothing
else runs), voluntary context switches (wake-ups, free of timing noise), and Pss memory.
Repeats are interleaved and medians printed, with Kuvella's ratios to the bare programs.
"""
import os
import statistics
import subprocess
import time

DIR = os.environ["KV_BENCH_DIR"]
TREE = os.environ["KV_BENCH_TREE"]
SECONDS = float(os.environ.get("KV_BENCH_SECONDS", "20"))
REPEATS = int(os.environ.get("KV_BENCH_REPEATS", "3"))
LOADER = os.environ["KV_WINELOADER"]
TICK = os.sysconf("SC_CLK_TCK")


def winpath(p):
    return "Z:" + os.path.abspath(p).replace("/", "\\")


def pids_of(name):
    out = subprocess.run(["pgrep", "-f", name], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


def wineserver_pid():
    # Ours is the one serving this run's prefix; other Wine sessions may run beside it.
    prefix = os.environ["WINEPREFIX"].encode()
    for p in pids_of("wineserver"):
        try:
            if not open(f"/proc/{p}/comm").read().startswith("wineserver"):
                continue
            env = open(f"/proc/{p}/environ", "rb").read().split(b"\0")
        except OSError:
            continue
        if b"WINEPREFIX=" + prefix in env:
            return p
    raise RuntimeError("no wineserver for this prefix")


def cpu(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def switches(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("voluntary_ctxt_switches"):
            return int(line.split()[1])
    return 0


def pss_kib(pid):
    for line in open(f"/proc/{pid}/smaps_rollup"):
        if line.startswith("Pss:"):
            return int(line.split()[1])
    return 0


def start(exe, *args, cwd):
    # Wine's loader becomes the Windows program itself: same process, same pid.
    proc = subprocess.Popen([LOADER, exe, *args], cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(2.0)  # past start-up
    if proc.poll() is not None:
        raise RuntimeError(f"{exe} did not start")
    return proc, proc.pid


def stop(proc, exe):
    proc.kill()
    proc.wait(timeout=10)
    time.sleep(0.5)


def measure(pid):
    server = wineserver_pid()
    c0, s0, w0 = cpu(pid), switches(pid), cpu(server)
    time.sleep(SECONDS)
    c1, s1, w1 = cpu(pid), switches(pid), cpu(server)
    return {"cpu": c1 - c0, "cpu+server": (c1 - c0) + (w1 - w0), "wakeups": s1 - s0, "pss": pss_kib(pid)}


def run_kuvella(phase):
    exe = os.path.join(DIR, "kuvella.exe")
    proc, pid = start(exe, cwd=DIR)
    if phase == "fast":
        subprocess.run([LOADER, os.path.join(TREE, "kuvella_bench_driver.exe"), "snap"], timeout=30)
        time.sleep(1.0)
    result = measure(pid)
    stop(proc, exe)
    return result


def run_bare(kind, interval=None):
    exe = os.path.join(TREE, "kuvella_bench_driver.exe")
    args = (kind, str(interval)) if kind in ("timer", "queries") else ("tray",)
    proc, pid = start(exe, *args, cwd=TREE)
    result = measure(pid)
    stop(proc, exe)
    return result


def main():
    ini = os.path.join(DIR, "kuvella.ini")
    rows = {k: [] for k in ("kuvella 300 ms", "bare timer 300 ms", "timer+queries 300 ms", "kuvella 1 ms",
                            "bare timer 1 ms", "timer+queries 1 ms", "bare tray")}
    for _ in range(REPEATS):
        if os.path.exists(ini):
            os.remove(ini)
        rows["kuvella 300 ms"].append(run_kuvella("slow"))
        rows["bare timer 300 ms"].append(run_bare("timer", 300))
        rows["timer+queries 300 ms"].append(run_bare("queries", 300))
        rows["kuvella 1 ms"].append(run_kuvella("fast"))
        rows["bare timer 1 ms"].append(run_bare("timer", 1))
        rows["timer+queries 1 ms"].append(run_bare("queries", 1))
        rows["bare tray"].append(run_bare("tray"))
    med = {k: {m: statistics.median(r[m] for r in v) for m in v[0]} for k, v in rows.items()}
    print(f"medians of {REPEATS} interleaved runs, {SECONDS:.0f} s idle each")
    print(f"{'program':20} {'cpu s':>8} {'+server s':>10} {'wake-ups':>9} {'Pss KiB':>9}")
    for k, m in med.items():
        print(f"{k:20} {m['cpu']:8.2f} {m['cpu+server']:10.2f} {m['wakeups']:9.0f} {m['pss']:9.0f}")

    def ratio(a, b, m):
        return med[a][m] / med[b][m] if med[b][m] else float("nan")

    for phase in ("300 ms", "1 ms"):
        a, b = f"kuvella {phase}", f"bare timer {phase}"
        print(f"{phase:7} kuvella / bare timer: cpu {ratio(a, b, 'cpu'):.2f}x, "
              f"cpu+server {ratio(a, b, 'cpu+server'):.2f}x, wake-ups {ratio(a, b, 'wakeups'):.2f}x")
        q = f"timer+queries {phase}"
        print(f"{phase:7} kuvella / timer+queries: cpu {ratio(a, q, 'cpu'):.2f}x, "
              f"cpu+server {ratio(a, q, 'cpu+server'):.2f}x, wake-ups {ratio(a, q, 'wakeups'):.2f}x")
    print(f"memory  kuvella / bare tray: Pss {ratio('kuvella 300 ms', 'bare tray', 'pss'):.2f}x")


main()
