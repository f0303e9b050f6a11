#!/usr/bin/env python3
"""mrvctl export read back by readers that share no code with the program.

A data file is written here byte by byte (Chinese Block names in GBK, meter ids with leading
zeros, meters read and unread, damaged and impossible dates, Block names that Excel refuses or
that clash), exported to .xlsx and .csv, and every meter's ids and values are compared with what
was written, through openpyxl and Python's csv module. The file's readings are then imported
into an energy database, a few rows are added with sqlite3, and the database's exports are
compared with its rows as sqlite3 reads them.

usage: export_readback.py MRVCTL
"""
import csv
import datetime
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import unittest

import openpyxl

MRVCTL = None

# Tariffs T1 and T3 in the file's tariff mask: the list shows their columns and the totals.
TARIFF_MASK = 0b0101
TITLES = ["Meter ID", "Meter ID2", "Date", "T1 E", "T3 E", "Total E",
          "LM T1 E", "LM T3 E", "LM Total E"]
ENERGY_TITLES = ["Meter ID2", "Date", "T1 E", "T2 E", "T3 E", "Total E",
                 "LM T1 E", "LM T2 E", "LM T3 E", "LM Total E"]


def bcd(n):
    return (n // 10) << 4 | n % 10


def bcd4(hundredths):
    out = bytearray()
    for _ in range(4):
        out.append(bcd(hundredths % 100))
        hundredths //= 100
    return bytes(out)


class Meter:
    """One meter record; `date` is (day, month, year % 100) as BCD bytes, None when unread."""

    def __init__(self, first, id2, date=None, energy=(0,) * 5, last=(0,) * 5):
        self.first = first  # record byte 4
        self.id2 = id2
        self.date = date
        self.energy = energy  # hundredths: total, T1..T4
        self.last = last

    def record(self, seq):
        r = bytearray(179)
        r[1:3] = seq.to_bytes(2, "little")
        r[3] = 1 if self.date else 0
        r[4] = self.first
        r[6:6 + len(self.id2)] = self.id2.encode("ascii")
        r[19:19 + 6] = b"Street"
        if self.date:
            r[70:90] = b"".join(bcd4(v) for v in self.energy)
            r[90:110] = b"".join(bcd4(v) for v in self.last)
            r[115], r[116] = 0x30, 0x10
            r[117:120] = bytes(self.date)
        r[0] = sum(r) % 256
        self.bytes = bytes(r)
        return self.bytes

    def meter_id(self):
        # Record bytes 4..9 as twelve hex digits, byte 9 first.
        return "".join("%02x" % b for b in reversed(self.bytes[4:10]))

    def read(self):
        return self.date is not None

    def damaged(self):
        """A reading whose date is no day of the calendar fails the record check."""
        return self.read() and self.real_date() is None

    def real_date(self):
        """The reading date, or None when its digits or the day are not valid."""
        d, m, y = self.date
        digits = [d >> 4, d & 15, m >> 4, m & 15, y >> 4, y & 15]
        if any(x > 9 for x in digits):
            return None
        try:
            return datetime.datetime(2000 + (y >> 4) * 10 + (y & 15),
                                     (m >> 4) * 10 + (m & 15), (d >> 4) * 10 + (d & 15))
        except ValueError:
            return None

    def values(self):
        """The list's energies in title order: T1, T3, total, then the last month's."""
        e, l = self.energy, self.last
        return [e[1], e[3], e[0], l[1], l[3], l[0]]


def write_data_file(path, blocks):
    params = bytearray(61)
    params[1], params[2], params[3], params[51] = 0x86, 1, 3, TARIFF_MASK
    params[0] = sum(params) % 256
    table = bytearray(424)
    records = bytearray()
    seq = 1
    for k, (name, meters) in enumerate(blocks):
        entry = 4 + 21 * k
        table[entry:entry + 2] = seq.to_bytes(2, "little")
        table[entry + 2:entry + 5] = bytes([0x00, 0x32, 0x00])
        gbk = name.encode("gbk")
        assert len(gbk) <= 16
        table[entry + 5:entry + 5 + len(gbk)] = gbk
        for m in meters:
            records += m.record(seq)
            seq += 1
    table[0] = 0x88
    table[1:3] = (seq - 1).to_bytes(2, "little")
    table[3] = len(blocks)
    with open(path, "wb") as f:
        f.write(b"HALVANEM" + params + table + bytes(4842) + records + b"Qandivee")


def mrvctl(*args, ok=True):
    r = subprocess.run([MRVCTL, *args], capture_output=True, text=True)
    if ok and r.returncode != 0:
        raise AssertionError("mrvctl %s: %d\n%s%s" % (" ".join(args), r.returncode, r.stdout, r.stderr))
    return r


# Seven Blocks: Chinese names (one of the 16 bytes a name may have), names Excel refuses as
# they are, two that differ in case only, one named like the summary sheet, one without a name.
BLOCKS = [
    ("城东一区", [
        Meter(0x12, "000123456789", (0x05, 0x12, 0x26), (123456, 100001, 2, 23453, 4), (99, 0, 0, 99, 0)),
        Meter(0x13, "000123456790"),  # not read
        Meter(0x14, "1234", (0x30, 0x11, 0x26), (12345, 1, 2, 3, 4), (5, 6, 7, 8, 9)),
    ]),
    ("城东新区第二供电", [
        Meter(0x01, "A0001", (0x02, 0x01, 0x27), (99999999, 0, 0, 0, 0), (1, 1, 1, 1, 1)),
    ]),
    ("A/B:1[x]*?", [Meter(0x02, "A0002", (0x05, 0x1A, 0x26), (5, 1, 1, 1, 1))]),  # damaged month
    ("East", [Meter(0x03, "E0001", (0x31, 0x02, 0x26), (7, 1, 2, 3, 1))]),  # 31 February
    ("EAST", [Meter(0x04, "E0002")]),
    ("Summary", [Meter(0x05, "S0001", (0x01, 0x01, 0x26), (42, 10, 11, 12, 9))]),
    ("", [Meter(0x06, "N0001", (0x29, 0x02, 0x28), (1, 0, 0, 1, 0))]),  # 29 February 2028
]
# The sheet each Block gets, and the summary's.
SHEETS = ["城东一区", "城东新区第二供电", "A_B_1_x___", "East", "EAST (2)", "Summary (2)", "Sheet8"]


def number_cell(case, cell, hundredths, where):
    case.assertIsInstance(cell.value, (int, float), where)
    case.assertAlmostEqual(cell.value, hundredths / 100, places=6, msg=where)
    case.assertEqual(cell.number_format, "0.00", where)


class DataFileExport(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.data = os.path.join(cls.tmp.name, "0001.dbf")
        write_data_file(cls.data, BLOCKS)

    def out(self, name):
        return os.path.join(self.tmp.name, name)

    def check_sheet(self, ws, meters, damage_column=False):
        self.assertEqual([c.value for c in ws[1]], TITLES + ["Damaged"] * damage_column)
        self.assertEqual(ws.freeze_panes, "A2")
        rows = list(ws.iter_rows(min_row=2))
        self.assertEqual(len(rows), len(meters))
        for row, m in zip(rows, meters):
            where = "%s row %d" % (ws.title, row[0].row)
            self.assertEqual(row[0].value, m.meter_id(), where)
            self.assertEqual(row[0].data_type, "s", where)
            self.assertEqual(row[1].value, m.id2, where)
            self.assertEqual(row[1].data_type, "s", where)
            if damage_column:
                reason = row[9].value
                if m.damaged():
                    self.assertRegex(reason, r"^this record is damaged: .", where)
                else:
                    self.assertIsNone(reason, where)
            # A damaged record's values are left out: a billing sheet must not take them.
            if not m.read() or m.damaged():
                self.assertEqual([c.value for c in row[2:9]], [None] * 7, where)
                continue
            self.assertEqual(row[2].value, m.real_date(), where)
            self.assertTrue(row[2].is_date, where)
            for cell, v in zip(row[3:], m.values()):
                number_cell(self, cell, v, where)
        # Every column is at least as wide as its widest text.
        for col, title in zip("ABCDEFGHI", TITLES):
            texts = [title] + [r[ord(col) - 65].value for r in rows]
            widest = max(10 if isinstance(t, datetime.datetime) else len(str(t or "")) for t in texts)
            self.assertGreaterEqual(ws.column_dimensions[col].width, widest, ws.title + " " + col)

    def test_xlsx_of_every_block(self):
        path = self.out("all.xlsx")
        r = mrvctl("export", self.data, "--out", path)
        self.assertIn("9 meters (7 read) in 7 Blocks", r.stdout)
        wb = openpyxl.load_workbook(path)
        self.assertEqual(wb.sheetnames, ["Summary"] + SHEETS)
        summary = [[c.value for c in row] for row in wb["Summary"].iter_rows()]
        expected = [["Block", "Sheet", "Meters", "Read", "Unread", "Damaged"]]
        for (name, meters), sheet in zip(BLOCKS, SHEETS):
            read = sum(m.read() for m in meters)
            damaged = sum(m.damaged() for m in meters)
            expected.append([name or None, sheet, len(meters), read, len(meters) - read, damaged])
        expected.append(["Total", None, 9, 7, 2, 2])
        self.assertEqual(summary, expected)
        for (name, meters), sheet in zip(BLOCKS, SHEETS):
            self.check_sheet(wb[sheet], meters, damage_column=True)

    def test_one_block_by_name_or_number(self):
        for block, index in (("城东一区", 0), ("2", 1), ("Summary", 5)):
            with self.subTest(block=block):
                path = self.out("one.xlsx")
                mrvctl("export", self.data, "--out", path, "--block", block)
                wb = openpyxl.load_workbook(path)
                self.assertEqual(wb.sheetnames[0], "Summary")
                self.assertEqual(len(wb.sheetnames), 2)
                name, meters = BLOCKS[index]
                self.assertEqual(wb["Summary"]["A2"].value, name)
                self.assertEqual(wb["Summary"]["A3"].value, None)  # no total for one Block
                self.check_sheet(wb[wb.sheetnames[1]], meters)

    def test_csv_of_every_block(self):
        path = self.out("all.csv")
        mrvctl("export", self.data, "--out", path)
        with open(path, "rb") as f:
            raw = f.read()
        self.assertTrue(raw.startswith(b"\xef\xbb\xbf"))
        self.assertEqual(raw.count(b"\r\n"), 10)  # header and nine meters, each ended by CR LF
        with open(path, newline="", encoding="utf-8-sig") as f:
            rows = list(csv.reader(f))
        self.assertEqual(rows[0], ["Block"] + TITLES + ["Damaged"])
        expected = [(name, m) for name, meters in BLOCKS for m in meters]
        self.assertEqual(len(rows) - 1, len(expected))
        for row, (name, m) in zip(rows[1:], expected):
            where = "%s %s" % (name, m.id2)
            self.assertEqual(row[:3], [name, m.meter_id(), m.id2], where)
            if m.damaged():
                self.assertEqual(row[3:10], [""] * 7, where)
                self.assertRegex(row[10], r"^this record is damaged: .", where)
                continue
            self.assertEqual(row[10], "", where)
            if not m.read():
                self.assertEqual(row[3:10], [""] * 7, where)
                continue
            self.assertEqual(row[3], m.real_date().strftime("%Y-%m-%d"), where)
            for text, v in zip(row[4:10], m.values()):
                self.assertRegex(text, r"^\d+\.\d\d$", where)
                self.assertEqual(text, "%d.%02d" % (v // 100, v % 100), where)

    def test_csv_quotes_what_needs_it(self):
        data = self.out("quotes.dbf")
        meter = Meter(0x01, 'X,1"2', (0x05, 0x12, 0x26), (1, 2, 3, 4, 5))
        write_data_file(data, [('a,"b"', [meter])])
        path = self.out("quotes.csv")
        mrvctl("export", data, "--out", path)
        with open(path, encoding="utf-8-sig", newline="") as f:
            text = f.read()
        self.assertIn('"a,""b""",', text)
        with open(path, newline="", encoding="utf-8-sig") as f:
            rows = list(csv.reader(f))
        self.assertEqual(rows[1][:3], ['a,"b"', meter.meter_id(), 'X,1"2'])

    def test_refusals(self):
        cases = [
            (["export", self.data, "--out", self.out("x.txt")], 2, ".xlsx or .csv"),
            (["export", self.data], 2, "--out is needed"),
            (["export", self.data, "--out", self.out("x.csv"), "--from", "2026-12-01"], 2, "energy database"),
            (["export", "--energy-db", self.out("e.db"), "--out", self.out("x.csv"), "--block", "1"], 2, "--block"),
            (["export", "--energy-db", self.out("e.db"), "--out", self.out("x.csv"), "--from", "2026-02-30"], 2, "YYYY-MM-DD"),
            (["export", self.data, "--out", self.out("x.csv"), "--block", "nowhere"], 1, "no Block 'nowhere'"),
            (["export", self.out("missing.dbf"), "--out", self.out("x.csv")], 1, "not a data file"),
            (["export", self.data, "--out", self.out("no/such/folder/x.xlsx")], 1, "No such file or directory"),
        ]
        for args, status, message in cases:
            with self.subTest(args=args[1:]):
                r = mrvctl(*args, ok=False)
                self.assertEqual(r.returncode, status, r.stderr)
                self.assertIn(message, r.stderr)
        self.assertFalse(os.path.exists(self.out("x.csv")))
        self.assertFalse(os.path.exists(self.out("x.txt")))

    def test_a_file_that_exists_is_replaced_whole(self):
        path = self.out("replaced.csv")
        with open(path, "w") as f:
            f.write("old\n")
        os.chmod(path, 0o640)
        mrvctl("export", self.data, "--out", path, "--block", "East")
        self.assertEqual(os.stat(path).st_mode & 0o777, 0o640)
        with open(path, newline="", encoding="utf-8-sig") as f:
            self.assertEqual(len(list(csv.reader(f))), 2)
        self.assertEqual([n for n in os.listdir(self.tmp.name) if n.endswith(".part")], [])


class EnergyExport(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        data = os.path.join(cls.tmp.name, "0001.dbf")
        write_data_file(data, BLOCKS)
        cls.db = os.path.join(cls.tmp.name, "energy.db")
        # The damaged dates are stored too, by choice: the export shows what the table holds.
        mrvctl("import", data, "--energy-db", cls.db, "--damaged", ok=False)
        with sqlite3.connect(cls.db) as con:
            con.execute("insert into energy(datestr, meter_num, dbk0, dbk1, dbk2, dbk, dbkp0, "
                        "dbkp1, dbkp2, dbkp) values ('27-03-01', '中文表号', 1.5, 2.25, 3, 6.75, "
                        "0, 0, 0, 0)")
            cls.rows = con.execute("select datestr, meter_num, dbk0, dbk1, dbk2, dbk, dbkp0, "
                                   "dbkp1, dbkp2, dbkp from energy order by rowid").fetchall()
        assert len(cls.rows) >= 8, cls.rows

    @staticmethod
    def date_of(datestr):
        m = re.fullmatch(r"(\d\d)-(\d\d)-(\d\d)", datestr)
        try:
            return m and datetime.datetime(2000 + int(m[1]), int(m[2]), int(m[3]))
        except ValueError:
            return None

    def selected(self, start=None, end=None, meters=None):
        out = []
        for row in self.rows:
            d = self.date_of(row[0])
            if (start or end) and not d:
                continue
            if start and d < start or end and d > end:
                continue
            if meters and row[1] not in meters:
                continue
            out.append(row)
        return out

    def check_xlsx(self, path, rows):
        wb = openpyxl.load_workbook(path)
        self.assertEqual(wb.sheetnames, ["Summary", "Energy"])
        ws = wb["Energy"]
        self.assertEqual([c.value for c in ws[1]], ENERGY_TITLES)
        self.assertEqual(ws.freeze_panes, "A2")
        got = list(ws.iter_rows(min_row=2))
        self.assertEqual(len(got), len(rows))
        for cells, row in zip(got, rows):
            where = str(row)
            self.assertEqual(cells[0].value, row[1], where)
            d = self.date_of(row[0])
            self.assertEqual(cells[1].value, d if d else row[0], where)
            for cell, v in zip(cells[2:], row[2:]):
                self.assertAlmostEqual(cell.value, v, places=6, msg=where)
                self.assertEqual(cell.number_format, "0.00", where)
        summary = {r[0].value: r[1].value for r in wb["Summary"].iter_rows(min_row=2)}
        self.assertEqual(summary["Rows"], len(rows))
        self.assertEqual(summary["Meters"], len({r[1] for r in rows}))

    def test_every_row_to_xlsx_and_csv(self):
        path = os.path.join(self.tmp.name, "energy.xlsx")
        r = mrvctl("export", "--energy-db", self.db, "--out", path)
        self.assertIn("%d rows" % len(self.rows), r.stdout)
        self.check_xlsx(path, self.rows)

        path = os.path.join(self.tmp.name, "energy.csv")
        mrvctl("export", "--energy-db", self.db, "--out", path)
        with open(path, newline="", encoding="utf-8-sig") as f:
            got = list(csv.reader(f))
        self.assertEqual(got[0], ENERGY_TITLES)
        self.assertEqual(len(got) - 1, len(self.rows))
        for line, row in zip(got[1:], self.rows):
            d = self.date_of(row[0])
            self.assertEqual(line[:2], [row[1], d.strftime("%Y-%m-%d") if d else row[0]])
            self.assertEqual(line[2:], ["%.2f" % v for v in row[2:]])

    def test_a_date_range_and_a_list_of_meters(self):
        cases = [
            ("2026-12-01", "2026-12-31", None),
            ("2026-11-30", "2026-11-30", None),
            ("2027-01-01", None, None),
            (None, "2026-12-31", ["000123456789", "1234", "中文表号"]),
            (None, None, ["中文表号", "S0001"]),
        ]
        for start, end, meters in cases:
            with self.subTest(start=start, end=end, meters=meters):
                args = ["export", "--energy-db", self.db, "--out", os.path.join(self.tmp.name, "r.xlsx")]
                if start:
                    args += ["--from", start]
                if end:
                    args += ["--to", end]
                if meters:
                    args += ["--meters", ",".join(meters)]
                mrvctl(*args)
                parse = lambda s: s and datetime.datetime.strptime(s, "%Y-%m-%d")
                rows = self.selected(parse(start), parse(end), meters)
                self.assertTrue(rows)
                self.check_xlsx(args[4], rows)

    def test_a_database_without_readings_is_refused(self):
        empty = os.path.join(self.tmp.name, "none.db")
        sqlite3.connect(empty).execute("create table other(x)").connection.close()
        r = mrvctl("export", "--energy-db", empty, "--out", os.path.join(self.tmp.name, "n.xlsx"), ok=False)
        self.assertEqual(r.returncode, 1)
        self.assertIn("has no table energy", r.stderr)
        missing = os.path.join(self.tmp.name, "missing.db")
        r = mrvctl("export", "--energy-db", missing, "--out", os.path.join(self.tmp.name, "n.xlsx"), ok=False)
        self.assertEqual(r.returncode, 1)
        self.assertFalse(os.path.exists(missing))
        self.assertFalse(os.path.exists(os.path.join(self.tmp.name, "n.xlsx")))


if __name__ == "__main__":
    MRVCTL = sys.argv.pop(1)
    unittest.main(verbosity=2)
