#include "app/qt/QtPrinter.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>
#include <utility>

#include "app/qt/QtCanvas.h"
#include "platform/CodePage.h"

namespace ostrel {

QtPrinter::QtPrinter() = default;

QtPrinter::~QtPrinter()
{
    // A job still open when the printer goes is dropped, not half printed.
    if (Printing())
        Abort();
}

QPrinter& QtPrinter::EnsurePrinter() const
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setFullPage(false);
    }
    return *printer_;
}

QPrinter& QtPrinter::Device()
{
    return EnsurePrinter();
}

std::vector<std::string> QtPrinter::Printers() const
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

int QtPrinter::PrinterIndex() const
{
    const std::vector<std::string> names = Printers();
    if (names.empty())
        return -1;
    const std::string chosen = printer_ ? printer_->printerName().toStdString()
                                        : QPrinterInfo::defaultPrinterName().toStdString();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == chosen)
            return static_cast<int>(i);
    }
    return 0;
}

void QtPrinter::SetPrinterIndex(int index)
{
    const std::vector<std::string> names = Printers();
    if (index < 0 || index >= static_cast<int>(names.size()))
        throw std::out_of_range("Printer index out of range");
    EnsurePrinter().setPrinterName(QString::fromStdString(names[static_cast<size_t>(index)]));
}

QPageLayout QtPrinter::PdfLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

TPrinterCaps QtPrinter::PdfCaps(int dpi)
{
    // The sheet as the PDF writer sizes its device.
    const QRect sheet = PdfLayout().fullRectPixels(dpi);
    TPrinterCaps caps;
    caps.PhysicalWidth = sheet.width();
    caps.PhysicalHeight = sheet.height();
    // A file has no unprintable strip: the printable area is the sheet.
    caps.PageWidth = caps.PhysicalWidth;
    caps.PageHeight = caps.PhysicalHeight;
    caps.DpiX = dpi;
    caps.DpiY = dpi;
    return caps;
}

std::optional<TPrinterCaps> QtPrinter::Capabilities() const
{
    if (ToPdfFile())
        return PdfCaps(pdfDpi_);
    const bool printerSetUp = printer_ && (printer_->outputFormat() == QPrinter::PdfFormat ||
                                           !printer_->printerName().isEmpty());
    if (!printerSetUp && QPrinterInfo::availablePrinterNames().isEmpty())
        return std::nullopt;
    QPrinter& printer = EnsurePrinter();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    TPrinterCaps caps;
    caps.PhysicalWidth = qRound(paper.width());
    caps.PhysicalHeight = qRound(paper.height());
    caps.PageWidth = qRound(page.width());
    caps.PageHeight = qRound(page.height());
    caps.PhysicalOffsetX = qRound(page.left() - paper.left());
    caps.PhysicalOffsetY = qRound(page.top() - paper.top());
    caps.DpiX = printer.logicalDpiX();
    caps.DpiY = printer.logicalDpiY();
    return caps;
}

void QtPrinter::BeginDoc(std::string_view title)
{
    if (Printing())
        throw std::logic_error("Printing is already in progress");
    const QString name = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    QPagedPaintDevice* device = nullptr;
    if (ToPdfFile()) {
        auto pdf = std::make_unique<QPdfWriter>(BeginFileOutput(outputFile_));
        pdf->setResolution(pdfDpi_);
        pdf->setPageLayout(PdfLayout());
        pdf->setTitle(name);
        pdf->setCreator(QStringLiteral("Ostrel"));
        device = pdf.get();
        pdf_ = std::move(pdf);
    } else {
        if (!Capabilities())
            throw std::runtime_error("No printer is installed");
        EnsurePrinter().setDocName(name);
        if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty()) {
            printerOutput_ = printer_->outputFileName();
            printer_->setOutputFileName(BeginFileOutput(QFile::encodeName(printerOutput_).toStdString()));
        }
        device = printer_.get();
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(device)) {
        pdf_.reset();
        replacement_.reset();
        if (!printerOutput_.isEmpty())
            printer_->setOutputFileName(std::exchange(printerOutput_, QString()));
        throw std::runtime_error(ToPdfFile() ? "Cannot write the file " + outputFile_
                                             : std::string("The printer cannot start the job"));
    }
    painter_ = std::move(painter);
    canvas_ = std::make_unique<QtCanvas>(painter_.get(), device);
}

void QtPrinter::NewPage()
{
    if (!Printing())
        throw std::logic_error("No print job is open");
    QPagedPaintDevice* device = pdf_ ? pdf_.get() : static_cast<QPagedPaintDevice*>(printer_.get());
    if (!device->newPage())
        throw std::runtime_error("The printer cannot start a new page");
}

void QtPrinter::EndDoc()
{
    if (!Printing())
        throw std::logic_error("No print job is open");
    const bool ended = painter_->end();
    Finish();
    if (ended)
        CommitFileOutput();
    replacement_.reset();
    if (!ended)
        throw std::runtime_error(ToPdfFile() ? "Cannot write the file " + outputFile_
                                             : std::string("The printer cannot finish the job"));
}

void QtPrinter::Abort()
{
    if (!Printing())
        return;
    if (!pdf_)
        printer_->abort();
    painter_->end();
    Finish();
    // Nothing of an abandoned job is kept: the half-written temporary file
    // goes, and an older file of that name stays as it was.
    replacement_.reset();
}

QString QtPrinter::BeginFileOutput(const std::string& path)
{
    replacement_ = std::make_unique<TSafeReplacement>(path);
    return QFile::decodeName(QByteArray::fromStdString(replacement_->TemporaryPath()));
}

void QtPrinter::CommitFileOutput()
{
    if (replacement_)
        replacement_->Commit();
}

void QtPrinter::Finish()
{
    canvas_.reset();
    painter_.reset();
    pdf_.reset();
    if (!printerOutput_.isEmpty())
        printer_->setOutputFileName(std::exchange(printerOutput_, QString()));
}

Canvas& QtPrinter::PageCanvas()
{
    if (!canvas_)
        throw std::logic_error("No print job is open");
    return *canvas_;
}

}  // namespace ostrel
