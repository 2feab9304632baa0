#include "report/template/frf/FrfReader.h"

#include "platform/TextCase.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/FrfPrimitives.h"
#include "report/template/Report.h"
#include "report/model/ViewFactory.h"

namespace pv {
namespace {

constexpr uint8_t kPageRecord = 255, kDictionaryRecord = 254, kDataManagerRecord = 253,
                  kEndOfRecords = 252;

// System variables of the old dictionary layout, by number.
const char* const kOldSystemVariables[] = {
    "PAGE#",   "MZP",      "DATE",       "TIME",          "LINE#",      "LINETHROUGH#",
    "COLUMN#", "CURRENT#", "TOTALPAGES", "REPORTCOMMENT", "REPORTNAME", "REPORTAUTOR",
    "VMAJOR",  "VMINOR",   "VRELEASE",   "VBUILD",        "REPORTDATE", "REPORTLASTCHANGE",
};

std::string joinNames(const std::vector<std::string>& names) {
    std::string text = "Report contains the following non-plugged components:\r\n";
    for (const auto& n : names)
        text += n + "\r\n";
    return text + "You must include these components into your project.";
}

std::string readShortText(ByteStream& s) {
    return s.readBytes(s.readU8());
}

std::string readCountedBytes(ByteStream& s) {
    return s.readBytes(s.readU16());
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw FrfFormatError(std::string("password holds a non-hexadecimal digit"));
}

std::string decodePassword(const std::string& hex) {
    if (hex.size() % 2) throw FrfFormatError("password of odd hexadecimal length");
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2)
        out.push_back(static_cast<char>(hexDigit(hex[i]) * 16 + hexDigit(hex[i + 1])));
    return out;
}

} // namespace

NonPluggedError::NonPluggedError(std::vector<std::string> classes)
    : Error(joinNames(classes), Error::Encoding::Utf8), classes_(std::move(classes)) {}

int FrfReader::readEdition() {
    size_t start = s_.position();
    int v = s_.readU8();
    if (v <= 20) {
        v = 21;
        s_.seek(start);
    }
    edition_ = v;
    return v;
}

void FrfReader::readBody() {
    report_.PrintToDefault = s_.readI16();
    report_.DoublePass = s_.readI16();
    report_.SelectPrinterByName(readFrfText(s_, edition_));

    bool more = true;
    while (more && !s_.atEnd()) {
        size_t at = s_.position();
        uint8_t code = s_.readU8();
        switch (code) {
        case kPageRecord:
            readPage();
            break;
        case kDictionaryRecord:
            readDictionary();
            break;
        case kDataManagerRecord:
            s_.readU8();
            more = false;
            break;
        case kEndOfRecords:
            more = false;
            break;
        case gtMemo:
        case gtPicture:
        case gtBand:
        case gtSubReport:
        case gtLine:
        case gtAddIn:
            readObject(code);
            // An old record of an unknown class has no end to skip to.
            if (!nonPlugged_.empty() && edition_ < 24) more = false;
            break;
        default:
            throw FrfFormatError("unknown record code " + std::to_string(code) + " at offset " +
                                 std::to_string(at));
        }
    }
    if (!nonPlugged_.empty()) throw NonPluggedError(nonPlugged_);

    if (s_.atEnd()) {
        report_.Info = TfrReportInfo{};
        report_.Info.CreationDate = report_.Info.LastChangeDate = report_.now();
    } else {
        readInfo();
    }
    for (auto& page : report_.Pages)
        for (auto& object : page->Objects)
            object->Loaded();
}

void FrfReader::readPage() {
    auto page = std::make_unique<TfrPage>();
    int32_t m = s_.readI32();
    int32_t size = m == -1 ? s_.readI32() : m;
    int32_t width = s_.readI32();
    int32_t height = s_.readI32();
    page->LeftMargin = s_.readI32();
    page->TopMargin = s_.readI32();
    page->RightMargin = s_.readI32();
    page->BottomMargin = s_.readI32();
    uint8_t orientation = s_.readU8();
    if (edition_ < 23) s_.skip(6);
    int32_t bin = edition_ > 23 ? s_.readI32() : -1;
    page->PrintToPrevPage = s_.readI16();
    page->UseMargins = s_.readI16();
    page->Columns = s_.readI32();
    page->ColumnGap = s_.readI32();
    if (edition_ >= 24) {
        page->Type = s_.readU8();
        page->Name = readFrfText(s_, edition_);
        uint8_t border = s_.readU8();
        page->BorderStyle = border == 0 ? 3 : border == 1 ? 2 : border;
        page->Caption = readFrfText(s_, edition_);
        page->Color = s_.readI32();
        page->WindowLeft = s_.readI32();
        page->WindowTop = s_.readI32();
        page->WindowWidth = s_.readI32();
        page->WindowHeight = s_.readI32();
        page->Position = s_.readU8() ? 4 : 0;
        if (m == -1) page->Script = readFrfLines(s_, edition_);
    } else {
        page->Name = report_.NewPageName();
    }
    page->ChangePaper(size, width, height, orientation, bin);
    report_.Pages.push_back(std::move(page));
}

