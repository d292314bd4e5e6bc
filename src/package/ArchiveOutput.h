#pragma once
// The archive being written: a temporary file beside the archive's final name, renamed into
// place only when complete and removed on every other path, so a failure never leaves a broken
// or half-replaced archive.

#include "FileHandle.h"
#include "HeldFiles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class ArchiveOutput {
public:
    /// Creates ".<name>.XXXXXX" in the archive's folder, held locked until it is renamed or
    /// removed, after removing the unlocked ones earlier runs left there. Throws
    /// StreamError::Create naming zipName when the folder cannot take it.
    ArchiveOutput(std::string zipName, std::function<void()> processMessages);
    ~ArchiveOutput();
    ArchiveOutput(const ArchiveOutput&) = delete;
    ArchiveOutput& operator=(const ArchiveOutput&) = delete;

    /// Bytes written so far: the offset of the next byte.
    std::uint64_t Offset() const { return offset_; }

    /// The file whose bytes are being written, named by the error raised when the archive would
    /// outgrow what a ZIP without ZIP64 can address.
    void SetSubject(const std::string& path) { subject_ = path; }

    /// Appends; throws "Stream write error" or the too-large ZipError.
    void Write(const void* data, std::size_t size);
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    /// Overwrites bytes already written, such as a local header with its final values.
    void WriteAt(const std::string& bytes, std::uint64_t offset);

    /// Gives the archive the permission bits of the one it replaces.
    void KeepMode(unsigned mode);

    /// Flushes the file to disk, renames it to the archive's name and flushes the folder.
    void Commit();

private:
    std::string zipName_;
    std::string folder_; // the archive's, with its separator; empty for the current folder
    std::string temporaryPath_;
    std::string subject_;
    FileHandle file_;
    std::optional<HeldPath> held_; // locked through file_ while it exists
    std::function<void()> processMessages_;
    std::uint64_t offset_ = 0;
    std::uint64_t nextMessages_ = 1024;
    bool committed_ = false;
};

/// "File too large for a theme archive: "<path>""
std::string TooLargeMessage(const std::string& path);
