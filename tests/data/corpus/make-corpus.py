#!/usr/bin/env python3
"""Writes the hostile files the corpus tests feed to the readers, one folder per reader.

The files are committed; run this again only to change them: python3 make-corpus.py
Each file stays below 8 KiB; larger cases are made by the tests themselves.
"""
import os
import random
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
PROGRAM_KEY = "pLum7Vex4Q"
NINES = "9" * 400


def key_value(key):
    codes = [ord(c) for c in key]
    k = codes[0]
    for i in range(1, len(codes)):
        c, p = codes[i], codes[i - 1]
        if k - c >= 0 and c <= p:
            k -= c
        if k - c >= 0 and c <= p:
            k -= c
        if c >= k and c >= p:
            k += c
        if c < k and c >= p:
            k += c
    return k


def encipher(text):
    """One value to its stored line (bytes), as the program enciphers it."""
    if text == "":
        return b""
    k = key_value(PROGRAM_KEY)
    split = text[1::2] + text[0::2]
    spaced = ""
    for ch in split.encode("cp1252"):
        s = ch + k
        spaced += (str(s) if s >= 100 else "0" + str(s)) + " "
    while " " in spaced:
        p = spaced.index(" ")
        spaced = spaced[p + 1:] + spaced[:p]
    out = bytearray()
    for i in range(0, len(spaced), 2):
        out.append(100 + int(spaced[i:i + 2]))
    return bytes(out)


def cipher_lines(values, eol=b"\r\n"):
    return b"".join(encipher(v) + eol for v in values)


def text_lines(values, eol="\r\n"):
    return "".join(v + eol for v in values).encode("cp1252")


def junk(seed, size):
    rng = random.Random(seed)
    return bytes(rng.randrange(256) for _ in range(size))


# Hostile texts for a single value.
VALUES = {
    "nines": NINES,
    "negative": "-1",
    "negative-huge": "-" + NINES,
    "nan": "NaN",
    "inf": "1e999",
    "exp": "1E+308",
    "hex": "&H7FFFFFFF",
    "commas": "1,2,3",
    "grouped": "1.234,5",
    "blank": "   ",
    "dotdot": "../../x",
    "umlaut": "Grüße ÿ",
}

# The common cases every line-based reader gets.
def common(make_line_file):
    files = {
        "empty": b"",
        "junk": junk(1, 2000),
        "junk-small": junk(2, 17),
        "nul-bytes": b"\0" * 300,
        "nul-in-lines": b"1\0\r\n\0 2\r\n3\0\0\r\n",
        "lone-cr": b"1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r11\r",
        "lf-only-blank-lines": b"\n" * 40,
        "crlf-only": b"\r\n" * 40,
        "one-long-line": b"x" * 7000,
        "utf16-bom": "\ufeff1\r\n2\r\n".encode("utf-16-le"),
        "utf8-bom": b"\xef\xbb\xbf" + b"1\r\n2\r\n",
        "high-bytes": bytes(range(128, 256)) * 4,
    }
    for name, value in VALUES.items():
        files["value-" + name] = make_line_file(value)
    return files


