#pragma once

#include <cstdint>

namespace pv {

enum TPDFVersion { v13, v14 };
enum TCompressionType { ctNone, ctFlate };
enum TPageLayout { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TPageMode { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };

enum TViewerPreference {
    vpHideToolBar,
    vpHideMenuBar,
    vpHideWindowUI,
    vpFitWindow,
    vpCenterWindow
};
// A set of viewer preferences: bit n stands for the preference of value n.
using TViewerPreferences = std::uint32_t;

enum TPDFCriptoOption { coPrint, coModifyStructure, coCopyInformation, coModifyAnnotation };
// A set of permissions: bit n stands for the option of value n.
using TPDFCtiptoOptions = std::uint32_t;

template <typename E> constexpr std::uint32_t setOf(E member) {
    return 1u << member;
}
template <typename E, typename... More> constexpr std::uint32_t setOf(E first, More... more) {
    return setOf(first) | setOf(more...);
}
template <typename E> constexpr bool inSet(std::uint32_t set, E member) {
    return (set & setOf(member)) != 0;
}

// Font style bits as the page and the font list take them.
enum TFontStyleBit : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

} // namespace pv
