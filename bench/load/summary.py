#!/usr/bin/env python3
"""The figures of a load run (scripts/load): per action p50, p95 and max, the outcomes counted by kind,
what each fault did, the time-sheet check, and last the line "mismatches M, faults F". Exits 1 when
either is above 0.

A lost connection is expected from the session ended on purpose, the frozen workstation's, the server's
restart and the silent line: it counts apart when it ends within one of them (or 10 s after); any other is a fault, as is every outcome "fault:...".
Busy rows, duplicates and rows changed or deleted since they were read are counted apart, as allowed
outcomes."""
import argparse
import collections
import glob
import os
import sys


def percentile(values, p):
    s = sorted(values)
    if not s:
        return 0.0
    k = min(len(s) - 1, max(0, int(round(p / 100.0 * len(s) + 0.5)) - 1))
    return s[k]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--logs", required=True)
    ap.add_argument("--mismatches", type=int, required=True)
    ap.add_argument("--process-status", type=int, default=0)
    ap.add_argument("--generated", default="")
    ap.add_argument("--years", default="")
    ap.add_argument("--workstations", default="")
    ap.add_argument("--length", default="")
    a = ap.parse_args()

    faults_at = []  # (ms, text)
    path = os.path.join(a.logs, "faults.txt")
    if os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            at, text = line.rstrip("\n").split("\t", 1)
            faults_at.append((int(at), text))
    # Spans in which a lost connection is the fault's own doing: the ended session, the restart, the frozen
    # workstation's session ended by the server's bound on idle transactions, the silent line.
    def span(prefix):
        ats = [at for at, text in faults_at if text.startswith(prefix)]
        return (ats[0] - 1000, ats[-1] + 10000) if ats else None
    lost_spans = [sp for sp in (span("kill: session"), span("restart:"), span("freeze:"), span("silence:")) if sp]
    # An action that overlaps a fault's span is also left out of the second p95 column: the figures of the
    # shop's ordinary work apart from the reconnects and lock waits the faults cause on purpose.
    def in_fault(at, ms):
        return any(at <= hi and at + ms >= lo for lo, hi in lost_spans)
    freeze = [at for at, text in faults_at if text.startswith("freeze:")]
    frozen_station = None
    for at, text in faults_at:
        if text.startswith("freeze: workstation "):
            frozen_station = text.split()[2]
    kill_at = [at for at, text in faults_at if text.startswith("kill: session")]
    silence = [at for at, text in faults_at if text.startswith("silence:")]
    silent_actions = []
    up_at = [at for at, text in faults_at if text.startswith("restart: server up")]
    down_at = [at for at, text in faults_at if text.startswith("restart: server restarting")]

    times = collections.defaultdict(list)
    calm = collections.defaultdict(list)
    outcomes = collections.Counter()
    fault_lines = []
    per_station = {}
    during_freeze = []
    frozen_actions = []
    lost_after_kill = []
    after_restart = {}  # station -> [lost connections around the restart, start of its first success after it]
    for log in sorted(glob.glob(os.path.join(a.logs, "ws*.tsv"))):
        station = os.path.basename(log)[2:-4]
        n = 0
        for line in open(log, encoding="utf-8"):
            parts = line.rstrip("\n").split("\t")
            if len(parts) < 4:
                continue
            at, action, ms, outcome = int(parts[0]), parts[1], float(parts[2]), parts[3]
            n += 1
            kind = outcome.split(" ", 1)[0]
            if kind == "lost" and not any(lo <= at + ms <= hi for lo, hi in lost_spans):
                kind = "fault:lost"
            outcomes[kind] += 1
            if kind.startswith("fault"):
                fault_lines.append("  ws%s %s: %s" % (station, action, outcome))
            stalled = station == frozen_station and freeze and at <= freeze[0] <= at + ms
            if stalled:
                frozen_actions.append("%s %.0f ms (%s)" % (action, ms, kind))
            elif kind == "ok":
                times[action].append(ms)
                if not in_fault(at, ms):
                    calm[action].append(ms)
            if len(freeze) == 2 and freeze[0] <= at <= freeze[1] and station != frozen_station:
                during_freeze.append((ms, kind, station, action))
            if len(silence) == 2 and station == "2" and at + ms >= silence[0] and at <= silence[1] + 5000:
                silent_actions.append("%s %.1f s %s" % (action, ms / 1000.0, kind))
            if lost_after_kill and lost_after_kill[-1][0] == station and lost_after_kill[-1][2] is None:
                lost_after_kill[-1][2] = "%s %s" % (action, kind)
            if kill_at and kind == "lost" and kill_at[0] - 1000 <= at + ms <= kill_at[0] + 10000 \
                    and not (down_at and at + ms >= down_at[0]):
                lost_after_kill.append([station, action, None])
            if down_at and up_at and down_at[0] <= at + ms and at <= up_at[0] + 10000 and kind == "lost":
                after_restart.setdefault(station, [0, None])[0] += 1
            if up_at and at >= up_at[0] and kind == "ok":
                seen = after_restart.setdefault(station, [0, None])
                if seen[1] is None:
                    seen[1] = at
        per_station[station] = n

    print("load: %s years, %s workstations, %s; history generated in %s s" % (a.years, a.workstations, a.length, a.generated))
    print()
    print("%-22s %7s %10s %10s %10s %18s" % ("action", "count", "p50 ms", "p95 ms", "max ms", "p95 outside faults"))
    for action in sorted(times):
        v = times[action]
        quiet = "%18.1f" % percentile(calm[action], 95) if calm[action] else "%18s" % "-"
        print("%-22s %7d %10.1f %10.1f %10.1f %s" % (action, len(v), percentile(v, 50), percentile(v, 95), max(v), quiet))
    print()
    vmstat = os.path.join(a.logs, "vmstat.txt")
    if os.path.exists(vmstat):
        # vmstat's us, sy, id and wa columns, every 5 s of the run (its first line is since boot).
        rows = [line.split() for line in open(vmstat, encoding="utf-8")]
        rows = [r for r in rows if len(r) >= 16 and r[0].isdigit()][1:]
        if rows:
            mean = lambda i: sum(int(r[i]) for r in rows) / len(rows)
            print("the machine during the run: CPU user %.0f%%, system %.0f%%, idle %.0f%%, waiting for disk %.0f%%; "
                  "processes ready to run %.1f on average" % (mean(12), mean(13), mean(14), mean(15), mean(0)))
            print()
    print("outcomes: " + ", ".join("%s %d" % (k, outcomes[k]) for k in sorted(outcomes)))
    print("actions per workstation: " + " ".join("%s:%d" % (k, per_station[k]) for k in sorted(per_station, key=int)))
    print()
    for at, text in faults_at:
        print("fault injected: " + text)
    if lost_after_kill:
        print("the ended session: " + "; ".join("ws%s's %s told the connection was lost, its next action: %s"
                                                 % (st, act, nxt or "none") for st, act, nxt in lost_after_kill))
    if frozen_actions:
        print("the frozen workstation's own action: " + ", ".join(frozen_actions))
    if after_restart:
        lines = []
        for station in sorted(after_restart, key=int):
            lost, first_ok = after_restart[station]
            lines.append("ws%s %d lost, %s" % (station, lost, "then ok %.1f s after the server was up" % ((first_ok - up_at[0]) / 1000.0)
                                                if first_ok is not None else "no action succeeded after"))
        print("after the restart: " + "; ".join(lines))
    if silent_actions:
        print("workstation 2 on the silent line, its actions from the silence to 5 s after it: " + ", ".join(silent_actions))
    if during_freeze:
        others = [d for d in during_freeze]
        longest = max(others)
        busy = sum(1 for d in others if d[1] == "busy")
        print("while one workstation was frozen: %d actions of the others, %d busy, the longest %.0f ms (ws%s %s, %s)"
              % (len(others), busy, longest[0], longest[2], longest[3], longest[1]))
    report = os.path.join(a.logs, "report.txt")
    if os.path.exists(report):
        for line in open(report, encoding="utf-8"):
            parts = line.split()
            if parts and parts[0] == "report":
                program, psql = float(parts[1]), float(parts[2])
                print("%s of a month, alone: to its first page %.0f ms, psql %.0f ms, ratio %.2f (%s pages)"
                      % (parts[4], program, psql, program / psql if psql else 0, parts[3]))
    statements = os.path.join(a.logs, "statements.txt")
    if os.path.exists(statements):
        print()
        print(open(statements, encoding="utf-8").read().rstrip())
        print()
    faults = sum(n for k, n in outcomes.items() if k.startswith("fault"))
    if a.process_status != 0:
        faults += 1
        fault_lines.append("  a workstation process ended with an error")
    if fault_lines:
        print("faults:")
        for line in fault_lines[:30]:
            print(line)
    print("time sheet against the journal, months touched: %d cells differ" % a.mismatches)
    print("mismatches %d, faults %d" % (a.mismatches, faults))
    return 1 if a.mismatches > 0 or faults > 0 else 0


if __name__ == "__main__":
    sys.exit(main())
