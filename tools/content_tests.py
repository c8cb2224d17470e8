#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of tools/check_content.py's check of symbol names in the texts, of the English module's
own texts (tools/build_module.py --override, tools/gen_strings.py) and of
tools/check_languages.py, which holds every language to what English has.

    content_tests.py <repository root>      (or: python3 -m unittest from this folder)

The checker cases copy the real texts into a temporary folder, change one line and expect the
checker to name exactly that fault.
"""
import glob
import os
import shutil
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, ".."))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "pictures"))

import build_module as MODULE  # noqa: E402
import check_content as CHECK  # noqa: E402
import check_languages as LANGUAGES  # noqa: E402
import content_files  # noqa: E402
import gen_strings  # noqa: E402
import symbol_svg  # noqa: E402


class NameReferences(content_files.ContentCopy, unittest.TestCase):
    def setUp(self):
        self.copy_content(ROOT, ["data/symbols", "data/text"], "check_content_")

    def faults(self):
        faults = content_files.Faults()
        rows = symbol_svg.read_code_table(os.path.join(self.tmp, "data", "symbols"))
        CHECK.check_name_references(os.path.join(self.tmp, "data", "text", "eng"), rows, faults)
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
        for fragment in ("3.5 is called 'Ditch, water channel'; the glossary's name is "
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


class ModuleTexts(unittest.TestCase):
    BUILTIN = os.path.join(ROOT, "src", "resources", "builtin")
    OVERRIDE = os.path.join(ROOT, "data", "text", "eng", "module")
    STRINGS = os.path.join(ROOT, "data", "text", "strings.tsv")

    def built(self, override):
        work = tempfile.mkdtemp(prefix="module_texts_")
        self.addCleanup(shutil.rmtree, work)
        entries = [(os.path.basename(p), p) for p in glob.glob(os.path.join(self.BUILTIN, "*"))]
        return dict(MODULE.apply_override(entries, override, work))

    @staticmethod
    def shape(path):
        """Everything of a screen description but its texts: widgets, ids, places, sizes."""
        root = ET.parse(path).getroot()
        for node in root.iter("string"):
            node.text = None
        return ET.tostring(root)

    def test_module_changes_texts_only(self):
        built = self.built(self.OVERRIDE)
        for name, path in built.items():
            if name.endswith(".ui"):
                self.assertEqual(self.shape(path), self.shape(os.path.join(self.BUILTIN, name)),
                                 name)
        self.assertNotIn("Congratulation<", open(built["TWinDlg.ui"], encoding="utf-8").read())

    def test_every_module_has_the_built_in_ids_in_their_order(self):
        table = gen_strings.read(self.STRINGS)
        builtin = gen_strings.builtin_table_bytes(table).decode("latin-1")
        ids = [line.split(" ", 1)[0] for line in builtin.split("\n")]
        for language in table.languages:
            data = gen_strings.module_table_bytes(table, language)
            module = data[3:].decode("utf-8") if data.startswith(b"\xef\xbb\xbf") \
                else data.decode("latin-1")
            self.assertEqual([line.split(" ", 1)[0] for line in module.split("\n")], ids, language)
        self.assertIn("65304 Name of Peoples\n", builtin)
        self.assertIn("65304 Name\n", gen_strings.module_table_bytes(table, "eng").decode("latin-1"))

    def test_unknown_widget_is_refused(self):
        for name, text, message in (
                ("texts.tsv", "screen\twidget\tproperty\ttext\nTWinDlg\tNoSuchButton\ttext\tOK\n",
                 "TWinDlg has no widget NoSuchButton"),):
            folder = tempfile.mkdtemp(prefix="module_override_")
            self.addCleanup(shutil.rmtree, folder)
            with open(os.path.join(folder, name), "w", newline="\n") as fh:
                fh.write(text)
            with self.assertRaises(MODULE.OverrideError) as ctx:
                self.built(folder)
            self.assertIn(message, str(ctx.exception))


class Languages(content_files.ContentCopy, unittest.TestCase):
    def setUp(self):
        self.copy_content(ROOT, ["data/symbols", "data/lines", "data/maps", "data/text",
                                 "src/platform", "src/screens"], "check_languages_")

    def assert_faults(self, *fragments):
        faults = LANGUAGES.run(self.tmp)[0]
        text = "\n".join(faults)
        self.assertEqual(len(faults), len(fragments), text)
        for fragment in fragments:
            self.assertIn(fragment, text)

    def test_a_language_has_exactly_what_english_has(self):
        self.edit("LegendsAdd.deu", "\n130 Höhe oder Tiefe des Objekts: 0,5 m, z. B. ein kleiner "
                  "Graben oder ein zerfallener Erdwall. Bei einer Grube oder einer Senke "
                  "ist die Zahl ihre Tiefe.", "")
        self.edit("Bitm1Add.fra", "\n1050 ", "\n1950 ")
        self.edit("TypesSym.deu", "N109 N418 N204", "N109 N204 N418")
        self.edit("strings.tsv", "\tWähle eine Testart\t", "\t\t")
        self.edit("strings.tsv", "au lieu de %2 une fois", "au lieu de %3 une fois")
        self.edit("fra/module/texts.tsv", "TWinDlg\tCancelButton\ttext\tAnnuler\n", "")
        self.edit("deu/module/messages.txt", "Disk full\tDatenträger voll\n", "")
        self.edit("fra/module/messages.txt", "line %d\tligne %d", "line %d\tligne")
        self.assert_faults("LegendsAdd.deu: no line for 130; LegendsAdd.eng has one",
                           "Bitm1Add.fra: no line for 1050",
                           "1950 is not in Bitm1Add.eng",
                           "the values of test 311 differ from TypesSym.eng's",
                           "strings.tsv:23: no deu text for string 65303; English has one",
                           "the fra text of string 65347 has the placeholders ['%1', '%3']",
                           "no screen text TWinDlg/CancelButton/text",
                           "no translation of 'Disk full'",
                           "the translation of 'line %d' has the placeholders []")

    def test_a_string_given_twice_is_refused(self):
        # two texts of one id in a language would leave the module to pick one
        self.edit("strings.tsv", "65347\tConfusionOnce", "65346\tConfusionOnce")
        self.assert_faults("strings.tsv:76: string 65346 is also in line 75")

    def test_names_follow_the_glossary(self):
        # a line read out with another word than the glossary's, a name given twice, an English
        # name that is not the code table's
        self.edit("Bitm1.deu", "1016 Kuppe, Ostseite", "1016 Hügelchen, Ostseite")
        self.edit("glossary.tsv", "\tKleine Senke\t", "\tSenke\t", count=1)
        self.edit("glossary.tsv", "code\t59\tAnt hill, termite mound\t", "code\t59\tAnt heap\t")
        self.assert_faults("line 1016 'Hügelchen, Ostseite' does not name column D as the "
                           "glossary does: Kuppe",
                           "deu name 'Senke' of code 56 is also the name of code 55",
                           "the English name of code 59 is 'Ant heap', codes.tsv says 'Ant hill, "
                           "termite mound'")

    def test_a_new_folder_is_a_new_language(self):
        english = os.path.join(self.tmp, "data", "text", "eng")
        italian = os.path.join(self.tmp, "data", "text", "ita")
        shutil.copytree(english, italian)
        for name in glob.glob(os.path.join(italian, "*.eng")):
            os.rename(name, name[:-len("eng")] + "ita")
        os.remove(os.path.join(italian, "types.ita"))
        self.assert_faults("no columns 'ita' and 'ita short' for data/text/ita",
                           "strings.tsv: no column 'ita' for data/text/ita",
                           "ita/types.ita: missing; English has types.eng",
                           "ita/module/messages.txt: missing")


if __name__ == "__main__":
    if len(sys.argv) > 1 and os.path.isdir(sys.argv[1]):
        ROOT = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=1)
