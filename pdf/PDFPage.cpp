#include "pdf/PDFPage.h"

#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFFormat.h"
#include "pdf/UrlFinder.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pv {

using pdf::formatReal;

namespace {

constexpr double kKappa = 0.5522847498;
constexpr double kArcShift = 0.0001;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

std::string deflate(std::string_view data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(data.data()),
                 static_cast<uLong>(data.size())) != Z_OK)
        throw TPDFException("Cannot compress page content");
    out.resize(size);
    return out;
}

} // namespace

TPDFPage::TPDFPage(TPDFDocument& doc)
    : doc_(doc), number_(0), resolution_(doc.Resolution()), factor_(doc.Resolution() / 72.0) {
    // Every coordinate is divided by the factor.
    if (resolution_ < 1) throw TPDFException("Resolution must be at least 1 dot per inch");
    number_ = doc.NewObjectNumber();
    content_.push_back("q");
}

TPDFPage::~TPDFPage() = default;

// --- size and coordinates ---

void TPDFPage::ensureResizable() const {
    if (inProgress_) throw TPDFException("Page in progress");
}

void TPDFPage::SetWidth(int width) {
    ensureResizable();
    widthPt_ = static_cast<int>(pdf::roundHalfEven(width / factor_));
    if (recording_) recording_->Resize(width, Height());
}

void TPDFPage::SetHeight(int height) {
    ensureResizable();
    heightPt_ = static_cast<int>(pdf::roundHalfEven(height / factor_));
    if (recording_) recording_->Resize(Width(), height);
}

int TPDFPage::Width() const {
    return static_cast<int>(pdf::roundHalfEven(widthPt_ * factor_));
}
int TPDFPage::Height() const {
    return static_cast<int>(pdf::roundHalfEven(heightPt_ * factor_));
}

double TPDFPage::X(double x) {
    inProgress_ = true;
    return x / factor_;
}

double TPDFPage::Y(double y) {
    inProgress_ = true;
    return heightPt_ - y / factor_;
}

// --- paths and painting ---

void TPDFPage::checkNoText() const {
    if (textOpen_) throw TPDFException("Text object inited");
}

void TPDFPage::checkText() const {
    if (!textOpen_) throw TPDFException("Text object not inited");
}

void TPDFPage::addOperator(std::initializer_list<double> operands, const char* op) {
    std::string line;
    for (double v : operands) {
        if (!line.empty()) line += ' ';
        line += formatReal(v);
    }
    line += op;
    content_.push_back(std::move(line));
}

void TPDFPage::MoveToPt(double x, double y) {
    checkNoText();
    addOperator({x, y}, " m");
    lastPoint_ = {x, y};
}

void TPDFPage::LineToPt(double x, double y) {
    checkNoText();
    addOperator({x, y}, " l");
    lastPoint_ = {x, y};
}

void TPDFPage::CurveToPt(double x1, double y1, double x2, double y2, double x3, double y3) {
    checkNoText();
    addOperator({x1, y1, x2, y2, x3, y3}, " c");
    lastPoint_ = {x3, y3};
}

void TPDFPage::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    CurveToPt(X(x1), Y(y1), X(x2), Y(y2), X(x3), Y(y3));
}

void TPDFPage::RectanglePt(double x, double y, double w, double h) {
    checkNoText();
    addOperator({x, y, w, h}, " re");
}

void TPDFPage::Rectangle(double x1, double y1, double x2, double y2) {
    const double left = std::min(x1, x2), right = std::max(x1, x2);
    const double top = std::min(y1, y2), bottom = std::max(y1, y2);
    const double l = X(left), r = X(right), t = Y(top), b = Y(bottom);
    RectanglePt(l, b, r - l, t - b);
}

