"""The table of what the project needs from Debian (tools/system-needs.txt) against the
packages installed here: every program or file a row calls comes with the package the
row names (itself or a package it depends on), so installing a set brings what its rows
promise; and the tools package depends on its set. (That a set's PATH lacks what the
set does not install, the installed tools test sees: try-cd there names Xvfb missing.)"""
import os
import re
import unittest
from pathlib import Path

import set_path

system_needs = set_path.system_needs
# make test installs these sets (machine32's packages are test's too); fresh-root's package
# is on the machines that run it, and i386-root's are in the 32-bit machine's root.
INSTALLED_SETS = ("demo", "test", "tools", "format", "machine32")
SETS = INSTALLED_SETS + ("fresh-root", "i386-root")


class NeedsTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.needs = system_needs.read()
        cls.packages = set_path.installed_packages()

    def test_rows_name_known_sets_and_no_package_twice(self):
        for need in self.needs:
            self.assertTrue(set(need.sets) <= set(SETS), need)
        names = [need.package for need in self.needs]
        self.assertEqual(len(names), len(set(names)))

    def test_each_call_comes_with_its_package(self):
        # A locale's calls (localedef, its definition) come with the packages of its sets.
        for set_name in SETS:
            if set_name not in INSTALLED_SETS and any(
                    n.package not in self.packages
                    for n in system_needs.packages_of(system_needs.of_set(set_name))):
                continue
            programs = set_path.programs_of_set(set_name, system_needs.TABLE)
            packages = [n.package for n in system_needs.packages_of(system_needs.of_set(set_name))]
            for need in system_needs.of_set(set_name):
                brought = set_path.owned_files(set_path.closure(
                    packages if need.locale else [need.package], self.packages), self.packages)
                for call in need.calls:
                    with self.subTest(set=set_name, package=need.package, call=call):
                        if call.startswith("/"):
                            self.assertIn(set_path.usr_merged(call), brought)
                        else:
                            self.assertIn(call, programs)

    def test_the_locales_of_the_sets_installed_here_are_made(self):
        # install-deps.sh makes them; Wine's code page comes from the locale LC_ALL names.
        for need in (n for n in self.needs if n.locale and set(n.sets) & set(INSTALLED_SETS)):
            self.assertIsNone(need.missing(), need)

    def test_the_tools_package_depends_on_the_tools_set(self):
        # What cpack writes into the package's Depends, beside the libraries' own.
        config = Path(os.environ["LUMORA_BUILD"], "CPackConfig.cmake").read_text()
        depends = re.search(r'set\(CPACK_DEBIAN_PACKAGE_DEPENDS "([^"]*)"\)', config)[1]
        self.assertEqual(sorted(depends.split(", ")),
                         sorted(n.package for n in
                                system_needs.packages_of(system_needs.of_set("tools"))),
                         "the tools package's Depends are not the tools set")


if __name__ == "__main__":
    unittest.main()
