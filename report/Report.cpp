#include "report/Report.h"

#include "platform/CodePage.h"
#include "platform/FileBytes.h"
#include "platform/Ui.h"
#include "report/ByteStream.h"
#include "report/DateTimeFormat.h"
#include "report/EMFPages.h"
#include "report/FrfError.h"
#include "report/FrfReader.h"
#include "report/FrfWriter.h"

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
        if (ui_) ui_->messageBox(e.what(), ru("Ошибка"), MsgIcon::Error, MsgButtons::Ok);
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

} // namespace pv
