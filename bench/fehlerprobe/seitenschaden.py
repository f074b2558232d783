#!/usr/bin/env python3
"""Random page damage against velmora-cli: how many damaged files take a write.

seitenschaden.py CLI ANZAHL [BUCHUNGEN]

Builds a sound working database (a client, a year, a circle and BUCHUNGEN
bookings with their postings), then ANZAHL times damages a copy at random (a
page zeroed, duplicated over another, two pages swapped, bytes flipped in a
page) and runs `buchung neu` and `summen` on it. A copy counts as damaged
when SQLite's integrity check (what `pruefen` runs) finds anything; a damaged
copy that takes the booking (status 0) is a write into a damaged file.
"""
import os, random, shutil, sqlite3, subprocess, sys, tempfile

cli, anzahl = sys.argv[1], int(sys.argv[2])
buchungen = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
random.seed(4711)
basis = tempfile.mkdtemp(prefix="seitenschaden-")
gesund = os.path.join(basis, "gesund")
os.mkdir(gesund)

def run(d, *args):
    return subprocess.run([cli, "--dir", d, "--heute", "10.12.2026", *args],
                          capture_output=True, text=True, errors="replace")

# the template beside the tool (or in bin/ of a build tree) becomes the books
for vorlage in (os.path.join(os.path.dirname(cli), "Velmora_neu.mdb"),
                os.path.join(os.path.dirname(cli), "bin", "Velmora_neu.mdb")):
    if os.path.exists(vorlage):
        shutil.copy(vorlage, os.path.join(gesund, "Velmora_neu.mdb"))
        break
assert run(gesund, "init", "--mandant", "Huber KG", "--jahr", "2026").returncode == 0
assert run(gesund, "bk", "neu", "Erlöse", "ER").returncode == 0
assert run(gesund, "buchung", "neu", "--datum", "02.03.2026", "--betrag", "120",
           "--satz", "20", "--bk", "1", "--text", "Honorar").returncode == 0
db = os.path.join(gesund, "Velmora_tab.mdb")
c = sqlite3.connect(db)
c.execute(f"""with recursive n(i) as (select 1 union all select i + 1 from n where i < {buchungen})
insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, Belegnummer, Text,
Steuersatz, Betrag, BK, IstEinnahme, IstEU, IstDrittland, IstKFZ, IstGebaeude)
select 10 + i, mandant, Wirtschaftsjahr, date('2026-01-01', '+' || (i % 365) || ' days'),
10 + i, 'Honorar Nummer ' || i, 20, (i % 900) * 10000 + 1200000, BK, 1 + (i % 2), 2, 2, 2, 2
from T_Buchungen, n where ID = 1""")
c.execute("""insert into t_kontenbewegungen (mandant, id, Buchungen_id, Konten_Nr, St_Betrag)
select mandant, 100 + ID, ID, case IstEinnahme when 1 then 1020 else 2020 end, Betrag / 6
from T_Buchungen where ID > 1""")
c.commit(); c.close()
inhalt = open(db, "rb").read()
seite = int.from_bytes(inhalt[16:18], "big") or 65536
seiten = len(inhalt) // seite
print(f"Datei {len(inhalt)} Bytes, {seiten} Seiten zu {seite}")

def beschaedigt(pfad):
    try:
        c = sqlite3.connect(f"file:{pfad}?mode=ro", uri=True)
        c.text_factory = bytes  # a damaged page may hold any bytes in a name
        r = c.execute("pragma integrity_check").fetchall()
        c.close()
        return r != [(b"ok",)]
    except (sqlite3.DatabaseError, ValueError):
        return True

zahlen = dict(kopien=0, beschaedigt=0, geschrieben=0, summen_ok=0, unbeschaedigt=0)
arten = ["genullt", "doppelt", "getauscht", "bytes"]
for i in range(anzahl):
    b = bytearray(inhalt)
    art = random.choice(arten)
    p = random.randrange(1, seiten)          # any page but the header's
    q = random.randrange(1, seiten)
    s = slice(p * seite, (p + 1) * seite)
    if art == "genullt":
        b[s] = bytes(seite)
    elif art == "doppelt":
        b[s] = inhalt[q * seite:(q + 1) * seite]
    elif art == "getauscht":
        b[s], b[q * seite:(q + 1) * seite] = inhalt[q * seite:(q + 1) * seite], inhalt[s]
    else:
        for _ in range(random.randint(1, 8)):
            b[p * seite + random.randrange(seite)] ^= 1 << random.randrange(8)
    d = os.path.join(basis, "k")
    shutil.rmtree(d, ignore_errors=True)
    os.mkdir(d)
    ziel = os.path.join(d, "Velmora_tab.mdb")
    open(ziel, "wb").write(b)
    zahlen["kopien"] += 1
    if not beschaedigt(ziel):
        zahlen["unbeschaedigt"] += 1
        continue
    zahlen["beschaedigt"] += 1
    r = run(d, "buchung", "neu", "--datum", "03.03.2026", "--betrag", "1", "--satz", "20",
            "--bk", "1")
    if r.returncode == 0:
        zahlen["geschrieben"] += 1
        print(f"{i}: {art} Seite {p + 1} ({q + 1}): gebucht", flush=True)
    if run(d, "summen").returncode == 0:
        zahlen["summen_ok"] += 1
print(zahlen)
shutil.rmtree(basis)
