"""The lane choice's own rules: a program of the other lane is refused before it runs (wine64
starts a 32-bit program as if it had run and ended with status 0), and a lane asked for that
cannot run is no lane at all, so its tests are skipped rather than passed."""

import os
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wine_lane  # noqa: E402


def pe_bytes(machine):
    """The smallest header pe_machine reads: MZ, e_lfanew at 0x3C, PE\\0\\0 and the machine."""
    head = bytearray(0x80)
    head[:2] = b"MZ"
    head[0x3C:0x40] = (0x40).to_bytes(4, "little")
    head[0x40:0x44] = b"PE\0\0"
    head[0x44:0x46] = machine.to_bytes(2, "little")
    return bytes(head)


class LaneTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.asked = os.environ.pop("WINE_LANE", None)
        self.addCleanup(self.restore)

    def restore(self):
        if self.asked is not None:
            os.environ["WINE_LANE"] = self.asked

    def program(self, name, data):
        path = Path(self.folder.name) / name
        path.write_bytes(data)
        return path

    def test_programs_of_the_other_lane_are_refused(self):
        lane32 = wine_lane.Lane(reason="", **wine_lane.LANE_32)
        lane64 = wine_lane.Lane(reason="", **wine_lane.LANE_64)
        i386 = self.program("a.exe", pe_bytes(0x14C))
        amd64 = self.program("b.exe", pe_bytes(0x8664))
        self.assertEqual(wine_lane.pe_machine(i386), 0x14C)
        self.assertIsNone(wine_lane.wrong_machine(lane32, [i386]))
        self.assertIsNone(wine_lane.wrong_machine(lane64, [amd64]))
        self.assertEqual(wine_lane.wrong_machine(lane64, [amd64, i386]),
                         "%s is built for machine 0x14C, not this lane's 0x8664" % i386)
        self.assertIn("is absent or no PE file",
                      wine_lane.wrong_machine(lane32, [self.program("c.exe", b"MZ not PE")]))
        self.assertIn("is absent", wine_lane.wrong_machine(lane32, [Path(self.folder.name) / "x"]))

    def test_a_lane_that_cannot_be_had_is_none(self):
        for asked, reason in [("none", "WINE_LANE=none"),
                              ("16", "WINE_LANE=16 is none of 32, 64, none")]:
            os.environ["WINE_LANE"] = asked
            lane = wine_lane.detect()
            self.assertEqual((lane.bits, lane.reason), (0, reason))
            self.assertEqual(lane.describe(), "no Wine lane: " + reason)


if __name__ == "__main__":
    unittest.main()
