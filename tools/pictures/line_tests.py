#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of the whole description lines: the table, the layouts, the pictures, the text writer
and tools/check_lines.py.

    line_tests.py <repository root>      (or: python3 -m unittest from this folder)

The checker cases copy the real content into a temporary folder, break one thing and expect the
checker to name exactly that problem; the generator cases draw the real table.
"""
import io
import math
import os
import re
import shutil
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
from contextlib import redirect_stderr, redirect_stdout

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "tools"))

import check_lines as CHECK  # noqa: E402
import content_files  # noqa: E402
import gen_line_texts as TEXTS  # noqa: E402
import gen_lines as GEN  # noqa: E402
import line_ground as G  # noqa: E402
import line_layout as L  # noqa: E402
import line_table as T  # noqa: E402

# the real pictures, drawn once for all tests
generated_pictures = content_files.DrawnOnce("line_pictures_",
                                             lambda folder: GEN.generate(ROOT, folder))


def read(path):
    with open(path, encoding="ascii", newline="") as fh:
        return fh.read()


def real_lines():
    return T.read_table(ROOT)


def line_for(**cells):
    """A table line made in code, for layout cases."""
    row = {c: "" for c in T.CELL_COLUMNS}
    row.update({k: v for k, v in cells.items() if k in T.CELL_COLUMNS})
    line = T.Line(4242, row, "x", "y", cells.get("kind", "boulder"), cells.get("second", ""),
                  "", T.parse_params(cells.get("params", ""), "test"), 1)
    line.flag = T.expected_flag(line)
    return line


class Table(unittest.TestCase):
    HEADER = "\t".join(T.HEADER)

    def write_table(self, *rows):
        tmp = tempfile.mkdtemp(prefix="line_table_")
        self.addCleanup(shutil.rmtree, tmp)
        shutil.copytree(os.path.join(ROOT, "data", "symbols"), os.path.join(tmp, "data", "symbols"))
        os.makedirs(os.path.join(tmp, "data", "lines"))
        with open(T.table_path(tmp), "w", newline="\n") as fh:
            fh.write(self.HEADER + "\n" + "".join(r + "\n" for r in rows))
        return tmp

    @staticmethod
    def row(number, c="", d="2.4", e="", f="", g="", h="", reading="Boulder", flag="centre",
            kind="boulder", params=""):
        return "\t".join([str(number), c, d, e, f, g, h, reading, "explained", kind, "", flag,
                          params])

    def assert_refused(self, message, *rows):
        root = self.write_table(*rows)
        with self.assertRaises(T.TableError) as ctx:
            T.read_table(root)
        self.assertIn(message, str(ctx.exception))

    def test_real_table_covers_every_column_and_the_classic_confusions(self):
        lines = real_lines()
        self.assertGreaterEqual(len(lines), 60)
        used = {(col, ln.cells[col].split(":")[0]) for ln in lines for col in T.CELL_COLUMNS
                if ln.cells[col]}
        for col, iof in [("C", "0.1"), ("C", "0.2"), ("C", "0.3"), ("C", "0.4"), ("C", "0.5"),
                         ("F", "9.1"), ("F", "9.2"), ("F", "9.3"), ("F", "9.4"), ("F", "10.1"),
                         ("F", "10.2"), ("F", "11.1"), ("H", "13.1"), ("H", "13.2"),
                         ("H", "13.3")] + [("G", f"12.{k}") for k in range(1, 15)]:
            self.assertIn((col, iof), used, f"no line uses {iof} in column {col}")
        flags = {ln.flag.split(":")[0] for ln in lines}
        for word in ("side", "edge", "part", "corner-in", "corner-out", "tip", "foot-centre"):
            self.assertIn(word, flags)

    def test_undefined_symbol_is_refused_with_its_line(self):
        self.assert_refused("is no symbol of codes.tsv",
                            self.row(1000, g="12.1:UP", flag="side:UP"))
        self.assert_refused("is no symbol of codes.tsv", self.row(1000, f="9.1:7", flag="centre"))

    def test_symbol_in_the_wrong_column_is_refused(self):
        self.assert_refused("belongs in column G", self.row(1000, c="12.1:N"))
        # column E may hold a second feature (column D symbol), G may not
        self.assert_refused("belongs in column D", self.row(1000, g="2.4", flag="centre"))

    def test_flag_must_agree_with_columns_f_and_g(self):
        self.assert_refused("which give 'side:E'", self.row(1000, g="12.1:E", flag="side:W"))
        self.assert_refused("which give 'foot-centre'",
                            self.row(1000, d="2.1", kind="cliff", flag="centre"))

    def test_duplicate_reading_and_number_are_refused(self):
        self.assert_refused("is also on line", self.row(1000), self.row(1001))
        self.assert_refused("number 1000 is also",
                            self.row(1000), self.row(1000, reading="Other boulder"))

    def test_expected_flag_reads_g_then_f_then_d(self):
        self.assertEqual(T.expected_flag(line_for(D="2.4", G="12.5:SW")), "corner-out:SW")
        self.assertEqual(T.expected_flag(line_for(D="5.2", E="5.2", F="10.1")), "crossing")
        self.assertEqual(T.expected_flag(line_for(D="1.6", F="11.1", G="12.1:N")), "side:N")
        self.assertEqual(T.expected_flag(line_for(D="2.1", F="9.1:3")), "foot-centre")
        self.assertEqual(T.expected_flag(line_for(D="2.4")), "centre")


class Layouts(unittest.TestCase):
    def test_every_flag_lies_within_the_control_circle(self):
        for line in real_lines():
            lay = L.make_layout(line)
            x, y, _ = lay.flag
            self.assertLess(math.hypot(x, y), 10.0, f"{line.number} {line.reading}")

    def test_side_puts_the_flag_outside_the_feature_on_that_side(self):
        for direction, (dx, dy) in L.DIRV.items():
            lay = L.make_layout(line_for(D="2.4", G=f"12.1:{direction}", kind="boulder"))
            boulder = lay.items[0]
            x, y, _ = lay.flag
            self.assertGreater(math.hypot(x, y), boulder.r)
            self.assertAlmostEqual(math.atan2(y, x), math.atan2(dy, dx), places=6)

    def test_corner_inside_and_outside_lie_on_opposite_sides_of_the_apex(self):
        for kind, d in (("open", "4.1"), ("building", "5.11")):
            inside = L.make_layout(line_for(D=d, G="12.4:E", kind=kind))
            outside = L.make_layout(line_for(D=d, G="12.5:E", kind=kind))
            self.assertLess(inside.flag[0], 0)
            self.assertGreater(outside.flag[0], 0)
            # open land's corner holds the flag inside the area; a building's inner corner
            # holds it outside the building
            poly = inside.items[-1].poly
            point = inside.flag[:2]
            from isom_draw import inside as inside_poly
            self.assertEqual(inside_poly(point, poly), kind == "open")
            self.assertFalse(inside_poly(outside.flag[:2], outside.items[-1].poly))

    def test_tip_and_part_and_between(self):
        tip = L.make_layout(line_for(D="3.7", G="12.6:SW", kind="marsh"))
        from isom_draw import inside as inside_poly
        self.assertTrue(inside_poly(tip.flag[:2], tip.items[-1].poly))
        part = L.make_layout(line_for(D="3.7", G="12.3:W", kind="marsh"))
        poly = part.items[-1].poly
        centre_x = sum(p[0] for p in poly) / len(poly)
        self.assertTrue(inside_poly(part.flag[:2], poly))
        self.assertLess(part.flag[0], centre_x)     # in the western part
        between = L.make_layout(line_for(D="2.4", E="2.4", F="9.4:2/3", G="12.14",
                                         kind="boulder", second="boulder", params="h=2;h2=3"))
        a, b = between.items
        self.assertLess(a.at[0] + a.r, between.flag[0])
        self.assertLess(between.flag[0], b.at[0] - b.r)

    def test_edge_of_an_area_drawn_to_scale_is_the_centre_of_the_circle(self):
        from isom_draw import inside as inside_poly
        for kind, d in (("clearing", "4.4"), ("pond", "3.2"), ("paved", "5.12")):
            lay = L.make_layout(line_for(D=d, G="12.2:N", kind=kind))
            self.assertEqual(lay.flag[:2], (0.0, 0.0))
            poly = lay.items[-1].poly
            # the area lies south of the site, its northern edge through it
            self.assertTrue(inside_poly((0.0, -1.0), poly))
            self.assertFalse(inside_poly((0.0, 1.0), poly))
        pit = L.make_layout(line_for(D="1.12", G="12.2:SE", kind="depression"))
        self.assertEqual(pit.flag[:2], (0.0, 0.0))
        self.assertAlmostEqual(math.hypot(*pit.items[0].at), pit.items[0].r)

    def test_empty_g_on_a_cliff_is_the_foot_below_it(self):
        lay = L.make_layout(line_for(D="2.1", F="9.1:3", kind="cliff", params="h=3"))
        self.assertLess(lay.flag[1], 0)         # south of the cliff line, at its foot
        self.assertEqual(lay.flag[2], 0)
        top = L.make_layout(line_for(D="2.1", G="12.10", kind="cliff", params="h=2"))
        self.assertGreater(top.flag[2], 0)


class Pictures(unittest.TestCase):
    def test_every_line_has_three_pictures_of_the_fixed_sizes(self):
        folder = generated_pictures()
        for line in real_lines():
            for prefix, size in CHECK.PICTURE_SIZES.items():
                root = ET.parse(os.path.join(folder, f"{prefix}{line.number}.svg")).getroot()
                self.assertEqual((int(root.get("width")), int(root.get("height"))), size)

    def test_row_picture_draws_one_glyph_per_filled_cell(self):
        folder = generated_pictures()
        for line in real_lines():
            text = read(os.path.join(folder, f"V{line.number}.svg"))
            filled = sum(1 for c in T.CELL_COLUMNS if line.cells[c])
            glyphs = len(re.findall(r'<g transform="translate', text))
            self.assertEqual(glyphs, filled, line.reading)

    def test_ground_sketch_shows_one_flag_on_the_side_named_in_g(self):
        for g, east in (("12.1:E", True), ("12.1:W", False)):
            lay = L.make_layout(line_for(D="2.4", G=g, kind="boulder"))
            svg = G.draw(lay)
            self.assertEqual(svg.count(G.FLAG_ORANGE), 1)
            pole = re.search(r'd="M([\d.]+) [\d.]+L\1 [\d.]+" fill="none" stroke="'
                             + G.FLAG_POLE, svg)
            self.assertIsNotNone(pole)
            self.assertEqual(float(pole.group(1)) > G.WIDTH / 2, east)

    def test_ground_sketch_of_a_slope_shows_lower_and_upper_part_apart(self):
        # the quick quiz asks which line a sketch shows: the lower part (or the foot) and the
        # upper part of one landform must put the flag in plainly different places
        def flag_foot(kind, d, g):
            svg = G.draw(L.make_layout(line_for(D=d, G=g, kind=kind)))
            pole = re.search(r'd="M([\d.]+) ([\d.]+)L\1 [\d.]+" fill="none" stroke="'
                             + G.FLAG_POLE, svg)
            self.assertIsNotNone(pole)
            return float(pole.group(2))
        for kind, d, low in (("reentrant", "1.3", "12.9"), ("spur", "1.2", "12.11")):
            self.assertGreater(flag_foot(kind, d, low), flag_foot(kind, d, "12.8") + 15, kind)

    def test_output_is_deterministic(self):
        again = tempfile.mkdtemp(prefix="line_pictures_again_")
        self.addCleanup(shutil.rmtree, again)
        GEN.generate(ROOT, again)
        first = generated_pictures()
        for name in sorted(os.listdir(first)):
            with open(os.path.join(first, name), "rb") as a, open(os.path.join(again, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)


class TextWriter(unittest.TestCase):
    def test_merge_keeps_lines_below_1000_and_replaces_the_rest(self):
        old = "990 Start row\n999 Finish row\n1000 Stale text\n1005 Gone line\n"
        new = TEXTS.merged(old, {1001: "B", 1000: "A"})
        self.assertEqual(new, "990 Start row\n999 Finish row\n1000 A\n1001 B\n")


class Checker(content_files.ContentCopy, unittest.TestCase):
    """Each case breaks one thing in a copy of the content and expects it named."""

    def setUp(self):
        self.copy_content(ROOT, ["data/symbols", "data/lines", "data/text"], "check_lines_")
        self.pictures = os.path.join(self.tmp, "pictures")
        shutil.copytree(generated_pictures(), self.pictures)

    def run_check(self):
        err, out = io.StringIO(), io.StringIO()
        with redirect_stderr(err), redirect_stdout(out):
            rc = CHECK.main(["--source", self.tmp, "--pictures", self.pictures])
        return rc, err.getvalue()

    def assert_fault(self, *fragments):
        rc, err = self.run_check()
        self.assertEqual(rc, 1, err)
        for fragment in fragments:
            self.assertIn(fragment, err)

    def test_real_content_passes(self):
        rc, err = self.run_check()
        self.assertEqual(rc, 0, err)

    def test_missing_and_wrong_sized_pictures(self):
        os.remove(os.path.join(self.pictures, "I1007.svg"))
        self.edit_picture("N1010.svg", 'width="190"', 'width="180"')
        self.assert_fault("I1007 (Boulder field, west part) is missing", "N1010: is 180 x 80")

    def edit_picture(self, name, old, new):
        path = os.path.join(self.pictures, name)
        text = read(path)
        with open(path, "w") as fh:
            fh.write(text.replace(old, new, 1))

    def test_text_that_disagrees_with_the_table_or_is_missing(self):
        self.edit("Bitm1.eng", "1003 Between two boulders", "1003 Between two stones")
        self.edit("Bitm1Add.eng", "\n1050 ", "\n1950 ")
        self.assert_fault("the text of 1003 is not the table's reading",
                          "Bitm1Add.eng: no line 1050", "1950 is not a line")

    def test_duplicate_text_in_bitm1(self):
        self.edit("Bitm1.eng", "990 Start: 150 m to the start triangle", "990 Path crossing")
        self.assert_fault("text 'Path crossing' is also used by 990")

    def test_catalogue_format_faults(self):
        path = self.text_path("types.eng")
        with open(path, "a", newline="") as fh:
            fh.write("\n")
        self.edit("types.eng", "201 Boulders and rock", "301 Boulders and rock")
        self.edit("types.eng", "N1000 N1001 N1002", "N1000 N1001")
        self.assert_fault("ends with a line break", "test number 301 is outside 201-299",
                          "14 values")

    def test_catalogue_unknown_value_and_same_text_twice(self):
        self.edit("types.eng", "N1000 N1001 N1002", "N1000 N4000 N1002")
        self.edit("types.eng", "N1039 N1040", "N1039 N1039")
        self.assert_fault("N4000 has no text in Bitm1.eng", "can both show 'Marsh, west part'")

    def test_catalogue_group_needs_a_blank_before_the_brace(self):
        self.edit("types.eng", "N1093 }", "N1093}")
        self.assert_fault("a blank must follow N1093")

    def test_symbol_in_no_line(self):
        path = os.path.join(self.tmp, "data", "lines", "lines.tsv")
        text = read(path)
        with open(path, "w", newline="\n") as fh:
            fh.write("".join(row for row in text.splitlines(True) if not row.startswith("1006\t")))
        self.assert_fault("symbol 2.6 (Boulder cluster) is in no line")

    def test_walkthrough_missing_step_and_bad_quiz_prefix(self):
        self.edit("legtab.eng", "\n20 ", "\n40 ")
        self.edit("legtab.eng", "\n9 B - Control code:", "\n9 Control code:")
        self.assert_fault("legtab.eng: no line 20", "step 40 is outside",
                          "quiz line 9 must begin with 'B - '")


if __name__ == "__main__":
    if len(sys.argv) > 1 and os.path.isdir(sys.argv[1]):
        ROOT = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=1)
