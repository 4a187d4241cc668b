#!/usr/bin/env python3
"""Listens to the game's announcements as a player would hear them.

Each run of words is rendered with `oralis say -o` and measured:
- its duration;
- the largest step between two samples where two pieces join (a click),
  next to the largest step inside the pieces themselves;
- that no word is silent and the voice lacks no name they need;
- that stressed syllables last longer than unstressed ones.
The join positions come from `oralis voice check --trace`, which walks the
phoneme string as the synthesizer does; the walk's total length must equal
the rendered one, which also checks the walk against the synthesizer.

    bench/listen_check.py ORALIS_PROGRAM DATA_FOLDER [--speed N]
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import wave

ANNOUNCEMENTS = [
    "Aguarde o carregamento do arquivo das palavras", "letrada",
    "Ouça a palavra que foi escolhida", "Na chuva de letras", "vá teclando enter",
    "Em cada letra correspondente", "para escrever a palavra sitada",
    "Se a letra não servir", "tecle Esc", "tecle espaço para repetir",
    "Enter para outra palavra", "tecle J para jogar", "Vamos começar a chuva de letras",
    "Final de jogo", "Você fez", "Pontos", "ok", "fim de jogo", "quer jogar novamente",
    "Quirandel agradece", "alfa", "bravo", "charle", "delta", "eco", "fox", "golfe", "hotel",
    "india", "juliet", "kilo", "lima", "maic", "november", "oscar", "papa", "quebec", "romeu",
    "sierra", "tango", "unifórm", "victor", "exrei", "yanc", "zulu",
]


MISSING = []  # names the walk looked up and the voice lacks


def read_index(path):
    data = open(path, "rb").read()
    index = {}
    for at in range(0, len(data) - 14, 15):
        n = data[at]
        name = data[at + 1:at + 1 + n].decode("latin-1")
        length, offset = struct.unpack("<Hi", data[at + 9:at + 15])
        index[name] = (length, offset)
    return index


def read_settings(ini, speed):
    values, section = {}, None
    for line in open(ini, encoding="cp1252"):
        line = line.strip()
        if line.startswith("["):
            section = line.strip("[]").upper()
        elif section == "SINTETIZADOR" and "=" in line and not line.startswith(";"):
            key, value = line.split("=", 1)
            values[key.strip().upper()] = value.strip()
    num = lambda key: int(re.match(r"-?\d*", values.get(key + str(speed), "0")).group() or 0)
    return num("CORTEFON"), num("SOBRAFON"), num("INTERPAL")


def render(program, text, speed):
    with tempfile.NamedTemporaryFile(suffix=".wav", delete=False) as f:
        path = f.name
    subprocess.run([program, "say", "--speed", str(speed), "-o", path, text], check=True)
    w = wave.open(path)
    samples, rate = w.readframes(w.getnframes()), w.getframerate()
    os.unlink(path)
    return samples, rate


def character_sound(data, name):
    w = wave.open(os.path.join(data, "som", "letras", name + ".wav"))
    return w.getnframes()


def pieces(program, text, index, settings, data):
    """(name, start, length, stressed) of every piece the walk plays."""
    trim, kept_at_least, gap = settings
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
        f.write(text + "\n")
        path = f.name
    out = subprocess.run([program, "voice", "check", "--trace", "--show", "0", path],
                         capture_output=True, text=True, check=True).stdout
    os.unlink(path)
    trace = out.splitlines()[0].split("\t")[2].split()
    result, at = [], 0
    for token in trace:
        if token == "|":
            at += gap // 100 * 100
            continue
        m = re.match(r"(.*?)(\?)?\*([\d.e-]+)(')?$", token)
        name, missing, factor, stressed = m.group(1), m.group(2), float(m.group(3)), m.group(4)
        if missing:
            MISSING.append(name)
            continue
        if name.startswith("_"):
            count = character_sound(data, name)
            result.append((name, at, count, bool(stressed)))
            at += count
            continue
        full = index[name.upper()][0]
        length = full
        if not stressed and len(name) > 2:
            length = full - trim
            if length < kept_at_least:
                length = full if full < kept_at_least else kept_at_least
        count = max(0, int(length * factor))
        result.append((name, at, count, bool(stressed)))
        at += count
    return result, at


def main():
    program, data = sys.argv[1], sys.argv[2]
    speed = int(sys.argv[sys.argv.index("--speed") + 1]) if "--speed" in sys.argv else 3
    index = read_index(os.path.join(data, "som", "difones", "DIFONES.IND"))
    settings = read_settings(os.path.join(data, "ORALIS.INI"), speed)
    dif = open(os.path.join(data, "som", "difones", "DIFONES.DIF"), "rb").read()
    inner = 0
    for length, offset in index.values():
        run = dif[offset:offset + length]
        inner = max([inner] + [abs(run[i] - run[i - 1]) for i in range(1, len(run))])
    worst_join, joins, silent, total_seconds, mismatches = (0, ""), [], [], 0.0, []
    stressed, unstressed = [], []
    for text in ANNOUNCEMENTS:
        samples, rate = render(program, text, speed)
        found, predicted = pieces(program, text, index, settings, data)
        if predicted != len(samples):
            mismatches.append("%s: walk %d, synthesizer %d" % (text, predicted, len(samples)))
        seconds = len(samples) / float(rate)  # faster playback raises the rate
        total_seconds += seconds
        loud = sum(1 for s in samples if abs(s - 128) > 12)
        if loud < 300:
            silent.append(text)
        for name, start, count, is_stressed in found:
            if len(name) > 2 and not name.startswith("_"):
                (stressed if is_stressed else unstressed).append(count)
            if 0 < start < len(samples):
                jump = abs(samples[start] - samples[start - 1])
                joins.append(jump)
                if jump > worst_join[0]:
                    worst_join = (jump, "%s, antes de %s" % (text, name))
        print("%-48s %5.2f s  %s" % (text, seconds, " ".join(n for n, *_ in found)))
    joins.sort()
    print()
    print("velocidade %d: CORTEFON %d, SOBRAFON %d, INTERPAL %d" % ((speed,) + settings))
    print("duração total: %.1f s em %d textos" % (total_seconds, len(ANNOUNCEMENTS)))
    print("junções: %d; maior salto %d (%s); 99 %% até %d; mediana %d" % (
        len(joins), worst_join[0], worst_join[1], joins[int(0.99 * (len(joins) - 1))],
        joins[len(joins) // 2]))
    print("maior salto dentro das unidades: %d" % inner)
    print("sílabas tônicas: %.0f ms em média; átonas: %.0f ms" % (
        1000 * sum(stressed) / len(stressed) / 11025, 1000 * sum(unstressed) / len(unstressed) / 11025))
    print("textos sem som: %s" % (", ".join(silent) or "nenhum"))
    print("nomes que faltam à voz: %s" % (" ".join(sorted(set(MISSING))) or "nenhum"))
    print("comprimento previsto pelo percurso = sintetizado: %s" % (
        "sim" if not mismatches else "não: " + "; ".join(mismatches)))


if __name__ == "__main__":
    main()
