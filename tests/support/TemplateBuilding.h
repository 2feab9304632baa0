#pragma once
// Template pages built in code for the preparation tests.
#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"

#include <memory>
#include <string>

namespace pv::testing_support {

// A band across the page, with no option flags set.
inline TfrBandView& addBandView(TfrPage& page, int type, const std::string& name, int top,
                                int height, const std::string& format = {}) {
    auto view = std::make_unique<TfrBandView>();
    view->FrameTyp = type;
    view->Name = name;
    view->Top = top;
    view->Width = 700;
    view->Height = height;
    view->FormatStr = format;
    view->Flags = 0;
    TfrBandView& ref = *view;
    page.Objects.push_back(std::move(view));
    return ref;
}

// A one-line text box at the left of the page.
inline TfrMemoView& addMemoView(TfrPage& page, const std::string& name, int top,
                                const std::string& text) {
    auto view = std::make_unique<TfrMemoView>();
    view->Name = name;
    view->Left = 10;
    view->Top = top;
    view->Width = 300;
    view->Height = 18;
    view->Memo = {text};
    TfrMemoView& ref = *view;
    page.Objects.push_back(std::move(view));
    return ref;
}

} // namespace pv::testing_support
