#!/usr/bin/env python3
"""Checks the policy templates of the release folder against the sources.

    policy_templates_test.py POLICIES_FOLDER SOURCE_FOLDER

The files must be well-formed XML; every policy must name a registry value
of the settings table (core/settings/preferences.h), with its type, and every
setting must have a policy; every string and presentation the definitions
refer to must be in the texts of each language.
"""
import os
import re
import sys
import unittest
import xml.etree.ElementTree as ElementTree

POLICIES = None
SOURCES = None
NS = {"pd": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
CULTURES = ["en-US", "de-DE", "fr-FR", "es-ES"]
POLICY_KEY = r"SOFTWARE\Policies\Telmaric\Vorlane"
# The one policy that is no setting.
EXTRA_POLICIES = {"DisablePreferences": "OnOff"}


def settings_table():
    """{name: type} of the rows of VORLANE_SETTINGS, read from the header as written."""
    with open(os.path.join(SOURCES, "core", "settings", "preferences.h")) as header:
        text = header.read()
    table = text[text.index("#define VORLANE_SETTINGS(X)"):text.index("// clang-format on", text.index("#define VORLANE_SETTINGS(X)"))]
    return dict(re.findall(r"X\((\w+), (Text|Integer|OnOff),", table))


def policy_value(policy):
    """(registry value name, type as the settings table says it) of a policy."""
    if policy.get("valueName"):
        return policy.get("valueName"), "OnOff"
    elements = list(policy.find("pd:elements", NS))
    assert len(elements) == 1, policy.get("name")
    element = elements[0]
    kind = element.tag.split("}")[1]
    return element.get("valueName"), {"text": "Text", "decimal": "Integer", "enum": "Integer"}[kind]


class PolicyTemplates(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.definitions = ElementTree.parse(os.path.join(POLICIES, "Vorlane.admx")).getroot()
        cls.resources = {culture: ElementTree.parse(os.path.join(POLICIES, culture, "Vorlane.adml")).getroot()
                         for culture in CULTURES}
        cls.source = open(os.path.join(POLICIES, "Vorlane.admx"), encoding="utf-8").read()

    def test_the_files_are_well_formed_xml_of_the_policy_schema(self):
        self.assertEqual(self.definitions.tag, "{%s}policyDefinitions" % NS["pd"])
        for culture, resources in self.resources.items():
            with self.subTest(culture=culture):
                self.assertEqual(resources.tag, "{%s}policyDefinitionResources" % NS["pd"])
        # Nothing else in the folder: the four languages and the definitions.
        self.assertEqual(sorted(os.listdir(POLICIES)), sorted(CULTURES + ["Vorlane.admx"]))

    def test_every_policy_is_a_setting_of_the_same_name_and_type_and_every_setting_a_policy(self):
        settings = settings_table()
        self.assertGreater(len(settings), 20, "the settings table was not read")
        policies = {}
        for policy in self.definitions.iterfind("pd:policies/pd:policy", NS):
            self.assertEqual(policy.get("key"), POLICY_KEY)
            self.assertIn(policy.get("class"), ("Both",))
            name, kind = policy_value(policy)
            self.assertEqual(policy.get("name"), name)
            policies[name] = kind
        self.assertEqual(policies, {**settings, **EXTRA_POLICIES})

    def test_every_category_leads_to_vorlane(self):
        categories = {c.get("name"): c.find("pd:parentCategory", NS) for c in
                      self.definitions.iterfind("pd:categories/pd:category", NS)}
        self.assertIsNone(categories["Vorlane"])
        for name, parent in categories.items():
            if name != "Vorlane":
                self.assertEqual(parent.get("ref"), "Vorlane")
        for policy in self.definitions.iterfind("pd:policies/pd:policy", NS):
            self.assertIn(policy.find("pd:parentCategory", NS).get("ref"), categories)

    def test_every_string_and_presentation_referenced_is_in_each_language(self):
        strings = set(re.findall(r"\$\(string\.(\w+)\)", self.source))
        presentations = set(re.findall(r"\$\(presentation\.(\w+)\)", self.source))
        self.assertGreater(len(strings), 100)
        for culture, resources in self.resources.items():
            with self.subTest(culture=culture):
                table = {s.get("id"): s.text for s in resources.iterfind("pd:resources/pd:stringTable/pd:string", NS)}
                self.assertEqual(strings - table.keys(), set())
                self.assertTrue(all(table[s] and table[s].strip() for s in strings))
                shown = {p.get("id"): p for p in
                         resources.iterfind("pd:resources/pd:presentationTable/pd:presentation", NS)}
                self.assertEqual(presentations - shown.keys(), set())
                # Each presentation shows the elements of its policy.
                for policy in self.definitions.iterfind("pd:policies/pd:policy", NS):
                    elements = policy.find("pd:elements", NS)
                    if elements is None:
                        continue
                    ids = {e.get("id") for e in elements}
                    refs = {e.get("refId") for e in shown[policy.get("name")]}
                    self.assertEqual(ids, refs, policy.get("name"))

    def test_the_translations_are_used(self):
        german = {s.get("id"): s.text for s in
                  self.resources["de-DE"].iterfind("pd:resources/pd:stringTable/pd:string", NS)}
        english = {s.get("id"): s.text for s in
                   self.resources["en-US"].iterfind("pd:resources/pd:stringTable/pd:string", NS)}
        self.assertEqual(english["WatermarkMake"], "Make watermark")
        self.assertEqual(german["WatermarkMake"], "Wasserzeichen hinzufügen")
        self.assertEqual(german["PrintOrientation_3"], "Querformat")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    POLICIES, SOURCES = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0], "-v"])