def write_folder(name, files):
    folder = os.path.join(HERE, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for file_name, data in sorted(files.items()):
        assert len(data) < 8192, (name, file_name, len(data))
        with open(os.path.join(folder, file_name), "wb") as f:
            f.write(data)


def cipher_corpus():
    files = common(lambda v: encipher(v) + b"\r\n")
    files.update({
        "well-formed": cipher_lines(["S17.01.2001", "12:00:00", "Supervisor", "Grüße", "0", "S1,50"]),
        "bytes-below-100": bytes(range(0, 100)) + b"\r\n" + b"c" * 10 + b"\x63\r\n",
        "bytes-above-199": bytes(range(200, 256)) + b"\r\n",
        "group-over-255": b"\xc7" * 30 + b"\r\n",
        "group-below-key": b"\x64" * 30 + b"\r\n",
        "one-byte-lines": b"".join(bytes([b]) + b"\r\n" for b in range(0, 256, 3)),
        "two-byte-lines": b"".join(bytes([b, 255 - b]) + b"\r\n" for b in range(0, 256, 5)),
        "odd-lengths": b"".join(encipher("abcdefg"[:n])[:-1] + b"\r\n" for n in range(1, 8)),
        "cut-well-formed": b"".join(encipher("Supervisor")[:n] + b"\r\n" for n in range(1, 12)),
        "long-valid": encipher("x" * 2000) + b"\r\n",
    })
    return files


RECORD = ["S17.01.2001", "12:00:00", "00:10:00", "S0,19", "10", "1000", "200", "1200", "Netz", "Netz - A.tel", "Anna"]


def replaced(values, line, value):
    """The lines with line `line` (1-based) replaced."""
    values = list(values)
    values[line - 1] = value
    return values


def record_with(line, value):
    return cipher_lines(replaced(RECORD, line, value))


def records_corpus():
    files = common(lambda v: cipher_lines([v] * 11))
    files.update({
        "well-formed": cipher_lines(RECORD),
        "well-formed-lf": cipher_lines(RECORD, b"\n"),
        "hand-entry-comment": cipher_lines(RECORD + ["nachgetragen"]),
        "one-line": cipher_lines(RECORD[:1]),
        "ten-lines": cipher_lines(RECORD[:10]),
        "eleven-empty-lines": b"\r\n" * 11,
        "forty-lines": cipher_lines(RECORD * 3 + RECORD[:7]),
        "many-short-lines": b"".join(encipher(str(i)) + b"\n" for i in range(1000))[:8000],
        "invalid-cipher-lines": b"\x00\x01\x02\r\n" * 11,
        "cipher-groups-over-255": (b"\xc7" * 9 + b"\r\n") * 11,
        "duration-nines": record_with(3, NINES),
        "duration-nine-fields": record_with(3, "%s:%s:%s" % (NINES[:100], NINES[:100], NINES[:100])),
        "duration-negative": record_with(3, "-1:-30:-59"),
        "duration-nines-against-minus-nines": record_with(3, "%s:-%s:0" % (NINES, NINES)),
        "duration-nines-all-fields": record_with(3, "%s:%s:%s" % (NINES, NINES, NINES)),
        "duration-nan": record_with(3, "NaN:NaN:NaN"),
        "duration-blank-fields": record_with(3, "::"),
        "duration-many-colons": record_with(3, ":" * 300),
        "cost-nines": record_with(4, "S" + NINES),
        "cost-nan": record_with(4, "SNaN"),
        "cost-negative": record_with(4, "S-1,5"),
        "cost-no-prefix": record_with(4, "1,25"),
        "cost-commas": record_with(4, "S1,2,3"),
        "cost-grouped": record_with(4, "S1.234,5"),
        "cost-letters": record_with(4, "S1,5x"),
        "units-nines": record_with(5, NINES),
        "bytes-nines": cipher_lines(RECORD[:5] + [NINES] * 3 + RECORD[8:]),
        "bytes-negative": cipher_lines(RECORD[:5] + ["-" + NINES] * 3 + RECORD[8:]),
        "bytes-exp": cipher_lines(RECORD[:5] + ["1e308"] * 3 + RECORD[8:]),
        "date-nonsense": record_with(1, "S99.99.99999"),
        "date-empty": record_with(1, "S"),
        "time-nonsense": record_with(2, "99:99:99"),
        "tariff-dotdot": record_with(10, "../../Benutzer/Anna.usr"),
        "user-dotdot": record_with(11, "../Benutzer/x"),
        "user-empty": record_with(11, ""),
        "user-nul": record_with(11, "An\0na"),
        "connection-long": record_with(9, "x" * 1500),
    })
    return files


USER = ["0", "0", "0", "0", "0", "0", "1", "60", "geheim", "1", "600"]


def user_with(line, value):
    return cipher_lines(replaced(USER, line, value))


def users_corpus():
    files = common(lambda v: cipher_lines([v] * 11))
    files.update({
        "well-formed": cipher_lines(USER),
        "defaults": cipher_lines(["0"] * 7 + ["60", "", "0", "600"]),
        "short": cipher_lines(USER[:4]),
        "one-line": cipher_lines(USER[:1]),
        "twelve-lines": cipher_lines(USER + ["zu viel"]),
        "empty-lines": b"\r\n" * 11,
        "invalid-cipher": b"\x01\x02\x03\r\n" * 11,
        "flag-two": user_with(1, "2"),
        "flag-negative": user_with(2, "-1"),
        "flag-nines": user_with(3, NINES),
        "flag-nan": user_with(4, "NaN"),
        "flag-text": user_with(5, "ja"),
        "flag-blank": user_with(6, " "),
        "flag-fraction": user_with(7, "0,5"),
        "minutes-nines": user_with(8, NINES),
        "minutes-negative": user_with(11, "-600"),
        "minutes-nan": user_with(8, "NaN"),
        "password-long": user_with(9, "p" * 600),
        "password-dotdot": user_with(9, "../../etc/passwd"),
        "password-controls": user_with(9, "\x01\x02\t\x7f"),
        "last-line-cut": cipher_lines(USER)[:-5],
    })
    return files


BUDGET = [" 0", "25", "100,50", "1.1.2002", "31.1.2002"]


def budget_with(line, value):
    return text_lines(replaced(BUDGET, line, value))


def budgets_corpus():
    files = common(lambda v: text_lines([v] * 5))
    files.update({
        "well-formed": text_lines(BUDGET),
        "page-form": text_lines(["25", "100", "2000", "01.01.2002", "31.12.2002"]),
        "four-lines": text_lines(BUDGET[:4]),
        "six-lines": text_lines(BUDGET + ["zu viel"]),
        "amount-nines": budget_with(1, NINES),
        "amount-negative": budget_with(2, "-25"),
        "amount-nan": budget_with(3, "NaN"),
        "amount-commas": budget_with(1, "1,2,3"),
        "amount-grouped": budget_with(2, "1.234,5"),
        "amount-exp": budget_with(3, "1E+308"),
        "amount-letters": budget_with(1, "25x"),
        "amount-beyond-single": text_lines(["1" + "0" * 39, "-1" + "0" * 39, "1" + "0" * 300] + BUDGET[3:]),
        "date-nonsense": budget_with(4, "99.99.99999"),
        "date-empty": budget_with(5, ""),
        "date-nines": budget_with(4, NINES),
        "date-reversed": text_lines(BUDGET[:3] + ["31.12.2029", "1.1.1930"]),
        "date-two-digit-year": text_lines(BUDGET[:3] + ["1.1.05", "5.3.03"]),
        "date-feb-30": budget_with(5, "30.2.2002"),
        # the options file: three flags and a sound name
        "options-well-formed": text_lines([" 1", " 0", " 1", "Alarm"]),
        "options-flags-odd": text_lines(["2", "-1", NINES, "Alarm"]),
        "options-sound-dotdot": text_lines([" 1", " 1", " 1", "../../x"]),
        "options-sound-absolute": text_lines([" 1", " 1", " 1", "/etc/passwd"]),
        "options-sound-long": text_lines([" 1", " 1", " 1", "s" * 3000]),
        "options-sound-nul": text_lines([" 1", " 1", " 1", "a\0b"]),
        "options-flags-only": text_lines([" 1"]),
    })
    return files


TARIF_HEAD = ["[Providerdaten]", "Grundgebühr:0,00", "Region:bundesweit", "Gültigkeit:01.01.2001",
              "Anmeldung:nicht nötig", "Einwahlnummer:0190", "Username:anna", "Password:geheim", "Flatrate:Nein",
              "Volumenabrechnung:Nein", "Volumenkosten:0", "Volumeneinheit:1", "Freiminuten:0",
              "Mindestumsatz:0,00", "Kanalbündelung:Nein", "Takt:60 / 60", "Sekundengenau:Nein",
              "Sekundenschritte:1", "Gesprächsgrundgebühr:0,00"]


def zone(number, von, bis, price, weekend):
    return ["Zone:%s" % number, "Von:%s" % von, "Bis:%s" % bis, "Pfennig:%s" % price, "Einheit:60",
            "Wochenende:%s" % weekend]


TARIF_ZONES = ["[Tarifzonen]"] + zone(1, 0, 24, "1,9", "Nein") + zone(2, 0, 24, "0,9", "Ja")


def tariff_with(key, value, zones=TARIF_ZONES):
    head = [line if not line.startswith(key) else key + value for line in TARIF_HEAD]
    return text_lines(head + zones)


def tariffs_corpus():
    files = common(lambda v: text_lines([v] * 8))
    files.update({
        "well-formed": text_lines(TARIF_HEAD + TARIF_ZONES),
        "no-zones": text_lines(TARIF_HEAD),
        "zones-only": text_lines(TARIF_ZONES),
        "zone-cut-short": text_lines(TARIF_HEAD + TARIF_ZONES[:10]),
        "zone-header-twice": text_lines(TARIF_HEAD + TARIF_ZONES + TARIF_ZONES),
        "takt-nines": tariff_with("Takt:", "%s / %s" % (NINES, NINES)),
        "takt-negative": tariff_with("Takt:", "-60 / -60"),
        "takt-zero": tariff_with("Takt:", "0 / 0"),
        "takt-no-slash": tariff_with("Takt:", "60"),
        "takt-nan": tariff_with("Takt:", "NaN / NaN"),
        "takt-many-slashes": tariff_with("Takt:", "/" * 300),
        "free-minutes-nines": tariff_with("Freiminuten:", NINES),
        "free-minutes-nan": tariff_with("Freiminuten:", "NaN"),
        "volume-nines": text_lines(["[Providerdaten]", "Volumenabrechnung:Ja", "Volumenkosten:" + NINES,
                                    "Volumeneinheit:" + NINES, "Volumengrenze:" + NINES]),
        "volume-negative": text_lines(["[Providerdaten]", "Volumenabrechnung:ja", "Volumenkosten:-1",
                                       "Volumeneinheit:0", "Volumengrenze:-" + NINES]),
        "volume-last-line": text_lines(["[Providerdaten]", "Volumenabrechnung:Ja"]),
        "base-fee-nan": tariff_with("Grundgebühr:", "NaN"),
        "password-long": tariff_with("Password:", "p" * 3000),
        "zone-hours-nines": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, NINES, NINES, "1", "Nein")),
        "zone-hours-negative": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, -5, -1, "1", "Nein")),
        "zone-hours-reversed": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 20, 4, "1", "Ja")),
        "zone-hours-over-255": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 256, "1", "Nein")),
        "zone-hours-nan": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, "NaN", "NaN", "1", "Nein")),
        "zone-hours-fraction": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, "0,5", "23,5", "1", "Nein")),
        "zone-price-nines": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 24, NINES, "Nein")),
        "zone-price-nan": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 24, "NaN", "Nein")),
        "zone-price-negative": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 24, "-1,5", "Ja")),
        "zone-price-grouped": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 24, "1.234,5", "Nein")),
        "zone-price-exp": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 24, "1e308", "Nein")),
        "zone-weekend-odd": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + zone(1, 0, 24, "1", "vielleicht")),
        "zone-short-lines": text_lines(TARIF_HEAD + ["[Tarifzonen]"] + ["", "V", "B", "P", "", "W"] * 5),
        "zones-100": text_lines(["[Tarifzonen]"] + ["", "Von:0", "Bis:24", "Pfennig:1", "", "Wochenende:Ja"] * 100),
    })
    return files


