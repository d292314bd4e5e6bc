#pragma once
// The theme archive writer: packs the package list into a ZIP archive, or updates the archive
// that already exists under that name. The archive is assembled beside ZipName and renamed into
// place only when complete, so a failure never leaves a broken archive behind.

#include "EntryCompression.h"
#include "model/ThemeDocument.h"

#include <cstdint>
#include <functional>
#include <string>

class ZipWriter {
public:
    /// The writer works on the caller's package list and rewrites it in place when packing.
    explicit ZipWriter(PackageList& filesList) : FilesList(filesList) {}

    /// Bare entries of the package list are taken from here. A separator is appended.
    void SetRootDir(const std::string& folder);
    const std::string& RootDir() const { return rootDir_; }
    /// Names differing only in letter case are different files here, so each is taken as given.
    void SetZipName(const std::string& path);
    const std::string& ZipName() const { return zipName_; }

    PackageList& FilesList;

    /// Called on the calling thread after every 1,024 bytes written to the archive, and every
    /// few milliseconds while the writer waits for entries deflated on other threads, so a
    /// window can repaint while packing. It must not start another pack nor touch the writer or
    /// its list.
    std::function<void()> ProcessMessages;

    /// The threads that deflate: 0 for DefaultPackThreads(); 1 deflates each entry on the
    /// calling thread in its turn. The archive is the same whatever the number.
    int PackThreads = 0;
    /// Files up to this size are read and deflated whole, on any thread; larger ones stream
    /// through zlib on the calling thread.
    std::uint64_t InMemoryLimit = EntryCompressor::DefaultInMemoryLimit;

    /// Packs every file the package list names into ZipName, updating the archive that exists
    /// there; returns how many files it packed (new or replacing an old entry). Throws
    /// StreamError, ZipError ("Incomplete Zip File", files too large for a ZIP without ZIP64)
    /// and InOutError (the finished archive cannot be renamed into place).
    int PackArchive();

private:
    std::string rootDir_;
    std::string zipName_;
};
