// A folder of real files for keycheck's tests, made fresh and removed with the object.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of relative (with forward slashes) in the folder; the folder itself for "".
    std::string Path(const std::string& relative = "") const;
    // Writes bytes to relative, making the folders on its way.
    void Write(const std::string& relative, const std::string& bytes) const;
    // Writes the launcher's whole driver package (sim's PackageFileList) under folder, key.ini
    // holding keyIni.
    void WritePackage(const std::string& folder, const std::string& keyIni) const;

private:
    std::string m_path;
};
