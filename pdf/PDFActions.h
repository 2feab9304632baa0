#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pv {

class TPDFDocument;

// An action object a link annotation points to.
class TPDFAction {
public:
    virtual ~TPDFAction() = default;
    int ObjectNumber() const { return number_; }
    void SetObjectNumber(int number) { number_ = number; }
    virtual void Write(TPDFDocument& doc) = 0;

private:
    int number_ = 0;
};

// Opens a web or mail address.
class TPDFURLAction : public TPDFAction {
public:
    const std::string& URL() const { return url_; }
    // Fails with "URL cannot be empty".
    void SetURL(std::string url);
    void Write(TPDFDocument& doc) override;

private:
    std::string url_;
};

// The document's actions, written after the pages.
class TPDFActions {
public:
    // Appends an action not yet in the list and numbers it; the caller must
    // check that a document is open.
    TPDFAction& Add(TPDFDocument& doc, std::unique_ptr<TPDFAction> action);
    int Count() const { return static_cast<int>(actions_.size()); }
    TPDFAction& Item(int index) const { return *actions_.at(index); }
    // Gives every action still without a number one.
    void AssignNumbers(TPDFDocument& doc);
    void WriteAll(TPDFDocument& doc);
    void Clear() { actions_.clear(); }

private:
    std::vector<std::unique_ptr<TPDFAction>> actions_;
};

} // namespace pv