def time_page(h2, head="<HTML><BODY><H1>Current Timezone: Etc/GMT</H1>\r\n"):
    return (head + h2 + "\r\n</BODY></HTML>\r\n").encode("cp1252")


def timepage_corpus():
    files = common(lambda v: time_page("<H2>" + v + "</H2>"))
    files.update({
        "well-formed": time_page("<H2>Thu Dec 31 23:30:00 GMT 2026</H2>"),
        "blank-day": time_page("<H2>Mon Mar  7 05:04:03 GMT 2011</H2>"),
        "no-timezone": time_page("<H2>Thu Dec 31 23:30:00 GMT 2026</H2>", head="<HTML>\r\n"),
        "no-h2": time_page("Thu Dec 31 23:30:00 GMT 2026"),
        "h2-before-timezone": ("<H2>Thu Dec 31 23:30:00 GMT 2026</H2> Current Timezone: x").encode(),
        "h2-at-end": time_page("<H2>"),
        "short-after-h2": time_page("<H2>Thu Dec 31"),
        "fields-nines": time_page("<H2>Thu Dec 99 99:99:99 GMT 9999</H2>"),
        "fields-negative": time_page("<H2>Thu Dec -1 -1:-1:-1 GMT -202</H2>"),
        "fields-nan": time_page("<H2>Thu Dec Na Na:Na:Na GMT NaN!</H2>"),
        "fields-exp": time_page("<H2>Thu Dec 1e 1e:1e:1e GMT 1e99</H2>"),
        "fields-hex": time_page("<H2>Thu Dec &H &H:&H:&H GMT &HFF</H2>"),
        "feb-30": time_page("<H2>Thu Feb 30 23:30:00 GMT 2026</H2>"),
        "year-zero": time_page("<H2>Thu Dec 31 23:30:00 GMT 0000</H2>"),
        "nul-fields": time_page("<H2>Thu Dec \0\0 \0\0:\0\0:\0\0 GMT \0\0\0\0</H2>"),
        "many-markers": ("Current Timezone:" * 100 + "<H2>" * 300).encode(),
        "lone-cr-lines": time_page("<H2>Thu Dec 31 23:30:00 GMT 2026</H2>").replace(b"\r\n", b"\r"),
        "split-over-lines": time_page("<H2>Thu Dec 31\r\n23:30:00 GMT 2026</H2>"),
    })
    return files


