// The texts the launcher shows, as the launcher it replaces shipped them.
//
// They are kept byte for byte, the spelling slips included ("are't", the caption "Worry", the
// missing blank after "Sorry!!" in one text and the blank before the line break in another):
// customers' support notes and scripts quote them, so correcting one breaks them. keycheck and
// the benchmarks' yardsticks read them from here; the tests hold their own copy of each, as
// shown (tests/expected_boxes.txt, tests/fault_sweep_expected.txt), so that a change here fails
// them.
#pragma once

// The caption of the refusals.
const char* const kCaptionWorry = "Worry";
// Windows other than 98 SE, Me, 2000 and XP.
const char* const kTextUnsupportedSystem = "Sorry!!We don't support this Operating System";
// No listed device on 2000 and XP, and on 98 SE and Me: two spellings, as shipped.
const char* const kTextNoDeviceNt = "Sorry!! We don't support this ID. \nYour ID are't Correctly!!";
const char* const kTextNoDevice9x = "Sorry!! We don't support this ID.\nYour ID are't Correctly!!";
// key.ini cannot be read; the caption is the program's name, as the framework gives it.
const char* const kTextNoKeyFile = "key.ini not found !!";
// The version cannot be read, or names an unknown platform: the text is "Message" and the
// caption says what happened.
const char* const kTextVersionProblem = "Message";
const char* const kCaptionVersionQueryFailed = "Check OS type Error !";
const char* const kCaptionUnknownPlatform = "Unknown OS type !";