void TPDFPage::ClosePath() {
    checkNoText();
    content_.push_back("h");
}
void TPDFPage::NewPath() {
    checkNoText();
    content_.push_back("n");
}
void TPDFPage::Fill() {
    checkNoText();
    content_.push_back("f");
}
void TPDFPage::EoFill() {
    checkNoText();
    content_.push_back("f*");
}
void TPDFPage::Stroke() {
    checkNoText();
    content_.push_back("S");
}
void TPDFPage::FillAndStroke() {
    checkNoText();
    content_.push_back("B");
}
void TPDFPage::EoFillAndStroke() {
    checkNoText();
    content_.push_back("B*");
}
void TPDFPage::Clip() {
    checkNoText();
    content_.push_back("W");
}

void TPDFPage::GStateSave() {
    content_.push_back("q");
    ++gstateCount_;
}

void TPDFPage::GStateRestore() {
    if (gstateCount_ == 1) return;
    content_.push_back("Q");
    --gstateCount_;
}

void TPDFPage::SetLineWidth(double width) {
    addOperator({width / factor_}, " w");
}

void TPDFPage::SetDash(const std::string& pattern) {
    checkNoText();
    if (pattern == dash_) return;
    content_.push_back(pattern + " d");
    dash_ = pattern;
}

void TPDFPage::SetRGBFillColor(double r, double g, double b) {
    addOperator({r, g, b}, " rg");
}
void TPDFPage::SetRGBStrokeColor(double r, double g, double b) {
    addOperator({r, g, b}, " RG");
}

// --- shapes ---

