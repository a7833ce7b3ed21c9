#!/usr/bin/env python3
"""Builds Varkel's game data files (Data/Q1*.dat, Data/Q2*.dat, Data/Q3*.dat).

The vocabulary comes from the name lists in ../shared/vocab (one name a line,
taken from each game's registration calls and tables). This script merges
them per game, lays the key names out in device-slot order, writes the item
lists and the sample scripts, and checks every set the way the program reads
it: no command twice, no item that is also a command, no key name twice, no
"=" or "~" key line, exactly 110 key-name lines. The key names of a game
that have no place on the panel (MOUSE4, CAPSLOCK, AUX1...) go to a second
file, <set>extrakeys.dat, in the order of the game's own key table.

Usage: tools/make_data.py [--vocab DIR] [--out DIR] [--check]
  --check  only verify that the files in --out are what this script writes.
Python 3 standard library only.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

GAMES = {
    "Q1": {"dir": "q1", "title": "Quake (with the QuakeWorld additions)",
           "commands": ["commands.txt", "commands-qw.txt"],
           "cvars": ["cvars.txt", "cvars-qw.txt"],
           "items": ["items.txt"]},
    "Q2": {"dir": "q2", "title": "Quake II (with the CTF additions)",
           "commands": ["commands.txt", "commands-ctf.txt"],
           "cvars": ["cvars.txt", "cvars-ctf.txt"],
           "items": ["items.txt", "items-ctf.txt"]},
    "Q3": {"dir": "q3", "title": "Quake III Arena (with the Team Arena additions)",
           "commands": ["commands.txt", "commands-ta.txt"],
           "cvars": ["cvars.txt", "cvars-ta.txt"],
           "items": ["items.txt", "items-ta.txt"]},
}

# ---------------------------------------------------------------------------
# Device slots 0..109: the key at each slot of the on-screen keyboard (its
# caption) and what the games call it. A name of one printable character is
# a key name in every game; any longer name must be in the game's own key
# table, otherwise the slot is "void" for that game. Slots the games cannot
# bind at all are None.

SLOTS = [
    ("Esc", "ESCAPE"), ("F1", "F1"), ("F2", "F2"), ("F3", "F3"), ("F4", "F4"),
    ("F5", "F5"), ("F6", "F6"), ("F7", "F7"), ("F8", "F8"), ("F9", "F9"),
    ("F10", "F10"), ("F11", "F11"), ("F12", "F12"),
    ("~", "`"), ("1", "1"), ("2", "2"), ("3", "3"), ("4", "4"), ("5", "5"),
    ("6", "6"), ("7", "7"), ("8", "8"), ("9", "9"), ("0", "0"), ("-", "-"),
    ("+", "+"), ("Backspace", "BACKSPACE"),
    ("Tab", "TAB"), ("Q", "q"), ("W", "w"), ("E", "e"), ("R", "r"), ("T", "t"),
    ("Y", "y"), ("U", "u"), ("I", "i"), ("O", "o"), ("P", "p"), ("[", "["),
    ("]", "]"),
    ("Caps", None), ("A", "a"), ("S", "s"), ("D", "d"), ("F", "f"), ("G", "g"),
    ("H", "h"), ("J", "j"), ("K", "k"), ("L", "l"), (";", "SEMICOLON"),
    ("'", "'"), ("Enter", "ENTER"),
    ("Shift", "SHIFT"), ("Z", "z"), ("X", "x"), ("C", "c"), ("V", "v"),
    ("B", "b"), ("N", "n"), ("M", "m"), (",", ","), (".", "."), ("/", "/"),
    ("Shift", None), ("\\", "\\"),
    ("Ctrl", "CTRL"), ("Alt", "ALT"), ("", "SPACE"), ("Alt", None),
    ("Ctrl", None), ("Prt", None), ("Scr", None), ("Pau", "PAUSE"),
    ("Ins", "INS"), ("Hm", "HOME"), ("PgU", "PGUP"), ("Del", "DEL"),
    ("End", "END"), ("PgD", "PGDN"),
    ("^", "UPARROW"), ("<", "LEFTARROW"), ("V", "DOWNARROW"),
    (">", "RIGHTARROW"),
    ("Num", None), ("/", "KP_SLASH"), ("*", "KP_STAR"), ("-", "KP_MINUS"),
    ("7", "KP_HOME"), ("8", "KP_UPARROW"), ("9", "KP_PGUP"),
    ("4", "KP_LEFTARROW"), ("5", "KP_5"), ("6", "KP_RIGHTARROW"),
    ("1", "KP_END"), ("2", "KP_DOWNARROW"), ("3", "KP_PGDN"), ("0", "KP_INS"),
    (".", "KP_DEL"), ("+", "KP_PLUS"), ("E", "KP_ENTER"),
    ("Mouse left", "MOUSE1"), ("Mouse right", "MOUSE2"),
    ("Mouse middle", "MOUSE3"), ("Wheel up", "MWHEELUP"),
    ("Wheel down", "MWHEELDOWN"),
    ("Joy 1", "JOY1"), ("Joy 2", "JOY2"), ("Joy 3", "JOY3"), ("Joy 4", "JOY4"),
]
VOID_SLOTS = {40, 64, 69, 70, 71, 72, 84}
SLOT_COUNT = 110

# ---------------------------------------------------------------------------
# Item picker entries. Each game's tool turns an entry into script text in
# its own way: Quake inserts "IMPULSE" and the entry's first character, Quake
# III inserts "weapon" and its first two characters, Quake II inserts the
# entry itself. A heading is three characters followed by "Items".

def q1_item_list(vocab):
    # "N Name": impulse N selects the weapon.
    return ["Q1 Items"] + read_list(vocab, "q1", "items.txt")


def q2_item_list(vocab):
    # "use <pickup name>" selects a weapon or uses a powerup; the engine finds
    # the item by its pickup name regardless of case.
    weapons = read_list(vocab, "q2", "weapons.txt")
    pickups = set(n.lower() for n in read_list(vocab, "q2", "items.txt"))
    ctf = set(n.lower() for n in read_list(vocab, "q2", "items-ctf.txt"))
    usable = ["Quad Damage", "Invulnerability", "Silencer", "Rebreather",
              "Environment Suit", "Power Screen", "Power Shield"]
    for name in usable:
        assert name.lower() in pickups, name
    assert "grapple" in ctf
    return (["Q2 Items"] + ["use " + w for w in weapons]
            + ["use " + u for u in usable] + ["use Grapple"])


def q3_item_list(vocab):
    # "N Name": weapon N selects the weapon (the number fills the first two
    # characters of the entry).
    return (["Q3 Items"] + read_list(vocab, "q3", "weapons.txt")
            + ["TA Items"] + read_list(vocab, "q3", "weapons-ta.txt"))


ITEM_LISTS = {"Q1": q1_item_list, "Q2": q2_item_list, "Q3": q3_item_list}

# ---------------------------------------------------------------------------
# Sample scripts for the colour preview of the options dialog.

SAMPLES = {}

SAMPLES["Q1"] = r'''// Quake sample script: player, movement, weapons
// ----------------------------------------------
name "Ranger"
topcolor 4
bottomcolor 12
team "blue"
sensitivity 6.5
m_pitch 0.022
fov 110
gamma 0.7
cl_maxfps 77
crosshair 1
crosshaircolor 79
rate 10000

// movement
bind w "+forward"
bind s "+back"
bind a "+moveleft"
bind d "+moveright"
bind SPACE "+jump"
bind CTRL "+speed"
bind MOUSE2 "+jump"
+mlook

// weapons by impulse number
alias rl "impulse 7"
alias gl "impulse 6"
alias lg "impulse 8"
bind MOUSE1 "+attack"
bind MWHEELUP "rl"
bind MWHEELDOWN "gl"
bind MOUSE3 "lg"
bind 1 "impulse 1"
bind 2 "impulse 2"
bind 3 "impulse 3"

// rocket jump: switch, jump and fire at once
alias +rj "impulse 7; +jump; +attack"
alias -rj "-jump; -attack"
bind e "+rj"

// talk and tools
bind t "messagemode"
bind y "messagemode2"
bind F1 "say_team quad at mid"
bind F12 "screenshot"
bind PAUSE "pause"
bind ` "toggleconsole"
exec teamplay.cfg
'''

SAMPLES["Q2"] = r'''// Quake II sample script: player, weapons, inventory
// --------------------------------------------------
name "Ranger"
skin "male/grunt"
hand 2
fov 100
cl_run 1
freelook 1
sensitivity 3
m_pitch 0.022
gl_modulate 1.5
cl_maxfps 90
set rate 15000

// movement
bind w "+forward"
bind s "+back"
bind a "+moveleft"
bind d "+moveright"
bind SPACE "+moveup"
bind c "+movedown"

// weapons
bind MOUSE1 "+attack"
bind MOUSE3 "use Railgun"
bind MWHEELUP "weapnext"
bind MWHEELDOWN "weapprev"
bind 1 "use Blaster"
bind 2 "use Super Shotgun"
bind 3 "use Chaingun"
bind q "use Rocket Launcher"
bind g "use Grenades"
bind f "use Quad Damage"
bind h "use Grapple"

// rocket jump
alias +rj "use Rocket Launcher; +moveup; +attack"
alias -rj "-moveup; -attack"
bind MOUSE2 "+rj"

// zoom that toggles itself
alias zoomin "fov 40; sensitivity 1.5; alias zoom zoomout"
alias zoomout "fov 100; sensitivity 3; alias zoom zoomin"
alias zoom "zoomin"
bind z "zoom"

// inventory
bind TAB "inven"
bind [ "invprev"
bind ] "invnext"
bind ENTER "invuse"
bind BACKSPACE "invdrop"
bind KP_ENTER "say_team need backup at base"
bind F1 "score"
bind F12 "screenshot"
bind ` "toggleconsole"
exec ctf.cfg
'''

SAMPLES["Q3"] = r'''// Quake III Arena sample script: player, weapons, vstr toggles
// -------------------------------------------------------------
seta name "Ranger"
seta model "sarge/krusade"
seta sensitivity "4.5"
seta cl_mouseAccel "0"
seta cg_fov "110"
seta cg_zoomfov "30"
seta com_maxfps "125"
seta cg_drawFPS "1"
seta cg_drawCrosshair "4"
seta r_picmip "2"
seta snaps "40"
seta rate "25000"
seta cl_maxpackets "63"

// movement
bind w "+forward"
bind s "+back"
bind a "+moveleft"
bind d "+moveright"
bind SPACE "+moveup"
bind c "+movedown"
bind TAB "+scores"

// weapons
bind MOUSE1 "+attack"
bind MOUSE2 "+zoom"
bind MOUSE4 "+button2"
bind MWHEELUP "weapprev"
bind MWHEELDOWN "weapnext"
bind 1 "weapon 1"
bind 2 "weapon 2"
bind q "weapon 5"
bind e "weapon 7"
bind r "weapon 6"

// field of view toggle with vstr
set fov_wide "cg_fov 120; set fovswitch vstr fov_narrow"
set fov_narrow "cg_fov 90; set fovswitch vstr fov_wide"
set fovswitch "vstr fov_narrow"
bind f "vstr fovswitch"

// talk, votes and tools
bind t "messagemode"
bind y "messagemode2"
bind F1 "vote yes"
bind F2 "vote no"
bind F3 "callvote map_restart"
bind F12 "screenshotJPEG"
bind ` "toggleconsole"
exec autoexec.cfg
'''

# ---------------------------------------------------------------------------


def read_list(vocab, game_dir, name):
    path = os.path.join(vocab, game_dir, name)
    with open(path, encoding="ascii") as f:
        return [line.strip() for line in f if line.strip()]


def merge(vocab, game_dir, names):
    """Merges lists, dropping a name already present in another spelling of case."""
    seen = set()
    merged = []
    for name in names:
        for word in read_list(vocab, game_dir, name):
            if word.lower() in seen:
                continue
            seen.add(word.lower())
            merged.append(word)
    merged.sort(key=str.lower)
    return merged


def is_char_key(name):
    return len(name) == 1 and 32 < ord(name) < 127 and name not in '";'


def key_names(vocab, game_dir):
    table = set(n.upper() for n in read_list(vocab, game_dir, "keynames.txt"))
    assert len(SLOTS) == SLOT_COUNT
    lines = []
    for slot, (caption, name) in enumerate(SLOTS):
        if slot in VOID_SLOTS:
            assert name is None, slot
            lines.append("void")
        elif is_char_key(name) or name.upper() in table:
            lines.append(name)
        else:
            lines.append("void")
    return lines


def extra_key_names(vocab, game_dir, slot_lines):
    """The game's key names that no panel slot holds, in key-table order."""
    on_panel = set(n.lower() for n in slot_lines if n != "void")
    return [n for n in read_list(vocab, game_dir, "keynames.txt") if n.lower() not in on_panel]


