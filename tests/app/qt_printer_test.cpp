// The Qt printer writing PDF files, and the print job printing through it:
// geometry of the file's sheet, pages, an abandoned job, failures.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <stdexcept>

#include "app/qt/QtCanvas.h"
#include "app/qt/QtPrinter.h"
#include "print/OstEditPrint.h"
#include "tests/app/AppTestSupport.h"

using namespace ostrel;
using ostrel::test::TempDir;
using ostrel::test::TestApp;

namespace {

// Pages of a PDF file, counted by its page objects.
int PdfPageObjects(const std::filesystem::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page "));
}

}  // namespace

TEST(QtPrinterTest, PdfFileIsAnA4SheetWithoutUnprintableStrips)
{
    TestApp();
    QtPrinter printer;
    printer.SetOutputFileName("/tmp/unused.pdf");
    printer.SetPdfResolution(300);
    const auto caps = printer.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_NEAR(caps->PhysicalWidth, 210 * 300 / 25.4, 1.5);
    EXPECT_NEAR(caps->PhysicalHeight, 297 * 300 / 25.4, 1.5);
    EXPECT_EQ(caps->PageWidth, caps->PhysicalWidth);
    EXPECT_EQ(caps->PhysicalOffsetX, 0);
    EXPECT_EQ(caps->DpiY, 300);
    EXPECT_FALSE(printer.Printing());
}

TEST(QtPrinterTest, PrintJobWritesItsPagesAndAnAbortedJobLeavesNoFile)
{
    TestApp();
    TempDir dir;
    QtPrinter printer;
    TOstEditPrint job(&printer);
    job.SetLines(std::vector<std::string>(150, "wiersz tekstu"));

    printer.SetOutputFileName((dir / "all.pdf").string());
    job.PrintAll();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(PdfPageObjects(dir / "all.pdf"), job.PageCount());
    EXPECT_GT(job.PageCount(), 1);

    printer.SetOutputFileName((dir / "aborted.pdf").string());
    job.OnPrintStatus = [](TOstEditPrint&, TOstPrintStatus status, int page, bool& abort) {
        abort = status == psPageBegin && page == 2;
    };
    job.PrintAll();
    EXPECT_TRUE(job.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(std::filesystem::exists(dir / "aborted.pdf"));
}

TEST(QtPrinterTest, FileChosenInThePrintDialogIsPrintedThroughTheDevice)
{
    TestApp();
    TempDir dir;
    QtPrinter printer;
    // What the print dialog leaves when the user prints to a file.
    printer.Device().setOutputFormat(QPrinter::PdfFormat);
    printer.Device().setOutputFileName(QString::fromStdString((dir / "dialog.pdf").string()));
    const auto caps = printer.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_GT(caps->DpiY, 0);
    EXPECT_LE(caps->PageWidth + caps->PhysicalOffsetX, caps->PhysicalWidth);

    TOstEditPrint job(&printer);
    job.SetLines(std::vector<std::string>(150, "wiersz"));
    job.Title = "Zam\xF3wienie";
    job.PrintAll();
    EXPECT_EQ(PdfPageObjects(dir / "dialog.pdf"), job.PageCount());
    EXPECT_GT(job.PageCount(), 1);
}

TEST(QtPrinterTest, FailuresAreReportedAndLeaveNoJobOpen)
{
    TestApp();
    TempDir dir;
    QtPrinter printer;
    EXPECT_THROW(printer.NewPage(), std::logic_error);
    EXPECT_THROW(printer.EndDoc(), std::logic_error);
    EXPECT_THROW(printer.PageCanvas(), std::logic_error);
    printer.SetOutputFileName((dir / "no" / "folder.pdf").string());
    EXPECT_THROW(printer.BeginDoc("x"), std::runtime_error);
    EXPECT_FALSE(printer.Printing());

    printer.SetOutputFileName((dir / "twice.pdf").string());
    printer.BeginDoc("x");
    EXPECT_THROW(printer.BeginDoc("x"), std::logic_error);
    printer.EndDoc();
    EXPECT_TRUE(std::filesystem::exists(dir / "twice.pdf"));
}

TEST(QtCanvasTest, ProportionalTextIsMeasuredWithTheFontsOwnAdvances)
{
    TestApp();
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(&painter, &image);
    canvas.SelectFont(TOstFont{"Arial", -20, 0, clBlack, 96}, 0);
    EXPECT_LT(canvas.TextWidth("iiii"), canvas.TextWidth("WWWW"));
    EXPECT_EQ(canvas.TextWidth(""), 0);

    canvas.SetTextColor(clBlack);
    canvas.TextOutBaseline(10, 50, "Zzz");
    painter.end();
    // Ink above the baseline, none below the descender-free text's baseline.
    int inkAbove = 0;
    int inkBelow = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                ++(y < 50 ? inkAbove : inkBelow);
        }
    }
    EXPECT_GT(inkAbove, 0);
    EXPECT_LE(inkBelow, 5);
}