void TPDFPage::Ellipse(double x1, double y1, double x2, double y2) {
    const double ax = X(x1), bx = X(x2), ay = Y(y1), by = Y(y2);
    const double cx = (ax + bx) / 2, cy = (ay + by) / 2;
    const double rx = std::fabs(bx - ax) / 2, ry = std::fabs(by - ay) / 2;
    const double kx = kKappa * rx, ky = kKappa * ry;
    MoveToPt(cx, cy + ry);
    CurveToPt(cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
    CurveToPt(cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
    CurveToPt(cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
    CurveToPt(cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
}

void TPDFPage::RoundRect(int x1, int y1, int x2, int y2, int ew, int eh) {
    const double l = X(std::min(x1, x2)), r = X(std::max(x1, x2));
    const double t = Y(std::min(y1, y2)), b = Y(std::max(y1, y2));
    const double rx = Length(ew / 2.0), ry = Length(eh / 2.0);
    const double kx = kKappa * rx, ky = kKappa * ry;
    MoveToPt(l + rx, t);
    LineToPt(r - rx, t);
    CurveToPt(r - rx + kx, t, r, t - ry + ky, r, t - ry);
    LineToPt(r, b + ry);
    CurveToPt(r, b + ry - ky, r - rx + kx, b, r - rx, b);
    LineToPt(l + rx, b);
    CurveToPt(l + rx - kx, b, l, b + ry - ky, l, b + ry);
    LineToPt(l, t - ry);
    CurveToPt(l, t - ry + ky, l + rx - kx, t, l + rx, t);
    ClosePath();
}

// Cubic pieces of at most 90 degrees on the unit circle, scaled to the ellipse;
// the curve's first point is already current.
void TPDFPage::arcPieces(double cx, double cy, double rx, double ry, double start, double sweep) {
    const int pieces =
        std::max(0, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2) - 1e-9)));
    const double step = pieces ? sweep / pieces : 0;
    const double theta = step / 2;
    const double h = pieces ? 4.0 / 3.0 * (1 - std::cos(theta)) / std::sin(theta) : 0;
    auto px = [&](double ux) { return cx + rx * ux - kArcShift; };
    auto py = [&](double uy) { return cy + ry * uy - kArcShift; };
    for (int i = 0; i < pieces; ++i) {
        const double a0 = start + i * step, a1 = a0 + step;
        const double c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
        CurveToPt(px(c0 - h * s0), py(s0 + h * c0), px(c1 + h * s1), py(s1 - h * c1), px(c1),
                  py(s1));
    }
}

PdfPoint TPDFPage::Arc(double x1, double y1, double x2, double y2, double xs, double ys, double xe,
                       double ye) {
    const double ax = X(x1), bx = X(x2), ay = Y(y1), by = Y(y2);
    const double rx = std::max(0.0, (std::fabs(bx - ax) - 1) / 2);
    const double ry = std::max(0.0, (std::fabs(by - ay) - 1) / 2);
    const double cx = (ax + bx) / 2, cy = (ay + by) / 2;
    const double start = std::atan2((Y(ys) - cy) * rx, (X(xs) - cx) * ry);
    const double end = std::atan2((Y(ye) - cy) * rx, (X(xe) - cx) * ry);
    double sweep = end - start;
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    const PdfPoint first{cx + rx * std::cos(start), cy + ry * std::sin(start)};
    MoveToPt(first.x, first.y);
    arcPieces(cx, cy, rx, ry, start, sweep);
    return first;
}

PdfPoint TPDFPage::ArcByAngles(double x1, double y1, double x2, double y2, double startDegrees,
                               double endDegrees) {
    const double ax = X(x1), bx = X(x2), ay = Y(y1), by = Y(y2);
    const double rx = std::max(0.0, (std::fabs(bx - ax) - 1) / 2);
    const double ry = std::max(0.0, (std::fabs(by - ay) - 1) / 2);
    const double cx = (ax + bx) / 2, cy = (ay + by) / 2;
    const double start = radians(-startDegrees);
    double sweep = radians(-endDegrees) - start;
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    const PdfPoint first{cx + rx * std::cos(start), cy + ry * std::sin(start)};
    MoveToPt(first.x, first.y);
    arcPieces(cx, cy, rx, ry, start, sweep);
    return first;
}

void TPDFPage::Pie(double x1, double y1, double x2, double y2, double xs, double ys, double xe,
                   double ye) {
    const PdfPoint first = Arc(x1, y1, x2, y2, xs, ys, xe, ye);
    const double cx = (X(x1) + X(x2)) / 2, cy = (Y(y1) + Y(y2)) / 2;
    LineToPt(cx, cy);
    MoveToPt(first.x, first.y);
    LineToPt(cx, cy);
}

// --- text ---

void TPDFPage::writeMatrix() {
    const Matrix& m = textMatrix_;
    addOperator({m.a, m.b, m.c, m.d, m.e, m.f}, " Tm");
}

// T' = M × T (row vectors): the translation of T stays.
void TPDFPage::applyMatrix(const Matrix& m) {
    checkText();
    const Matrix& t = textMatrix_;
    Matrix r;
    r.a = m.a * t.a + m.b * t.c;
    r.b = m.a * t.b + m.b * t.d;
    r.c = m.c * t.a + m.d * t.c;
    r.d = m.c * t.b + m.d * t.d;
    r.e = t.e;
    r.f = t.f;
    textMatrix_ = r;
    writeMatrix();
}

void TPDFPage::rotate(double degrees) {
    const double c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    applyMatrix({c, s, -s, c, 0, 0});
}

void TPDFPage::italicSkew() {
    applyMatrix({1, 0, std::tan(radians(7)), 1, 0, 0});
}

// The glyph part of the text matrix built afresh for the current font: the
// skew of a simulated italic belongs to that font only, and the rotation of
// the line stays. The position is kept.
void TPDFPage::glyphMatrix() {
    const Matrix position = textMatrix_;
    textMatrix_ = Matrix{};
    textMatrix_.e = position.e;
    textMatrix_.f = position.f;
    if (simulateItalic_) {
        textMatrix_.c = std::tan(radians(7));
    }
    const double c = std::cos(radians(rotation_)), s = std::sin(radians(rotation_));
    const Matrix t = textMatrix_;
    textMatrix_.a = c * t.a + s * t.c;
    textMatrix_.b = c * t.b + s * t.d;
    textMatrix_.c = -s * t.a + c * t.c;
    textMatrix_.d = -s * t.b + c * t.d;
    writeMatrix();
}

void TPDFPage::BeginText() {
    if (textOpen_) throw TPDFException("Cannot begin text object twice");
    content_.push_back("BT");
    textOpen_ = true;
    textMatrix_ = Matrix{};
    rotation_ = 0;
    if (fontSet_ && simulateItalic_) italicSkew();
}

void TPDFPage::EndText() {
    content_.push_back("ET");
    textOpen_ = false;
}

void TPDFPage::SetActiveFont(const std::string& name, int style, int charset, double size) {
    const bool wasOpen = textOpen_;
    if (!wasOpen) content_.push_back("BT");
    TPDFFonts& fonts = doc_.Fonts();
    fonts.SelectFont(name, style, charset);
    const int index = fonts.ActiveIndex();
    const TPDFFont& font = fonts.Item(index);
    if (std::find(usedFonts_.begin(), usedFonts_.end(), index) == usedFonts_.end())
        usedFonts_.push_back(index);
    content_.push_back("/" + font.ResourceName() + " " + formatReal(size) + " Tf");
    fontIndex_ = index;
    fontSize_ = size;
    fontSet_ = true;
    underline_ = (style & fsUnderline) != 0;
    strikeOut_ = (style & fsStrikeOut) != 0;
    if (font.IsStandard() || font.IsCJK()) {
        const bool wasSkewed = simulateItalic_;
        simulateBold_ = simulateItalic_ = false;
        if (wasOpen && wasSkewed) glyphMatrix();
        if (!wasOpen) content_.push_back("ET");
        return;
    }
    simulateBold_ = (style & fsBold) && !(font.Style() & fsBold);
    simulateItalic_ = (style & fsItalic) && !(font.Style() & fsItalic);
    if (wasOpen) {
        glyphMatrix();
    } else {
        content_.push_back("ET");
    }
}

void TPDFPage::SetCharacterSpacing(double spacing) {
    charSpacing_ = spacing / factor_;
    const bool wrap = !textOpen_;
    if (wrap) content_.push_back("BT");
    addOperator({charSpacing_}, " Tc");
    if (wrap) content_.push_back("ET");
}

// Readers limit a string to 65,535 bytes; a longer run goes as several
// strings of one array, which shows them as one run.
constexpr std::size_t kMaxStringBytes = 65535;

void TPDFPage::showText(std::string_view text) {
    std::string show;
    if (text.size() <= kMaxStringBytes) {
        show = "(" + pdf::escapeString(text) + ") Tj";
    } else {
        show = "[";
        for (std::size_t at = 0; at < text.size(); at += kMaxStringBytes)
            show += "(" + pdf::escapeString(text.substr(at, kMaxStringBytes)) + ")";
        show += "] TJ";
    }
    content_.push_back(show);
    if (simulateBold_) {
        // Copies a thirtieth of the size apart thicken the strokes at any size.
        const double d = std::max(std::fabs(fontSize_) / 30, 0.1);
        const std::string o = formatReal(d), minus = formatReal(-d);
        content_.push_back(minus + " " + minus + " TD");
        content_.push_back(show);
        content_.push_back(o + " 0 TD");
        content_.push_back(show);
        content_.push_back(minus + " " + o + " TD");
        content_.push_back(show);
    }
}

// A bar along the text's baseline direction, `offset` points off the baseline
// origin (positive is up the glyphs), growing away from the baseline.
void TPDFPage::drawBar(double offset, double length, double thickness) {
    const double angle = radians(rotation_);
    const double ux = std::cos(angle), uy = std::sin(angle); // along the text
    const double nx = -uy, ny = ux;                          // up the glyphs
    const double side = offset < 0 ? -thickness : thickness;
    const double sx = textMatrix_.e + nx * offset, sy = textMatrix_.f + ny * offset;
    MoveToPt(sx, sy);
    LineToPt(sx + ux * length, sy + uy * length);
    LineToPt(sx + ux * length + nx * side, sy + uy * length + ny * side);
    LineToPt(sx + nx * side, sy + ny * side);
    Fill();
}

void TPDFPage::TextOut(double x, double y, double angle, std::string_view text) {
    checkText();
    if (!fontSet_) throw TPDFException("Active font not setting");
    textMatrix_.e = X(x);
    textMatrix_.f = Y(y) - fontSize_;
    writeMatrix();
    if (angle != rotation_) rotate(angle - rotation_);
    rotation_ = angle;
    showText(text);
    if (underline_ || strikeOut_) {
        EndText();
        const double length = TextWidth(text) / factor_;
        const double thickness = 0.05 * fontSize_;
        if (underline_) drawBar(-3, length, thickness);
        if (strikeOut_) drawBar(fontSize_ / 4, length, thickness);
        content_.push_back("BT");
        textOpen_ = true;
        writeMatrix();
    }
    if (doc_.AutoCreateURL() && angle == 0) createLinks(x, y, text);
}

double TPDFPage::TextWidth(std::string_view text) const {
    if (!fontSet_) throw TPDFException("Active font not setting");
    const TPDFFont& font = doc_.Fonts().Item(fontIndex_);
    if (font.IsCJK()) return 0;
    double sum = 0;
    bool anyGlyph = false;
    for (char c : text) {
        const double w = font.GlyphWidth(static_cast<unsigned char>(c)) * fontSize_ / 1000.0;
        if (w > 0) {
            sum += w + charSpacing_;
            anyGlyph = true;
        }
    }
    // The spacing after the last glyph is not part of the text.
    return anyGlyph ? (sum - charSpacing_) * factor_ : 0;
}

void TPDFPage::createLinks(double x, double y, std::string_view text) {
    const double size = fontSize_ * factor_;
    for (const FoundUrl& url : findUrls(text)) {
        const double left = x + TextWidth(text.substr(0, url.position));
        const double right = left + TextWidth(text.substr(url.position, url.length));
        CreateLink(pdf::roundHalfEven(left), pdf::roundHalfEven(y + 0.33 * size),
                   pdf::roundHalfEven(right), pdf::roundHalfEven(y + size),
                   std::string(text.substr(url.position, url.length)));
    }
}

// --- images ---

void TPDFPage::ShowImage(int index, double angle, double x, double y, double w, double h) {
    TPDFImages& images = doc_.Images();
    if (index < 0 || index >= images.Count()) throw TPDFException("Out of range");
    const double wp = Length(w), hp = Length(h);
    const double left = X(x), bottom = Y(y) - hp;
    content_.push_back("q");
    addOperator({1, 0, 0, 1, left, bottom}, " cm");
    if (std::fabs(angle) > 0.001) {
        const double c = std::cos(radians(angle)), s = std::sin(radians(angle));
        addOperator({c, s, -s, c, 0, 0}, " cm");
    }
    addOperator({wp, 0, 0, hp, 0, 0}, " cm");
    content_.push_back("/" + images.Item(index).ResourceName() + " Do");
    content_.push_back("Q");
    if (std::find(usedImages_.begin(), usedImages_.end(), index) == usedImages_.end())
        usedImages_.push_back(index);
}

// --- links ---

TPDFActionAnnotation& TPDFPage::CreateLink(double x1, double y1, double x2, double y2,
                                           const std::string& url) {
    auto action = std::make_unique<TPDFURLAction>();
    action->SetURL(url); // refuses an empty address before any number is taken
    auto annotation = std::make_unique<TPDFActionAnnotation>(*this);
    TPDFActionAnnotation& link = *annotation;
    AddAnnotation(std::move(annotation));
    link.SetRect(x1, y1, x2, y2);
    link.Action = &doc_.AddAction(std::move(action));
    link.Border = "[]";
    return link;
}

void TPDFPage::AddAnnotation(std::unique_ptr<TPDFCustomAnnotation> annotation) {
    annotations_.push_back(std::move(annotation));
}

std::vector<std::string> TPDFPage::TakeContent() {
    std::vector<std::string> lines;
    lines.swap(content_);
    return lines;
}

// --- recording and close ---

void TPDFPage::CreateCanvas() {
    if (recording_) throw TPDFException("Canvas for this page already created");
    if (PageRecordingFactory* factory = doc_.RecordingFactory())
        recording_ = factory->Create(Width(), Height());
}

void TPDFPage::Close() {
    if (!recording_) return;
    const std::string metafile = recording_->Finish();
    recording_.reset();
    MetafileTranslator* translator = doc_.Translator();
    if (!translator) return;
    const MetafileTranslator::FrameSize frame = translator->Frame(metafile, *this);
    if (frame.right < 1 || frame.bottom < 1) return;
    std::vector<std::string> direct = TakeContent();
    translator->Translate(metafile, *this);
    if (metafileFirst_) {
        content_.push_back("");
        content_.insert(content_.end(), direct.begin(), direct.end());
    } else {
        std::vector<std::string> translated = TakeContent();
        content_ = std::move(direct);
        content_.push_back("");
        content_.insert(content_.end(), translated.begin(), translated.end());
    }
}

// --- writing ---

void TPDFPage::Write() {
    for (int index : usedImages_)
        doc_.Images().Item(index).Write(doc_);
    for (auto& annotation : annotations_)
        if (annotation->ObjectNumber() < 1) annotation->SetObjectNumber(doc_.NewObjectNumber());
    // A text object left open would put "Q" inside it, which no reader accepts.
    if (textOpen_) EndText();
    for (; gstateCount_ > 1; --gstateCount_)
        content_.push_back("Q");
    content_.push_back("Q");

    const int resources = doc_.NewObjectNumber();
    const int contents = doc_.NewObjectNumber();
    for (auto& annotation : annotations_)
        annotation->Write(doc_);
    writeResources(resources);
    writeContent(contents);
    content_.clear();
    content_.shrink_to_fit();

    int number = number_;
    doc_.BeginObject(number);
    doc_.WriteLine("/Type /Page");
    doc_.WriteLine("/Parent " + std::to_string(doc_.PagesTreeNumber()) + " 0 R");
    doc_.WriteLine("/Resources " + std::to_string(resources) + " 0 R");
    doc_.WriteLine("/Contents [" + std::to_string(contents) + " 0 R]");
    doc_.WriteLine("/MediaBox [0 0 " + std::to_string(widthPt_) + " " + std::to_string(heightPt_) +
                   "]");
    if (!annotations_.empty()) {
        doc_.WriteLine("/Annots [");
        for (auto& annotation : annotations_)
            doc_.WriteLine(std::to_string(annotation->ObjectNumber()) + " 0 R");
        doc_.WriteLine("]");
    }
    doc_.EndDictionary();
    doc_.EndObject();
}

void TPDFPage::writeResources(int number) {
    doc_.BeginObject(number);
    if (!usedFonts_.empty()) {
        doc_.WriteLine(" /Font <<");
        for (int index : usedFonts_) {
            const TPDFFont& font = doc_.Fonts().Item(index);
            doc_.WriteLine("/" + font.ResourceName() + " " + std::to_string(font.ObjectNumber()) +
                           " 0 R");
        }
        doc_.WriteLine(">>");
    }
    if (!usedImages_.empty()) {
        doc_.WriteLine(" /XObject <<");
        for (int index : usedImages_) {
            const TPDFImage& image = doc_.Images().Item(index);
            doc_.WriteLine("/" + image.ResourceName() + " " + std::to_string(image.ObjectNumber()) +
                           " 0 R");
        }
        doc_.WriteLine(">>");
    }
    doc_.EndDictionary();
    doc_.EndObject();
}

void TPDFPage::writeContent(int number) {
    std::string text;
    std::size_t size = 0;
    for (const auto& line : content_)
        size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : content_) {
        text += line;
        text += "\r\n";
    }
    const bool flate = doc_.Compression() == ctFlate;
    std::string data = doc_.Encrypt(number, flate ? deflate(text) : text);
    doc_.BeginObject(number);
    doc_.WriteLine("/Length " + std::to_string(data.size()));
    if (flate) doc_.WriteLine("/Filter /FlateDecode");
    doc_.WriteStreamData(data);
}

} // namespace pv
