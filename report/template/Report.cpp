#include "report/template/Report.h"

#include "platform/CodePage.h"
#include "platform/FileBytes.h"
#include "platform/Ui.h"
#include "report/model/ByteStream.h"
#include "report/value/DateTimeFormat.h"
#include "report/prepared/PreparedPages.h"
#include "report/model/FrfError.h"
#include "report/export/ExportProgress.h"
#include "report/export/ExportFilter.h"
#include "report/export/ExportError.h"
#include "report/template/frf/FrfReader.h"
#include "report/template/frf/FrfWriter.h"
#include "report/template/ReportProgress.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pv {

const std::string TfrReport::kVirtualPrinterName = "\x01";

namespace {
constexpr int32_t kFormEdition = 25;
}

TfrReport::TfrReport() : emfPages_(std::make_unique<TfrEMFPages>(*this)) {
    resetInfo();
}

TfrReport::~TfrReport() = default;

double TfrReport::now() const {
    return clock_ ? clock_() : currentDateTime();
}

void TfrReport::resetInfo() {
    Info = TfrReportInfo{};
    Info.CreationDate = Info.LastChangeDate = now();
}

void TfrReport::Clear() {
    Pages.clear();
    Dictionary.Clear();
    DoublePass = 0;
    resetInfo();
    FileName = "Untitled";
}

TfrPage& TfrReport::AddPage() {
    auto page = std::make_unique<TfrPage>();
    page->Name = NewPageName();
    Pages.push_back(std::move(page));
    return *Pages.back();
}

TfrView* TfrReport::FindObject(const std::string& name) const {
    for (const auto& page : Pages)
        for (const auto& object : page->Objects)
            if (object->Name == name) return object.get();
    return nullptr;
}

std::string TfrReport::NewObjectName(const std::string& prefix) const {
    for (int n = 1; n <= 10000; ++n) {
        std::string name = prefix + std::to_string(n);
        if (!FindObject(name)) return name;
    }
    return prefix;
}

std::string TfrReport::NewPageName() const {
    for (int n = 1; n <= 10000; ++n) {
        std::string name = "Page" + std::to_string(n);
        bool used = false;
        for (const auto& page : Pages)
            used = used || page->Name == name;
        if (!used) return name;
    }
    return "Page";
}

void TfrReport::SelectPrinterByName(const std::string& name) {
    PrinterName = name;
    if (PrintToDefault) return;
    TfrPrinter& printer = frPrinter();
    int index = name == kVirtualPrinterName ? printer.VirtualIndex() : printer.indexOf(name);
    if (index >= 0) printer.SelectPrinter(index);
}

std::string TfrReport::selectedPrinterText() const {
    const TfrPrinter& printer = frPrinter();
    return printer.isVirtual() ? kVirtualPrinterName : printer.printerName();
}

void TfrReport::showFormatError() {
    if (ui_)
        ui_->messageBox(ru("Неверный FRF формат"), ru("Ошибка"), MsgIcon::Error, MsgButtons::Ok);
}

void TfrReport::replaceWithEmptyPage() {
    Pages.clear();
    AddPage();
}

void TfrReport::LoadFromStream(ByteStream& stream) {
    lastLoad_ = LoadResult::Ok;
    lastLoadDetail_.clear();
    Dictionary.Clear();
    FrfReader reader(*this, stream);
    try {
        if (reader.readEdition() > 25) {
            lastLoad_ = LoadResult::BadEdition;
            lastLoadDetail_ = "template edition above 25";
            showFormatError();
            return;
        }
        Pages.clear();
        reader.readBody();
    } catch (const FrfFormatError& e) {
        // Nothing half-read stays behind.
        lastLoad_ = LoadResult::Unreadable;
        lastLoadDetail_ = e.what();
        replaceWithEmptyPage();
        Dictionary.Clear();
        resetInfo();
        showFormatError();
        return;
    } catch (const NonPluggedError& e) {
        // The information block lies beyond the records that were not read.
        lastLoad_ = LoadResult::NonPlugged;
        lastLoadDetail_ = e.what();
        resetInfo();
        if (ui_) ui_->messageBox(e.text(), ru("Ошибка"), MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    if (Info.PasswordSet && stream.fromFile()) askPassword();
}

void TfrReport::askPassword() {
    std::optional<std::string> typed;
    if (ui_) typed = ui_->askPassword(ru("Пароль"), ru("Введите пароль для открытия отчета"));
    if (typed && *typed == Info.Password) return;
    Clear();
    AddPage();
    lastLoad_ = LoadResult::PasswordRefused;
}

bool TfrReport::LoadFromFile(const std::string& path) {
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) return false;
    ByteStream stream(std::move(*bytes), true);
    // Set first: a refused password leaves the report "Untitled".
    FileName = path;
    LoadFromStream(stream);
    return true;
}

void TfrReport::SaveToStream(ByteStream& stream) {
    writeFrf(*this, stream, selectedPrinterText(), now());
}

void TfrReport::ReadReportForm(ByteStream& stream, bool storeInForm) {
    stream.readI32();
    if (!storeInForm) return;
    int32_t length = stream.readI32();
    if (length < 0) throw FrfFormatError("negative template length in a form");
    ByteStream inner(stream.readBytes(static_cast<size_t>(length)));
    LoadFromStream(inner);
}

void TfrReport::WriteReportForm(ByteStream& stream, bool storeInForm) {
    stream.writeI32(kFormEdition);
    if (!storeInForm) return;
    ByteStream inner;
    SaveToStream(inner);
    stream.writeI32(static_cast<int32_t>(inner.size()));
    stream.writeBytes(inner.bytes());
}

bool TfrReport::SaveToFile(const std::string& path) {
    ByteStream stream;
    SaveToStream(stream);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(stream.bytes().data(), static_cast<std::streamsize>(stream.size()));
    return static_cast<bool>(out);
}

// Prepared pages: the preview holds them while it shows, the .frp file saves them.

bool TfrReport::LoadPreparedFile(const std::string& path) {
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) return false;
    ByteStream stream(std::move(*bytes), true);
    resetInfo();
    canRebuild_ = false;
    lastLoad_ = LoadResult::Ok;
    lastLoadDetail_.clear();
    try {
        EMFPages().ReadPreparedFile(stream);
    } catch (const FrfFormatError& e) {
        lastLoad_ = LoadResult::Unreadable;
        lastLoadDetail_ = e.what();
    }
    return true;
}

