#pragma once
// trelvask.log: when each run started and ended, which file was chosen for which slot, and what
// the metadata fields held each time the user left one. Every entry reaches the file at once.

#include "StartTime.h"
#include "package/FileHandle.h"

#include <string>
#include <string_view>

inline constexpr std::string_view LogFileName = "trelvask.log";

// Prefixes of the entries written when the focus leaves a metadata field.
inline constexpr std::string_view LogTitlePrefix = "The Name of theme change to ";
inline constexpr std::string_view LogAuthorPrefix = "The Author of theme change to ";
inline constexpr std::string_view LogPublishedPrefix = "The Creation date of theme change to ";
inline constexpr std::string_view LogVersionPrefix = "The Version of theme change to ";
inline constexpr std::string_view LogVendorPrefix = "The Vendor of theme change to ";
inline constexpr std::string_view LogPricePrefix = "The Price of theme change to ";
inline constexpr std::string_view LogUrlPrefix = "The URL of theme change to ";

/// "day.month.year hour:minute:second" without leading zeros.
std::string LogTimestamp(const UtcTime& time);

/// The entry for a slot choice: "\"<path>\" is choosed as <resource name>\n".
std::string ChoiceLogEntry(std::string_view chosenPath, std::string_view resourceName);

/// The entry for leaving a metadata field: prefix, text, "\n".
std::string FieldLogEntry(std::string_view prefix, std::string_view text);

class ActivityLog {
public:
    /// path is resolved against the current directory when OpenLog runs.
    explicit ActivityLog(std::string path = std::string(LogFileName));
    ~ActivityLog();
    ActivityLog(const ActivityLog&) = delete;
    ActivityLog& operator=(const ActivityLog&) = delete;

    /// Opens or creates the log and writes the start entry. Another running copy holding the
    /// log gives InOutError 32; after a failed open every write fails with InOutError 103.
    void OpenLog(const UtcTime& startTime);
    /// Appends text unchanged. Throws InOutError.
    void WriteLog(std::string_view text);
    /// Writes the closing entry with the time now and closes the file. Throws InOutError.
    void CloseLog();
    /// CloseLog with a given closing time.
    void CloseLog(const UtcTime& closeTime);

    bool IsOpen() const;

private:
    std::string path_;
    FileHandle file_;
};