PEER = ["/dev/ttyUSB0", "115200", "user anna", "connect \"/usr/sbin/chat -v -T 0190123 -f /etc/chatscripts/x\"",
        "noauth", "defaultroute"]


def peers_corpus():
    files = common(lambda v: text_lines(["user " + v, "connect \"chat -T " + v + "\"", v]))
    files.update({
        "well-formed": text_lines(PEER),
        "pppoe": text_lines(["plugin rp-pppoe.so eth0", "user \"anna@net\"", "noauth"]),
        "unclosed-quote": text_lines(["user \"anna", "connect 'chat -T 0190"]),
        "backslash-at-end": b"user anna\\",
        "backslash-escapes": b"user a\\n\\t\\r\\s\\\\\\\"b\nconnect chat\\\n -T 01\n",
        "comment-only": b"# nothing here\n#\n",
        "comment-unterminated": b"user anna # comment without an end",
        "option-at-end": text_lines(["connect"]) + b"user",
        "user-empty": text_lines(["user \"\"", "connect \"\""]),
        "number-shell": text_lines(["connect \"chat -T '0190; rm -rf /' \""]),
        "number-quotes": text_lines(["connect \"chat -T \\\"0190\\\"\""]),
        "number-many-t": text_lines(["connect \"" + "-T " * 500 + "\""]),
        "device-dotdot": text_lines(["/dev/../etc/passwd", "tty../../x"]),
        "many-words": (b"w " * 3500),
        "invalid-utf8": b"user \xff\xfe\xc3\x28\nconnect \"chat -T \xe2\x82\"\n",
        "nul-in-words": b"user an\0na\nconnect \"chat -T 01\x0090\"\n",
    })
    return files


def secrets_corpus():
    files = common(lambda v: text_lines(["anna * " + v, v + " * geheim"]))
    files.update({
        "well-formed": text_lines(["# client server secret IP", "anna * geheim", "\"bernd\" * \"auch geheim\" *"]),
        "no-secret": text_lines(["anna *", "anna"]),
        "empty-secret": text_lines(["anna * \"\""]),
        "star-user": text_lines(["* * geheim"]),
        "unclosed-quote": text_lines(["anna * \"geheim"]),
        "comment-after": text_lines(["anna * geheim # Kommentar"]),
        "continued-line": b"anna \\\n* geheim\n",
        "many-lines": text_lines(["u%d * s%d" % (i, i) for i in range(600)]),
        "nul-user": b"an\0na * geheim\n",
        "invalid-utf8": b"\xff\xfe * geheim\nanna * \xc3\x28\n",
    })
    return files


# The uninstaller's readers. Its files are ANSI bytes: the lines are joined as bytes, never encoded.
# The logs name nothing outside the program folder but by "..", which the uninstaller refuses: the tests run them.

def byte_lines(lines, eol=b"\r\n"):
    return b"".join(line + eol for line in lines)


LOG = [b"[PreRunApp]", b"1=pre.sh,,,0,\"Checking\",1", b"[SharedFiles]", b"shared.dll=1", b"[Shortcuts]",
       b"menu/Vesko.lnk=1", b"[AddIni]", b"vesko.ini,Main,Path=1", b"[RegFonts]", b"Vesko Sans=vesko.ttf",
       b"[AddReg]", b"HKLM\\Software\\Vesko\\Path=1", b"[CreateKeys]", b"HKLM\\Software\\Vesko=1",
       b"[RegServers]", b"srv.dll=1", b"[CopyFiles]", b"a.txt=1", b"data/*.dat=1", b"[CreateDirs]", b"data=1",
       b"[RunApp]", b"1=post.sh,-q,,1,,0", b"[Strings]", b"1=Vesko entfernen", b"23=Schlie\xdfen", b"[Display]",
       b"DialogTitleFont=Arial,14,255,B", b"Charset=0"]


