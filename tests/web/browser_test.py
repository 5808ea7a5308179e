#!/usr/bin/env python3
"""`mirel serve` over a demo program folder, its pages loaded by Debian's Chromium headless after
logging in with the token: the board's demo rows, the quality figures equal to the API's (the
quality station's own reading), a station started beside it appearing on /stations and turning
red when killed, the database moved away giving the stale mark. Screenshots of the three pages at
1920x1080 and 390x844 go to $MIREL_SHOTS."""
import json, os, shutil, signal, socket, subprocess, sys, tempfile, time
import urllib.error, urllib.parse, urllib.request

BIN = os.environ["MIREL_BIN_DIR"]
SRC = os.environ["MIREL_SOURCE_DIR"]
SHOTS = os.environ.get("MIREL_SHOTS", "")
TOKEN = "demo-token-7"
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def chromium(url, tmp, extra):
    args = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
            "--user-data-dir=" + os.path.join(tmp, "profile"), "--virtual-time-budget=6000"]
    out = subprocess.run(args + extra + [url], capture_output=True, timeout=120)
    return out.stdout.decode("utf-8", "replace")


def dom(base, path, tmp, login=True):
    # Every load logs in again from /login#token=…: the fragment never reaches the server.
    url = base + "/login?next=" + urllib.parse.quote(path, safe="") + "#token=" + TOKEN if login else base + path
    return chromium(url, tmp, ["--dump-dom"])


def api(base, path, token=TOKEN):
    req = urllib.request.Request(base + path, headers={"Authorization": "Bearer " + token} if token else {})
    try:
        with urllib.request.urlopen(req, timeout=20) as r:
            return r.status, json.loads(r.read())
    except urllib.error.HTTPError as e:
        return e.code, None


def wait_for(cond, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if cond():
            return True
        time.sleep(0.5)
    return False


def main():
    tmp = tempfile.mkdtemp(prefix="mirel-web-")
    demo = os.path.join(tmp, "demo")
    subprocess.run(["bash", os.path.join(SRC, "scripts/make-demo.sh"), os.path.dirname(BIN), demo], check=True)
    port = free_port()
    with open(os.path.join(demo, "mirel.ini"), "a", encoding="utf-8") as f:
        f.write("\n[Web]\nListen=127.0.0.1:%d\nToken=%s\nBeat=1\n" % (port, TOKEN))
    env = dict(os.environ, MIREL_HOME=demo, MIREL_LOCK_DIR=tmp, QT_QPA_PLATFORM="offscreen",
               MIREL_NONINTERACTIVE="1")
    serve = subprocess.Popen([os.path.join(BIN, "mirel"), "serve"], env=env, stdout=subprocess.PIPE, text=True)
    station = None
    try:
        line = serve.stdout.readline()
        check("http://127.0.0.1:%d/board" % port in line, "serve prints the address: " + line.strip())
        base = "http://127.0.0.1:%d" % port

        check("action=\"/login\"" in dom(base, "/board", tmp, login=False), "no token: the login page")
        board = dom(base, "/board", tmp)
        check("P2611-018" in board and "香槟金" in board, "/board shows the demo batches")

        status, q = api(base, "/api/quality?from=2026-12-01&to=2026-12-07")
        check(status == 200 and q["now"]["rolls"] == 3, "/api/quality: the demo's three rolls")
        page = dom(base, "/quality?from=2026-12-01&to=2026-12-07", tmp)
        for f in q["figures"]:
            check(">%s<" % f["now"] in page, "/quality shows %s %s" % (f["caption"], f["now"]))
        check("chartPareto" in page and "破洞" in page, "/quality draws the Pareto with 破洞")

        # A database made before the stations' beats: the station adds the table itself.
        subprocess.run([os.path.join(BIN, "mirel-sql"), "--connection",
                        "Provider=SQLite;Data Source=" + os.path.join(demo, "mirel.db")],
                       input=b"drop table stationStatus", check=True, env=env, capture_output=True)
        station = subprocess.Popen([os.path.join(BIN, "mirel"), "kanban"], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        seen = lambda: any(s["station"] == "kanban" and not s["late"]
                           for s in (api(base, "/api/stations")[1] or {}).get("stations", []))
        check(wait_for(seen, 30), "the kanban station beats into stationStatus")
        page = dom(base, "/stations", tmp)
        check("kanban" in page and "在线" in page, "/stations lists it online")
        shots(base, tmp)
        station.send_signal(signal.SIGKILL)
        station.wait()
        time.sleep(4.5)  # three beats of one second, and a half
        page = dom(base, "/stations", tmp)
        check('class="late"' in page and "离线" in page, "/stations shows it red once killed")

        os.rename(os.path.join(demo, "mirel.db"), os.path.join(demo, "moved.db"))
        page = dom(base, "/board", tmp)
        check("数据库离线 自" in page and "P2611-018" in page, "/board: the stale mark over the last rows")
        check(not os.path.exists(os.path.join(demo, "mirel.db")), "the database is not re-created")
    finally:
        for p in (station, serve):
            if p and p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(tmp, ignore_errors=True)
    print("%d failed" % len(failures))
    return 1 if failures else 0


def shots(base, tmp):
    if not SHOTS:
        return
    os.makedirs(SHOTS, exist_ok=True)
    for path, name in (("/board", "board"), ("/quality?from=2026-12-01&to=2026-12-07", "quality"),
                       ("/stations", "stations")):
        for w, h in ((1920, 1080), (390, 844)):
            out = os.path.join(SHOTS, "%s-%dx%d.png" % (name, w, h))
            chromium(base + "/login?next=" + urllib.parse.quote(path, safe="") + "#token=" + TOKEN, tmp,
                     ["--screenshot=" + out, "--window-size=%d,%d" % (w, h), "--hide-scrollbars"])
            check(os.path.getsize(out) > 10000 if os.path.exists(out) else False, "screenshot " + out)


if __name__ == "__main__":
    sys.exit(main())
