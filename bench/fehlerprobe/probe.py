#!/usr/bin/env python3
"""Runs velmora-cli's writing commands under the shim once for every call
that can fail, and counts the runs that exit 0 with a file other than the
expected one (should be none) and the runs that leave an earlier file changed
or a temporary file behind after a failure.

probe.py CLI SHIM [EIO|ENOSPC]
"""
import os, shutil, subprocess, sys, tempfile, zipfile

CLI, SHIM = sys.argv[1], sys.argv[2]
CODE = sys.argv[3] if len(sys.argv) > 3 else "EIO"
HEUTE = ["--heute", "10.12.2026"]


def cli(d, args, env=None):
    return subprocess.run([CLI, "--dir", d] + HEUTE + args, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=env, timeout=120)


def vorbereiten(d):
    shutil.copy(sys.argv[4] if len(sys.argv) > 4 else os.environ["VELMORA_NEU"],
                os.path.join(d, "Velmora_neu.mdb"))
    ok = lambda a: cli(d, a).returncode == 0 or sys.exit("setup failed: %s" % a)
    ok(["init", "--mandant", "Huber KG", "--jahr", "2026"])
    ok(["bk", "neu", "Erlöse", "ER"])
    ok(["stammdaten", "--steuernummer", "12 345/6789", "--steuerfrei-kz", "nicht steuerbar"])
    for b in (["--datum", "02.01.2026", "--betrag", "1.200,00", "--satz", "20"],
              ["--ausgabe", "--datum", "03.03.2026", "--betrag", "240", "--satz", "20"],
              ["--datum", "15.02.2026", "--betrag", "110", "--satz", "10", "--text", "Zimmer ä"]):
        ok(["buchung", "neu", "--bk", "1"] + b)
    ok(["mandant", "neu", "Zweit"])


def inhalt(pfad):
    """What must match: bytes, except for the creation times the formats embed."""
    if not os.path.exists(pfad):
        return None
    if pfad.endswith(".pdf"):
        roh = open(pfad, "rb").read()
        if not roh.rstrip().endswith(b"%%EOF"):
            return b"<cut pdf>"
        return subprocess.run(["pdftotext", pfad, "-"], stdout=subprocess.PIPE).stdout
    if pfad.endswith(".XLSX"):
        try:
            with zipfile.ZipFile(pfad) as z:
                return {n: z.read(n) for n in z.namelist() if n != "docProps/core.xml"}
        except Exception as e:
            return "<broken xlsx %s>" % e
    return open(pfad, "rb").read()


def reste(d):
    return [n for n in os.listdir(d) if ".velmora." in n or n.endswith(".teil")]


def befehle(d):
    zweit = None
    for zeile in cli(d, ["mandant", "liste"]).stdout.decode().splitlines():
        if "Zweit" in zeile:
            zweit = zeile.split()[0]
    # the second client has remembered booking entries in the settings file
    with open(os.path.join(d, "velmora.ini"), "wb") as f:
        f.write(b"[Einstellungen]\r\nDesktopIcon=true\r\n[Buchen Mandant %s]\r\nSteuersatz=20\r\n"
                % zweit.encode())
    return [
        ("export uva", ["export", "uva", "--zeitraum", "13"], "uva.xml"),
        ("finanzamt csv", ["export", "finanzamt", "--monat", "6", "--format", "csv"], "fa.CSV"),
        ("finanzamt xlsx", ["export", "finanzamt", "--monat", "6", "--format", "xlsx"], "fa.XLSX"),
        ("finanzamt xls", ["export", "finanzamt", "--monat", "6", "--format", "xls"], "fa.XLS"),
        ("verprobung pdf", ["bericht", "verprobung", "--zeitraum", "13", "--pdf"], "v.pdf"),
        ("mandant loeschen", ["mandant", "loeschen", zweit], "velmora.ini"),
    ]


def main():
    basis = tempfile.mkdtemp(prefix="probe")
    vorlage = os.path.join(basis, "vorlage")
    os.mkdir(vorlage)
    vorbereiten(vorlage)
    gesamt = []
    for name, args, ziel in befehle(vorlage):
        frueher = b"eine fruehere Datei\r\n" if ziel != "velmora.ini" else None
        # the expected file from a run without faults
        d = os.path.join(basis, "soll")
        shutil.rmtree(d, ignore_errors=True)
        shutil.copytree(vorlage, d)
        zielpfad = lambda dd: os.path.join(dd, ziel)
        argsMit = lambda dd: args + ([] if ziel == "velmora.ini" else [zielpfad(dd)])
        r = cli(d, argsMit(d))
        assert r.returncode == 0, r.stderr
        soll = inhalt(zielpfad(d))
        laeufe = falsch0 = ok = fehler = veraendert = rest = 0
        n = 1
        while True:
            d = os.path.join(basis, "lauf")
            shutil.rmtree(d, ignore_errors=True)
            shutil.copytree(vorlage, d)
            if frueher:
                open(zielpfad(d), "wb").write(frueher)
            vorher = inhalt(zielpfad(d))
            env = dict(os.environ, LD_PRELOAD=SHIM, FEHLER_BEI=str(n), FEHLER_ERRNO=CODE,
                       FEHLER_ZAEHLER=os.path.join(basis, "zaehler"))
            r = cli(d, argsMit(d), env)
            gezaehlt = int(open(os.path.join(basis, "zaehler")).read())
            if n > gezaehlt:
                break
            laeufe += 1
            jetzt = inhalt(zielpfad(d))
            if r.returncode == 0:
                ok += 1
                if jetzt != soll:
                    falsch0 += 1
                    print("  exit 0, wrong file: %s call %d" % (name, n))
            else:
                fehler += 1
                if jetzt != vorher:
                    veraendert += 1
                    print("  exit %d, file changed: %s call %d: %s" % (r.returncode, name, n, r.stderr.decode()[:200]))
                if not r.stderr.strip():
                    print("  exit %d without a message: %s call %d" % (r.returncode, name, n))
            if reste(d):
                rest += 1
                print("  leftover %s: %s call %d" % (reste(d), name, n))
            n += 1
        gesamt.append((name, laeufe, ok, fehler, falsch0, veraendert, rest))
        print("%-18s runs %4d  exit0 %4d  failed %4d  exit0-wrong-file %d  failed-file-changed %d  leftovers %d"
              % (name, laeufe, ok, fehler, falsch0, veraendert, rest), flush=True)
    shutil.rmtree(basis, ignore_errors=True)


main()