def install_log_corpus():
    files = common(lambda v: text_lines(["[CopyFiles]", v + "=1", "[AddIni]", v + "," + v + "," + v + "=1",
                                         "[Strings]", "1=" + v, "[Display]", "DialogTitleFont=" + v,
                                         "Charset=" + v]))
    files.update({
        "well-formed": byte_lines(LOG),
        "lf-only": byte_lines(LOG, b"\n"),
        "cr-only": byte_lines(LOG, b"\r"),
        "mixed-line-ends": b"".join(line + (b"\r\n", b"\n", b"\r")[i % 3] for i, line in enumerate(LOG)),
        "no-line-end-at-all": b"[CopyFiles]a.txt=1",
        "no-final-line-end": byte_lines(LOG)[:-2],
        "header-unclosed": byte_lines([b"[CopyFiles", b"a.txt=1", b"CopyFiles]", b"b.txt=1"]),
        "header-doubled": byte_lines([b"[[CopyFiles]]", b"a.txt=1", b"[CopyFiles]]", b"b.txt=1"]),
        "header-with-comment": byte_lines([b"[CopyFiles] ; files", b"a.txt=1"]),
        "header-empty-name": byte_lines([b"[]", b"=", b"==", b"=a.txt", b"[ ]", b"a.txt=1"]),
        "header-nul": byte_lines([b"[Copy\0Files]", b"a.txt=1", b"[CopyFiles\0]", b"b.txt=1"]),
        "entries-before-sections": byte_lines([b"a.txt=1", b"b.txt=1", b"[CopyFiles]"]),
        "lines-without-equals": byte_lines([b"[CopyFiles]", b"a.txt", b"data", b"[CreateDirs]", b"data"]),
        "duplicate-sections": byte_lines([b"[CopyFiles]", b"a.txt=1", b"[copyfiles]", b"b.txt=1", b"[COPYFILES]",
                                          b"c.txt=1", b"[Strings]", b"1=first", b"[strings]", b"1=second"]),
        "duplicate-keys": byte_lines([b"[Strings]", b"1=first", b"1=second", b"[CopyFiles]", b"a.txt=1",
                                      b"a.txt=2"]),
        "overlong-name": byte_lines([b"[CopyFiles]", b"n" * 5000 + b"=1"]),
        "overlong-value": byte_lines([b"[Strings]", b"1=" + b"v" * 7000]),
        "overlong-header": byte_lines([b"[" + b"h" * 6000 + b"]", b"a.txt=1"]),
        "line-end-at-chunk-end": byte_lines([b"[CopyFiles]", b"a" * 97 + b"=1", b"b" * 97 + b"=1"]),
        "nul-in-entries": byte_lines([b"[CopyFiles]", b"a\0.txt=1", b"\0=1", b"[AddIni]", b"x.ini,S\0,K=1",
                                      b"[Strings]", b"1=A\0B"]),
        "high-bytes-in-entries": byte_lines([b"[CopyFiles]", b"\xff\xfe.txt=1", b"\x81\x8d\x8f\x90\x9d=1",
                                             b"[Strings]", b"1=\xc3\x28\xe2\x82", b"23=\x80\x85\x99"]),
        "utf8-bom-before-header": b"\xef\xbb\xbf" + byte_lines(LOG),
        "huge-counts": byte_lines([b"[Display]", b"Charset=" + NINES.encode(), b"DialogTitleFont=Arial," +
                                   b"9" * 30 + b"," + b"9" * 30 + b",BIUSBIUS", b"[PreRunApp]",
                                   b"1=absent.sh,,,99999999999,,99999999999", b"[Strings]", b"99999999999=x",
                                   b"-2147483648=y", b"0x7FFFFFFF=z"]),
        "hex-counts": byte_lines([b"[Display]", b"Charset=$FFFFFFFF", b"DialogTitleFont=Arial,$7FFFFFFF,$-1,B",
                                  b"[Strings]", b"1=0x", b"2=$"]),
        "many-sections": byte_lines([b"[s%d]" % i + b"\r\nk=%d" % i for i in range(400)]),
        "many-entries": byte_lines([b"[CopyFiles]"] + [b"f%d.txt=1" % i for i in range(600)]),
        "separators-only": byte_lines([b"[Strings]", b"1=" + b"||" * 1500, b"4=||||"]),
        "quotes-unbalanced": byte_lines([b"[PreRunApp]", b"1=\"pre.sh,,,,\"msg", b"2='pre.sh',\"a,b\",'c,d", b"[Strings]",
                                         b"1=\"", b"2='", b"3=\"'", b"[Display]", b"DialogTitleFont=\"Arial,14"]),
        "fields-many-commas": byte_lines([b"[AddIni]", b"a.ini,b,c,d,e,f=1", b",,=1", b"only.ini=1", b",S,K=1",
                                          b"[PreRunApp]", b"1=" + b"," * 3000]),
        "registry-paths-odd": byte_lines([b"[AddReg]", b"HKXX\\a\\b=1", b"\\\\\\=1", b"HKLM=1", b"HKLM\\a\\'b=1",
                                          b"HKLM\\a\\\"b\\c\"=1", b"[CreateKeys]", b"HKLM\\=1", b"\\=1",
                                          b"HKCU\\" + b"k\\" * 400 + b"=1"]),
        "dot-folders": byte_lines([b"[CreateDirs]", b".=1", b"=1", b"./=1", b"data/..=1", b"[CopyFiles]", b"*=1",
                                   b"?=1", b"[Shortcuts]", b".lnk=1", b"=1"]),
        "dotdot-everywhere": byte_lines([b"[Shortcuts]", b"../x.lnk=1", b"[AddIni]", b"../x.ini,S,K=1",
                                         b"[RegServers]", b"../x.so=1", b"[CopyFiles]", b"../x=1", b"../*=1",
                                         b"[CreateDirs]", b"..=1", b"a/../..=1"]),
    })
    return files


