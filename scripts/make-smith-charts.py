#!/usr/bin/env python3
"""Writes the Smith chart files exe/smith.dat (fine grid) and exe/smith1.dat
(coarse grid, used when the setting SMITH is nonzero).

Run from the repository root: scripts/make-smith-charts.py

Format (tab-separated, one item a line):
  Z <tab> g <tab> lo <tab> hi   grid value g: the resistance circle r = g and
                                the reactance arcs x = +-g, drawn where the
                                other coordinate lies within lo ... |hi|;
                                a negative hi gives a light, unlabelled line.
                                The values in file order are also the points
                                the lines are traced through, so they are
                                written in rising order.
  NAME <tab> v,p <tab> v,p ...  ruler NAME with value v at distance p (chart
                                radii, 0 at the centre line) from the centre.
Lines starting with an apostrophe are comments.

Every ruler position is |G|, the magnitude of the reflection coefficient
that has the ruler's value:
  SWR  standing-wave ratio s            |G| = (s - 1) / (s + 1)
  SDB  SWR in dB, 20 log10 s            s = 10^(dB / 20), then as SWR
  RHO  voltage reflection coefficient   |G| = value
  RHP  power reflection coefficient     |G| = sqrt(value)
  RFL  reflection (mismatch) loss, dB   |G| = sqrt(1 - 10^(-L / 10))
  RTL  return loss, dB                  |G| = 10^(-RL / 20)
  ATT  one-way line attenuation, dB     |G| = 10^(-A / 10) (there and back
                                        on a line ending in a short or open)
"""
import math
import os

RULERS = {
    "SWR": lambda s: (s - 1) / (s + 1),
    "SDB": lambda db: (10 ** (db / 20) - 1) / (10 ** (db / 20) + 1),
    "RHO": lambda g: g,
    "RHP": lambda p: math.sqrt(p),
    "RFL": lambda loss: math.sqrt(1 - 10 ** (-loss / 10)),
    "RTL": lambda rl: 10 ** (-rl / 20),
    "ATT": lambda a: 10 ** (-a / 10),
}

FINE_GRID = (
    # value, lo, hi. Labelled lines across the whole chart ...
    [(v, 0, 50) for v in (0, 0.2, 0.5, 1, 2, 5, 10)]
    # ... labelled lines that end before the chart gets dense near the open
    # circuit ...
    + [(v, 0, 2) for v in (0.1, 0.3, 0.4, 0.6, 0.7, 0.8, 0.9)]
    + [(v, 0, 5) for v in (1.2, 1.4, 1.6, 1.8)]
    + [(v, 0, 10) for v in (3, 4)]
    # ... and light, unlabelled lines between them.
    + [(v / 100, 0, -1) for v in range(5, 100, 10)]
    + [(v, 0, -2) for v in (1.1, 1.3, 1.5, 1.7, 1.9)]
    + [(v, 0, -5) for v in (2.5, 3.5, 4.5)]
    + [(v, 0, -10) for v in (6, 7, 8, 9)]
    + [(v, 0, -20) for v in (15, 20)]
    + [(v, 0, -50) for v in (30, 50)]
)
# The rulers of the left half leave out their value at the centre, where the
# right half has its own.
FINE_RULERS = {
    "SWR": [1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 7, 10, 20],
    "SDB": [1, 2, 3, 4, 5, 6, 8, 10, 15, 20],
    "RHO": [v / 10 for v in range(0, 11)],
    "RHP": [0.01, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.8, 1],
    "RFL": [0, 0.1, 0.5, 1, 2, 3, 4, 6, 10],
    "RTL": [30, 20, 15, 10, 7, 5, 4, 3, 2, 1, 0],
    "ATT": [0, 0.5, 1, 2, 3, 4, 5, 6, 8, 10],
}

COARSE_GRID = [(v, 0, 50) for v in (0, 0.2, 0.5, 1, 2, 5, 10)] + [(50, 0, -50)]
COARSE_RULERS = {
    "SWR": [1, 1.5, 2, 3, 5, 10],
    "SDB": [2, 4, 6, 10, 20, 30],
    "RHO": [0, 0.2, 0.4, 0.6, 0.8, 1],
    "RHP": [0.1, 0.2, 0.3, 0.5, 0.7, 1],
    "RFL": [0, 0.5, 1, 2, 4, 10],
    "RTL": [20, 10, 6, 3, 1, 0],
    "ATT": [0, 1, 2, 4, 6, 10],
}


def number(v):
    """A value as the chart file writes it: no trailing zeros."""
    text = ("%.4f" % v).rstrip("0").rstrip(".")
    return text if text != "-0" else "0"


def chart_text(title, grid, rulers):
    lines = ["' " + title, "' Written by scripts/make-smith-charts.py; see there for the format."]
    for value, lo, hi in sorted(grid):
        lines.append("\t".join(["Z", number(value), number(lo), number(hi)]))
    for name, values in rulers.items():
        items = [number(v) + "," + number(RULERS[name](v)) for v in values]
        lines.append("\t".join([name] + items))
    return "\n".join(lines) + "\n"


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    charts = [("smith.dat", "Smith chart, fine grid", FINE_GRID, FINE_RULERS),
              ("smith1.dat", "Smith chart, coarse grid", COARSE_GRID, COARSE_RULERS)]
    for name, title, grid, rulers in charts:
        with open(os.path.join(root, "exe", name), "w", newline="\n") as out:
            out.write(chart_text(title, grid, rulers))


if __name__ == "__main__":
    main()
