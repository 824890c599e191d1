"""What is mutated and how: the logic's folders, the operators and their neighbours."""

from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
LOGIC_DIRS = ("app", "device", "install", "osinfo", "platform")
# The seam's declaration holds no logic: its only constants are the Win32 record layout, which a
# static_assert pins, so every mutant of it fails to compile and costs a full rebuild.
EXCLUDED_FILES = {"platform/os_api.h"}
DEFAULT_EQUIVALENTS = "scripts/mutation_equivalents.txt"
TARGET = "unit_tests"

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
LOGICAL = {"&&": "||", "||": "&&"}
# Each access right or flag beside its Win32 neighbour; literals stand for values the launcher
# has no name for (MB_OKCANCEL 1, MB_ICONHAND 0x10, SW_SHOWNORMAL 1).
FLAG_SWAPS = {
    "KEY_READ": ["KEY_ALL_ACCESS"],
    "KEY_ALL_ACCESS": ["KEY_READ"],
    "MB_OK": ["MB_ICONEXCLAMATION", "0x00000001u"],
    "MB_ICONEXCLAMATION": ["MB_OK", "0x00000010u"],
    "SW_HIDE": ["1u"],
}
# The runtime's file mode: text mode turns CR LF into LF and stops at Ctrl-Z; "r+b" needs write
# access, which a driver disk does not give.
FILE_MODE_SWAPS = {'"rb"': ['"r"', '"r+b"']}
