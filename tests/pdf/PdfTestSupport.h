#pragma once

#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace pv::test {

// A clock stopped at one moment, so two runs write the same bytes.
inline PdfDateTime fixedTime() {
    PdfDateTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 10;
    t.hour = 9;
    t.minute = 30;
    t.second = 15;
    t.millisecond = 250;
    t.dayOfWeek = 4;
    return t;
}

inline PdfClock fixedClock() {
    return [] { return fixedTime(); };
}

// `action` must fail with exactly `message`.
inline void expectPdfError(const std::function<void()>& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "expected \"" << message << "\"";
    } catch (const TPDFException& e) {
        EXPECT_EQ(e.what(), message);
    }
}

// How often `what` stands in `text`, overlapping occurrences included.
inline int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

struct CommandResult {
    int status = -1;
    std::string output;
};

// Runs a command line through the shell, with stderr joined to stdout.
inline CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    result.status = pclose(pipe);
    return result;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A directory of its own for each test, removed afterwards.
class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "pv-pdf-" + std::string(info->test_suite_name()) + "-" + info->name() +
                           "-" + std::to_string(::getpid());
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// What qpdf --check says about a file, with its exit status.
inline CommandResult qpdfCheck(const std::filesystem::path& path,
                               const std::string& password = "") {
    std::string cmd = "qpdf --check";
    if (!password.empty()) cmd += " --password='" + password + "'";
    return run(cmd + " " + quoted(path));
}

// A document writing into memory, with the clock stopped.
inline std::string writeToMemory(TPDFDocument& doc,
                                 const std::function<void(TPDFDocument&)>& draw) {
    std::ostringstream out(std::ios::binary);
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    draw(doc);
    doc.EndDoc();
    doc.SetOutputStream(nullptr);
    return out.str();
}

// The objects of a file as its cross-reference table gives them.
struct XrefView {
    std::size_t xrefPosition = 0;
    int size = 0;
    std::vector<std::size_t> offsets; // index = object number (0 is the free entry)
    std::vector<std::string> entryLines;
};

inline XrefView readXref(const std::string& pdf) {
    XrefView view;
    const auto sx = pdf.rfind("startxref\r\n");
    if (sx == std::string::npos) return view;
    view.xrefPosition = std::stoul(pdf.substr(sx + 11));
    std::size_t pos = view.xrefPosition;
    auto line = [&]() {
        const auto end = pdf.find("\r\n", pos);
        std::string text = pdf.substr(pos, end - pos);
        pos = end + 2;
        return text;
    };
    if (line() != "xref") return view;
    std::istringstream head(line());
    int first = 0;
    head >> first >> view.size;
    for (int i = 0; i < view.size; ++i) {
        const std::size_t start = pos;
        std::string entry = line();
        view.entryLines.push_back(pdf.substr(start, pos - start));
        view.offsets.push_back(std::stoul(entry.substr(0, 10)));
    }
    return view;
}

// The body of object `number` (from "N 0 obj" up to and including "endobj").
inline std::string objectText(const std::string& pdf, const XrefView& xref, int number) {
    const std::size_t start = xref.offsets.at(number);
    const auto end = pdf.find("endobj\r\n", start);
    return pdf.substr(start, end + 8 - start);
}

} // namespace pv::test
