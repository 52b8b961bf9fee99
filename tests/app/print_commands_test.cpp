// The main window's print commands: the page setup window (margins in
// three units, options, header lines with their fonts, OK and Cancel), the
// preview window (page buttons, zoom, status) and printing a document into a
// PDF file through the print dialog.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <deque>
#include <functional>

#include "AppTestSupport.h"
#include "app/DPageSetup.h"
#include "app/qt/OstEditPrintPreviewWidget.h"
#include "app/wndPrintPreview.h"
#include "print/OstEditPrint.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

std::string Lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "wiersz " + std::to_string(i) + "\r\n";
    return text;
}

// What pdfinfo says of a file: its "Key: value" lines.
std::map<QString, QString> PdfInfo(const QString& path)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(pdfinfo.waitForFinished(30000));
    std::map<QString, QString> info;
    for (const QString& line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0)
            info[line.left(colon)] = line.mid(colon + 1).trimmed();
    }
    return info;
}

class PrintCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->ExecDialog = [this](QDialog& dialog) {
            if (dialogAnswers.empty()) {
                ADD_FAILURE() << "unexpected window: " << dialog.windowTitle().toStdString();
                return static_cast<int>(QDialog::Rejected);
            }
            const auto answer = dialogAnswers.front();
            dialogAnswers.pop_front();
            dialog.setResult(QDialog::Rejected);
            dialog.show();
            answer(dialog);
            dialog.hide();
            return dialog.result();
        };
    }

    template <class T>
    static T* Child(QDialog& dialog, const char* name)
    {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QString Text(QDialog& dialog, const char* edit) { return Child<QLineEdit>(dialog, edit)->text(); }
    static void SetText(QDialog& dialog, const char* edit, const QString& text)
    {
        Child<QLineEdit>(dialog, edit)->setText(text);
    }
    static void ChooseUnit(QDialog& dialog, int index) { Child<QComboBox>(dialog, "CBUnits")->setCurrentIndex(index); }
    static void SetHeaderField(QDialog& dialog, const char* name, const QString& text)
    {
        Child<QTextEdit>(dialog, name)->setPlainText(text);
    }
    static QStringList HeaderFieldLines(QDialog& dialog, const char* name)
    {
        QStringList lines;
        const QTextDocument* document = Child<QTextEdit>(dialog, name)->document();
        if (document->isEmpty())
            return lines;
        for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next())
            lines << block.text();
        return lines;
    }
    // Opens page setup; `answer` fills it and presses a button.
    void PageSetup(const std::function<void(TPageSetupDlg&)>& answer)
    {
        dialogAnswers.push_back([answer](QDialog& dialog) { answer(dynamic_cast<TPageSetupDlg&>(dialog)); });
        Click("miUstawieniaDrukowania1");
        EXPECT_TRUE(dialogAnswers.empty());
    }
    void Preview(const std::function<void(TwndPrintPreview&)>& answer)
    {
        dialogAnswers.push_back([answer](QDialog& dialog) { answer(dynamic_cast<TwndPrintPreview&>(dialog)); });
        Click("miPodgladWydruku1");
        EXPECT_TRUE(dialogAnswers.empty());
    }
    static bool Enabled(QDialog& dialog, const char* action) { return Child<QAction>(dialog, action)->isEnabled(); }

    TOstEditPrint& Job() { return window->PrintJob(); }

    std::deque<std::function<void(QDialog&)>> dialogAnswers;
};

}  // namespace

// ---- the menu ---------------------------------------------------------------------

