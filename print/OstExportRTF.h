#pragma once
// The RTF exporter: coloured, styled text in Rich Text Format.
//
// The output declares its code page, Windows-1250 (\ansicpg1250 and
// \fcharset238 on the font), and writes every byte from 128 to 255 as a
// \'hh escape, so that any RTF reader shows the Polish letters right, not
// only those that take raw 8-bit bytes in the system's own code page. A
// character of a UTF-8 or ISO-8859-2 document goes the same way when
// Windows-1250 holds it, and as {\uN?} otherwise (N the UTF-16 unit as a
// signed 16-bit number, two of them beyond U+FFFF), so no text is lost.

#include <string>
#include <string_view>
#include <vector>

#include "print/OstEditExport.h"

namespace ostrel {

class TOstExporterRTF : public TOstCustomExporter {
public:
    TOstExporterRTF();

    std::string FormatName() const override { return "RTF"; }
    // Forgets the colour table too.
    void Reset() override;
    // The colour table in order of first use; the position is the RTF index.
    const std::vector<TColor>& Colors() const { return colors_; }

protected:
    void BeforeFirstAttribute(bool backgroundChanged, bool foregroundChanged, TFontStyles styles) override;
    void CloseAttributes(bool backgroundChanged, bool foregroundChanged, TFontStyles removed) override;
    void OpenAttributes(bool backgroundChanged, bool foregroundChanged, TFontStyles added) override;
    void AfterLastAttribute() override {}
    void WriteLineBreak() override;
    std::string Preamble() override;
    std::string Trailer() override { return "}"; }
    std::string EncodeDoubleByte(unsigned char lead, unsigned char trail) override;
    void EncodeCharacter(char32_t cp, std::string& out) override;

private:
    int ColorIndex(TColor color);
    void WriteIndex(std::string_view controlWord, TColor color);

    // A control word has been written since the last delimiter.
    bool attributesWritten_ = false;
    std::vector<TColor> colors_;
};

// The settings of the main window's exporter: background clWindow, not
// written; Courier New, 10 point, black; title "RTF Eksport".
void ApplyMainWindowExportSettings(TOstExporterRTF& exporter);

}  // namespace ostrel
