#pragma once
// The theme archive writer: packs the package list into a ZIP archive, or updates the archive
// that already exists under that name. The archive is assembled beside ZipName and renamed into
// place only when complete, so a failure never leaves a broken archive behind.

#include "model/EditorState.h"

#include <functional>
#include <string>

class ZipWriter {
public:
    /// The writer works on the caller's package list and rewrites it in place when packing.
    explicit ZipWriter(PackageList& filesList) : FilesList(filesList) {}

    /// Bare entries of the package list are taken from here. A separator is appended.
    void SetRootDir(const std::string& folder);
    const std::string& RootDir() const { return rootDir_; }
    /// Serves extraction only; a trailing separator is dropped.
    void SetDestDir(const std::string& folder);
    const std::string& DestDir() const { return destDir_; }
    void SetZipName(const std::string& path);
    const std::string& ZipName() const { return zipName_; }

    PackageList& FilesList;

    /// Called after every 1,024 bytes of output, so a window can repaint while packing.
    std::function<void()> ProcessMessages;

    /// Packs every file the package list names into ZipName; returns how many it packed.
    /// Throws StreamError, ZipError ("Incomplete Zip File") and InOutError.
    int PackArchive();

private:
    std::string rootDir_;
    std::string destDir_;
    std::string zipName_;
};