void FrfReader::readObject(uint8_t code) {
    size_t recordStart = s_.position() - 1;
    std::string className;
    bool framedMemo = false;
    if (code == gtAddIn) {
        className = readFrfText(s_, edition_);
        std::string upper = upper1251(className);
        if (upper == "TFRBDELOOKUPCONTROL" || upper == "TFRIBXLOOKUPCONTROL")
            className = "TfrDBLookupControl";
        else if (upper == "TFRFRAMEDMEMOVIEW") {
            framedMemo = true;
            code = gtMemo;
        }
    }
    uint8_t pageIndex = s_.readU8();
    bool hasEnd = edition_ >= 24;
    size_t end = 0;
    if (hasEnd) {
        int32_t stored = s_.readI32();
        // An end before the record's own fields or past the stream cannot be
        // skipped to: the file is damaged.
        if (stored < 0 || static_cast<size_t>(stored) < s_.position() ||
            static_cast<size_t>(stored) > s_.size())
            throw FrfFormatError("object record at offset " + std::to_string(recordStart) +
                                 " ends at " + std::to_string(stored) + ", outside the stream");
        end = static_cast<size_t>(stored);
    }

    std::unique_ptr<TfrView> view = code == gtAddIn ? createAddIn(className) : createView(code);
    if (!view) {
        nonPlugged_.push_back(className);
        if (hasEnd) s_.seek(end);
        return;
    }
    try {
        readCommonFields(*view);
        view->readClassFields(s_, FrfContext{edition_});
        view->WriteProperty("Name", Variant(view->Name));
        if (framedMemo) s_.skip(8);
        if (hasEnd) s_.seek(end);
    } catch (const FrfFormatError&) {
        // A stream that ended inside the record is truncated, not just an
        // object this reader misunderstood.
        if (s_.atEnd() && (!hasEnd || end >= s_.size())) throw;
        if (hasEnd) s_.seek(end);
        return;
    }
    if (pageIndex >= report_.Pages.size()) return; // belongs to no page read: dropped
    report_.Pages[pageIndex]->Objects.push_back(std::move(view));
}

void FrfReader::readCommonFields(TfrView& v) {
    if (edition_ >= 23)
        v.Name = readFrfText(s_, edition_);
    else
        v.Name = report_.NewObjectName(v.namePrefix());
    if (edition_ >= 24) {
        v.ObjectVersion = s_.readU8();
        v.ObjectSubVersion = s_.readU8();
    }
    readViewGeometry(s_, v);
    v.FillColor = s_.readU32();
    v.Format = s_.readI32();
    v.FormatStr = readFrfText(s_, edition_);
    v.Memo = readFrfLines(s_, edition_);
    if (edition_ >= 23) {
        v.Script = readFrfLines(s_, edition_);
        v.Visible = s_.readI16();
    }
    if (edition_ >= 24) {
        v.Restrictions = s_.readU16();
        v.Tag = readFrfText(s_, edition_);
        v.GapX = s_.readI32();
        v.GapY = s_.readI32();
    }
    if (v.ObjectVersion > 1) v.BandAlign = s_.readU8();
}

void FrfReader::readDictionary() {
    auto& d = report_.Dictionary;
    int16_t marker = s_.readI16();
    if (marker == -1 || marker == -2) {
        for (TfrVariables* list : {&d.Variables, &d.FieldAliases, &d.SourceAliases}) {
            int32_t count = s_.readI32();
            for (int32_t i = 0; i < count; ++i) {
                std::string name = readFrfText(s_, edition_);
                list->SetValue(name, Variant(readFrfText(s_, edition_)));
            }
        }
    } else {
        s_.seek(s_.position() - 2);
        readOldDictionary();
    }
    d.NormalizeCategories();
    if (marker == -1) d.RemoveStaleAliases(report_.fieldResolver());
}

void FrfReader::readOldDictionary() {
    TfrVariables entries(false);
    int32_t count = s_.readI32();
    for (int32_t i = 0; i < count; ++i) {
        uint8_t kind = s_.readU8();
        int32_t index = s_.readI32();
        std::string source = readShortText(s_);
        std::string field = readShortText(s_);
        std::string name = readShortText(s_);
        std::string value;
        if (kind == 1)
            value = source + ".\"" + field + "\"";
        else if (kind == 2) {
            if (index == 1)
                value = field;
            else if (index >= 0 && index < int32_t(std::size(kOldSystemVariables)))
                value = kOldSystemVariables[index];
        }
        entries.SetValue(name, Variant(value));
    }
    auto& vars = report_.Dictionary.Variables;
    for (const std::string& line : readFrfLines(s_, edition_)) {
        if (line.empty()) continue; // names nothing
        if (line[0] != ' ') {
            vars.SetValue(line, Variant(std::string()));
            continue;
        }
        std::string bare = line.substr(1);
        Variant value = entries.Contains(line) ? entries.Value(line) : entries.Value(bare);
        vars.SetValue(line, value.isEmpty() ? Variant(std::string()) : value);
    }
}

void FrfReader::readInfo() {
    TfrReportInfo& info = report_.Info;
    info.ReportComment = readCountedBytes(s_);
    info.ReportName = readCountedBytes(s_);
    info.ReportAutor = readCountedBytes(s_);
    info.VMajor = readCountedBytes(s_);
    info.VMinor = readCountedBytes(s_);
    info.VRelease = readCountedBytes(s_);
    info.VBuild = readCountedBytes(s_);
    info.Password = decodePassword(readCountedBytes(s_));
    info.GeneratorVersion = s_.readU8();
    info.PasswordSet = s_.readU8();
    info.CreationDate = s_.readF64();
    info.LastChangeDate = s_.readF64();
}

} // namespace pv
