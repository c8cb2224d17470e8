#!/usr/bin/env python3
"""Tests of tools/check_content.py's check of symbol names in the texts.

    content_tests.py <repository root>      (or: python3 -m unittest from this folder)

Each case copies the real texts into a temporary folder, changes one line and expects the
checker to name exactly that fault.
"""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "pictures"))

import check_content as CHECK  # noqa: E402
import content_files  # noqa: E402
import symbol_svg  # noqa: E402


class NameReferences(content_files.ContentCopy, unittest.TestCase):
    def setUp(self):
        self.copy_content(ROOT, ["data/symbols", "data/text"], "check_content_")

    def faults(self):
        faults = content_files.Faults()
        rows = symbol_svg.read_code_table(os.path.join(self.tmp, "data", "symbols"))
        CHECK.check_name_references(os.path.join(self.tmp, "data", "text"), rows, faults)
        return faults.items

    def test_real_texts_use_the_table_names(self):
        self.assertEqual(self.faults(), [])

    def test_another_name_after_a_number_is_named(self):
        self.edit("SymbolsAdd.eng", "by 3.5 Minor water channel, ditch.",
                  "by 3.5 Ditch, water channel.")
        self.edit("SymbolsAdd.eng", "(5.6 Pylon for a pylon)", "(5.6 Power line pylon)")
        self.edit("SymbolsAdd.eng", "Pit with 8.6 Rocky, stony in column E.",
                  "Pit with 8.6 Rocky in column E.")
        faults = "\n".join(self.faults())
        self.assertEqual(faults.count("\n"), 2, faults)
        for fragment in ("3.5 is called 'Ditch, water channel'; the code table's name is "
                         "'Minor water channel, ditch'", "5.6 is called 'Power line pylon'",
                         "8.6 is called 'Rocky in column E'"):
            self.assertIn(fragment, faults)

    def test_measures_sentences_and_directions_are_not_names(self):
        # a height, a sentence going on in lower case, a side in any direction, a longer number
        self.edit("LegendsAdd.eng", "Height or depth of the feature: 1 m.",
                  "Height or depth of the feature: 1.5 m Tall, and 8.6 it is; G 12.1 West side "
                  "or 12.1 Side, 12.1 Edge, and ISOM 105.2 Retaining earth wall.")
        faults = self.faults()
        self.assertEqual(len(faults), 1, faults)
        self.assertIn("12.1 is called 'Edge, and ISOM 105'", faults[0])


if __name__ == "__main__":
    if len(sys.argv) > 1 and os.path.isdir(sys.argv[1]):
        ROOT = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=1)
