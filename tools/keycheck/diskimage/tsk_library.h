// The Sleuth Kit's functions keycheck calls, loaded with dlopen when a disk image is first read.
// libtsk links some forty libraries (curl, Kerberos and GnuTLS among them, for its AFF and EWF
// readers); linked into keycheck, loading them would triple the start of every run, of every
// verb.
//
// Thread rule: loaded once, under the C++ runtime's guard of a function's static; any thread.
#pragma once

#include <tsk/libtsk.h>

#include <string>

struct TskLibrary {
    decltype(&::tsk_error_get) error_get;
    decltype(&::tsk_error_reset) error_reset;
    decltype(&::tsk_img_open_utf8_sing) img_open_utf8_sing;
    decltype(&::tsk_img_open_external) img_open_external;
    decltype(&::tsk_img_close) img_close;
    decltype(&::tsk_vs_open) vs_open;
    decltype(&::tsk_vs_close) vs_close;
    decltype(&::tsk_vs_part_get) vs_part_get;
    decltype(&::tsk_fs_open_img) fs_open_img;
    decltype(&::tsk_fs_close) fs_close;
    decltype(&::tsk_fs_type_toname) fs_type_toname;
    decltype(&::tsk_fs_dir_open) fs_dir_open;
    decltype(&::tsk_fs_dir_getsize) fs_dir_getsize;
    decltype(&::tsk_fs_dir_get_name) fs_dir_get_name;
    decltype(&::tsk_fs_dir_close) fs_dir_close;
    decltype(&::tsk_fs_file_open) fs_file_open;
    decltype(&::tsk_fs_file_read) fs_file_read;
    decltype(&::tsk_fs_file_close) fs_file_close;
};

// The library, loaded on the first call; null, with why, when it cannot be (libtsk19 missing).
const TskLibrary* LoadTsk(std::string& why);
