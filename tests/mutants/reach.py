#!/usr/bin/python3
"""Measures what each test function (or data row) reaches of the program that no other does.

A coverage build of the commit in --tree (outside the repository), then every unit run alone with
its own GCOV_PREFIX; the arc counters of the program's .gcda files (src/ and tools/, and of
mirel, mirel-devsim and mirel-sql when a test starts them) say which branches the unit took.
A unit whose branches all are taken by other units is a candidate for deletion, not a verdict:
a value table walks the same branches with other values, and a rule written in SQL text is not
seen at all. Run by hand, from anywhere:
  tests/mutants/reach.py test_keypads test_edit_grid        functions of these tests
  tests/mutants/reach.py --rows test_vbtext                 every data row alone
  tests/mutants/reach.py --exclude test_device_parser_fuzz  ...  not counted as covering others
Results are kept in <tree>/reach-<mode>/, so a second call reports at once.
"""
import argparse, glob, os, pickle, queue, shutil, struct, subprocess, sys, tempfile, threading, zlib
from collections import Counter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing written into the repository
from mutants import REPO, TEST_ENV, sh, sync_tree  # noqa: E402

FLAGS = "--coverage -O0 -g0"


def arcs(path):
    """{function id: [arc counts]} of one .gcda file (gcc 12: record lengths in bytes, a
    negative length for counters that are all zero)."""
    b = open(path, "rb").read()
    pos, fn, out = 16, None, {}
    while pos + 8 <= len(b):
        tag, length = struct.unpack_from("<Ii", b, pos)
        pos += 8
        if tag == 0x01000000:
            fn = struct.unpack_from("<I", b, pos)[0] if length else None
        elif tag == 0x01A10000:
            out[fn] = [0] * (-length // 8) if length < 0 else \
                list(struct.unpack_from("<%dq" % (length // 8), b, pos))
        pos += max(length, 0)
    return out


def reached(prefix):
    s = set()
    for top in ("src", "tools"):
        for f in glob.glob(os.path.join(prefix, top, "**", "*.gcda"), recursive=True):
            h = zlib.crc32(os.path.relpath(f, prefix).encode())
            s.update((h, fn, i) for fn, cs in arcs(f).items() for i, c in enumerate(cs) if c)
    return s


def units(build, names, rows):
    """(test, binary, working folder, function, row or None) of the chosen tests."""
    out = []
    for name in names:
        binary = os.path.join(build, "bin", name)
        cwd = next((os.path.dirname(p) for p in glob.glob(build + "/tests/*/CTestTestfile.cmake")
                    if f"add_test({name} " in open(p).read()), build)
        env = dict(os.environ, **TEST_ENV, GCOV_PREFIX="/dev/null/none")
        ask = lambda o: subprocess.run([binary, o], cwd=cwd, env=env, capture_output=True,
                                       text=True).stdout
        fns = [f[:-2] for f in ask("-functions").split() if f.endswith("()")]
        tags = {}
        for line in ask("-datatags").splitlines() if rows else []:
            parts = line.split(" ", 2)
            if len(parts) == 3 and parts[1] in fns:
                tags.setdefault(parts[1], []).append(parts[2])
        out += [(name, binary, cwd, f, t) for f in fns for t in tags.get(f, [None])]
    return out


def run(store, unit, slot, build, tree):
    name, binary, cwd, fn, tag = unit
    out = os.path.join(store, "%08x.pkl" % zlib.crc32(repr((name, fn, tag)).encode()))
    if os.path.exists(out):
        return
    prefix = os.path.join(tree, "prefix%d" % slot)
    shutil.rmtree(prefix, ignore_errors=True)
    env = dict(os.environ, **TEST_ENV, MIREL_NONINTERACTIVE="1", MIREL_BIN_DIR=build + "/bin",
               MIREL_SOURCE_DIR=tree, GCOV_PREFIX=prefix,
               GCOV_PREFIX_STRIP=str(build.rstrip("/").count("/")))
    rc, _ = sh([binary, fn if tag is None else f"{fn}:{tag}"], cwd, timeout=600, env=env)
    pickle.dump(((name, fn, tag), rc, reached(prefix)), open(out, "wb"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tests", nargs="+", help="test executables, as ctest names them")
    ap.add_argument("--tree", default=os.path.join(tempfile.gettempdir(), "mirel-reach-tree"))
    ap.add_argument("--commit", default="HEAD")
    ap.add_argument("--rows", action="store_true", help="each data row alone")
    ap.add_argument("--exclude", default="", help="tests not counted as covering (comma list)")
    ap.add_argument("--workers", type=int, default=2)
    a = ap.parse_args()
    tree = os.path.abspath(a.tree)
    if tree == REPO or tree.startswith(REPO + os.sep):
        sys.exit("the tree must be outside the repository")
    os.makedirs(tree, exist_ok=True)
    sync_tree(tree, a.commit)
    build = os.path.join(tree, "build")
    env = dict(os.environ, CCACHE_DISABLE="1")
    for cmd in (["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
                 f"-DCMAKE_CXX_FLAGS={FLAGS}", f"-DCMAKE_C_FLAGS={FLAGS}", "-DMIREL_BUILD_BENCH=OFF"],
                ["cmake", "--build", build, "--parallel", "2", "--target", "mirel", "mirel-sql",
                 "mirel-devsim"] + a.tests):
        rc, out = sh(cmd, tree, env=env)
        if rc != 0:
            sys.exit(out[-3000:])
    store = os.path.join(tree, "reach-rows" if a.rows else "reach-functions")
    os.makedirs(store, exist_ok=True)
    todo = queue.Queue()
    for u in units(build, a.tests, a.rows):
        todo.put(u)

    def worker(slot):
        while True:
            try:
                unit = todo.get_nowait()
            except queue.Empty:
                return
            run(store, unit, slot, build, tree)
    threads = [threading.Thread(target=worker, args=(i,)) for i in range(a.workers)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()

    results = [pickle.load(open(p, "rb")) for p in glob.glob(store + "/*.pkl")]
    results = [r for r in results if r[0][0] in a.tests]
    excluded = set(a.exclude.split(","))
    counted = [(k, s) for k, rc, s in results if k[0] not in excluded]
    taken = Counter(x for _, s in counted for x in s)
    for (name, fn, tag), rc, s in sorted(results):
        if name in excluded:
            continue
        own = sum(1 for x in s if taken[x] == 1)
        print(f"{own:6} own of {len(s):6}  {name} {fn}" + (f":{tag}" if tag else "")
              + ("" if rc == 0 else f"  (exit {rc})"))


if __name__ == "__main__":
    main()
