#include "report/designer/DesignerDocument.h"

#include "report/model/BandView.h"
#include "report/model/ByteStream.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/template/Report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace pv {
namespace {

void place(TfrView& v, int left, int top, int width, int height) {
    v.Left = left;
    v.Top = top;
    v.Width = width;
    v.Height = height;
}

} // namespace

DesignerDocument::DesignerDocument(TfrReport& report, std::string path)
    : report_(report), path_(std::move(path)), savePath_(path_) {
    if (report_.PageCount() == 0) report_.AddPage();
    saved_ = snapshot();
}

DesignerDocument::~DesignerDocument() = default;

void DesignerDocument::notify() {
    if (changed_) changed_();
}

void DesignerDocument::setPageIndex(int index) {
    if (index < 0 || index >= report_.PageCount() || index == pageIndex_) return;
    pageIndex_ = index;
    selection_.clear();
    notify();
}

TfrPage* DesignerDocument::page() {
    if (pageIndex_ >= report_.PageCount()) pageIndex_ = 0;
    return report_.PageCount() ? &report_.Page(pageIndex_) : nullptr;
}

void DesignerDocument::select(TfrView* view, bool add) {
    if (!add) selection_.clear();
    auto it = std::find(selection_.begin(), selection_.end(), view);
    if (it != selection_.end()) {
        if (add) selection_.erase(it);
    } else if (view) {
        selection_.push_back(view);
    }
    notify();
}

void DesignerDocument::clearSelection() {
    selection_.clear();
    notify();
}

bool DesignerDocument::isSelected(const TfrView* view) const {
    return std::find(selection_.begin(), selection_.end(), view) != selection_.end();
}

// The state is the template's own file form: whatever the model holds comes
// back exactly, and no second description of the model can fall behind it.
std::string DesignerDocument::snapshot() {
    ByteStream stream;
    const double changed = report_.Info.LastChangeDate;
    report_.SaveToStream(stream);
    report_.Info.LastChangeDate = changed;
    return stream.takeBytes();
}

void DesignerDocument::restore(const std::string& bytes) {
    const std::string fileName = report_.FileName;
    const std::vector<std::string> names = selectedNames();
    selection_.clear();
    ByteStream stream(bytes);
    report_.LoadFromStream(stream);
    report_.FileName = fileName;
    reselect(names);
}

std::vector<std::string> DesignerDocument::selectedNames() const {
    std::vector<std::string> names;
    for (const TfrView* v : selection_)
        names.push_back(v->Name);
    return names;
}

void DesignerDocument::reselect(const std::vector<std::string>& names) {
    selection_.clear();
    if (TfrPage* p = page())
        for (const std::string& name : names)
            for (auto& v : p->Objects)
                if (v->Name == name) selection_.push_back(v.get());
}

void DesignerDocument::beginStep() {
    pending_ = snapshot();
}

void DesignerDocument::commitStep() {
    if (pending_.empty()) return;
    if (snapshot() != pending_) {
        undo_.push_back(std::move(pending_));
        redo_.clear();
    }
    pending_.clear();
    notify();
}

void DesignerDocument::change(const std::function<void()>& edit) {
    beginStep();
    edit();
    commitStep();
}

void DesignerDocument::undo() {
    if (undo_.empty()) return;
    redo_.push_back(snapshot());
    restore(undo_.back());
    undo_.pop_back();
    notify();
}

void DesignerDocument::redo() {
    if (redo_.empty()) return;
    undo_.push_back(snapshot());
    restore(redo_.back());
    redo_.pop_back();
    notify();
}

bool DesignerDocument::modified() const {
    return const_cast<DesignerDocument*>(this)->snapshot() != saved_;
}

int DesignerDocument::fromMm(double mm) {
    return static_cast<int>(std::lround(mm * kPixelsPerMm));
}

int DesignerDocument::toGrid(int pixels) {
    return fromMm(std::round(toMm(pixels)));
}

void DesignerDocument::moveSelection(int dxMm, int dyMm) {
    change([&] {
        for (TfrView* v : selection_) {
            v->Left = fromMm(std::round(toMm(v->Left)) + dxMm);
            v->Top = fromMm(std::round(toMm(v->Top)) + dyMm);
        }
    });
}

