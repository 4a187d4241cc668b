#!/usr/bin/env python3
"""Agreement of the built-in voice's transcription with espeak-ng's pt-br.

Both transcriptions of each word are mapped to one coarse phoneme set and
compared: the share of words transcribed alike, the phoneme error rate (edit
distance over espeak-ng's length) and the most frequent differences, so that
each can be studied. espeak-ng is a reference, not an oracle.

    bench/transcription_agreement.py ORALIS_PROGRAM [WORD_LIST] [--show N]

ORALIS_PROGRAM is the built `oralis` (its configured voice is used); the word
list defaults to bench/palavras_frequentes.txt.
"""
import collections
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- the voice's phonemes (see docs/voice.md, "Diphone units")
OURS = [("tch", ["tS"]), ("dj", ["dZ"]), ("nh", ["J"]), ("lh", ["L"]), ("rr", ["R"]),
        ("ks", ["k", "s"]), ("kw", ["k", "w"]), ("gw", ["g", "w"]),
        ("a^", ["6"]), ("e^", ["e"]), ("o^", ["o"]), ("a~", ["6~"]), ("e~", ["e~"]),
        ("i~", ["i~"]), ("o~", ["o~"]), ("u~", ["u~"]), ("a", ["a"]), ("e", ["E"]), ("i", ["i"]),
        ("o", ["O"]), ("u", ["u"]), ("y", ["j"]), ("w", ["w"]), ("x", ["S"]), ("j", ["Z"]),
        ("r", ["r"])]
for c in "bdfgklmnpstvz":
    OURS.append((c, [c]))

# ---- espeak-ng's pt phoneme names, longest first
ESPEAK = [("lj", ["L"]), ("&U~", ["6~", "w"]), ("&~", ["6~"]), ("aI", ["a", "j"]), ("aU", ["a", "w"]),
          ("eI", ["e", "j"]), ("EI", ["E", "j"]), ("oI", ["o", "j"]), ("OI", ["O", "j"]),
          ("uI", ["u", "j"]), ("iU", ["i", "w"]), ("eU", ["e", "w"]), ("EU", ["E", "w"]),
          ("oU", ["o", "w"]), ("OU", ["O", "w"]), ("tS", ["tS"]), ("dZ", ["dZ"]), ("n^", ["J"]),
          ("l^", ["L"]), ("e~", ["e~"]), ("i~", ["i~"]), ("o~", ["o~"]), ("u~", ["u~"]),
          ("a~", ["6~"]), ("&", ["6"]), ("a", ["a"]), ("E", ["E"]), ("e", ["e"]), ("i", ["i"]),
          ("I", ["i"]), ("y", ["i"]), ("O", ["O"]), ("o", ["o"]), ("u", ["u"]), ("U", ["u"]),
          ("w", ["w"]), ("j", ["j"]), ("S", ["S"]), ("Z", ["Z"]), ("*", ["r"]), ("r", ["r"]),
          ("x", ["R"]), ("h", ["R"]), ("R", ["r"]), ("N", ["N"]), ("@", [])]
for c in "bdfgklmnpstvz":
    ESPEAK.append((c, [c]))
VOWELS = {"a", "6", "E", "e", "i", "O", "o", "u", "6~", "e~", "i~", "o~", "u~"}
NASAL = {"a": "6~", "6": "6~", "E": "e~", "e": "e~", "i": "i~", "O": "o~", "o": "o~", "u": "u~"}


def tokenize(text, table):
    out, i = [], 0
    while i < len(text):
        for sym, phones in table:
            if text.startswith(sym, i):
                out.extend(phones)
                i += len(sym)
                break
        else:
            i += 1  # stress marks, lengths, syllable and pause signs
    return out


def coarse(phones):
    """Merges what the two notations write differently for the same sound."""
    out = []
    for k, p in enumerate(phones):
        nxt = phones[k + 1] if k + 1 < len(phones) else None
        if p == "N":  # espeak-ng's nasal coda: a nasal vowel
            for back in range(len(out) - 1, -1, -1):
                if out[back] in NASAL:
                    out[back] = NASAL[out[back]]
                    break
                if out[back] not in ("j", "w"):
                    break
            continue
        if p in ("m", "n") and nxt is not None and nxt not in VOWELS and nxt not in ("j", "w") \
                and out and out[-1] in NASAL:
            out[-1] = NASAL[out[-1]]  # a nasal consonant closing a syllable
            continue
        if p == "l" and (nxt is None or nxt not in VOWELS):
            p = "w"  # l in the coda is a glide in Brazil
        if p == "w" and out and out[-1] in ("o",):
            continue  # "ou" is said o
        out.append(p)
    return out


def ours_of(program, words):
    result = subprocess.run([program, "phonemes", " ".join(words)], capture_output=True,
                            text=True, check=True).stdout.strip()
    # One group per word (the list has no word without a vowel, which would
    # be spelled character by character).
    groups = [g for g in result.split("]") if g.startswith("[")]
    return [coarse(tokenize(g[1:].lower().replace("/", "").replace(" ", "").replace("_", ""),
                            OURS)) for g in groups]


def espeak_of(words):
    result = subprocess.run(["espeak-ng", "-q", "-x", "-v", "pt-br"], input="\n".join(words),
                            capture_output=True, text=True, check=True).stdout
    return [coarse(tokenize(line.strip(), ESPEAK)) for line in result.splitlines() if line.strip()]


def distance(a, b):
    row = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        prev, row[0] = row[0], i
        for j, y in enumerate(b, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (x != y))
    return row[len(b)]


def differences(a, b):
    """The substitutions, insertions and deletions that turn b into a."""
    import difflib
    out = []
    for op, i1, i2, j1, j2 in difflib.SequenceMatcher(None, b, a, autojunk=False).get_opcodes():
        if op != "equal":
            out.append("%s→%s" % (" ".join(b[j1:j2]) or "∅", " ".join(a[i1:i2]) or "∅"))
    return out


def main():
    args = sys.argv[1:]
    show = 25
    if "--show" in args:
        k = args.index("--show")
        show = int(args[k + 1])
        del args[k:k + 2]
    program = args[0]
    path = args[1] if len(args) > 1 else os.path.join(HERE, "palavras_frequentes.txt")
    words = [w.strip() for w in open(path, encoding="utf-8") if w.strip()]
    ours, theirs = [], []
    for start in range(0, len(words), 200):  # keeps the command line short
        chunk = words[start:start + 200]
        ours += ours_of(program, chunk)
        for w in chunk:
            theirs += espeak_of([w])
    assert len(ours) == len(words) == len(theirs), (len(ours), len(words), len(theirs))
    alike = sum(1 for a, b in zip(ours, theirs) if a == b)
    errors = sum(distance(a, b) for a, b in zip(ours, theirs))
    total = sum(len(b) for b in theirs)
    print("palavras: %d" % len(words))
    print("transcritas igual ao espeak-ng: %d (%.1f %%)" % (alike, 100.0 * alike / len(words)))
    print("fonemas diferentes: %d de %d (%.1f %%)" % (errors, total, 100.0 * errors / total))
    counts, examples = collections.Counter(), collections.defaultdict(list)
    for w, a, b in zip(words, ours, theirs):
        for d in differences(a, b):
            counts[d] += 1
            if len(examples[d]) < 4:
                examples[d].append("%s (oralis %s, espeak-ng %s)" % (w, "".join(a), "".join(b)))
    print("diferenças mais comuns (espeak-ng → oralis):")
    for d, n in counts.most_common(show):
        print("  %4d  %-12s %s" % (n, d, "; ".join(examples[d][:2])))


if __name__ == "__main__":
    main()
