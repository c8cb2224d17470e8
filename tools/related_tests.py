#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of tools/gen_related.py: which description symbols describe a map symbol, as its English
explanation says, and the relations it writes for the shipped content.

    related_tests.py <repository root>      (or: python3 -m unittest from this folder)
"""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "pictures"))

import gen_related  # noqa: E402
import symbol_svg  # noqa: E402


class DescribedBy(unittest.TestCase):
    def setUp(self):
        self.rows = symbol_svg.read_code_table(os.path.join(ROOT, "data", "symbols"))

    def test_only_the_sentence_that_names_the_feature_pairs(self):
        cases = [
            ("A block of rock. Colour: black. Described in column D by 2.4 Boulder.", [63]),
            # every feature of the sentence, in its order; a column E symbol only qualifies one
            ("Rocky. Described in column D by 2.3 Cave, or by 1.14 Pit with 8.6 Rocky, stony in "
             "column E.", [62, 57]),
            ("Described in column D by 4.7 Vegetation boundary (4.3 Forest corner at a corner).",
             [87, 83]),
            ("At a control it is given in column H by 13.1 First aid post.", [222]),
            # examples, the edges of an area, a number under another name: no pair
            ("Described in column D by the landform it shapes, e.g. 1.2 Spur or 1.9 Hill.", []),
            ("Forest. Its edges are described in column D by 4.3 Forest corner or 4.8 Copse.", []),
            ("Described in column D by 2.4 Big stone.", []),
            ("Like 2.4 Boulder, but described otherwise.", []),
        ]
        for text, codes in cases:
            with self.subTest(text=text):
                self.assertEqual(gen_related.described_by(text, self.rows), codes)

    def test_relations_of_the_shipped_content(self):
        lines = gen_related.relations(ROOT)
        self.assertIn("column 63 D 2.4", lines)
        self.assertIn("column 150 G 12.1", lines)
        self.assertIn("column 225 S -", lines)
        self.assertIn("group 204 rock", lines)
        # Northern boulder, 1 m high, east side
        self.assertIn("line 1000 33 63 0 131 150 0", lines)
        self.assertIn("described 204 63", lines)
        self.assertIn("described 203 62 57", lines)
        described = {line.split()[1] for line in lines if line.startswith("described ")}
        # contours shape every landform, the forest only has edges: they pair with nothing
        self.assertFalse({"101", "102", "103", "405"} & described)
        self.assertGreater(len(described), 80)


if __name__ == "__main__":
    if len(sys.argv) > 1 and os.path.isdir(sys.argv[1]):
        ROOT = os.path.abspath(sys.argv.pop(1))
    unittest.main()
