#pragma once
// The failures the user can meet. Each carries the exact text shown in the error box.

#include <stdexcept>
#include <string>

class KestrovaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// File-stream failures: copies into the staging folder, the default scheme, the archive.
class StreamError : public KestrovaError {
public:
    using KestrovaError::KestrovaError;
    /// "Cannot open file "<full path>". <reason>"
    static StreamError Open(const std::string& path, int error);
    /// "Cannot create file "<full path>". <reason>"
    static StreamError Create(const std::string& path, int error);
    static StreamError Read();  // "Stream read error"
    static StreamError Write(); // "Stream write error"
};

/// Text-file failures (the activity log, the descriptor), reported by code as "File not found",
/// "Disk full", "I/O error 32" and so on.
class InOutError : public KestrovaError {
public:
    explicit InOutError(int code);
    /// From a POSIX error, mapped to the code of the same meaning.
    static InOutError FromErrno(int error);
    int Code() const { return code_; }

private:
    InOutError(int code, const std::string& message);
    int code_;
};

/// The archive writer's failures: "Incomplete Zip File", and entries a ZIP cannot hold.
class ZipError : public KestrovaError {
public:
    using KestrovaError::KestrovaError;
};

/// A text that the theme's single-byte code page cannot hold.
class EncodingError : public KestrovaError {
public:
    using KestrovaError::KestrovaError;
};

/// A picture the preview cannot show: "Unknown picture file extension (.%s)", or contents its
/// decoder rejects.
class PictureError : public KestrovaError {
public:
    using KestrovaError::KestrovaError;
};

/// Codes of the text-file errors that have a message of their own.
enum InOutCode : int {
    ioFileNotFound = 2,
    ioInvalidFilename = 3,
    ioTooManyOpenFiles = 4,
    ioAccessDenied = 5,
    ioSharingViolation = 32, // another running copy holds the file
    ioReadBeyondEnd = 100,
    ioDiskFull = 101,
    ioFileNotOpen = 103,
    ioInvalidNumericInput = 106,
};

/// The system's message for a POSIX error, without trailing blanks, line breaks and periods.
std::string SystemReason(int error);

/// The error box's text: a "." is added when the message ends in a character whose code is
/// greater than that of ".", so letters and digits get one and "!", ")" or "." do not.
std::string ErrorBoxText(const std::string& message);