def single_word_items(vocab, game_dir, names):
    words = []
    for name in names:
        for item in read_list(vocab, game_dir, name):
            if " " not in item and item.lower() not in (w.lower() for w in words):
                words.append(item)
    return words


def build_set(vocab, set_name):
    game = GAMES[set_name]
    d = game["dir"]
    title = game["title"]
    files = {}
    commands = merge(vocab, d, game["commands"])
    cvars = merge(vocab, d, game["cvars"])
    items = single_word_items(vocab, d, game["items"])
    command_keys = set(c.lower() for c in commands)
    # An item that is also a command would stop the dictionary build.
    items = [i for i in items if i.lower() not in command_keys]

    files["cmdlst.dat"] = ["// " + title + ": console commands"] + commands
    files["cvrlst.dat"] = ["// " + title + ": console variables"] + cvars
    if set_name == "Q1":
        items_header = ["// " + title + ": weapons are chosen by impulse number;",
                        "// Varkel does not read this list for Quake"]
    else:
        items_header = ["// " + title + ": single-word item names used in scripts"]
    files["items.dat"] = items_header + items
    files["ItemList.dat"] = (["// " + title + ": item picker entries"]
                             + ITEM_LISTS[set_name](vocab))
    slot_lines = key_names(vocab, d)
    files["keynames.dat"] = (["// " + title + ": one key name per device slot 0..109,",
                              "// void = a slot without a key name"]
                             + slot_lines)
    files["extrakeys.dat"] = (["// " + title + ": the game's other key names,",
                               "// keys that have no place on the device panel"]
                              + extra_key_names(vocab, d, slot_lines))
    files["sample.dat"] = SAMPLES[set_name].splitlines()
    game_keys = set(n.lower() for n in read_list(vocab, d, "keynames.txt"))
    check_set(set_name, files, game_keys)
    return files


