"""The run's list of tests that passed only on their retry, read from CTest logs."""
import importlib.machinery
import importlib.util
import os
import sys
import unittest

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "retried-tests")
loader = importlib.machinery.SourceFileLoader("retried_tests", TOOL)
module_spec = importlib.util.spec_from_loader("retried_tests", loader)
retried_tests = importlib.util.module_from_spec(module_spec)
loader.exec_module(retried_tests)

# Four tests run side by side: one fails then passes, one fails twice, one
# times out then passes, one passes at once.
LOG = """\
    Start 1: popup_e2e
    Start 2: editor_e2e
    Start 3: helper_e2e
    Start 4: tray_e2e
1/4 Test #4: tray_e2e .........................   Passed    2.01 sec
2/4 Test #1: popup_e2e ........................***Failed    4.26 sec
Expected: pasted
  Actual: nothing
    Start 1: popup_e2e
3/4 Test #2: editor_e2e .......................***Failed    3.00 sec
no menu
    Start 2: editor_e2e
    Test #1: popup_e2e ........................   Passed    4.00 sec
4/4 Test #3: helper_e2e .......................***Timeout  60.00 sec
waiting for SnibbetCm
    Start 3: helper_e2e
    Test #2: editor_e2e .......................***Failed    3.10 sec
no menu again
    Test #3: helper_e2e .......................   Passed    1.00 sec
"""


class RetriedTests(unittest.TestCase):
    def test_lists_each_test_passed_late_with_its_first_failure(self):
        found = dict(retried_tests.retried(LOG.splitlines(True)))
        self.assertEqual(sorted(found), ["helper_e2e", "popup_e2e"])
        self.assertIn("  Actual: nothing", found["popup_e2e"])
        self.assertNotIn("    Start 1: popup_e2e", found["popup_e2e"])
        self.assertIn("waiting for SnibbetCm", found["helper_e2e"])

    def test_a_run_without_retries_lists_nothing(self):
        self.assertEqual(retried_tests.retried(LOG.splitlines(True)[:5]), [])


if __name__ == "__main__":
    sys.exit(unittest.main())
