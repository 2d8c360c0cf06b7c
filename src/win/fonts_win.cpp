#include "win/fonts_win.h"

#include "win/handles_win.h"

namespace tollivar {
namespace {

UniqueFont g_normalFont;
UniqueFont g_boldFont;

LOGFONTA TahomaRecord(LONG weight) {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    return lf;
}

} // namespace

void CreateShellFonts() {
    g_normalFont.reset(NewTahomaFont(false));
    g_boldFont.reset(NewTahomaFont(true));
}

HFONT NewTahomaFont(bool bold) {
    const LOGFONTA record = TahomaRecord(bold ? 800 : 0);
    return CreateFontIndirectA(&record);
}

HFONT NormalFont() { return g_normalFont.get(); }
HFONT BoldFont() { return g_boldFont.get(); }

} // namespace tollivar