def words_of(lines):
    return [l.strip(" ").lower() for l in lines if "//" not in l]


def check_set(set_name, files, game_keys):
    """Reads the set the way the program does and fails on anything that
    would stop its dictionary build."""
    keywords = {}

    def add(word, cls, what):
        if word in keywords:
            sys.exit(f"{set_name}: {what} {word!r} is already in the dictionary")
        keywords[word] = cls

    for w in words_of(files["cmdlst.dat"]):
        add(w, 2, "command")
    if set_name != "Q1":
        for w in words_of(files["items.dat"]):
            add(w, 4, "item")
    slots = words_of(files["keynames.dat"])
    if len(slots) != SLOT_COUNT:
        sys.exit(f"{set_name}: {len(slots)} key-name lines, not {SLOT_COUNT}")
    index = {}
    for slot, name in enumerate(slots):
        if name[:4] == "void":
            continue
        if name in index:
            sys.exit(f"{set_name}: key name {name!r} twice")
        index[name] = slot
        keywords.setdefault(name, 5)
    for name in words_of(files["extrakeys.dat"]):
        if name in index or name in ("=", "~") or name[:4] == "void" or not name:
            sys.exit(f"{set_name}: extra key name {name!r} is a panel key, a symbol, void or empty")
        index[name] = None
        keywords.setdefault(name, 5)
    add("=", 5, "key")
    add("~", 5, "key")
    for w in words_of(files["cvrlst.dat"]):
        keywords.setdefault(w, 3)
    for name, lines in files.items():
        for line in lines:
            if line != line.strip(" ") or (not line and name != "sample.dat"):
                sys.exit(f"{set_name}{name}: blank or padded line {line!r}")
    for v in VOID_SLOTS:
        if slots[v] != "void":
            sys.exit(f"{set_name}: slot {v} must be void")
    for word in ("bind", "exec", "+attack", "sensitivity", "mouse1", "mwheelup", "mwheeldown"):
        if word not in keywords:
            sys.exit(f"{set_name}: {word!r} missing")
    check_sample(set_name, files["sample.dat"], keywords, game_keys | set(index))


