#include "ZipReaders.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <libdeflate.h>
#include <sstream>

namespace test {

std::vector<std::string> ZipListing::Names() const {
    std::vector<std::string> names;
    for (const ZipEntryInfo& entry : entries)
        names.push_back(entry.name);
    return names;
}

ZipListing ReadBackZip(const std::string& path) {
    CommandResult unzip = Run("unzip -t -qq " + ShellQuote(path));
    EXPECT_EQ(unzip.exitCode, 0) << "unzip -t: " << unzip.output;
    CommandResult sevenZip = Run("7z t -bd " + ShellQuote(path));
    EXPECT_EQ(sevenZip.exitCode, 0) << "7z t: " << sevenZip.output;
    CommandResult python = Run(std::string("/usr/bin/python3 ") + KESTROVA_TEST_TOOLS +
                               "/zipinfo.py " + ShellQuote(path));
    EXPECT_EQ(python.exitCode, 0) << "zipfile: " << python.output;

    ZipListing listing;
    std::istringstream lines(python.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t'))
            fields.push_back(cell);
        if (fields.size() == 2 && fields[0] == "comment")
            listing.commentHex = fields[1];
        if (fields.size() != 19 || fields[0] != "entry")
            continue;
        ZipEntryInfo entry;
        entry.name = fields[1];
        entry.method = std::stoi(fields[2]);
        entry.crc = static_cast<std::uint32_t>(std::stoul(fields[3]));
        entry.compressedSize = std::stoull(fields[4]);
        entry.size = std::stoull(fields[5]);
        entry.time = fields[6];
        entry.internalAttributes = std::stoi(fields[7]);
        entry.externalAttributes = static_cast<std::uint32_t>(std::stoul(fields[8]));
        entry.versionMadeBy = std::stoi(fields[9]);
        entry.madeOnSystem = std::stoi(fields[10]);
        entry.versionNeeded = std::stoi(fields[11]);
        entry.flags = std::stoi(fields[12]);
        entry.offset = std::stoull(fields[13]);
        entry.centralExtraLength = std::stoi(fields[14]);
        entry.localExtraLength = std::stoi(fields[15]);
        entry.localHeaderAgrees = fields[16] == "1";
        entry.contentCrc = static_cast<std::uint32_t>(std::stoul(fields[17]));
        entry.contentSize = std::stoull(fields[18]);
        listing.entries.push_back(entry);
    }
    return listing;
}

std::uint32_t Crc32(const std::string& bytes) {
    return libdeflate_crc32(0, bytes.data(), bytes.size());
}

} // namespace test