INI = [b"; settings of another program", b"[Main]", b"Path=C:\\Vesko", b"Other = \"kept\"", b"", b"[Window]",
       b"Left=10", b"Top=20"]


def ini_corpus():
    files = common(lambda v: text_lines(["[S]", "k=" + v, v + "=1", "[" + v + "]", "k=1"]))
    files.update({
        "well-formed": byte_lines(INI),
        "lf-only": byte_lines(INI, b"\n"),
        "cr-only": byte_lines(INI, b"\r"),
        "mixed-line-ends": b"".join(line + (b"\r\n", b"\n", b"\r")[i % 3] for i, line in enumerate(INI)),
        "bare-lf-between-keys": b"[Main]\r\nPath=x\nOther=y\r\n",
        "cr-cr-lf": b"[Main]\r\r\nPath=x\r\r\nOther=y\r\r\n",
        "lf-cr": b"[Main]\n\rPath=x\n\rOther=y\n\r",
        "no-final-line-end": byte_lines(INI)[:-2],
        "no-line-end-at-all": b"[Main]Path=x",
        "header-unclosed": byte_lines([b"[Main", b"Path=x", b"[Window]", b"Left=1"]),
        "header-nested": byte_lines([b"[[Main]]", b"Path=x", b"[Main]]", b"Path=y", b"[Ma]in]", b"Path=z"]),
        "header-and-key-on-one-line": byte_lines([b"[Main]Path=x", b"[Main] Path=y]", b"Path=z"]),
        "duplicate-sections": byte_lines([b"[Main]", b"Path=1", b"[main]", b"Path=2", b"[MAIN]", b"Path=3"]),
        "duplicate-keys": byte_lines([b"[Main]", b"Path=1", b"path=2", b"PATH=3"]),
        "keys-before-sections": byte_lines([b"Path=0", b"[Main]", b"Path=1"]),
        "lines-without-equals": byte_lines([b"[Main]", b"just text", b"Path", b"Path=1", b"another"]),
        "comment-keys": byte_lines([b"[Main]", b";Path=1", b" ;Path=2", b"#Path=3", b"Path=4"]),
        "blanks-and-tabs": byte_lines([b"[Main]", b" \t Path \t = \t 1 \t ", b"\tOther=2"]),
        "equals-first": byte_lines([b"[Main]", b"=1", b"==", b"= Path = 2"]),
        "overlong-key": byte_lines([b"[Main]", b"k" * 5000 + b"=1", b"Path=1"]),
        "overlong-value": byte_lines([b"[Main]", b"Path=" + b"v" * 7000]),
        "line-end-at-chunk-end": byte_lines([b"[Main]", b"Path=" + b"v" * 94, b"Other=" + b"w" * 93]),
        "cr-at-chunk-end": b"[Main]\r\n" + b"Path=" + b"v" * 94 + b"\rOther=1\r\n",
        "nul-in-keys": byte_lines([b"[Main]", b"Pa\0th=1", b"\0Path=2", b"Path=\0"]),
        "nul-in-header": byte_lines([b"[Ma\0in]", b"Path=1", b"[Main\0]", b"Path=2"]),
        "high-bytes": byte_lines([b"[M\xe4in]", b"P\xe4th=\xff\xfe", b"[\x81\x8d]", b"\x8f=\x90"]),
        "utf8-bom-before-header": b"\xef\xbb\xbf" + byte_lines(INI),
        "many-sections": byte_lines([b"[s%d]\r\nk=%d" % (i, i) for i in range(400)]),
        "many-keys": byte_lines([b"[Main]"] + [b"k%d=%d" % (i, i) for i in range(800)]),
        "empty-section-name": byte_lines([b"[]", b"Path=1", b"[ ]", b"Path=2"]),
        "only-headers": byte_lines([b"[Main]", b"[Window]", b"[Main]"]),
        "quotes": byte_lines([b"[Main]", b"Path=\"", b"Other=\"\"", b"Third='x\"", b"Fourth=\"a\"b\""]),
        "eof-mark": byte_lines(INI) + b"\x1a",
    })
    return files


REGISTRY_HEAD = [b"; Registry of the uninstaller: Windows-1252, CRLF line ends."]
REGISTRY = REGISTRY_HEAD + [b"[HKLM\\Software]", b"[HKLM\\Software\\Vesko]", b"1:7800:Path", b"4:01000000:Count",
                            b"[HKCU]", b"1:00:atRoot", b"[HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
                            b"\\SharedDLLs]", b"4:02000000:shared.dll"]


