// The leaks of the libraries keycheck reads registry files and disk images through, as the
// sanitizer builds' leak checker is told of them. Each gives up on a damaged file without
// freeing a few bytes: libcreg (libcreg_data_block_entry_initialize's, on its error paths) and
// The Sleuth Kit (tsk_fs_dir_open's name table, when the directory cannot be read). keycheck
// reads one file a run, so the bytes go with the process.
//
// Included by each reader that links one of them: the hook is emitted where it is included, once
// in a program, and asked for by the sanitizer runtime alone.
#pragma once

extern "C" __attribute__((used)) inline const char* __lsan_default_suppressions() {
    return "leak:libcreg.so\nleak:libtsk.so\n";
}
