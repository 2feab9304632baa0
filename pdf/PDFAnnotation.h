#pragma once

#include <cstdint>
#include <string>

namespace pv {

class TPDFAction;
class TPDFDocument;
class TPDFPage;

// An annotation of a page: a rectangle in whole points and its look.
class TPDFCustomAnnotation {
public:
    explicit TPDFCustomAnnotation(TPDFPage& page);
    virtual ~TPDFCustomAnnotation() = default;

    TPDFPage& Page() const { return page_; }
    int ObjectNumber() const { return number_; }
    void SetObjectNumber(int number) { number_ = number; }

    // A device rectangle in any corner order, converted with the page's mapping.
    void SetRect(double x1, double y1, double x2, double y2);
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Flags = 0;
    std::string Border = "[0 0 1]";
    // A Windows colour value 0x00BBGGRR.
    std::uint32_t Color = 0x00FFFF;

    virtual void Write(TPDFDocument& doc) = 0;

protected:
    // The lines every annotation starts with after its subtype.
    void writeCommon(TPDFDocument& doc);

private:
    TPDFPage& page_;
    int number_ = 0;
};

// A link that runs an action.
class TPDFActionAnnotation : public TPDFCustomAnnotation {
public:
    using TPDFCustomAnnotation::TPDFCustomAnnotation;
    TPDFAction* Action = nullptr;
    void Write(TPDFDocument& doc) override;
};

} // namespace pv
