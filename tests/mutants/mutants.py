#!/usr/bin/python3
"""Plants the faults of faults.py one at a time in a copy of the tree and runs the tests of
their area: a fault is caught when a test that passes on the clean tree fails.

Run by hand (not by ./test.sh or ctest), from anywhere:
  tests/mutants/mutants.py                 every fault; prints caught / planted per area
  tests/mutants/mutants.py --area packing  one area;  --only packing3  one fault
  tests/mutants/mutants.py --check         only checks that every `old` is unique in its file
  tests/mutants/mutants.py --table-only --markdown out.md   the table of the results so far
The copy is HEAD of the repository, extracted into --tree (default mirel-mutants-tree in $TMPDIR) with
its own Debug build; the repository and its worktrees are never touched. Results go to
<tree>/results.json; --resume skips faults already run on the same commit.
"""
import argparse, hashlib, io, json, os, re, subprocess, sys, tarfile, tempfile, time
from collections import OrderedDict

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing written into the repository
from faults import AREAS, FAULTS  # noqa: E402

REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
TEST_ENV = {"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8", "QT_QPA_PLATFORM": "offscreen"}


def faults():
    """(id, area, file, old, new, description) with ids like packing3, numbered per area."""
    seen, out = {}, []
    for area, path, old, new, why in FAULTS:
        if area not in AREAS:
            sys.exit(f"unknown area {area}")
        seen[area] = seen.get(area, 0) + 1
        out.append(dict(id=f"{area}{seen[area]}", area=area, file=path, old=old, new=new, why=why))
    return out


def sh(cmd, cwd, timeout=None, env=None):
    """Runs cmd niced in its own process group; returns (rc, output); rc None on timeout."""
    p = subprocess.Popen(["nice", "-n", "19"] + cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, start_new_session=True)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, 9)
        out, _ = p.communicate()
        return None, out.decode("utf-8", "replace")


def build_env(ccache_env):
    env = dict(os.environ)
    if ccache_env and os.path.exists(ccache_env):
        for line in open(ccache_env):
            for k, v in re.findall(r"(\w+)=(\S+)", line):
                env[k] = v
    return env


def sync_tree(tree, commit):
    """Makes tree hold `commit`; files whose bytes did not change keep their time stamps, so the
    build stays incremental."""
    data = subprocess.run(["git", "-C", REPO, "archive", commit], check=True,
                          stdout=subprocess.PIPE).stdout
    wanted = set()
    with tarfile.open(fileobj=io.BytesIO(data)) as tar:
        for m in tar.getmembers():
            if not m.isfile():
                continue
            wanted.add(m.name)
            dest = os.path.join(tree, m.name)
            body = tar.extractfile(m).read()
            if os.path.exists(dest) and open(dest, "rb").read() == body:
                continue
            os.makedirs(os.path.dirname(dest), exist_ok=True)
            with open(dest, "wb") as f:
                f.write(body)
            os.chmod(dest, m.mode)
    for top in ("src", "tests", "cmake", "bench", "tools", "schema", "templates", "scripts"):
        for root, _, files in os.walk(os.path.join(tree, top)):
            for n in files:
                rel = os.path.relpath(os.path.join(root, n), tree)
                if rel not in wanted:
                    os.remove(os.path.join(tree, rel))


def code_hash(commit):
    """Names the program and its tests at `commit`: this tool and the notes do not count, so
    results stay valid across commits that only touch them."""
    ls = subprocess.run(["git", "-C", REPO, "ls-tree", "-r", commit], check=True,
                        stdout=subprocess.PIPE, text=True).stdout.splitlines()
    keep = [l for l in ls if "\ttests/mutants/" not in l and not l.endswith(".md")]
    return hashlib.sha1("\n".join(keep).encode()).hexdigest()[:12]


def ctest_names(build):
    rc, out = sh(["ctest", "-N"], build)
    return re.findall(r"Test +#\d+: (\S+)", out)


