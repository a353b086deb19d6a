#!/usr/bin/env python3
# The table of benchmark figures against their targets, in Markdown, from the outputs that
# scripts/run-bench.sh gathers in WORK. Usage: bench-table.py WORK MACHINE LOAD
import json, re, statistics, sys
work, machine, load = sys.argv[1:4]
runs, cpu = {}, {}
benchmarks = [b for name in ("model", "mushaf", "memorise", "mushafview") for b in json.load(open(f"{work}/{name}.json"))["benchmarks"]]
for b in benchmarks:
    if b.get("run_type") == "iteration":
        scale = {"ns": 1e-3, "us": 1, "ms": 1e3}[b["time_unit"]]
        runs.setdefault(b["run_name"], []).append(b["real_time"] * scale)
        cpu.setdefault(b["run_name"], []).append(b["cpu_time"] * scale)
def spread(values):
    return (statistics.median(values), min(values), max(values)) if values else None
def text_figures(name, key):
    values = []
    for line in open(f"{work}/{name}"):
        m = re.match(rf"{key} median (\S+) min (\S+) max (\S+)", line)
        if m:
            values.append(tuple(float(v) for v in m.groups()))
    if not values:
        return None
    return (statistics.median(v[0] for v in values), min(v[1] for v in values), max(v[2] for v in values))
def pooled(name, key):
    values = []
    for line in open(f"{work}/{name}"):
        if line.startswith(key + ":"):
            values += [float(v) for v in line.split(":", 1)[1].split()]
    return spread(values)
rows = []
def row(path, figure, unit, target, cpu_median=None):
    goal = f"{target} {unit}" if target else "none"
    if figure is None:
        rows.append(f"| {path} | not measured | | | | {goal} | |")
        return
    median, low, high = figure
    on_cpu = f"{cpu_median:.3g}" if cpu_median is not None else ""
    ratio = f"{median / target:.2f}" if target else ""
    rows.append(f"| {path} | {median:.3g} | {low:.3g} | {high:.3g} | {on_cpu} | {goal} | {ratio} |")
def model_row(path, name, unit, target):
    scale = 1 if unit == "µs" else 1e-3
    wall = spread([v * scale for v in runs.get(name, [])])
    on_cpu = spread([v * scale for v in cpu.get(name, [])])
    row(path, wall, unit, target, on_cpu[0] if on_cpu else None)
    return wall, on_cpu
hit, hit_cpu = model_row("HasAyehAt, dense page (µs)", "BM_HasAyehAt", "µs", 5)
sql, sql_cpu = model_row("same hit test by SQL each time (µs)", "BM_HasAyehAtBySql", "µs", None)
model_row("GoToPage, page not shown (ms)", "BM_GoToPage", "ms", 5)
model_row("Highlight, three-line ayeh (ms)", "BM_HighlightThreeLineAyeh", "ms", 0.5)
model_row("PrepareSound, 100 KB recording (ms)", "BM_PrepareSound", "ms", 2)
model_row("decoding that recording on Open (ms)", "BM_DecodeRecording", "ms", None)
model_row("search, a rare word (ms)", "BM_Search/RareWord", "ms", 5)
model_row("search, a word of a third of the ayehs (ms)", "BM_Search/CommonWord", "ms", 5)
model_row("search, a Persian word (ms)", "BM_Search/PersianWord", "ms", 5)
model_row("search, three words (ms)", "BM_Search/ThreeWords", "ms", 5)
model_row("search, the first letter typed (ms)", "BM_Search/OneLetter", "ms", 5)
model_row("reading the texts for search (ms)", "BM_LoadSearchIndex/iterations:5", "ms", None)
model_row("tajweed rules of the whole book (ms)", "BM_TajweedWholeBook", "ms", 200)
model_row("recording a grade (ms)", "BM_RecordGrade", "ms", 5)
model_row("opening the due list, 6236 ayehs graded (ms)", "BM_OpenDueList", "ms", 20)
model_row("progress map's states, 604 pages and 114 sourehs (ms)", "BM_ProgressMap", "ms", None)
model_row("reading every ayeh's page from quran.dat (ms)", "BM_ReadAyehPages", "ms", None)
model_row("Mushaf page drawn, 1080 px high at ratio 2 (ms)", "BM_DrawPage", "ms", 8)
model_row("the same on the night page (ms)", "BM_DrawNightPage", "ms", 8)
model_row("reading a page's glyphs (ms)", "BM_ReadPageGlyphs", "ms", None)
model_row("progress map drawn, 604 pages (ms)", "BM_DrawProgressMap", "ms", 50)
model_row("«مرور امروز» opened and drawn, 6236 ayehs graded (ms)", "BM_OpenDueDialog", "ms", 20)
model_row("Mushaf view, a page painted 1080 px high at ratio 2 (ms)", "BM_ViewDrawPage", "ms", 8)
model_row("Mushaf view, a page turn until painted (ms)", "BM_ViewPageTurn", "ms", 16)
growth = [b["growth_mb"] for b in benchmarks if b.get("run_name", "").startswith("BM_ViewMemory") and "growth_mb" in b]
row("Mushaf view, memory after all 604 pages (MB, once)", (growth[0],) * 3 if growth else None, "MB", 30)
row("gap between recordings (ms)", pooled("gap.txt", "gaps (ms)"), "ms", 50)
cpu_handler = pooled("gap.txt", "handler CPU (ms)")
row("notice handler, per move (ms)", pooled("gap.txt", "handler (ms)"), "ms", None,
    cpu_handler[0] if cpu_handler else None)
startup_cpu = text_figures("startup.txt", "startup_cpu_ms")
row("start-up to main window shown (ms)", text_figures("startup.txt", "startup_shown_ms"), "ms", 800,
    startup_cpu[0] if startup_cpu else None)
row("start-up to main window painted (ms)", text_figures("startup.txt", "startup_painted_ms"), "ms", None)
bt = re.findall(r"build_text_s (\S+)", open(f"{work}/buildtext.txt").read())
row("build-text, 604 pages (s, once)", (float(bt[0]),) * 3 if bt else None, "s", 60)
mem = re.search(r"memory_rss_mb (\S+) growth_second_half_mb (\S+)", open(f"{work}/memory.txt").read())
row("RSS after 500 pages and 200 ayehs (MB, once)", (float(mem[1]),) * 3 if mem else None, "MB", 150)
row("RSS growth over the second half (MB, once)", (float(mem[2]),) * 3 if mem else None, "MB", 5)
print(f"Machine: {machine}; load average at the end: {load}\n")
print("| Path | Median | Min | Max | Median CPU | Target | Median / target |")
print("|---|---|---|---|---|---|---|")
print("\n".join(rows))
if hit and sql:
    print(f"\nSQL each time / HasAyehAt, medians: {sql[0] / hit[0]:.0f} times wall-clock, "
          f"{sql_cpu[0] / hit_cpu[0]:.0f} times CPU (target: at least 20)")
