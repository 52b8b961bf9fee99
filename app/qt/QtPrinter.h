#pragma once
// The printer of the platform layer on Qt: the CUPS printers through
// QPrinter, or a PDF file. A PDF file is written when an output file is set,
// and it needs only a GUI application (the offscreen platform will do), so
// ostrel-cli prints with the same class as the program.

#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "platform/Printer.h"
#include "platform/SafeWrite.h"

class QPageLayout;
class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace ostrel {

class QtCanvas;

class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    // A PDF file in place of the printer; empty for the printer again.
    void SetOutputFileName(const std::string& path) { outputFile_ = path; }
    const std::string& OutputFileName() const { return outputFile_; }
    // Resolution of a PDF file, dots per inch.
    void SetPdfResolution(int dpi) { pdfDpi_ = dpi; }
    int PdfResolution() const { return pdfDpi_; }
    // The QPrinter the print dialog sets up; the chosen printer prints
    // through it (its own PDF output included).
    QPrinter& Device();

    std::vector<std::string> Printers() const override;
    int PrinterIndex() const override;
    void SetPrinterIndex(int index) override;
    std::optional<TPrinterCaps> Capabilities() const override;

    void BeginDoc(std::string_view title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return painter_ != nullptr; }
    Canvas& PageCanvas() override;

private:
    bool ToPdfFile() const { return !outputFile_.empty(); }
    static QPageLayout PdfLayout();
    static TPrinterCaps PdfCaps(int dpi);
    void Finish();
    // A PDF file, from us or from the QPrinter, goes to a temporary file first.
    QString BeginFileOutput(const std::string& path);
    void CommitFileOutput();
    std::string outputFile_;
    int pdfDpi_ = 600;
    QPrinter& EnsurePrinter() const;

    mutable std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPagedPaintDevice> pdf_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtCanvas> canvas_;
    // The PDF file being written, put in place only when the job ends well.
    std::unique_ptr<TSafeReplacement> replacement_;
    QString printerOutput_;  // the QPrinter's own file name while it writes the temporary one
};

}  // namespace ostrel