TEST_F(PrintCommandsTest, PrintCommandsAreOffered)
{
    for (const char* name : {"miUstawieniaDrukowania1", "miPodgladWydruku1", "miDrukuj1", "tbDrukuj1"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    EXPECT_EQ(Action("miDrukuj1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

// ---- page setup -------------------------------------------------------------------

TEST_F(PrintCommandsTest, UnitChangeConvertsEveryMargin)
{
    Job().Margins().SetLeft(25.4);
    PageSetup([](TPageSetupDlg& dialog) {
        EXPECT_EQ(Text(dialog, "EditLeft"), QStringLiteral("25.4"));
        EXPECT_EQ(Text(dialog, "EditTop"), QStringLiteral("25"));
        ChooseUnit(dialog, 2);
        EXPECT_EQ(Text(dialog, "EditLeft"), QStringLiteral("1"));
        EXPECT_DOUBLE_EQ(Text(dialog, "EditHeader").toDouble(), 15 / 25.4);
        SetText(dialog, "EditRight", QStringLiteral("0.5"));
        ChooseUnit(dialog, 1);
        EXPECT_EQ(Text(dialog, "EditLeft"), QStringLiteral("2.54"));
        EXPECT_EQ(Text(dialog, "EditRight"), QStringLiteral("1.27"));
        ChooseUnit(dialog, 0);
        EXPECT_EQ(Text(dialog, "EditLeft"), QStringLiteral("25.4"));
        EXPECT_EQ(Text(dialog, "EditHeader"), QStringLiteral("15"));
        dialog.reject();
    });
    EXPECT_DOUBLE_EQ(Job().Margins().Right(), 15) << "Cancel keeps the job's margins";
}

TEST_F(PrintCommandsTest, OkStoresTheMarginsInTheChosenUnitAndTheOptions)
{
    PageSetup([](TPageSetupDlg& dialog) {
        ChooseUnit(dialog, 1);
        SetText(dialog, "EditLeft", QStringLiteral("3"));
        SetText(dialog, "EditGutter", QStringLiteral("1.5"));
        Child<QCheckBox>(dialog, "CBMirrorMargins")->setChecked(true);
        Child<QCheckBox>(dialog, "CBLineNumbers")->setChecked(true);
        Child<QCheckBox>(dialog, "CBWrap")->setChecked(false);
        Child<QCheckBox>(dialog, "CBColors")->setChecked(true);
        dialog.accept();
    });
    const TOstEditPrintMargins& margins = Job().Margins();
    EXPECT_EQ(margins.UnitSystem(), usCM);
    EXPECT_DOUBLE_EQ(margins.Left(), 3);
    EXPECT_DOUBLE_EQ(margins.Gutter(), 1.5);
    EXPECT_DOUBLE_EQ(margins.Top(), 2.5);
    EXPECT_TRUE(margins.MirrorMargins());
    EXPECT_TRUE(Job().LineNumbers);
    EXPECT_FALSE(Job().Wrap);
    EXPECT_TRUE(Job().Colors);

    PageSetup([](TPageSetupDlg& dialog) {
        EXPECT_EQ(Child<QComboBox>(dialog, "CBUnits")->currentText(), QStringLiteral("cm"));
        EXPECT_EQ(Text(dialog, "EditLeft"), QStringLiteral("3"));
        EXPECT_TRUE(Child<QCheckBox>(dialog, "CBLineNumbers")->isChecked());
        SetText(dialog, "EditLeft", QStringLiteral("9"));
        Child<QCheckBox>(dialog, "CBLineNumbers")->setChecked(false);
        dialog.reject();
    });
    EXPECT_DOUBLE_EQ(Job().Margins().Left(), 3) << "Cancel drops what was typed";
    EXPECT_TRUE(Job().LineNumbers);
}

TEST_F(PrintCommandsTest, MarginThatIsNotANumberKeepsTheWindowOpen)
{
    PageSetup([this](TPageSetupDlg& dialog) {
        SetText(dialog, "EditTop", QStringLiteral("dwa"));
        dialog.accept();
        EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>{QStringLiteral("Invalid number!")});
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "not closed with OK";
        EXPECT_TRUE(dialog.isVisible());

        // A unit change cannot read the fields either: the unit stays.
        ChooseUnit(dialog, 2);
        EXPECT_EQ(Child<QComboBox>(dialog, "CBUnits")->currentIndex(), 0);
        EXPECT_EQ(Text(dialog, "EditLeft"), QStringLiteral("25"));
        EXPECT_EQ(dialogs->Count(QStringLiteral("error")), 2);

        SetText(dialog, "EditTop", QStringLiteral("30"));
        dialog.accept();
    });
    EXPECT_DOUBLE_EQ(Job().Margins().Top(), 30);
}

TEST_F(PrintCommandsTest, HeaderFieldsBecomeHeaderLines)
{
    PageSetup([](TPageSetupDlg& dialog) {
        SetHeaderField(dialog, "REHeaderLeft", QStringLiteral("Strona "));
        SetHeaderField(dialog, "REHeaderCenter", QStringLiteral("Tytuł\nDrugi"));
        QTextEdit* left = Child<QTextEdit>(dialog, "REHeaderLeft");
        left->moveCursor(QTextCursor::End);
        dialog.SetCurrentHeaderField(left);
        dialog.PageNumCmdExecute();
        dialog.BoldCmdExecute();
        QTextEdit* right = Child<QTextEdit>(dialog, "REHeaderRight");
        right->moveCursor(QTextCursor::End);
        dialog.SetCurrentHeaderField(right);
        dialog.DateCmdExecute();
        Child<QCheckBox>(dialog, "CBHeaderBox")->setChecked(true);
        Child<QCheckBox>(dialog, "CBHeaderLine")->setChecked(false);
        dialog.accept();
    });
    const THeader& header = Job().Header();
    ASSERT_EQ(header.Count(), 4);
    struct TSeen {
        std::string text;
        TAlignment alignment;
        int line;
        bool operator==(const TSeen&) const = default;
    };
    std::vector<TSeen> seen;
    for (int i = 0; i < header.Count(); ++i)
        seen.push_back({header.Item(i).Text, header.Item(i).Alignment, header.Item(i).LineNumber});
    EXPECT_EQ(seen, (std::vector<TSeen>{{"Strona $PAGENUM$", taLeftJustify, 1},
                                         {"Tytuł", taCenter, 1},
                                         {"Drugi", taCenter, 2},
                                         {"$DATE$", taRightJustify, 1}}));
    EXPECT_TRUE(header.Item(0).Font.Style & fsBold);
    EXPECT_FALSE(header.Item(1).Font.Style & fsBold);
    EXPECT_EQ(header.Item(1).Font.Name, header.DefaultFont.Name);
    EXPECT_EQ(header.FrameTypes, ftBox);
}

TEST_F(PrintCommandsTest, HeaderItemsReturnToTheirFieldsAndLines)
{
    THeader& header = Job().Header();
    TOstFont italic = header.DefaultFont;
    italic.Style = fsItalic;
    italic.SetSize(14);
    header.Add("$TITLE$", &italic, taCenter, 5);
    header.Add("Lewy", nullptr, taLeftJustify, 2);
    header.MirrorPosition = true;
    PageSetup([](TPageSetupDlg& dialog) {
        // Lines 2 and 5 are the header's first and second lines.
        EXPECT_EQ(HeaderFieldLines(dialog, "REHeaderLeft"), (QStringList{QStringLiteral("Lewy")}));
        EXPECT_EQ(HeaderFieldLines(dialog, "REHeaderCenter"), (QStringList{QString(), QStringLiteral("$TITLE$")}));
        EXPECT_TRUE(HeaderFieldLines(dialog, "REHeaderRight").isEmpty());
        EXPECT_TRUE(Child<QCheckBox>(dialog, "CBHeaderMirror")->isChecked());
        dialog.accept();
    });
    // Through the window and back, the items keep their fonts and lines.
    int titles = 0;
    for (int i = 0; i < header.Count(); ++i) {
        const THeaderFooterItem& item = header.Item(i);
        if (item.Text == "$TITLE$") {
            ++titles;
            EXPECT_EQ(item.LineNumber, 2);
            EXPECT_EQ(item.Font.Style, fsItalic);
            EXPECT_EQ(item.Font.Size(), 14);
        }
        if (item.Text == "Lewy") {
            EXPECT_EQ(item.LineNumber, 1);
        }
    }
    EXPECT_EQ(titles, 1);
}

TEST_F(PrintCommandsTest, HeaderCommandsNeedTheFieldsFocus)
{
    PageSetup([](TPageSetupDlg& dialog) {
        EXPECT_FALSE(Enabled(dialog, "PageNumCmd")) << "the margins tab is shown first";
        EXPECT_FALSE(Enabled(dialog, "UnderlineCmd"));
        dialog.reject();
    });
}

TEST_F(PrintCommandsTest, PrinterSetupButtonOpensThePrinterDialog)
{
    dialogs->printerSetupChoices.push_back(true);
    PageSetup([](TPageSetupDlg& dialog) {
        Child<QPushButton>(dialog, "btnUstawieniaDrukarki1")->click();
        dialog.reject();
    });
    EXPECT_EQ(dialogs->Count(QStringLiteral("printer setup")), 1);
}

TEST_F(PrintCommandsTest, HeaderColoursComeFromTheColourDialog)
{
    dialogs->colorChoices.push_back(QColor(Qt::red));
    dialogs->colorChoices.push_back(std::nullopt);
    PageSetup([](TPageSetupDlg& dialog) {
        Child<QPushButton>(dialog, "HeaderLineColorBtn")->click();
        Child<QPushButton>(dialog, "HeaderShadowColorBtn")->click();
        dialog.accept();
    });
    EXPECT_EQ(Job().Header().LineColor, clRed);
    EXPECT_EQ(Job().Header().ShadedColor, clSilver) << "a cancelled dialog keeps the colour";
}

// ---- preview ----------------------------------------------------------------------

TEST_F(PrintCommandsTest, PreviewPageButtonsFollowThePage)
{
    Type(Lines(300).c_str());
    Preview([](TwndPrintPreview& preview) {
        const int pages = preview.Preview().Preview().PageCount();
        ASSERT_GE(pages, 3);
        EXPECT_EQ(preview.StatusText(), QStringLiteral("Strona: 1"));
        EXPECT_FALSE(Enabled(preview, "tbPierwszaStrona1"));
        EXPECT_FALSE(Enabled(preview, "tbPoprzedniaStrona1"));
        EXPECT_TRUE(Enabled(preview, "tbNextPage1"));
        EXPECT_TRUE(Enabled(preview, "tbOstatniaStrona1"));

        Child<QAction>(preview, "tbNextPage1")->trigger();
        EXPECT_EQ(preview.StatusText(), QStringLiteral("Strona: 2"));
        EXPECT_TRUE(Enabled(preview, "tbPierwszaStrona1"));
        EXPECT_TRUE(Enabled(preview, "tbNextPage1"));

        Child<QAction>(preview, "tbOstatniaStrona1")->trigger();
        EXPECT_EQ(preview.StatusText(), QStringLiteral("Strona: %1").arg(pages));
        EXPECT_FALSE(Enabled(preview, "tbNextPage1"));
        EXPECT_FALSE(Enabled(preview, "tbOstatniaStrona1"));
        EXPECT_TRUE(Enabled(preview, "tbPoprzedniaStrona1"));
    });
    // Shown again, it starts at the first page.
    Preview([](TwndPrintPreview& preview) { EXPECT_EQ(preview.StatusText(), QStringLiteral("Strona: 1")); });
}

TEST_F(PrintCommandsTest, PreviewZoomsByMenuAndClicks)
{
    Preview([](TwndPrintPreview& preview) {
        TOstEditPrintPreviewWidget& widget = preview.Preview();
        TOstEditPrintPreview& control = widget.Preview();
        Child<QAction>(preview, "pmiSzerokoscStrony1")->trigger();
        EXPECT_EQ(control.ScaleMode(), pscPageWidth);
        EXPECT_EQ(control.PageSize().Width, widget.viewport()->width() - 26);
        Child<QAction>(preview, "tbZoom1")->trigger();
        EXPECT_EQ(control.ScaleMode(), pscWholePage);

        const QPointF at(20, 20);
        QMouseEvent left(QEvent::MouseButtonPress, at, widget.viewport()->mapToGlobal(at), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget.viewport(), &left);
        EXPECT_EQ(control.ScaleMode(), pscUserScaled);
        EXPECT_EQ(control.ScalePercent(), 100);
        QMouseEvent right(QEvent::MouseButtonPress, at, widget.viewport()->mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(widget.viewport(), &right);
        EXPECT_EQ(control.ScalePercent(), 50);
        Child<QAction>(preview, "pmi200proc1")->trigger();
        EXPECT_EQ(control.ScalePercent(), 200);
    });
    // The zoom stays for the next showing.
    Preview([](TwndPrintPreview& preview) { EXPECT_EQ(preview.Preview().Preview().ScalePercent(), 200); });
}

TEST_F(PrintCommandsTest, WholePageBarChoosesThePageWithAHint)
{
    Type(Lines(300).c_str());
    Preview([](TwndPrintPreview& preview) {
        TOstEditPrintPreviewWidget& widget = preview.Preview();
        Child<QAction>(preview, "pmiCalaStrona1")->trigger();
        QScrollBar* bar = widget.verticalScrollBar();
        EXPECT_EQ(widget.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(bar->minimum(), 1);
        EXPECT_EQ(bar->maximum(), widget.Preview().PageCount());
        bar->setSliderDown(true);
        bar->setSliderPosition(3);
        EXPECT_EQ(widget.HintText(), QStringLiteral("Page: 3"));
        EXPECT_EQ(preview.StatusText(), QStringLiteral("Strona: 3"));
        bar->setSliderDown(false);
        EXPECT_TRUE(widget.HintText().isEmpty());
        EXPECT_EQ(widget.Preview().PageNumber(), 3);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(widget.Preview().PageNumber(), 2);
        EXPECT_EQ(bar->value(), 2);
    });
}

TEST_F(PrintCommandsTest, PageSetupFromThePreviewLaysThePagesOutAgain)
{
    Type(Lines(100).c_str());
    Preview([this](TwndPrintPreview& preview) {
        const int before = preview.Preview().Preview().PageCount();
        dialogAnswers.push_back([](QDialog& dialog) {
            SetText(dialog, "EditTop", QStringLiteral("150"));
            dynamic_cast<TPageSetupDlg&>(dialog).accept();
        });
        Child<QAction>(preview, "pmiUstawieniadrukowania1")->trigger();
        EXPECT_GT(preview.Preview().Preview().PageCount(), before);
    });
}

// ---- printing ---------------------------------------------------------------------

TEST_F(PrintCommandsTest, PrintsTheDocumentIntoTheChosenPdfFile)
{
    TempDir dir;
    OpenFile(dir.path(), "druk.txt", Lines(150));
    const QString pdf = Q(dir / "druk.pdf");
    dialogs->printChoices.push_back(pdf);
    Click("miDrukuj1");
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error")).empty());
    ASSERT_TRUE(QFileInfo::exists(pdf));
    const std::map<QString, QString> info = PdfInfo(pdf);
    ASSERT_TRUE(info.count(QStringLiteral("Pages")));
    EXPECT_EQ(info.at(QStringLiteral("Pages")).toInt(), Job().PageCount());
    EXPECT_GE(Job().PageCount(), 2);
    EXPECT_EQ(Job().Title, "druk.txt");
}

TEST_F(PrintCommandsTest, PrintFromThePreviewPrintsAndKeepsPreviewing)
{
    TempDir dir;
    Type(Lines(150).c_str());
    const QString pdf = Q(dir / "podglad.pdf");
    dialogs->printChoices.push_back(pdf);
    Preview([](TwndPrintPreview& preview) {
        const int pages = preview.Preview().Preview().PageCount();
        Child<QAction>(preview, "pmiDrukuj1")->trigger();
        EXPECT_EQ(preview.Preview().Preview().PageCount(), pages);
        EXPECT_EQ(preview.StatusText(), QStringLiteral("Strona: 1"));
    });
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(PdfInfo(pdf).at(QStringLiteral("Pages")).toInt(), Job().PageCount());
}

TEST_F(PrintCommandsTest, CancelledPrintDialogPrintsNothing)
{
    TempDir dir;
    Type("tekst");
    dialogs->printChoices.push_back(QString());
    Click("miDrukuj1");
    EXPECT_EQ(dialogs->Count(QStringLiteral("print")), 1);
    EXPECT_TRUE(Job().Lines().empty()) << "the job was not even loaded";
}