def registry_corpus():
    files = common(lambda v: text_lines(["[HKLM\\" + v + "]", "1:00:" + v, v + ":00:x", "1:" + v + ":y"]))
    files.update({
        "well-formed": byte_lines(REGISTRY),
        "lf-only": byte_lines(REGISTRY, b"\n"),
        "cr-only": byte_lines(REGISTRY, b"\r"),
        "no-final-line-end": byte_lines(REGISTRY)[:-2],
        "header-unclosed": byte_lines([b"[HKLM\\a", b"1:00:x", b"HKLM\\b]", b"1:00:y"]),
        "header-unknown-root": byte_lines([b"[HKXX\\a]", b"1:00:x", b"[HKEY_LOCAL_MACHINE\\a]", b"1:00:y",
                                           b"[]", b"1:00:z"]),
        "header-empty-parts": byte_lines([b"[HKLM\\\\a]", b"1:00:x", b"[HKLM\\a\\]", b"1:00:y", b"[HKLM\\]",
                                          b"1:00:z"]),
        "header-escaped-backslash": byte_lines([b"[HKLM\\a%5Cb]", b"1:00:x", b"[HKLM\\a]", b"[HKLM\\a\\b]",
                                                b"1:00:y"]),
        "header-bad-escapes": byte_lines([b"[HKLM\\%]", b"1:00:x", b"[HKLM\\%G1]", b"1:00:y", b"[HKLM\\%0]",
                                          b"[HKLM\\%00]", b"1:00:z"]),
        "values-before-keys": byte_lines([b"1:00:x", b"[HKLM\\a]", b"1:00:y"]),
        "values-damaged": byte_lines([b"[HKLM\\a]", b"1", b"1:", b"1:00", b":00:x", b"x:00:y", b"-1:00:z",
                                      b"1:ABC:odd", b"1:ZZ:nothex", b"1::empty", b"1:00:", b"1:00:a:b:c"]),
        "values-huge-type": byte_lines([b"[HKLM\\a]", b"99999999999:00:x", b"4294967295:00:y",
                                        b"4294967296:00:z", NINES.encode() + b":00:w"]),
        "values-huge-data": byte_lines([b"[HKLM\\a]", b"3:" + b"AB" * 3500 + b":big"]),
        "values-duplicate": byte_lines([b"[HKLM\\a]", b"1:31:x", b"1:32:X", b"[hklm\\A]", b"1:33:x", b"1:34:y"]),
        "keys-duplicate": byte_lines([b"[HKLM\\a]", b"[HKLM\\A]", b"[hklm\\a]", b"1:00:x"]),
        "keys-deep": byte_lines([b"[HKLM" + b"\\k" * 40 + b"]", b"1:00:x"]),
        "keys-many": byte_lines([b"[HKCU\\k%d]" % i for i in range(150)]),
        "names-escaped": byte_lines([b"[HKLM\\a%0D%0A]", b"1:00:%00%25%0D", b"1:00:%FF%e4"]),
        "nul-in-lines": byte_lines([b"[HKLM\\a\0b]", b"1:00:x\0y", b"1\0:00:z"]),
        "high-bytes": byte_lines([b"[HKLM\\\xe4\xff]", b"1:00:\x81\x8d", b"[HKCU\\\xc3\x28]"]),
        "overlong-name": byte_lines([b"[HKLM\\a]", b"1:00:" + b"n" * 6000]),
        "overlong-key": byte_lines([b"[HKLM\\" + b"k" * 6000 + b"]", b"1:00:x"]),
    })
    return files


def lines_bytes(values, eol=b"\r\n"):
    """Lines given as text (Windows-1252) or as bytes, each ended by eol."""
    return b"".join((v if isinstance(v, bytes) else v.encode("cp1252")) + eol for v in values)


HUGE = "9" * 20  # beyond 64-bit whole numbers, still a finite double