void DesignerDocument::resizeSelection(int dwMm, int dhMm) {
    change([&] {
        for (TfrView* v : selection_) {
            const bool line = v->typeCode() == gtLine;
            // A line keeps its zero thickness; others stay at least a millimetre.
            if (!(line && v->Width == 0))
                v->Width = std::max(fromMm(1), fromMm(std::round(toMm(v->Width)) + dwMm));
            if (!(line && v->Height == 0))
                v->Height = std::max(fromMm(1), fromMm(std::round(toMm(v->Height)) + dhMm));
        }
    });
}

void DesignerDocument::alignSelection(Edge edge) {
    if (selection_.size() < 2) return;
    const TfrView& ref = *selection_.front();
    change([&] {
        for (TfrView* v : selection_) {
            switch (edge) {
            case Edge::Left:
                v->Left = ref.Left;
                break;
            case Edge::Right:
                v->Left = ref.Left + ref.Width - v->Width;
                break;
            case Edge::Top:
                v->Top = ref.Top;
                break;
            case Edge::Bottom:
                v->Top = ref.Top + ref.Height - v->Height;
                break;
            }
        }
    });
}

void DesignerDocument::deleteSelection() {
    TfrPage* p = page();
    if (!p || selection_.empty()) return;
    change([&] {
        auto& objects = p->Objects;
        objects.erase(std::remove_if(objects.begin(), objects.end(),
                                     [this](const auto& v) { return isSelected(v.get()); }),
                      objects.end());
        selection_.clear();
    });
}

void DesignerDocument::copySelection() {
    clipboard_.clear();
    for (const TfrView* v : selection_)
        clipboard_.push_back(v->clone());
}

void DesignerDocument::paste() {
    TfrPage* p = page();
    if (!p || clipboard_.empty()) return;
    change([&] {
        selection_.clear();
        for (const auto& copy : clipboard_) {
            std::unique_ptr<TfrView> v = copy->clone();
            // A pasted object lies a little off its original and has a name of its own.
            v->Left += fromMm(5);
            v->Top += fromMm(5);
            v->Name = report_.NewObjectName(v->namePrefix());
            selection_.push_back(v.get());
            p->Objects.push_back(std::move(v));
        }
    });
}

TfrView* DesignerDocument::add(NewObject kind) {
    TfrPage* p = page();
    if (!p) return nullptr;
    TfrView* added = nullptr;
    change([&] {
        std::unique_ptr<TfrView> v;
        if (kind == NewObject::Memo) {
            v = std::make_unique<TfrMemoView>();
            place(*v, fromMm(10), fromMm(10), fromMm(40), fromMm(8));
        } else if (kind == NewObject::Line) {
            auto line = std::make_unique<TfrLineView>();
            place(*line, fromMm(10), fromMm(10), fromMm(40), 0);
            line->directionFromSize();
            v = std::move(line);
        } else {
            auto band = std::make_unique<TfrBandView>();
            int bottom = 0;
            for (const auto& o : p->Objects)
                if (o->typeCode() == gtBand) bottom = std::max(bottom, o->Top + o->Height);
            band->FrameTyp = btMasterData;
            place(*band, 0, toGrid(bottom + fromMm(2)), 0, fromMm(10));
            v = std::move(band);
        }
        v->Name = report_.NewObjectName(v->namePrefix());
        added = v.get();
        p->Objects.push_back(std::move(v));
        selection_ = {added};
    });
    return added;
}

std::string DesignerDocument::save() {
    namespace fs = std::filesystem;
    const fs::path target = fs::u8path(savePath_);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const fs::path temporary = target.string() + ".saving";
    ByteStream stream;
    try {
        report_.SaveToStream(stream);
    } catch (const std::exception& e) {
        return e.what();
    }
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return temporary.string() + ": " + std::strerror(errno);
        out.write(stream.bytes().data(), static_cast<std::streamsize>(stream.size()));
        out.flush();
        if (!out) {
            const std::string why = temporary.string() + ": " + std::strerror(errno);
            fs::remove(temporary, ec);
            return why;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        const std::string why = target.string() + ": " + ec.message();
        fs::remove(temporary, ec);
        return why;
    }
    saved_ = snapshot();
    notify();
    return {};
}

} // namespace pv
