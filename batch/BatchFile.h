#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace pv {

// The one batch file of a run, read forward line by line. A line ends at LF;
// a CR directly before the LF belongs to the line end and any other CR is
// dropped; a Ctrl-Z at the start of a line ends the file. Every line is
// converted from 866 to 1251 as it is read.
class BatchFile {
public:
    BatchFile() = default;
    ~BatchFile();
    BatchFile(const BatchFile&) = delete;
    BatchFile& operator=(const BatchFile&) = delete;

    // Opens `path` (UTF-8) for reading; false when it cannot be opened.
    bool open(const std::string& path);
    // Reads from memory instead of a file (for fuzzing and tests).
    void openBytes(std::string bytes);
    void close();
    bool isOpen() const { return file_ != nullptr || inMemory_; }

    // The next line in 1251; empty at the end, never failing.
    std::string ReadBatchLine();
    // No further character, or the next one is a Ctrl-Z.
    bool atEnd();
    int linesRead() const { return linesRead_; }

private:
    // The next raw byte, or -1 at the end of the data.
    int peekByte();
    int nextByte();
    bool fill();

    std::FILE* file_ = nullptr;
    bool inMemory_ = false;
    bool ended_ = false;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t len_ = 0;
    int linesRead_ = 0;
};

} // namespace pv