def settings_corpus():
    """The settings files of Config, DialUp, Prerun and the program folder. Every reader gets every file;
    the named cases start with the kind of file they are made for."""
    files = common(lambda v: text_lines([v] * 12))
    cases = {
        "options": {
            "well-formed": [" 1", " 1", " 0", " 1", " 0", " 1"],
            "currency-nines": [NINES, " 1", " 1", " 1", " 1", " 1"],
            "currency-twelve": ["12", "2", "-1", "0,5", HUGE, "1E+308"],
        },
        "overview": {
            "well-formed": ["Arcor", "Anna", "Netz", "M - Tag"],
            "dotdot": ["../../DialUp/x", "../Benutzer/Anna", "..", "M - ../../x"],
            "kind-only": ["Arcor", "Anna", "Netz", "M"],
        },
        "note": {
            "cr-before-line-end": b"Zeile\r\r\nzwei\rdrei\r\n\r\r\n",
            "control-bytes": b"\x00\x01\x1b\x7f\x81\x8d\x8f\x90\x9d\xa0\xff\r\n",
        },
        "concheck": {
            "well-formed": [" 1", " 1", " 0", " 0", " 5"],
            "interval-nines": [" 1", " 1", " 1", " 1", NINES],
            "interval-huge": [HUGE, "-" + HUGE, "2", "1,5", "-" + HUGE],
            "interval-zero": [" 0", " 0", " 0", " 0", " 0"],
        },
        "ignoredips": {
            "well-formed": ["192.168.*.*, 10.*.*.*"],
            "odd-patterns": [",,, *, 1.2.3, ...., 999.999.999.999, *.*.*.*.*, 1..2.3, " + "*." * 300],
        },
        "userscfg": {"well-formed": [" 1"], "byte-overflow": ["256"], "huge": [HUGE]},
        "monitoring": {"well-formed": [" 0"], "huge": ["-" + HUGE]},
        "autoupdate": {
            "well-formed": [" 1", " 14"],
            "days-huge": [" 1", HUGE],
            "days-negative": [" 1", "-" + HUGE],
        },
        "update": {
            "well-formed": [" 12", "17.01.2001"],
            "number-huge": [HUGE, "99.99.99999"],
            "number-negative": ["-" + HUGE, "01.01.0000"],
            "due-long-ago": [" 2147483646", "1.1.1900"],
        },
        "smallwindowpos": {
            "well-formed": [" 1500", " 900", " 180"],
            "far-before": ["-" + HUGE, "-" + NINES, " 999"],
            "far-beyond": [HUGE, NINES, "-" + HUGE],
        },
        "dialupcfg": {"well-formed": ["Falsch"], "odd": ["Vielleicht"], "true": ["wahr"]},
        "entrydat": {
            "well-formed": ["0191011", encipher("Uanna"), encipher("Pgeheim")],
            "no-markers": ["0191011", encipher("anna"), encipher("")],
            "plain-lines": ["0191011", "Uanna", "Pgeheim"],
            "number-long": ["0" * 3000, encipher("U" + "u" * 300), encipher("P" + "p" * 300)],
        },
        "entrytrf": {
            "well-formed": ["Netz", "M - Tag"],
            "none": ["[Keine Zuordnung]", "[Keine Zuordnung]"],
            "dotdot": ["../../Benutzer/Anna", "M - ../../x"],
            "kind-odd": ["Netz", "X - Tag"],
            "kind-only": ["Netz", "A"],
        },
        "deny": {
            "well-formed": ["Arcor", " 1", "T-Online", " 0"],
            "twice": ["Arcor", " 1", "Arcor", " 0"],
            "unpaired": ["Arcor", " 1", "Lone"],
        },
        "programs": {
            "well-formed": ["/bin/true", " 1", "/bin/false", " 0"],
            "flags-odd": ["/bin/a", HUGE, "/bin/b", "1,0", "/bin/c", "1.0", "/bin/d"],
        },
        "prerun": {"well-formed": [" 512"], "huge": [HUGE], "negative": ["-" + HUGE]},
        "chart": {
            "well-formed": [" 2", " 0", "Anna", "Netz", "M - Tag", " 2", " 3"],
            "positions-huge": [HUGE, "-" + HUGE, "", "", "", HUGE, "-" + HUGE],
        },
        "list": {
            "well-formed": [" 1", "Anna", "Netz", "M - Tag", " 1", " 2", " 2", " 100"]
                           + [" %d" % v for c in range(13) for v in (c, 60)],
            "huge": [NINES[:150]] * 34,
            "negative": ["-" + HUGE] * 34,
        },
        "difference": {
            "well-formed": [" 2", "1", "2", "3", "0:10:00", "1:00:00", "2:00:00", "500", "5000", "10000"],
            "durations-huge": [" 2", "0", "0", "0", HUGE + ":00:00", "-" + HUGE + ":00:00",
                               "%s:%s:%s" % (HUGE, HUGE, HUGE), "0", "0", "0"],
            "costs-huge": [" 1", NINES, "-" + NINES, "1" + "0" * 39, "0", "0", "0", "0", "0", "0"],
            "volumes-huge": [" 3", "0", "0", "0", "0", "0", "0", NINES, "-" + NINES, "1" + "0" * 39],
            "category-huge": [HUGE],
        },
        "period": {
            "well-formed": ["01.01.2001", "31.01.2001"],
            "reversed": ["31.12.2029", "1.1.1930"],
            "nonsense": ["99.99.99999", HUGE],
        },
        "tax": {"well-formed": [" 16"], "huge": [HUGE], "fraction": ["16,5"]},
    }
    for kind, named in cases.items():
        for name, value in named.items():
            files[kind + "-" + name] = value if isinstance(value, bytes) else lines_bytes(value)
    return files


UPDATE_LIST = ["*U*   12", "[0001]", "<tel/netz-tag.atl|Netz - Tag.atl>", "[0002]",
               "<tel/ost-abend.atl|Ost - Abend.atl>"]


def updatelist_corpus():
    files = common(lambda v: text_lines(["*U*" + v, "[0001]", "<tel" + v + "|" + v + ".atl>", "[" + v + "]"]))
    files.update({
        "well-formed": text_lines(UPDATE_LIST),
        "well-formed-lf": text_lines(UPDATE_LIST, "\n"),
        "well-formed-cr": text_lines(UPDATE_LIST, "\r"),
        "no-marker": text_lines(UPDATE_LIST[1:]),
        "sections-huge": text_lines(["*U*" + HUGE, "[0001]", "[" + HUGE + "]", "<a|b.atl>", "[-" + HUGE + "]",
                                     "<c|d.atl>", "[" + NINES + "]"]),
        "names-hostile": text_lines(["*U*1", "[0001]", "<tel/a|../x.atl>", "<tel/b|/etc/passwd.atl>",
                                     "<tel/c|x.tel>", "<tel/d|>", "<tel/e|" + "n" * 300 + ".atl>",
                                     "<tel/f|a/b.atl>", "<tel/g", "<tel/h|Netz - Tag.ATL>", "<tel/i|a\0b.atl>"]),
        "many-sections": text_lines(["*U*1"] + ["[%04d]" % i for i in range(1, 700)]),
        "revision-huge": text_lines(["*U* " + NINES]),
    })
    return files


if __name__ == "__main__":
    write_folder("cipher", cipher_corpus())
    write_folder("records", records_corpus())
    write_folder("users", users_corpus())
    write_folder("budgets", budgets_corpus())
    write_folder("tariffs", tariffs_corpus())
    write_folder("timepage", timepage_corpus())
    write_folder("peers", peers_corpus())
    write_folder("secrets", secrets_corpus())
    write_folder("install-log", install_log_corpus())
    write_folder("ini", ini_corpus())
    write_folder("registry", registry_corpus())
    write_folder("settings", settings_corpus())
    write_folder("updatelist", updatelist_corpus())
