// Windows' own view of catalogs, for keycheck's cross-check under Wine: each file's catalog hash
// as wintrust computes it (CryptCATAdminCalcHashFromFileHandle), and a catalog's members as
// wintrust lists them (CryptCATOpen, CryptCATEnumerateMember).
//
//   cathash hash FILE...     one line a file: HASH <tab> FILE <tab> hex, or ERROR <tab> FILE
//   cathash members CATALOG  one line a member: MEMBER <tab> its reference tag
#include <windows.h>

#include <mscat.h>
#include <wintrust.h>

#include <cstdio>
#include <string>

namespace {
std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += static_cast<char>(*text < 0x80 ? *text : '?');
    return out;
}

int Hashes(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        HANDLE file =
            CreateFileA(argv[i], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        BYTE hash[64];
        DWORD size = sizeof hash;
        if (file == INVALID_HANDLE_VALUE ||
            !CryptCATAdminCalcHashFromFileHandle(file, &size, hash, 0)) {
            std::printf("ERROR\t%s\t%lu\n", argv[i], GetLastError());
        } else {
            std::printf("HASH\t%s\t", argv[i]);
            for (DWORD b = 0; b < size; ++b)
                std::printf("%02X", hash[b]);
            std::printf("\n");
        }
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return 0;
}

int Members(const char* path) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    HANDLE catalog = CryptCATOpen(wide, CRYPTCAT_OPEN_EXISTING, 0, 0, 0);
    if (catalog == INVALID_HANDLE_VALUE) {
        std::printf("ERROR\t%s\t%lu\n", path, GetLastError());
        return 1;
    }
    for (CRYPTCATMEMBER* member = CryptCATEnumerateMember(catalog, nullptr); member != nullptr;
         member = CryptCATEnumerateMember(catalog, member))
        std::printf("MEMBER\t%s\n", Narrow(member->pwszReferenceTag).c_str());
    CryptCATClose(catalog);
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "hash")
        return Hashes(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "members")
        return Members(argv[2]);
    std::fprintf(stderr, "usage: cathash hash FILE... | cathash members CATALOG\n");
    return 2;
}
