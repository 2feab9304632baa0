#pragma once

// Builds template streams byte by byte, so each test shows the layout it reads.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pv::test {

class FrfBytes {
public:
    explicit FrfBytes(int edition) : edition_(edition) {}

    int edition() const { return edition_; }
    const std::string& str() const { return bytes_; }
    size_t size() const { return bytes_.size(); }

    FrfBytes& u8(int v) {
        bytes_.push_back(static_cast<char>(v & 0xFF));
        return *this;
    }
    FrfBytes& u16(int v) { return u8(v).u8(v >> 8); }
    FrfBytes& i32(int64_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        return u8(u).u8(u >> 8).u8(u >> 16).u8(u >> 24);
    }
    FrfBytes& f64(double d) {
        uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int i = 0; i < 8; ++i)
            u8(static_cast<int>(u >> (8 * i)));
        return *this;
    }
    FrfBytes& raw(const std::string& s) {
        bytes_ += s;
        return *this;
    }
    // A text in the edition's form.
    FrfBytes& text(const std::string& s) {
        if (edition_ >= 23) u16(static_cast<int>(s.size()));
        return raw(s).u8(0);
    }
    FrfBytes& lines(const std::vector<std::string>& ls) {
        if (edition_ < 23) {
            for (size_t i = 0; i < ls.size(); ++i)
                raw(ls[i]).raw(i + 1 < ls.size() ? "\r" : "");
            return u8(0);
        }
        u16(static_cast<int>(ls.size()));
        if (ls.empty()) return u8(0);
        for (size_t i = 0; i < ls.size(); ++i)
            u16(static_cast<int>(ls[i].size())).raw(ls[i]).u8(i + 1 < ls.size() ? 13 : 0);
        return *this;
    }
    void patchI32(size_t at, int64_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    }

    // The edition byte (when the edition has one) and the report header.
    FrfBytes& header(bool withEditionByte = true, int printToDefault = 1) {
        if (withEditionByte) u8(edition_);
        return u16(printToDefault).u16(0).text("\x01");
    }

    // A page record; `m` is the first i32 (−1, or the paper size itself).
    FrfBytes& page(int size = 9, int width = 2100, int height = 2970, bool minusOne = true,
                   const std::string& name = "Page1", const std::vector<std::string>& script = {}) {
        u8(255);
        if (minusOne) i32(-1);
        i32(size).i32(width).i32(height);
        i32(10).i32(20).i32(30).i32(40).u8(0);
        if (edition_ < 23) raw(std::string(6, '\x7F'));
        if (edition_ > 23) i32(-1);
        u16(0).u16(1).i32(1).i32(0);
        if (edition_ >= 24) {
            u8(0)
                .text(name)
                .u8(3)
                .text("Form")
                .i32(0x8000000F)
                .i32(220)
                .i32(120)
                .i32(380)
                .i32(300)
                .u8(4);
            if (minusOne) lines(script);
        }
        return *this;
    }

    // Starts an object record; returns where its end offset goes (0 when the
    // edition has none).
    size_t beginObject(int code, int pageIndex = 0, const std::string& className = "") {
        u8(code);
        if (code == 10) text(className);
        u8(pageIndex);
        if (edition_ < 24) return 0;
        size_t at = size();
        i32(0);
        return at;
    }
    void endObject(size_t at) {
        if (at) patchI32(at, static_cast<int64_t>(size()));
    }

    // The common fields of a view; the name only where the edition stores it.
    FrfBytes& common(const std::string& name, int version = 2, int subVersion = 0,
                     int frameWidth = 1, const std::vector<std::string>& memo = {"text"},
                     int flags = 3, int frameTyp = 0) {
        if (edition_ >= 23) text(name);
        if (edition_ >= 24) u8(version).u8(subVersion);
        i32(5).i32(6).i32(70).i32(18).u16(flags).u16(frameTyp).i32(frameWidth).i32(0).u16(0);
        i32(0x1FFFFFFF).i32(556).text("");
        lines(memo);
        if (edition_ >= 23) lines({}).u16(1);
        if (edition_ >= 24) u16(0).text("").i32(2).i32(1);
        if (edition_ >= 24 && version > 1) u8(0);
        return *this;
    }

    // Memo class fields with the defaults.
    FrfBytes& memoFields(int charset = 204) {
        text("Arial").i32(10).u16(0).i32(0).i32(0).u16(charset);
        u16(2).i32(0).i32(0xFFFFFF).text("");
        if (edition_ >= 24) i32(2).i32(0);
        return *this;
    }

    // A whole memo record.
    FrfBytes& memo(const std::string& name, int pageIndex = 0) {
        size_t at = beginObject(0, pageIndex);
        common(name).memoFields();
        endObject(at);
        return *this;
    }

    FrfBytes& endRecords() { return u8(252); }

    FrfBytes& info(double created = 38000.5, double changed = 38001.25,
                   const std::string& password = "", int passwordSet = 0) {
        for (const char* t : {"comment", "name", "author", "1", "2", "3", "4"}) {
            u16(static_cast<int>(std::strlen(t)));
            raw(t);
        }
        std::string hex;
        const char* digits = "0123456789ABCDEF";
        for (unsigned char c : password) {
            hex += digits[c >> 4];
            hex += digits[c & 15];
        }
        u16(static_cast<int>(hex.size())).raw(hex);
        return u8(88).u8(passwordSet).f64(created).f64(changed);
    }

private:
    int edition_;
    std::string bytes_;
};

} // namespace pv::test
