#!/usr/bin/env python3
"""Twenty stations on one database: real station processes (`mirel-storm`, the stations' program
with the storm driver; offscreen) of the inspection,
mark-label, packing and progress stations, each in a program folder of its own whose config.ini
names one shared embedded mirel.db, each saving records through its own 保存 (MIREL_STORM) as fast
as it can. Optionally one station is killed (SIGKILL) every few seconds and started again for the
saves it still owes. Reports saves per second, save times, lock errors, duplicate numbers, boxes
that are not three rolls, saves reported but not in the database, and `pragma integrity_check`.
With --check the run fails when any of these is not clean."""
import argparse
import os
import random
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

KINDS = [("check", "C"), ("maitou", "M"), ("bag", "B"), ("load", "L")]
SRC = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Station:
    def __init__(self, index, root, saves):
        self.word, prefix = KINDS[index % len(KINDS)]
        self.name = "%s%02d" % (prefix, index // len(KINDS) + 1)
        self.home = os.path.join(root, self.name)
        self.saves = saves
        self.proc = None
        self.kills = 0
        self.runs = 0

    def lines(self):
        """The per-save lines printed so far, over every run of the station."""
        try:
            with open(os.path.join(self.home, "out.log"), encoding="utf-8", errors="replace") as f:
                return [l.split(" ", 4) for l in f if l.startswith("storm ") and not l.startswith("storm done")]
        except FileNotFoundError:
            return []

    def start(self, binary):
        owed = self.saves - len(self.lines())
        if owed <= 0:
            return False
        env = dict(os.environ, MIREL_HOME=self.home, MIREL_LOCK_DIR=self.home, HOME=self.home,
                   XDG_RUNTIME_DIR=self.home, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   MIREL_NONINTERACTIVE="1", QT_QPA_PLATFORM="offscreen",
                   MIREL_WINDOW_SIZE="1024x768", MIREL_STORM=str(owed))
        out = open(os.path.join(self.home, "out.log"), "a")
        err = open(os.path.join(self.home, "err.log"), "a")
        self.proc = subprocess.Popen([binary, self.word], env=env, cwd=self.home, stdout=out, stderr=err)
        out.close()
        err.close()
        self.runs += 1
        return True


def sql(args, db, text):
    """Rows of a statement run by mirel-sql on the shared database (header line dropped)."""
    out = subprocess.run([os.path.join(args.bin, "mirel-sql"), "--connection",
                          "Provider=SQLite;Data Source=" + db, "-e", text],
                         check=True, capture_output=True, text=True).stdout
    return [l.split("\t") for l in out.splitlines()[1:]]


def scalar(args, db, text):
    rows = sql(args, db, text)
    return rows[0][0] if rows else ""


def set_key(lines, section, key, value):
    """Sets key=value in an ini file's section (added at its end, or a new section)."""
    head = "[%s]" % section
    if head not in lines:
        lines += ["", head]
    start = lines.index(head) + 1
    end = next((i for i in range(start, len(lines)) if lines[i].startswith("[")), len(lines))
    for i in range(start, end):
        if lines[i].split("=", 1)[0].strip() == key:
            lines[i] = "%s=%s" % (key, value)
            return
    lines.insert(end, "%s=%s" % (key, value))


def prepare(args, root, stations):
    base = os.path.join(root, "database")
    subprocess.run([os.path.join(SRC, "scripts", "make-demo.sh"), os.path.dirname(args.bin), base],
                   check=True, stdout=subprocess.DEVNULL)
    db = os.path.join(base, "mirel.db")
    with open(os.path.join(base, "mirel.ini"), encoding="utf-8") as f:
        ini = f.read().splitlines()
    for s in stations:
        os.makedirs(s.home, mode=0o700)
        lines = list(ini)
        set_key(lines, "MIREL", "menchineId", s.name)
        set_key(lines, "MIREL", "keyPolicy", "1")  # a step may be reported again
        set_key(lines, "打包", "是否要打包", "1")
        set_key(lines, "打包", "autoAdd", "1")
        with open(os.path.join(s.home, "mirel.ini"), "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        with open(os.path.join(s.home, "config.ini"), "w", encoding="utf-8") as f:
            f.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=%s\n" % db)
        if s.word == "bag":
            # The rolls this packing table boxes, three a box; a box whose save was killed after
            # its commit is owed again, hence the spare rolls.
            sql(args, db, "with recursive n(i) as (select 1 union all select i+1 from n where i<%d) "
                "insert into checkinfo(billCode,billdetailId,itemid,checkCode,onCount,grade,machineId) "
                "select 'SC2611001',2,1,'%s-'||i,50,'A品','%s' from n" % (3 * s.saves + 60, s.name, s.name))
    return db


def run(args, binary, stations, db):
    wal = 0
    for s in stations:
        s.start(binary)
    started = time.monotonic()
    next_kill = started + args.kill_every if args.kill_every > 0 else None
    while any(s.proc for s in stations):
        time.sleep(0.05)
        try:
            wal = max(wal, os.path.getsize(db + "-wal"))
        except OSError:
            pass
        now = time.monotonic()
        if now - started > args.timeout:
            for s in stations:
                if s.proc:
                    s.proc.kill()
            raise SystemExit("storm: timed out after %d s" % args.timeout)
        for s in stations:
            if s.proc and s.proc.poll() is not None:
                s.proc = None
        if next_kill and now >= next_kill:
            running = [s for s in stations if s.proc]
            if running:
                victim = random.choice(running)
                victim.proc.send_signal(signal.SIGKILL)
                victim.proc.wait()
                victim.kills += 1
                victim.start(binary)
            next_kill = now + args.kill_every
    return time.monotonic() - started, wal


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))] if ordered else 0.0