bool TfrReport::SavePreparedFile(const std::string& path) {
    ByteStream stream;
    EMFPages().WritePreparedFile(stream);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(stream.bytes().data(), static_cast<std::streamsize>(stream.size()));
    out.close();
    return static_cast<bool>(out);
}

std::unique_ptr<TfrEMFPages> TfrReport::TakeEMFPages() {
    auto taken = std::move(emfPages_);
    emfPages_ = std::make_unique<TfrEMFPages>(*this);
    return taken;
}

void TfrReport::ReturnEMFPages(std::unique_ptr<TfrEMFPages> pages) {
    emfPages_ = pages ? std::move(pages) : std::make_unique<TfrEMFPages>(*this);
}

// Exporting the prepared pages through an export filter.

namespace {

// The filter is the report's current one only while the export runs, and
// has a stream only while the file is open, however the export ends.
class FilterInUse {
public:
    FilterInUse(TfrExportFilter*& slot, TfrExportFilter& filter) : slot_(slot) { slot_ = &filter; }
    ~FilterInUse() { slot_ = nullptr; }
    FilterInUse(const FilterInUse&) = delete;
    FilterInUse& operator=(const FilterInUse&) = delete;

private:
    TfrExportFilter*& slot_;
};

class OpenStream {
public:
    OpenStream(TfrExportFilter& filter, std::ofstream& out, const TfrEMFPages& pages)
        : filter_(filter), out_(out) {
        filter_.setStream(&out_);
        filter_.setExportedPages(&pages);
    }
    ~OpenStream() {
        filter_.setExportedPages(nullptr);
        filter_.setStream(nullptr);
        out_.close();
    }
    OpenStream(const OpenStream&) = delete;
    OpenStream& operator=(const OpenStream&) = delete;

private:
    TfrExportFilter& filter_;
    std::ofstream& out_;
};

void exportPages(TfrEMFPages& pages, TfrExportFilter& filter, ExportProgress* progress) {
    const int total = pages.Count();
    filter.BeginDocument();
    for (int i = 0; i < total; ++i) {
        if (progress && progress->Cancelled()) break;
        filter.BeginPage();
        pages.ExportPage(i, filter);
        if (progress) progress->PageExported(i + 1, total);
        filter.EndPage();
    }
    filter.EndDocument();
}

} // namespace

void TfrReport::ExportPrepared(TfrExportFilter& filter, const std::string& fileName,
                               ExportProgress* progress) {
    FilterInUse current(currentFilter_, filter);
    std::string name = fileName;
    filter.setFileName(name);
    bool proceed = true;
    if (filter.OnBeforeExport) filter.OnBeforeExport(name, proceed);
    if (!proceed) return;
    filter.setFileName(name);
    if (filter.OptionsDialog() != 1) return;

    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    if (!out) throw ExportFileError("cannot create the export file " + name);
    {
        OpenStream open(filter, out, EMFPages());
        if (progress) {
            exportPages(EMFPages(), filter, progress);
        } else {
            ReportProgress shown(*this, ru("Формируется страница:"));
            shown.page(1);
            shown.run([&] { exportPages(EMFPages(), filter, &shown); });
        }
        out.flush();
        if (!out) throw ExportFileError("cannot write the export file " + name);
    }
    if (filter.OnAfterExport) filter.OnAfterExport(name);
}

} // namespace pv
