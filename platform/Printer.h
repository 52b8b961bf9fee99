#pragma once
// The printer as the print units see it: the installed printers, the device
// capabilities of the chosen one and the document it prints. The windowing
// side implements it; the engine only reads geometry from it and draws the
// pages on its canvas.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"

namespace ostrel {

// The device capabilities of a printer, in its own device pixels.
struct TPrinterCaps {
    int PhysicalWidth = 0;   // whole sheet
    int PhysicalHeight = 0;
    int PageWidth = 0;       // printable area
    int PageHeight = 0;
    int PhysicalOffsetX = 0; // unprintable strip at the left
    int PhysicalOffsetY = 0; // unprintable strip at the top
    int DpiX = 0;
    int DpiY = 0;
    friend bool operator==(const TPrinterCaps&, const TPrinterCaps&) = default;
};

class Printer {
public:
    virtual ~Printer() = default;

    // Names of the installed printers; empty when there is none.
    virtual std::vector<std::string> Printers() const = 0;
    // Index of the chosen printer in Printers(), -1 when there is none.
    virtual int PrinterIndex() const = 0;
    virtual void SetPrinterIndex(int index) = 0;
    // The chosen printer's capabilities; none when no printer is installed.
    virtual std::optional<TPrinterCaps> Capabilities() const = 0;

    // A print job: the spooler shows `title`; every page is drawn on
    // Canvas() between BeginDoc and EndDoc, NewPage starting the next one.
    // Abort drops the job. Failures are exceptions.
    virtual void BeginDoc(std::string_view title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;
    // The surface of the current page, in printer pixels with the origin at
    // the top left of the printable area.
    virtual Canvas& PageCanvas() = 0;
};

}  // namespace ostrel
