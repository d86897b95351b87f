#!/usr/bin/env python3
"""Writes the golden text exports of the small fixture chart.

Run from this folder: python3 make_export_golden.py. It works from the file
rules alone (Single rounding through struct, the grid, the interpolation,
the wrapping and the number patterns), independently of the C++ code;
TextExportTest.cpp builds the same chart and compares the bytes.
"""
import struct
from decimal import Decimal, ROUND_HALF_UP


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


# The fixture: a strip chart at 5 points a second (300 a minute).
PPU = 5.0 * 60
MPP = 1 / PPU
Y1 = [0.0, 0.0125, 0.05, 0.1125, 0.2, 0.3125, 0.45, 0.6125, 0.8, 1.0125, 1.25, 1.1, 0.95]
Y2 = [10.5, 10.75, 11.0, 11.5, 12.25, 13.0, 14.5, 16.0, 18.5, 21.0, 24.5, 28.0, 31.5]
LABELS = [('S', 0.0), ('10', 0.01), ('m', 0.02), ('E', 0.04), ('M', 0.05)]
METHODS = ['Method 7: gradient\r\n\r\n', 'Wash 5 min\r\n']
NOTES = ('Column 2 was flushed with buffer A before the run started at 25 \xb5S.\r\n'
         '\r\n'
         '   \r\n'
         'Sample_identifier_ABCDEFGHIJKLMNOPQRSTUVWXYZ_01 loaded\r\n'
         'OK')

Y1 = [f32(v) for v in Y1]
Y2 = [f32(v) for v in Y2]
LABELS = [(t, f32(x)) for t, x in LABELS]

DASHES = '-' * 50
NAMES = {'M': 'Mark', 'S': 'Start', 'E': 'End', 'P': 'Pause', 'H': 'Hold', 'C': 'Continue', 'F': 'Flowrate'}


def fmt(v, decimals, sep):
    """A Single in a "0.000" pattern: from its 7-digit form, halves away from zero."""
    d = Decimal('%.6e' % abs(v)).quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP)
    s = '{:.{}f}'.format(d, decimals)
    if v < 0 and d != 0:
        s = '-' + s
    return s.replace('.', sep)


def index_to_time(i):
    return f32(i * MPP)


def time_to_index(t):
    return round(t * PPU - 0.5)  # Python rounds halves to even


def interpolate_y(x1, y1, x2, y2, x):
    if x1 == x2:
        return y1
    slope = (y2 - y1) / (x2 - x1)
    return f32((y1 - slope * x1) + slope * x)


def trace(values, t):
    i = time_to_index(t)
    assert 0 <= i < len(values), 'the fixture stays inside the run'
    ta = index_to_time(i)
    if t == ta or i + 1 >= len(values):
        return values[i]
    return interpolate_y(ta, values[i], index_to_time(i + 1), values[i + 1], t)


def lines(text):
    """Every line up to the next CR, past the CR LF."""
    pos = 0
    while pos < len(text):
        cr = text.find('\r', pos)
        end = len(text) if cr < 0 else cr
        yield text[pos:end]
        pos = end + 2


def notes_lines(text, width=40):
    pos = 0
    while pos < len(text):
        cr = text.find('\r', pos)
        end = len(text) if cr < 0 else cr
        if end - pos <= width:
            part, pos = text[pos:end], end + 2
        else:
            part, nxt = text[pos:pos + width], pos + width
            if text[nxt] != ' ' and ' ' in part:
                cut = part.rindex(' ') + 1
                part, nxt = part[:cut], pos + cut
            pos = nxt
        yield part.strip(' ')


def export(uv, cond, events, notes, methods, method_pos, t_from, t_to, rate, n, sep):
    t_from, t_to, rate = f32(t_from), f32(t_to), f32(rate)
    all_methods = ''.join(METHODS) if methods else ''
    if not all_methods:
        method_pos = -1
    head = [''] * 6
    rows = []
    values = (uv or cond) and n > 0
    if values:
        step = f32(1 / (rate * 60))
        times = [f32(t_from + i * step) for i in range(n)]
        head[0] = 'Time [min.]:'
        if uv:
            head[1] = 'UV [A.U.]:'
        if cond:
            head[2] = 'Conductivity [mS/cm]:'
        for t in times:
            rows.append([fmt(t, 3, sep), fmt(trace(Y1, t), 4, sep) if uv else '',
                         fmt(trace(Y2, t), 2, sep) if cond else ''])

    def column(cells, c):
        for r, cell in enumerate(cells):
            while len(rows) <= r:
                rows.append([''] * 3)
            rows[r] += [''] * (c - len(rows[r])) + [cell]

    if events:
        picked = [(t, x) for t, x in LABELS if t_from <= x <= t_to]
        if picked:
            head[3] = 'Events:'
            column(['%s  %s min' % (NAMES.get(t, 'Fraction'), fmt(x, 2, sep)) for t, x in picked], 3)
    if method_pos == 2:
        head[4] = 'Methods Information:'
        column([l or DASHES for l in lines(all_methods)] + [''], 4)
    if notes and NOTES:
        head[5] = 'Notes:'
        column([l or DASHES for l in notes_lines(NOTES)] + [''], 5)

    block = ['Methods Information:'] + [l or DASHES for l in lines(all_methods)]
    out = []
    if method_pos == 0:
        out += block
    out.append('\t'.join(head))
    out += ['\t'.join(r + [''] * (6 - len(r))) for r in rows]
    if method_pos == 1:
        out += block
    return ''.join(l + '\r\n' for l in out).encode('cp1252')


# name, ExpUV, ExpCond, ExpEvents, ExpNotes, ExpMethods, MethodPos, from, to, rate, rows, separator
CASES = [
    ('all_before', True, True, True, True, True, 0, 0.005, 0.04, 4, 9, '.'),
    ('all_after', True, True, True, True, True, 1, 0.005, 0.04, 4, 9, '.'),
    ('all_column', True, True, True, True, True, 2, 0.005, 0.04, 4, 9, '.'),
    ('all_column_comma', True, True, True, True, True, 2, 0.005, 0.04, 4, 9, ','),
    ('uv_only', True, False, False, False, False, 0, 0.005, 0.04, 4, 9, '.'),
    ('cond_events', False, True, True, False, False, 0, 0.005, 0.04, 4, 9, '.'),
    ('lists_only', True, True, True, True, True, 2, 0.005, 0.04, 4, 0, '.'),
    ('nothing', False, False, False, False, False, 1, 0.005, 0.04, 4, 9, '.'),
    ('notes_only', False, False, False, True, False, 0, 0.005, 0.04, 4, 9, '.'),
]

if __name__ == '__main__':
    for name, *args in CASES:
        with open(name + '.txt', 'wb') as f:
            f.write(export(*args))
