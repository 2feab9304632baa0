#pragma once

// Printing to real output: prepared pages with one text each, printers that
// write PDF files, and the text read back from what was printed.

#include "tests/support/PreparedPagesSupport.h"

#include "report/qt/QtInstalledPrinter.h"

#include <QApplication>
#include <QPrinter>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace pv::test {

// The application object the test program's main() made.
inline QApplication& application() {
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// An installed printer as far as the engine can tell, printing into a PDF file.
inline std::shared_ptr<QtInstalledPrinter> pdfFilePrinter(const std::string& path,
                                                       const std::string& name) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(path));
    return std::make_shared<QtInstalledPrinter>(std::move(printer), name);
}

// Prepared A4 pages, the n-th showing the n-th text near its top left corner.
inline void addTextPages(TfrEMFPages& pages, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        pages.AppendPage(templatePage());
        pages.AddObject(pages.Count() - 1, memo("Memo1", 50, 60, 400, 40, {text}));
    }
}

// What a command prints on its standard output (UTF-8).
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer;
        size_t n;
        while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            out.append(buffer.data(), n);
        pclose(pipe);
    }
    return out;
}

// The text of each page of a PDF file, as pdftotext gives it (UTF-8).
inline std::vector<std::string> pdfPageTexts(const std::string& path) {
    const std::string text = commandOutput("timeout 30 pdftotext -enc UTF-8 '" + path + "' -");
    std::vector<std::string> pages;
    std::string page;
    for (char c : text) {
        if (c == '\f') {
            pages.push_back(page);
            page.clear();
        } else if (c != '\n') {
            page += c;
        }
    }
    return pages;
}

// Which of the texts each printed page shows, by index; -1 for none.
inline std::vector<int> printedOrder(const std::string& pdf,
                                     const std::vector<std::string>& texts) {
    std::vector<int> order;
    for (const std::string& page : pdfPageTexts(pdf)) {
        int found = -1;
        for (size_t i = 0; i < texts.size(); ++i)
            if (page.find(texts[i]) != std::string::npos) found = int(i);
        order.push_back(found);
    }
    return order;
}

} // namespace pv::test