def tokens(line):
    """Splits a script line into words; a quoted run is one word."""
    out, i = [], 0
    while i < len(line):
        if line[i] in " \t":
            i += 1
        elif line.startswith("//", i):
            break
        elif line[i] == '"':
            j = line.find('"', i + 1)
            j = len(line) if j < 0 else j
            out.append(line[i + 1:j])
            i = j + 1
        else:
            j = i
            while j < len(line) and line[j] not in ' \t"':
                j += 1
            out.append(line[i:j])
            i = j
    return out


def check_sample(set_name, lines, keywords, keys):
    """Every statement of a sample must start with a command, a cvar or a name
    the sample defines, and every bound key must be a key of the game."""
    defined = set()
    scripts = set()  # variables run with vstr: their values are statements
    for line in lines:
        t = tokens(line)
        if len(t) >= 2 and t[0] in ("alias", "set", "seta"):
            defined.add(t[1].lower())
        for part in " ".join(t).split(";"):
            words = part.split()
            if len(words) >= 2 and words[0] == "vstr":
                scripts.add(words[1].lower())
    if set_name == "Q3" and any(tokens(l)[:1] == ["alias"] for l in lines):
        sys.exit("Q3 sample uses alias")
    for line in lines:
        statements = [tokens(line)]
        t = statements[0]
        if len(t) >= 3 and (t[0] in ("alias", "bind")
                            or (t[0] in ("set", "seta") and t[1].lower() in scripts)):
            statements += [tokens(s) for s in t[2].split(";")]
        for s in statements:
            if not s:
                continue
            head = s[0].lower()
            if head not in keywords and head not in defined:
                sys.exit(f"{set_name} sample: unknown word {s[0]!r} in {line!r}")
            if keywords.get(head) == 5 and head not in defined:
                sys.exit(f"{set_name} sample: statement starts with a key in {line!r}")
        if t and t[0] == "bind" and t[1].lower() not in keys and not is_char_key(t[1]):
            sys.exit(f"{set_name} sample: {t[1]!r} is not a key of the game")


def encode(lines):
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--vocab", default=os.path.join(REPO, "..", "shared", "vocab"))
    ap.add_argument("--out", default=os.path.join(REPO, "Data"))
    ap.add_argument("--check", action="store_true")
    args = ap.parse_args()

    stale = []
    for set_name in GAMES:
        for name, lines in build_set(args.vocab, set_name).items():
            path = os.path.join(args.out, set_name + name)
            data = encode(lines)
            if args.check:
                try:
                    with open(path, "rb") as f:
                        if f.read() != data:
                            stale.append(path)
                except OSError:
                    stale.append(path)
            else:
                os.makedirs(args.out, exist_ok=True)
                with open(path, "wb") as f:
                    f.write(data)
    if stale:
        sys.exit("out of date: " + ", ".join(stale))


if __name__ == "__main__":
    main()
