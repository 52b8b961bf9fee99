// The main window's print commands: print, print preview and page setup,
// all on the one print job the window keeps for the whole run.

#include <QFileInfo>

#include "app/DPageSetup.h"
#include "app/Document.h"
#include "app/Mein.h"
#include "app/UiGuards.h"
#include "app/qt/KeyTranslation.h"
#include "app/qt/QtCanvas.h"
#include "app/qt/QtPrinter.h"
#include "app/wndPrintPreview.h"
#include "print/OstEditPrint.h"

namespace ostrel {

struct TOstrel3Main::TPrintParts {
    QtPrinter printer;
    TOstEditPrint job{&printer};
    QtCanvas screen;  // where pages are counted outside the preview
    // After the job, so they go before it.
    std::unique_ptr<TwndPrintPreview> preview;
    std::unique_ptr<TPageSetupDlg> pageSetup;
};

void TOstrel3Main::TPrintPartsDeleter::operator()(TPrintParts* parts) const
{
    delete parts;
}

TOstrel3Main::TPrintParts& TOstrel3Main::PrintParts()
{
    if (!print_) {
        print_.reset(new TPrintParts);
        print_->job.SetFont(TOstFont{"MS Sans Serif", -11, 0, clWindowText, 96});
        print_->job.SetMeasureCanvas(&print_->screen);
    }
    return *print_;
}

TOstEditPrint& TOstrel3Main::PrintJob()
{
    return PrintParts().job;
}

QtPrinter& TOstrel3Main::PrintDevice()
{
    return PrintParts().printer;
}

TwndPrintPreview* TOstrel3Main::PrintPreviewWindow() const
{
    return print_ ? print_->preview.get() : nullptr;
}

TPageSetupDlg* TOstrel3Main::PageSetupWindow() const
{
    return print_ ? print_->pageSetup.get() : nullptr;
}

// The job takes the current document as it is now, titled with its file
// name without the folder.
void TOstrel3Main::LoadPrintJob()
{
    const TDocumentPage& document = *RequireCurrentDocument();
    TOstEditPrint& job = PrintJob();
    job.TakeFromEditor(document.Editor());
    job.Title = document.Path().isEmpty() ? std::string() : QFileInfo(document.Path()).fileName().toStdString();
}

void TOstrel3Main::miDrukuj1Click()
{
    TPrintParts& parts = PrintParts();
    RequireCurrentDocument();
    if (!dialogs_->Print(this, parts.printer.Device()))
        return;
    LoadPrintJob();
    const TWaitCursor busy;
    parts.job.PrintAll();
}

void TOstrel3Main::miPodgladWydruku1Click()
{
    TPrintParts& parts = PrintParts();
    LoadPrintJob();
    if (!parts.preview) {
        parts.preview = std::make_unique<TwndPrintPreview>(this);
        parts.preview->OnPrint = [this] { RunCommand(&TOstrel3Main::miDrukuj1Click); };
        parts.preview->OnPageSetup = [this] { RunCommand(&TOstrel3Main::miUstawieniadrukowania1Click); };
    }
    parts.preview->SetJob(&parts.job);
    ExecDialog(*parts.preview);
}

void TOstrel3Main::miUstawieniadrukowania1Click()
{
    TPrintParts& parts = PrintParts();
    if (!parts.pageSetup) {
        parts.pageSetup = std::make_unique<TPageSetupDlg>(*dialogs_, this);
        parts.pageSetup->OnPrinterSetup = [this] { RunCommand(&TOstrel3Main::psdPrintSetup1Execute); };
    }
    parts.pageSetup->LoadFrom(parts.job);
    if (ExecDialog(*parts.pageSetup) == QDialog::Accepted)
        parts.pageSetup->StoreTo(parts.job);
}

// A printer chosen here is used from the next layout on: the job reads the
// printer's geometry at each.
void TOstrel3Main::psdPrintSetup1Execute()
{
    dialogs_->PrinterSetup(this, PrintDevice().Device());
}

}  // namespace ostrel
