#pragma once

#include "pdf/PDFAnnotation.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class PageRecording;
class TPDFActionAnnotation;
class TPDFDocument;

// A point in PDF user space (points, y upwards).
struct PdfPoint {
    double x = 0;
    double y = 0;
};

// One page: drawing operations in the caller's device units (pixels at the
// document's resolution, origin top left, y downwards), each adding one line
// of page content; the page's resources, content stream and page object.
class TPDFPage {
public:
    // Takes the page's object number; done by the document.
    explicit TPDFPage(TPDFDocument& doc);
    ~TPDFPage();
    TPDFPage(const TPDFPage&) = delete;
    TPDFPage& operator=(const TPDFPage&) = delete;

    TPDFDocument& Document() const { return doc_; }
    int ObjectNumber() const { return number_; }
    int Resolution() const { return resolution_; }
    double Factor() const { return factor_; }

    // Size in device units; fixed once the first coordinate has been converted.
    void SetWidth(int width);
    void SetHeight(int height);
    int Width() const;
    int Height() const;
    int WidthPt() const { return widthPt_; }
    int HeightPt() const { return heightPt_; }

    // Device units to points; the first call puts the page in progress.
    double X(double x);
    double Y(double y);
    double Length(double length) const { return length / factor_; }

    // Path construction and painting; device units, and twins in points.
    void MoveTo(double x, double y) { MoveToPt(X(x), Y(y)); }
    void LineTo(double x, double y) { LineToPt(X(x), Y(y)); }
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void Rectangle(double x1, double y1, double x2, double y2);
    void MoveToPt(double x, double y);
    void LineToPt(double x, double y);
    void CurveToPt(double x1, double y1, double x2, double y2, double x3, double y3);
    void RectanglePt(double x, double y, double w, double h);
    void ClosePath();
    void NewPath();
    void Fill();
    void EoFill();
    void Stroke();
    void FillAndStroke();
    void EoFillAndStroke();
    void Clip();

    void GStateSave();
    void GStateRestore();
    void SetLineWidth(double width);
    void SetDash(const std::string& pattern);
    void NoDash() { SetDash("[] 0"); }
    void SetRGBFillColor(double r, double g, double b);
    void SetRGBStrokeColor(double r, double g, double b);

    // Shapes made of Bézier curves, in device units.
    void Ellipse(double x1, double y1, double x2, double y2);
    void RoundRect(int x1, int y1, int x2, int y2, int ew, int eh);
    // The elliptical arc of the box from the radial through (xs, ys) to the radial
    // through (xe, ye), counter-clockwise; returns its first point in points.
    PdfPoint Arc(double x1, double y1, double x2, double y2, double xs, double ys, double xe,
                 double ye);
    PdfPoint ArcByAngles(double x1, double y1, double x2, double y2, double startDegrees,
                         double endDegrees);
    void Pie(double x1, double y1, double x2, double y2, double xs, double ys, double xe,
             double ye);

    // Text.
    void BeginText();
    void EndText();
    bool TextObjectOpen() const { return textOpen_; }
    // `style` is a set of fsBold, fsItalic, fsUnderline, fsStrikeOut; `size` in points.
    void SetActiveFont(const std::string& name, int style, int charset, double size);
    void SetCharacterSpacing(double spacing);
    // (x, y) is the top left of the text; `angle` in degrees.
    void TextOut(double x, double y, double angle, std::string_view text);
    // In device units.
    double TextWidth(std::string_view text) const;
    int ActiveFontIndex() const { return fontIndex_; }
    double FontSize() const { return fontSize_; }

    // Places image `index` of the document with its top left at (x, y).
    void ShowImage(int index, double angle, double x, double y, double w, double h);

    // A link over a device rectangle to a web or mail address.
    TPDFActionAnnotation& CreateLink(double x1, double y1, double x2, double y2,
                                     const std::string& url);
    // Adds an annotation created on this page (done by the annotation itself).
    void AddAnnotation(std::unique_ptr<TPDFCustomAnnotation> annotation);
    int AnnotationCount() const { return static_cast<int>(annotations_.size()); }
    TPDFCustomAnnotation& Annotation(int index) const { return *annotations_.at(index); }

    const std::vector<std::string>& Content() const { return content_; }
    // Lets a translator take the lines out and put them back around its own.
    std::vector<std::string> TakeContent();
    void AddLine(std::string line) { content_.push_back(std::move(line)); }

    // The recording canvas and the page close (done by the document).
    void CreateCanvas();
    PageRecording* Canvas() const { return recording_.get(); }
    void Close();
    // Writes images first used here, annotations, resources, content and the page object.
    void Write();

private:
    struct Matrix {
        double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    };
    void checkNoText() const;
    void checkText() const;
    void ensureResizable() const;
    void addOperator(std::initializer_list<double> operands, const char* op);
    void writeMatrix();
    void applyMatrix(const Matrix& m);
    void rotate(double degrees);
    void italicSkew();
    void glyphMatrix();
    void showText(std::string_view text);
    void drawBar(double offset, double length, double thickness);
    void createLinks(double x, double y, std::string_view text);
    void arcPieces(double cx, double cy, double rx, double ry, double start, double sweep);
    void writeResources(int number);
    void writeContent(int number);

    TPDFDocument& doc_;
    int number_;
    int resolution_;
    double factor_;
    int widthPt_ = 595;
    int heightPt_ = 842;
    bool inProgress_ = false;

    std::vector<std::string> content_;
    std::vector<int> usedFonts_;
    std::vector<int> usedImages_;
    std::vector<std::unique_ptr<TPDFCustomAnnotation>> annotations_;

    Matrix textMatrix_;
    double rotation_ = 0;
    int fontIndex_ = -1;
    double fontSize_ = 10;
    double charSpacing_ = 0;
    bool fontSet_ = false;
    bool textOpen_ = false;
    bool simulateBold_ = false;
    bool simulateItalic_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
    std::string dash_ = "[] 0";
    int gstateCount_ = 1;
    PdfPoint lastPoint_;

    std::unique_ptr<PageRecording> recording_;
    bool metafileFirst_ = true;
};

} // namespace pv