def run_area(build, regex, names, env, timeout):
    """Builds the area's test targets and runs them: ('built'|'nobuild', failed tests, log)."""
    targets = [n for n in names if re.search(regex, n)]
    rc, out = sh(["cmake", "--build", build, "--parallel", "2", "--target"] + targets, build,
                 env=env, timeout=1800)
    if rc != 0:
        return "nobuild", [], out[-3000:]
    tenv = dict(os.environ, **TEST_ENV)
    rc, out = sh(["ctest", "-R", regex, "--parallel", "2", "--output-on-failure"], build,
                 timeout=timeout, env=tenv)
    if rc is None:
        return "built", ["(timeout)"], out[-3000:]
    failed = re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)
    if rc != 0 and not failed:
        failed = ["(ctest failed)"]
    return "built", failed, out[-3000:]


def apply(tree, f):
    path = os.path.join(tree, f["file"])
    text = open(path, encoding="utf-8").read()
    n = text.count(f["old"])
    if n != 1:
        return None, f"{f['id']}: `old` found {n} times in {f['file']}"
    return text, text.replace(f["old"], f["new"])


def table(results, chosen):
    # a result counts only for the patch as it stands now
    results = {f["id"]: results[f["id"]] for f in chosen if f["id"] in results
               and (results[f["id"]]["old"], results[f["id"]]["new"]) == (f["old"], f["new"])}
    per = OrderedDict((a, [0, 0, 0]) for a in AREAS)  # planted, caught, did not build
    for f in chosen:
        r = results.get(f["id"])
        if not r:
            continue
        per[f["area"]][0] += 1
        per[f["area"]][1] += r["status"] == "caught"
        per[f["area"]][2] += r["status"] == "nobuild"
    rows = [(a, *v) for a, v in per.items() if v[0]]
    tot = [sum(r[i] for r in rows) for i in (1, 2, 3)]
    lines = ["| Area | Planted | Caught | Survived | Did not build |", "|---|---:|---:|---:|---:|"]
    for a, p, c, nb in rows + [("**all**", *tot)]:
        lines.append(f"| {a} | {p} | {c} | {p - c - nb} | {nb} |")
    share = f"{100.0 * tot[1] / tot[0]:.0f} %" if tot[0] else "-"
    lines.append(f"\nCaught {tot[1]} of {tot[0]} planted ({share}).")
    surv = [f for f in chosen if results.get(f["id"], {}).get("status") == "survived"]
    if surv:
        lines.append("\nSurvivors:\n")
        lines += [f"- `{f['id']}` {f['file']}: {f['why']}" for f in surv]
    nob = [f for f in chosen if results.get(f["id"], {}).get("status") == "nobuild"]
    if nob:
        lines.append("\nDid not build (bad mutants, fix them):\n")
        lines += [f"- `{f['id']}` {f['file']}: {f['why']}" for f in nob]
    notrun = [f["id"] for f in chosen if f["id"] not in results]
    if notrun:
        lines.append("\nNot run yet: " + ", ".join(notrun) + ".")
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    ap.add_argument("--tree", default=os.path.join(tempfile.gettempdir(), "mirel-mutants-tree"))
    ap.add_argument("--commit", default="HEAD", help="what to copy (default HEAD of the repository)")
    ap.add_argument("--ccache-env", default=os.environ.get("MIREL_CCACHE_ENV", ""),
                    help="a file of KEY=VALUE lines for the build (a compiler cache); $MIREL_CCACHE_ENV")
    ap.add_argument("--area", help="only this area")
    ap.add_argument("--only", help="only this fault id (e.g. packing3)")
    ap.add_argument("--timeout", type=int, default=600, help="seconds for one mutant's tests")
    ap.add_argument("--resume", action="store_true", help="skip faults already run on this commit")
    ap.add_argument("--check", action="store_true", help="only check the patches apply")
    ap.add_argument("--table-only", action="store_true", help="print the table of stored results")
    ap.add_argument("--markdown", help="write the table to this file")
    a = ap.parse_args()

    chosen = [f for f in faults() if (not a.area or f["area"] == a.area)
              and (not a.only or f["id"] == a.only)]
    if not chosen:
        sys.exit("no fault chosen")
    tree, build = os.path.abspath(a.tree), os.path.join(os.path.abspath(a.tree), "build")
    if tree == REPO or tree.startswith(REPO + os.sep):
        sys.exit("the tree must be outside the repository")
    store = os.path.join(tree, "results.json")
    results = json.load(open(store)) if os.path.exists(store) else {}

    if not a.table_only:
        commit = subprocess.run(["git", "-C", REPO, "rev-parse", a.commit], check=True,
                                stdout=subprocess.PIPE, text=True).stdout.strip()
        os.makedirs(tree, exist_ok=True)
        sync_tree(tree, commit)
        commit = code_hash(commit)
        bad = [r[1] for r in (apply(tree, f) for f in chosen) if r[0] is None]
        if bad or a.check:
            print("\n".join(bad) or f"{len(chosen)} faults apply")
            sys.exit(1 if bad else 0)
        env = build_env(a.ccache_env)
        # Configured again each run: the tests of the extracted commit may have other names than
        # the last run's, and ctest lists only what the configure step saw.
        rc, out = sh(["cmake", "-S", tree, "-B", build, "-G", "Ninja",
                      "-DCMAKE_BUILD_TYPE=Debug", "-DMIREL_WERROR=ON"], tree, env=env)
        if rc != 0:
            sys.exit(out)
        names = ctest_names(build)
        base = results.setdefault("_baseline", {})
        for area in OrderedDict.fromkeys(f["area"] for f in chosen):
            if base.get(area, {}).get("commit") != commit:
                t0 = time.time()
                st, failed, log = run_area(build, AREAS[area], names, env, a.timeout)
                if st != "built":
                    sys.exit(f"the clean tree does not build:\n{log}")
                base[area] = dict(commit=commit, failed=failed, seconds=round(time.time() - t0))
                print(f"baseline {area}: {len(failed)} failing {failed} ({base[area]['seconds']} s)",
                      flush=True)
                json.dump(results, open(store, "w"), indent=1, ensure_ascii=False)
        # Round the areas, one fault of each in turn, so that a run cut short still covers them all.
        order = sorted(chosen, key=lambda f: int(f["id"][len(f["area"]):]))
        for f in order:
            key = (f["old"], f["new"], commit)
            old = results.get(f["id"])
            if a.resume and old and (old["old"], old["new"], old["commit"]) == key:
                continue
            original, mutated = apply(tree, f)
            path = os.path.join(tree, f["file"])
            t0 = time.time()
            try:
                open(path, "w", encoding="utf-8").write(mutated)
                st, failed, log = run_area(build, AREAS[f["area"]], names, env, a.timeout)
            finally:
                open(path, "w", encoding="utf-8").write(original)
            new_fail = [t for t in failed if t not in base[f["area"]]["failed"]]
            status = "nobuild" if st == "nobuild" else "caught" if new_fail else "survived"
            results[f["id"]] = dict(status=status, failed=new_fail, old=f["old"], new=f["new"],
                                    commit=commit, seconds=round(time.time() - t0),
                                    log=log if status == "nobuild" else "")
            print(f"{f['id']:<13} {status:<9} {results[f['id']]['seconds']:>4} s  {f['why']}"
                  + (f"  [{', '.join(new_fail)}]" if new_fail else ""), flush=True)
            json.dump(results, open(store, "w"), indent=1, ensure_ascii=False)

    text = table(results, chosen)
    print(text)
    if a.markdown:
        open(a.markdown, "w", encoding="utf-8").write(text + "\n")


if __name__ == "__main__":
    main()
