#include "batch/BatchFile.h"

#include "platform/CodePage.h"

namespace pv {
namespace {
constexpr int kCtrlZ = 26;
constexpr size_t kChunk = 1 << 16;
} // namespace

BatchFile::~BatchFile() { close(); }

bool BatchFile::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    buffer_.resize(kChunk);
    return true;
}

void BatchFile::openBytes(std::string bytes) {
    close();
    buffer_.assign(bytes.begin(), bytes.end());
    len_ = buffer_.size();
    inMemory_ = true;
}

void BatchFile::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    inMemory_ = false;
    ended_ = false;
    buffer_.clear();
    pos_ = len_ = 0;
    linesRead_ = 0;
}

bool BatchFile::fill() {
    if (!file_) return false;
    len_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    pos_ = 0;
    return len_ > 0;
}

int BatchFile::peekByte() {
    if (pos_ == len_ && !fill()) return -1;
    return static_cast<unsigned char>(buffer_[pos_]);
}

int BatchFile::nextByte() {
    int b = peekByte();
    if (b >= 0) ++pos_;
    return b;
}

bool BatchFile::atEnd() {
    if (ended_ || !isOpen()) return true;
    int b = peekByte();
    if (b < 0 || b == kCtrlZ) ended_ = true;
    return ended_;
}

std::string BatchFile::ReadBatchLine() {
    if (atEnd()) return {};
    std::string raw;
    for (;;) {
        int b = nextByte();
        if (b < 0 || b == '\n') break;
        // A CR before the LF is part of the line end; anywhere else it is dropped.
        if (b != '\r') raw.push_back(char(b));
    }
    ++linesRead_;
    return cp866ToCp1251(raw);
}

} // namespace pv
