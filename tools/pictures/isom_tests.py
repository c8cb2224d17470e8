#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of the map-symbol pictures and of tools/check_map_symbols.py.

    isom_tests.py <repository root>      (or: python3 -m unittest from this folder)

The checker cases copy the real content into a temporary folder, break one thing and expect
the checker to name exactly that problem; the generator cases draw the real table.
"""

import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "tools"))

import check_map_symbols as CHECK  # noqa: E402
import content_files  # noqa: E402
import gen_map_symbols as GEN  # noqa: E402
import isom_draw as D  # noqa: E402
from isom_scenes import SCENES, Params  # noqa: E402


def draw_pictures(folder):
    if GEN.main(["gen_map_symbols.py", ROOT, folder]) != 0:
        raise RuntimeError("gen_map_symbols failed")


# the real pictures, drawn once for all tests
generated_pictures = content_files.DrawnOnce("isom_pictures_", draw_pictures)


class Geometry(unittest.TestCase):
    SQUARE = [(0, 0), (10, 0), (10, 10), (0, 10)]
    # a U-shaped (concave) polygon: the notch x 4..6, y 0..8 is outside
    U = [(0, 0), (4, 0), (4, 8), (6, 8), (6, 0), (10, 0), (10, 10), (0, 10)]

    def test_inside_handles_concave_outline(self):
        self.assertTrue(D.inside((2, 5), self.U))
        self.assertFalse(D.inside((5, 5), self.U))
        self.assertTrue(D.inside((5, 9), self.U))
        self.assertFalse(D.inside((11, 5), self.U))

    def test_clip_segment_keeps_only_the_inside_pieces(self):
        pieces = D.clip_segment((-5, 5), (15, 5), self.U)
        spans = sorted((round(p[0], 6), round(q[0], 6)) for p, q in pieces)
        self.assertEqual(spans, [(0.0, 4.0), (6.0, 10.0)])
        self.assertEqual(D.clip_segment((-5, -5), (-1, -1), self.SQUARE), [])

    def test_stations_are_evenly_spaced_and_stay_off_the_ends(self):
        line = [(0, 0), (10, 0), (10, 10)]
        places = D.stations(line, 4.0)
        dists = [p[0] + p[1] if p[1] == 0 else 10 + p[1] for p, _ in places]
        self.assertEqual([round(d, 6) for d in dists], [2.0, 6.0, 10.0, 14.0, 18.0])
        (x, y), t = places[-1]
        self.assertEqual((round(t[0], 6), round(t[1], 6)), (0.0, 1.0))

    def test_sub_and_length_agree(self):
        line = D.smooth([(0, 0), (30, 10), (60, 0), (90, 20)])
        part = D.sub(line, 10, 50)
        self.assertAlmostEqual(D.length(part), 40, delta=0.5)

    def test_offset_moves_to_the_left_of_travel(self):
        left = D.offset([(0, 0), (10, 0)], 2)
        # travelling east, the left side is north, which is up on the screen (smaller y)
        self.assertEqual([(round(x, 6), round(y, 6)) for x, y in left], [(0, -2), (10, -2)])

    def test_hatch_lines_lie_inside_the_area(self):
        c = D.Canvas(113, 113, 16)
        poly = D.blob(56, 56, 40, 30, 0.2, 5)
        pieces = D.hatch(c, poly, 90, 0.5, 0.1, "green", "green")
        self.assertGreaterEqual(len(pieces), 9)
        for p, q in pieces:
            self.assertTrue(D.inside(((p[0] + q[0]) / 2, (p[1] + q[1]) / 2), poly))
            self.assertAlmostEqual(p[0], q[0], places=6)      # north-south lines

    def test_lattice_spacing_and_scatter_stay_in_the_area(self):
        pts = D.lattice(D.rect(0, 0, 100, 100), 10)
        self.assertEqual(len(pts), 100)
        rng = random.Random(1)
        poly = D.blob(50, 50, 30, 30, 0.1, 2)
        pts = D.scatter(poly, 5, rng)
        self.assertTrue(all(D.inside(p, poly) for p in pts))
        area = math.pi * 30 * 30
        self.assertAlmostEqual(len(pts) / area, 1 / (5 * 5 * 0.87), delta=0.01)

    def test_figures_cover_every_digit_and_scale_with_height(self):
        self.assertEqual(sorted(D.FIGURES), list("0123456789"))
        for strokes in D.FIGURES.values():
            for line in strokes:
                for x, y in line:
                    self.assertTrue(-0.5 <= x <= 6.5 and -0.5 <= y <= 10.5)
        self.assertAlmostEqual(D.figures_width("12", 20), 2 * (2 * 7.6 - 1.6))

    def test_layers_stack_in_printing_order(self):
        c = D.Canvas(10, 10, 1)
        D.fill_rect(c, 0, 0, 5, 5, "black", "black")
        D.fill_rect(c, 0, 0, 5, 5, "yellow", "yellow")
        svg = c.svg()
        self.assertLess(svg.index(D.INK["yellow"]), svg.index(D.INK["black"]))


class Pictures(unittest.TestCase):
    def test_every_table_row_gives_a_113_pixel_svg_of_plain_elements(self):
        folder = generated_pictures()
        rows = GEN.read_table(ROOT)
        allowed = {"svg", "rect", "path", "circle", "g"}
        for row in rows:
            path = os.path.join(folder, f"B{row['number']}.svg")
            root = ET.parse(path).getroot()
            self.assertEqual((root.get("width"), root.get("height")), ("113", "113"), path)
            self.assertEqual(root.get("viewBox"), "0 0 113 113")
            tags = {el.tag.split("}")[1] for el in root.iter()}
            self.assertLessEqual(tags, allowed, path)
            # something besides the paper is drawn
            self.assertGreater(len(list(root)), 2, path)

    def test_drawing_is_repeatable(self):
        row = next(r for r in GEN.read_table(ROOT) if r["number"] == 209)
        self.assertEqual(GEN.draw(row), GEN.draw(row))

    def test_sub_symbols_use_whole_numbers(self):
        numbers = {r["number"] for r in GEN.read_table(ROOT)}
        self.assertIn(1052, numbers)
        self.assertIn(2032, numbers)
        self.assertNotIn(411, numbers)
        self.assertEqual(sorted(numbers), sorted(CHECK.isom_numbers()))

    def test_unknown_parameter_or_scene_is_refused(self):
        row = {"number": 999, "name": "x", "scene": "point", "zoom": 1.0,
               "params": "shape=knoll;colour=blue", "line": 1}
        with self.assertRaises(GEN.TableError):
            GEN.draw(row)
        with tempfile.TemporaryDirectory() as tmp:
            os.makedirs(os.path.join(tmp, "data", "maps"))
            with open(os.path.join(tmp, "data", "maps", "symbols.tsv"), "w") as f:
                f.write("\t".join(GEN.COLUMNS) + "\n101\tContour\tlandform\tbrown\tnowhere\t1\t\n")
            with self.assertRaises(GEN.TableError):
                GEN.read_table(tmp)

    def test_params_parse_and_report_unused_keys(self):
        p = Params("a=1.5; b = x ;")
        self.assertEqual(p.f("a", 0), 1.5)
        self.assertEqual(p.f("missing", 7), 7)
        self.assertEqual(p.unused(), ["b"])
        with self.assertRaises(ValueError):
            Params("novalue")

    def test_every_scene_is_used_by_the_table(self):
        used = {r["scene"] for r in GEN.read_table(ROOT)}
        self.assertEqual(set(SCENES) - used, set())

    def test_button_picture(self):
        with tempfile.TemporaryDirectory() as tmp:
            rc = subprocess.run([sys.executable, os.path.join(HERE, "gen_omaps_button.py"), ROOT,
                                 tmp]).returncode
            self.assertEqual(rc, 0)
            root = ET.parse(os.path.join(tmp, "OMapsButton.svg")).getroot()
            self.assertEqual((root.get("width"), root.get("height")), ("64", "40"))


class Checker(content_files.ContentCopy, unittest.TestCase):
    """Each case breaks one thing in a copy of the content and expects that problem only."""

    def setUp(self):
        self.copy_content(ROOT, ["data/text/eng/Symbols.eng", "data/text/eng/SymbolsAdd.eng",
                                 "data/text/eng/TypesSym.eng", "data/maps/symbols.tsv"],
                          "isom_check_")
        self.pics = os.path.join(self.tmp, "pictures")
        shutil.copytree(generated_pictures(), self.pics)

    def text(self, name):
        return self.text_path(name)

    def problems(self):
        return CHECK.run(self.tmp, self.pics)[0]

    def expect(self, *fragments):
        found = self.problems()
        self.assertEqual(len(found), len(fragments), "\n".join(found))
        for frag, problem in zip(fragments, found):
            self.assertIn(frag, problem)

    def test_real_content_passes(self):
        self.assertEqual(self.problems(), [])
        rc = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "check_map_symbols.py"),
                             "--source", self.tmp, "--pictures", self.pics],
                            capture_output=True, text=True)
        self.assertEqual(rc.returncode, 0, rc.stderr)

    def test_missing_picture_of_a_sub_symbol(self):
        os.remove(os.path.join(self.pics, "B1052.svg"))
        self.expect("no picture B1052.svg")
        rc = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "check_map_symbols.py"),
                             "--source", self.tmp, "--pictures", self.pics],
                            capture_output=True, text=True)
        self.assertEqual(rc.returncode, 1)
        self.assertIn("B1052", rc.stderr)

    def test_picture_of_wrong_size(self):
        path = os.path.join(self.pics, "B204.svg")
        data = open(path).read().replace('width="113"', 'width="112"', 1)
        open(path, "w").write(data)
        self.expect("B204.svg: viewBox")
        data = data.replace('viewBox="0 0 113 113"', 'viewBox="0 0 112 113"')
        open(path, "w").write(data)
        self.expect("picture is 112 x 113")

    def test_png_picture_size_is_read(self):
        os.remove(os.path.join(self.pics, "B205.svg"))
        import struct
        import zlib
        head = b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" + struct.pack(
            ">IIBBBBB", 113, 100, 8, 2, 0, 0, 0)
        head += struct.pack(">I", zlib.crc32(head[12:]))
        open(os.path.join(self.pics, "B205.png"), "wb").write(head)
        self.expect("picture is 113 x 100")

    def test_picture_for_a_vacant_number(self):
        shutil.copy(os.path.join(self.pics, "B410.svg"), os.path.join(self.pics, "B411.svg"))
        self.expect("picture for 411")

    def test_missing_name_and_additional_text(self):
        self.edit("Symbols.eng", "2032 Dangerous pit\n", "")
        self.edit("SymbolsAdd.eng", "\n715 ", "\n")
        found = self.problems()
        self.assertTrue(any("Symbols.eng: no line for 2032" in p for p in found), found)
        self.assertTrue(any("SymbolsAdd.eng" in p and "715" in p for p in found), found)

    def test_duplicate_name_even_in_other_letter_case(self):
        self.edit("Symbols.eng", "710 Crossing point (course)", "710 crossing POINT")
        found = self.problems()
        self.assertTrue(any("also the name of 519" in p for p in found), found)

    def test_name_differs_from_table(self):
        self.edit("Symbols.eng", "204 Boulder\n", "204 Rock\n")
        self.expect("name of 204 is 'Boulder' here but 'Rock' in Symbols.eng")

    def test_checksum_line_or_cr_is_refused(self):
        self.edit("Symbols.eng", "101 Contour\n", "12345\r\n101 Contour\n")
        found = self.problems()
        self.assertTrue(any("CR characters" in p for p in found), found)
        self.assertTrue(any("12345 has no text" in p for p in found), found)

    def test_catalogue_names_undefined_symbol(self):
        self.edit("TypesSym.eng", "N312 N313", "N312 N411 N313")
        self.expect("names N411")

    def test_symbol_in_no_test(self):
        self.edit("TypesSym.eng", "N109 N418 N204", "N109 N204")
        self.edit("TypesSym.eng", " N418 N419 N402", " N419 N402")
        self.expect("symbol 418 is in no test")

    def test_too_many_values_counting_groups_once(self):
        self.edit("TypesSym.eng", "N101 {N102 N103}", "N101 N115 {N102 N103}")
        self.expect("has 16 values")

    def test_duplicate_inside_a_group(self):
        self.edit("TypesSym.eng", "{N104 N201 N202}", "{N104 N201 N202 N101}")
        self.expect("holds N101 twice")

    def test_duplicate_test_number_and_range(self):
        self.edit("TypesSym.eng", "302 Rock and boulders", "301 Rock and boulders")
        self.edit("TypesSym.eng", "303 Water and marsh", "400 Water and marsh")
        found = self.problems()
        self.assertEqual(len(found), 2, found)
        self.assertIn("also used on line 1", found[0])
        self.assertIn("outside 301..399", found[1])

    def test_final_line_break_and_broken_groups(self):
        path = self.text("TypesSym.eng")
        open(path, "a").write("\n")
        self.expect("ends with a line break")
        with open(path, "w") as f:
            f.write(open(os.path.join(ROOT, "data", "text", "eng", "TypesSym.eng")).read())
        self.edit("TypesSym.eng", "{N401 N403}", "{N401 N403")
        self.edit("TypesSym.eng", "{N407 N409}", "{} N407 N409;")
        found = self.problems()
        for frag in ("group not closed", "empty group", "stray character ';'"):
            self.assertTrue(any(frag in p for p in found), (frag, found))

    def test_nested_groups_give_one_slot_each(self):
        report = CHECK.Report()
        slots = CHECK.parse_items("N5 {N6 {N7 N8} N9} N10", "x", report)
        self.assertEqual(slots, [[5], [7, 8], [6, 9], [10]])
        self.assertEqual(report.problems, [])


def main(argv):
    if len(argv) > 1:
        global ROOT
        ROOT = os.path.abspath(argv[1])
    result = unittest.main(argv=[argv[0]], exit=False, verbosity=1).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
