// The Sleuth Kit loaded when a disk image is first read.
#include "tools/keycheck/diskimage/tsk_library.h"

#include <dlfcn.h>

namespace {
// The library of the libtsk-dev keycheck was built with (Debian 12: libtsk19).
const char* const kLibrary = "libtsk.so.19";

struct Loaded {
    TskLibrary functions{};
    std::string why;  // "" when loaded
};

template <typename Function> bool Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

Loaded Load() {
    Loaded loaded;
    void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        loaded.why = std::string("The Sleuth Kit cannot be loaded (") + dlerror() +
                     "; Debian: apt install libtsk19)";
        return loaded;
    }
    TskLibrary& f = loaded.functions;
    const bool all = Find(library, "tsk_error_get", f.error_get) &&
                     Find(library, "tsk_error_reset", f.error_reset) &&
                     Find(library, "tsk_img_open_utf8_sing", f.img_open_utf8_sing) &&
                     Find(library, "tsk_img_open_external", f.img_open_external) &&
                     Find(library, "tsk_img_close", f.img_close) &&
                     Find(library, "tsk_vs_open", f.vs_open) &&
                     Find(library, "tsk_vs_close", f.vs_close) &&
                     Find(library, "tsk_vs_part_get", f.vs_part_get) &&
                     Find(library, "tsk_fs_open_img", f.fs_open_img) &&
                     Find(library, "tsk_fs_close", f.fs_close) &&
                     Find(library, "tsk_fs_type_toname", f.fs_type_toname) &&
                     Find(library, "tsk_fs_dir_open", f.fs_dir_open) &&
                     Find(library, "tsk_fs_dir_getsize", f.fs_dir_getsize) &&
                     Find(library, "tsk_fs_dir_get_name", f.fs_dir_get_name) &&
                     Find(library, "tsk_fs_dir_close", f.fs_dir_close) &&
                     Find(library, "tsk_fs_file_open", f.fs_file_open) &&
                     Find(library, "tsk_fs_file_read", f.fs_file_read) &&
                     Find(library, "tsk_fs_file_close", f.fs_file_close);
    if (!all)
        loaded.why = std::string(kLibrary) + " lacks a function keycheck calls";
    return loaded;
}
}  // namespace

const TskLibrary* LoadTsk(std::string& why) {
    static const Loaded loaded = Load();
    why = loaded.why;
    return loaded.why.empty() ? &loaded.functions : nullptr;
}