def report(args, db, stations, wall, wal):
    ok = {w: [] for w, _ in KINDS}
    times, errors, locked = [], [], 0
    for s in stations:
        for line in s.lines():
            if len(line) >= 4 and line[3] == "ok":
                ok[s.word].append((s, line[4].split()[0] if len(line) > 4 and line[4].strip() else ""))
                times.append(float(line[2]))
            else:
                errors.append("%s: %s" % (s.name, " ".join(line[3:]).strip()))
        for log in ("out.log", "err.log"):
            with open(os.path.join(s.home, log), encoding="utf-8", errors="replace") as f:
                text = f.read().lower()
                locked += text.count("database is locked") + text.count("sqlite_busy")
    saved = sum(len(v) for v in ok.values())

    def present(word, query):
        records = [r for _, r in ok[word] if r]
        if not records:
            return 0
        found = set()
        for i in range(0, len(records), 400):
            chunk = ",".join("'%s'" % r for r in records[i:i + 400])
            found |= {row[0] for row in sql(args, db, query % chunk)}
        return sum(1 for r in records if r in found)

    lost = len(ok["check"]) - present("check", "select cast(id as varchar) from checkinfo where id in (%s)")
    lost += len(ok["maitou"]) - present("maitou", "select cast(id as varchar) from checkinfo where id in (%s)")
    lost += len(ok["bag"]) - present("bag", "select bagnumber from checkinfo where bagMachine like 'B%%' and bagnumber in (%s)")
    for s in stations:
        if s.word == "load":
            mine = sum(1 for t, _ in ok["load"] if t is s)
            lost += max(0, mine - int(scalar(args, db, "select count(*) from BillStatusDetail where endUser='%s'" % s.name)))
    stored = int(scalar(args, db, "select (select count(*) from checkinfo where machineId like 'C%' or machineId like 'M%')"
                        " + (select count(distinct bagnumber) from checkinfo where bagMachine like 'B%')"
                        " + (select count(*) from BillStatusDetail where endUser like 'L%')"))
    figures = [
        ("stations (inspection / mark-label / packing / progress)", "%d (%s)" % (len(stations), " / ".join(
            str(sum(1 for s in stations if s.word == w)) for w, _ in KINDS))),
        ("saves asked per station", args.saves),
        ("processes killed (SIGKILL) and started again", sum(s.kills for s in stations)),
        ("wall time", "%.1f s" % wall),
        ("saves reported ok", saved),
        ("saves per second (all stations)", "%.1f" % (saved / wall if wall else 0)),
        ("records stored but not reported (committed just before a SIGKILL)", stored - saved),
        ("largest -wal file seen", "%.1f MB" % (wal / 1e6)),
        ("save time p50 / p99 / max", "%.1f / %.1f / %.1f ms" % (
            percentile(times, 50), percentile(times, 99), max(times) if times else 0)),
    ]
    for word, _ in KINDS:
        t = [float(l[2]) for s in stations if s.word == word for l in s.lines() if len(l) >= 4 and l[3] == "ok"]
        figures.append(("  %s save p50 / p99" % word, "%.1f / %.1f ms (%d saves)" % (
            percentile(t, 50), percentile(t, 99), len(t))))
    checks = [
        ("saves that failed", len(errors)),
        ('"database is locked" errors', locked),
        ("duplicate roll numbers", scalar(args, db, "select count(*) from (select billdetailid, checkCode from checkinfo "
                                          "where left(isnull(machineId,''),1) not in ('M','B') group by billdetailid, checkCode having count(*)>1) x")),
        ("duplicate package numbers", scalar(args, db, "select count(*) from (select billdetailid, checkCode from checkinfo "
                                             "where machineId like 'M%' group by billdetailid, checkCode having count(*)>1) x")),
        ("pallet numbers of two stations", scalar(args, db, "select count(*) from (select bagnumber from checkinfo "
                                                  "where machineId like 'M%' group by bagnumber having count(distinct machineId)>1) x")),
        ("box numbers of two tables or of a pallet", scalar(args, db, "select count(*) from (select bagnumber from checkinfo "
                                                             "where isnull(bagnumber,'')<>'' and (bagMachine like 'B%' or machineId like 'M%') "
                                                             "group by bagnumber having count(distinct isnull(bagMachine, machineId))>1) x")),
        ("boxes not of three rolls", scalar(args, db, "select count(*) from (select bagnumber from checkinfo "
                                            "where bagMachine like 'B%' group by bagnumber having count(*)<>3) x")),
        ("rolls without their five defects", scalar(args, db, "select count(*) from checkinfo a where machineId like 'C%' "
                                                    "and (select count(*) from checkDetail d where d.checkId=a.id)<>5")),
        ("saves reported ok but not in the database", lost),
    ]
    integrity = " ".join(r[0] for r in sql(args, db, "pragma integrity_check"))
    print("| figure | value |\n|---|---|")
    for k, v in figures:
        print("| %s | %s |" % (k, v))
    for k, v in checks:
        print("| %s | %s |" % (k, v))
    print("| pragma integrity_check | %s |" % integrity)
    for e in errors[:20]:
        print("failed save: " + e[:160])
    clean = all(str(v) == "0" for _, v in checks) and integrity == "ok" and saved > 0
    print("storm: " + ("clean" if clean else "NOT CLEAN"))
    return clean


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("--bin", required=True, help="folder of mirel and mirel-sql (a build's bin)")
    p.add_argument("--stations", type=int, default=20)
    p.add_argument("--saves", type=int, default=200, help="records each station saves")
    p.add_argument("--kill-every", type=float, default=0, help="seconds between two SIGKILLs (0: none)")
    p.add_argument("--timeout", type=float, default=1800)
    p.add_argument("--dir", help="work folder (default: a temporary one, removed afterwards)")
    p.add_argument("--check", action="store_true", help="exit 1 unless the run is clean")
    args = p.parse_args()
    args.bin = os.path.abspath(args.bin)
    root = args.dir or tempfile.mkdtemp(prefix="mirel-storm-")
    try:
        stations = [Station(i, root, args.saves) for i in range(args.stations)]
        db = prepare(args, root, stations)
        wall, wal = run(args, os.path.join(args.bin, "mirel-storm"), stations, db)
        clean = report(args, db, stations, wall, wal)
    finally:
        if not args.dir:
            shutil.rmtree(root, ignore_errors=True)
    sys.exit(0 if clean or not args.check else 1)


if __name__ == "__main__":
    main()
