#!/usr/bin/env python3
"""Writes the golden data and log files from the byte layout alone.

Run from this folder: python3 make_golden.py. The tests build the same
charts through the chart code and compare their bytes with these files.
"""
import struct


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


def text(s):
    b = s.encode('cp1252')
    return struct.pack('<H', len(b)) + b


def header(ranges, mc, mu, lc, lu, n, pu):
    out = struct.pack('<f', 1.1) + b''.join(struct.pack('<f', r) for r in ranges)
    out += struct.pack('<6i', mc, mu, lc, lu, n, pu)
    return out + bytes(84)


def method(m, x):
    return text(m) + struct.pack('<f', x)


def label(l, color, offset, x):
    return text(l) + struct.pack('<ihf', color, offset, x)


def point(y1, y2):
    return struct.pack('<ff', y1, y2)


DEFAULT_RANGES = (0, 10, f32(-0.2), 2, 0, 500)


def data_file(ranges, notes, methods, mu, labels, lu, points, pu, point_records):
    out = header(ranges, len(methods), mu, len(labels), lu, len(points), pu)
    out += text(notes)
    out += b''.join(method(*m) for m in methods) + method('', 0) * (mu + 1 - len(methods))
    out += b''.join(label(*l) for l in labels) + label('', 0, 0, 0) * (lu + 1 - len(labels))
    out += b''.join(point(*p) for p in points) + point(0, 0) * (point_records - len(points))
    return out


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


# A fresh chart: header, empty notes, one element of each store.
write('empty.chd', data_file(DEFAULT_RANGES, '', [], 0, [], 0, [], 0, 1))

# Three points, a label, a method and notes: bounds 30001, 26 and 26.
FIXTURE_POINTS = [(0.5, 10), (0.25, 12.5), (-0.125, 15)]
write('fixture.chd', data_file(DEFAULT_RANGES, 'Run A\r\nbuffer B', [('Gradient 1\r\n', 0.75)], 26,
                               [('S', 255, 60, 2.5)], 26, FIXTURE_POINTS, 30001, 30002))

# 200 points (i / 100, i); view 0.25 .. 0.5 min. 0.25 min is sample 75 and
# 75 - 0.5 ties to the even 74; 0.5 min gives 149.5, which ties to 150.
i0, i1 = 74, 150
sel_points = [(f32(i / 100), float(i)) for i in range(i0, i1 + 1)]
n = len(sel_points)
sel_labels = [('S', 255, 60, 0.0), ('7', 0xFF00, 100, 0.25)]
sel_methods = [('Wash', f32(f32(0.3) - 0.25))]
write('selection_tie.chd',
      data_file((0, 0.25, 0, 1, 0, 100), 'Run A\r\nbuffer B', sel_methods, 1, sel_labels, 2, sel_points, n, n + 1))

# A rebuilt log: DLog1 three points, DLog2 two, a label logged at minute
# 1500 and a method at 1445.5 minute, TLog 1440.0. The point bound equals the
# count and exactly that many records follow.
log_points = [(0.125, 1), (0.25, 2), (0.375, 3), (0.5, 4), (0.625, 5)]
x_end = f32(4 * (1 / 300))
write('rebuilt.chl', data_file((0, x_end, f32(-0.2), 2, 0, 500), '', [('Step 2\r\n', 5.5)], 26,
                               [('E', 0xFF, 20, 60.0)], 26, log_points, 5, 5))
