#include "report/value/Constants.h"

#include <cstdint>

namespace pv {
namespace {

TfrVariables& constants() {
    static TfrVariables list = [] {
        TfrVariables l(true);
        auto add = [&l](const char* name, uint32_t value) {
            l.SetValue(name, Variant(static_cast<int32_t>(value)));
        };
        const char* colours[] = {"clWhite",  "clBlack",  "clMaroon",  "clGreen",
                                 "clOlive",  "clNavy",   "clPurple",  "clTeal",
                                 "clGray",   "clSilver", "clRed",     "clLime",
                                 "clYellow", "clBlue",   "clFuchsia", "clAqua"};
        const uint32_t colourValues[] = {0xFFFFFF, 0,        0x80,     0x8000,   0x8080, 0x800000,
                                         0x800080, 0x808000, 0x808080, 0xC0C0C0, 0xFF,   0xFF00,
                                         0xFFFF,   0xFF0000, 0xFF00FF, 0xFFFF00};
        for (int i = 0; i < 16; ++i)
            add(colours[i], colourValues[i]);
        add("clTransparent", 0x1FFFFFFF);
        const char* system[] = {
            "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
            "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
            "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
            "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
            "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
            "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
            "clInfoBk"};
        for (uint32_t i = 0; i < 25; ++i)
            add(system[i], 0x80000000u + i);
        struct Named {
            const char* name;
            uint32_t value;
        };
        const Named others[] = {
            {"mrNone", 0},
            {"mrOk", 1},
            {"mrCancel", 2},
            {"mrYes", 6},
            {"mrNo", 7},
            {"fsBold", 2},
            {"fsItalic", 1},
            {"fsUnderline", 4},
            {"fsStrikeOut", 8},
            {"frftNone", 0},
            {"frftRight", 1},
            {"frftBottom", 2},
            {"frftLeft", 4},
            {"frftTop", 8},
            {"frtaLeft", 0},
            {"frtaRight", 1},
            {"frtaCenter", 2},
            {"frtaVertical", 4},
            {"frtaMiddle", 8},
            {"frtaDown", 16},
            {"baNone", 0},
            {"baLeft", 1},
            {"baRight", 2},
            {"baCenter", 3},
            {"baWidth", 4},
            {"baBottom", 5},
            {"baTop", 6},
            {"baRest", 7},
            {"psSolid", 0},
            {"psDash", 1},
            {"psDot", 2},
            {"psDashDot", 3},
            {"psDashDotDot", 4},
            {"psDouble", 5},
            {"mb_Ok", 0},
            {"mb_OkCancel", 1},
            {"mb_YesNo", 4},
            {"mb_YesNoCancel", 3},
            {"mb_IconError", 16},
            {"mb_IconQuestion", 32},
            {"mb_IconInformation", 64},
            {"mb_IconWarning", 48},
        };
        for (const auto& n : others)
            add(n.name, n.value);
        l.SetValue("CRLF", Variant("\r\n"));
        l.SetValue("Null", Variant::null());
        return l;
    }();
    return list;
}

} // namespace

const TfrVariables& frConstants() {
    return constants();
}

namespace {
const char* const kPictureConstants[] = {"btBMP", "btJPG", "btICO", "btWMF"};
}

void addPictureConstants() {
    for (int i = 0; i < 4; ++i)
        constants().SetValue(kPictureConstants[i], Variant(int32_t(i)));
}

void removePictureConstants() {
    for (const char* name : kPictureConstants)
        if (int i = constants().IndexOf(name); i >= 0) constants().Delete(i);
}

} // namespace pv
