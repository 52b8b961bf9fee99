#include "app/DPageSetup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

#include "app/Dialogs.h"
#include "app/GlobalRes.h"
#include "app/qt/KeyTranslation.h"
#include "app/qt/QtCanvas.h"
#include "print/OstEditPrint.h"

namespace ostrel {

namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 266;

QString FormatMargin(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

std::optional<double> ParseMargin(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QTextCharFormat FormatOf(const TOstFont& font)
{
    QTextCharFormat format;
    format.setFontFamilies({QString::fromStdString(font.Name)});
    format.setFontPointSize(std::max(1, font.Size()));
    format.setFontWeight((font.Style & fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.Style & fsItalic);
    format.setFontUnderline(font.Style & fsUnderline);
    format.setFontStrikeOut(font.Style & fsStrikeOut);
    format.setForeground(QtCanvas::ToQColor(font.Color));
    return format;
}

// The font a line's format stands for; what the format leaves open comes
// from the header's default font.
TOstFont FontOf(const QTextCharFormat& format, const TOstFont& base)
{
    TOstFont font = base;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty())
        font.Name = families.first().toStdString();
    if (format.fontPointSize() > 0)
        font.SetSize(static_cast<int>(std::lround(format.fontPointSize())));
    font.Style = (format.fontWeight() >= QFont::Bold ? fsBold : 0) | (format.fontItalic() ? fsItalic : 0) |
                 (format.fontUnderline() ? fsUnderline : 0) | (format.fontStrikeOut() ? fsStrikeOut : 0);
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor c = format.foreground().color();
        font.Color = RGBColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                              static_cast<uint8_t>(c.blue()));
    }
    return font;
}

TColor ToTColor(const QColor& c)
{
    return RGBColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

// The lines of a field; an empty field has none.
int LineCount(const QTextEdit& field)
{
    return field.document()->isEmpty() ? 0 : field.document()->blockCount();
}

QTextCursor WholeLine(const QTextBlock& block)
{
    QTextCursor line(block);
    line.movePosition(QTextCursor::StartOfBlock);
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    return line;
}

// Appends a line with its font to a field that holds `lines` lines.
void AppendLine(QTextEdit& field, int& lines, const QString& text, const QTextCharFormat& format)
{
    QTextCursor cursor(field.document());
    cursor.movePosition(QTextCursor::End);
    if (lines > 0)
        cursor.insertBlock();
    cursor.setBlockCharFormat(format);
    cursor.insertText(text, format);
    ++lines;
}

}  // namespace

// ---- colour swatch ----------------------------------------------------------------------

TColorSwatch::TColorSwatch(const char* name, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
}

void TColorSwatch::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---- construction -------------------------------------------------------------------------

TPageSetupDlg::TPageSetupDlg(TDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("PageSetupDlg"));
    setWindowTitle(QStringLiteral("Ustawienia drukowania"));
    auto* layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->addTab(CreateMarginsTab(), QStringLiteral("Marginesy"));
    PageControl->addTab(CreateHeaderTab(), QStringLiteral("Nagłówek"));
    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        if (PageControl->currentWidget() == tsHeader)
            UpdateActions();
    });
    layout->addWidget(PageControl, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Anuluj"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TPageSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TPageSetupDlg::reject);
    layout->addWidget(buttons);
    resize(kClientWidth, kClientHeight);
    ShowMargins(scratch_);
}

QLineEdit* TPageSetupDlg::MarginEdit(const char* name)
{
    auto* edit = new QLineEdit(tsMargins);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QCheckBox* TPageSetupDlg::CheckBox(const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QWidget* TPageSetupDlg::CreateMarginsTab()
{
    tsMargins = new QWidget(this);
    tsMargins->setObjectName(QStringLiteral("Margins"));
    auto* grid = new QGridLayout(tsMargins);
    AddMarginFields(*grid);
    CBUnits = new QComboBox(tsMargins);
    CBUnits->setObjectName(QStringLiteral("CBUnits"));
    CBUnits->addItems({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("cale")});
    connect(CBUnits, &QComboBox::currentIndexChanged, this, &TPageSetupDlg::CBUnitsChange);
    grid->addWidget(new QLabel(QStringLiteral("Jednostki:"), tsMargins), 0, 2);
    grid->addWidget(CBUnits, 0, 3);
    AddOptions(*grid);
    return tsMargins;
}

void TPageSetupDlg::AddMarginFields(QGridLayout& grid)
{
    EditLeft = MarginEdit("EditLeft");
    EditRight = MarginEdit("EditRight");
    EditTop = MarginEdit("EditTop");
    EditBottom = MarginEdit("EditBottom");
    EditHeader = MarginEdit("EditHeader");
    EditFooter = MarginEdit("EditFooter");
    EditGutter = MarginEdit("EditGutter");
    // The order in which the fields are read.
    marginFields_ = {
        {EditLeft, &TOstEditPrintMargins::SetLeft, &TOstEditPrintMargins::Left},
        {EditRight, &TOstEditPrintMargins::SetRight, &TOstEditPrintMargins::Right},
        {EditTop, &TOstEditPrintMargins::SetTop, &TOstEditPrintMargins::Top},
        {EditBottom, &TOstEditPrintMargins::SetBottom, &TOstEditPrintMargins::Bottom},
        {EditGutter, &TOstEditPrintMargins::SetGutter, &TOstEditPrintMargins::Gutter},
        {EditHeader, &TOstEditPrintMargins::SetHeader, &TOstEditPrintMargins::Header},
        {EditFooter, &TOstEditPrintMargins::SetFooter, &TOstEditPrintMargins::Footer},
    };
    // The hidden footer row goes last, where it leaves no gap.
    const std::pair<QLineEdit*, const char*> labelled[] = {
        {EditLeft, "Lewy:"},     {EditRight, "Prawy:"},        {EditTop, "Górny:"},     {EditBottom, "Dolny:"},
        {EditHeader, "Nagłówek:"}, {EditGutter, "\"Rynna\":"}, {EditFooter, "Stopka:"},
    };
    int row = 0;
    for (const auto& [edit, caption] : labelled) {
        auto* label = new QLabel(QString::fromUtf8(caption), tsMargins);
        label->setBuddy(edit);
        grid.addWidget(label, row, 0);
        grid.addWidget(edit, row++, 1);
        // The footer never has items, so its distance is not offered.
        label->setVisible(edit != EditFooter);
        edit->setVisible(edit != EditFooter);
    }
}

void TPageSetupDlg::AddOptions(QGridLayout& grid)
{
    CBMirrorMargins = CheckBox("CBMirrorMargins", QStringLiteral("Lustrzane marginesy"));
    CBLineNumbers = CheckBox("CBLineNumbers", QStringLiteral("Numery wierszy"));
    CBLineNumbersInMargin = CheckBox("CBLineNumbersInMargin", QStringLiteral("Numery wierszy na marginesie"));
    CBHighlight = CheckBox("CBHighlight", QStringLiteral("Drukowanie składni"));
    CBColors = CheckBox("CBColors", QStringLiteral("Użyj kolorów"));
    CBWrap = CheckBox("CBWrap", QStringLiteral("Zawijaj linie"));
    int row = 1;
    for (QCheckBox* box : {CBMirrorMargins, CBLineNumbers, CBLineNumbersInMargin, CBHighlight, CBColors, CBWrap})
        grid.addWidget(box, row++, 2, 1, 2);
    auto* printer = new QPushButton(QStringLiteral("Ustawienia &drukarki..."), tsMargins);
    printer->setObjectName(QStringLiteral("btnUstawieniaDrukarki1"));
    connect(printer, &QPushButton::clicked, this, [this] {
        if (OnPrinterSetup)
            OnPrinterSetup();
    });
    grid.addWidget(printer, row, 2, 1, 2);
}

QWidget* TPageSetupDlg::CreateHeaderTab()
{
    tsHeader = new QWidget(this);
    tsHeader->setObjectName(QStringLiteral("tsHeader"));
    auto* layout = new QVBoxLayout(tsHeader);
    auto* group = new QGroupBox(QStringLiteral("Nagłówek"), tsHeader);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(CreateHeaderToolBar());
    auto* columns = new QGridLayout();
    const std::tuple<QTextEdit**, const char*, const char*, Qt::Alignment> fields[] = {
        {&REHeaderLeft, "REHeaderLeft", "Lewa", Qt::AlignLeft},
        {&REHeaderCenter, "REHeaderCenter", "Środek", Qt::AlignHCenter},
        {&REHeaderRight, "REHeaderRight", "Prawa", Qt::AlignRight},
    };
    int column = 0;
    for (const auto& [field, name, caption, alignment] : fields) {
        auto* edit = new QTextEdit(group);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAcceptRichText(true);
        edit->setLineWrapMode(QTextEdit::NoWrap);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(alignment);
        edit->document()->setDefaultTextOption(option);
        edit->installEventFilter(this);
        columns->addWidget(new QLabel(QString::fromUtf8(caption), group), 0, column);
        columns->addWidget(edit, 1, column++);
        *field = edit;
    }
    groupLayout->addLayout(columns);
    CBHeaderMirror = CheckBox("CBHeaderMirror", QStringLiteral("Lustro"));
    CBHeaderMirror->installEventFilter(this);
    groupLayout->addWidget(CBHeaderMirror);
    layout->addWidget(group, 1);
    layout->addWidget(CreateAppearanceGroup());
    current_ = REHeaderLeft;
    return tsHeader;
}

QAction* TPageSetupDlg::HeaderAction(QToolBar* bar, const char* name, const QString& hint, const char* iconName,
                                     void (TPageSetupDlg::*command)())
{
    auto* action = new QAction(QIcon::fromTheme(QString::fromLatin1(iconName)), hint, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    bar->addAction(action);
    actions_.push_back(action);
    return action;
}

QWidget* TPageSetupDlg::CreateHeaderToolBar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    HeaderAction(bar, "PageNumCmd", QStringLiteral("Numer strony"), "format-number", &TPageSetupDlg::PageNumCmdExecute);
    HeaderAction(bar, "PagesCmd", QStringLiteral("Ponumeruj"), "format-list-ordered", &TPageSetupDlg::PagesCmdExecute);
    HeaderAction(bar, "TimeCmd", QStringLiteral("Czas"), "appointment-new", &TPageSetupDlg::TimeCmdExecute);
    HeaderAction(bar, "DateCmd", QStringLiteral("Data"), "x-office-calendar", &TPageSetupDlg::DateCmdExecute);
    HeaderAction(bar, "TitleCmd", QStringLiteral("Tytuł"), "text-x-generic", &TPageSetupDlg::TitleCmdExecute);
    bar->addSeparator();
    HeaderAction(bar, "FontCmd", QStringLiteral("Czcionka"), "preferences-desktop-font", &TPageSetupDlg::FontCmdExecute);
    bar->addSeparator();
    HeaderAction(bar, "BoldCmd", QStringLiteral("Pogrubienie"), "format-text-bold", &TPageSetupDlg::BoldCmdExecute);
    HeaderAction(bar, "ItalicCmd", QStringLiteral("Pochylenie"), "format-text-italic", &TPageSetupDlg::ItalicCmdExecute);
    HeaderAction(bar, "UnderlineCmd", QStringLiteral("Podkreślenie"), "format-text-underline",
                 &TPageSetupDlg::UnderlineCmdExecute);
    return bar;
}

QWidget* TPageSetupDlg::CreateAppearanceGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Wygląd"), tsHeader);
    auto* grid = new QGridLayout(group);
    CBHeaderLine = CheckBox("CBHeaderLine", QStringLiteral("Linia poniżej"));
    CBHeaderBox = CheckBox("CBHeaderBox", QStringLiteral("Ramka"));
    CBHeaderShadow = CheckBox("CBHeaderShadow", QStringLiteral("Cień"));
    grid->addWidget(CBHeaderLine, 0, 0);
    grid->addWidget(CBHeaderBox, 1, 0);
    grid->addWidget(CBHeaderShadow, 2, 0);
    PBHeaderLine = new TColorSwatch("PBHeaderLine", group);
    PBHeaderShadow = new TColorSwatch("PBHeaderShadow", group);
    const std::tuple<TColorSwatch*, const char*, const char*, QWidget**> swatches[] = {
        {PBHeaderLine, "HeaderLineColorBtn", "Kolor linii", &HeaderLineColorBtn},
        {PBHeaderShadow, "HeaderShadowColorBtn", "Kolor cienia", &HeaderShadowColorBtn},
    };
    int row = 0;
    for (const auto& [swatch, name, caption, button] : swatches) {
        auto* push = new QPushButton(QString::fromUtf8(caption), group);
        push->setObjectName(QString::fromLatin1(name));
        push->installEventFilter(this);
        connect(push, &QPushButton::clicked, this, [this, swatch] { ChooseSwatchColor(*swatch); });
        grid->addWidget(swatch, row, 1);
        grid->addWidget(push, row++, 2);
        *button = push;
    }
    return group;
}

// ---- showing and focus -------------------------------------------------------------------

void TPageSetupDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    current_ = REHeaderLeft;
    PageControl->setCurrentWidget(tsMargins);
    UpdateActions();
}

bool TPageSetupDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (QTextEdit* field : {REHeaderLeft, REHeaderCenter, REHeaderRight})
            if (watched == field)
                current_ = field;
        UpdateActions();
    }
    return QDialog::eventFilter(watched, event);
}

void TPageSetupDlg::SetCurrentHeaderField(QTextEdit* field)
{
    current_ = field;
    UpdateActions();
}

// The header commands work only while their field has the keyboard.
void TPageSetupDlg::UpdateActions()
{
    const bool enabled = current_ && current_->hasFocus();
    for (QAction* action : actions_)
        action->setEnabled(enabled);
}

// ---- margins ------------------------------------------------------------------------------

void TPageSetupDlg::ShowMargins(const TOstEditPrintMargins& margins)
{
    // The list offers three units; thousandths of an inch show as inches.
    const int unit = std::min<int>(margins.UnitSystem(), usInch);
    TOstEditPrintMargins shown;
    shown.Assign(margins);
    shown.SetUnitSystem(static_cast<TUnitSystem>(unit));
    {
        const QSignalBlocker quiet(CBUnits);
        CBUnits->setCurrentIndex(unit);
    }
    shownUnit_ = unit;
    for (const TMarginField& field : marginFields_)
        field.edit->setText(FormatMargin((shown.*field.get)()));
    CBMirrorMargins->setChecked(margins.MirrorMargins());
}

QLineEdit* TPageSetupDlg::ReadMargins(TOstEditPrintMargins& margins) const
{
    for (const TMarginField& field : marginFields_) {
        const std::optional<double> value = ParseMargin(field.edit->text());
        if (!value)
            return field.edit;
        (margins.*field.set)(*value);
    }
    margins.SetMirrorMargins(CBMirrorMargins->isChecked());
    return nullptr;
}

void TPageSetupDlg::RefuseMargin(QLineEdit* field)
{
    dialogs_.Error(this, res::kInvalidNumber);
    PageControl->setCurrentWidget(tsMargins);
    field->setFocus();
    field->selectAll();
}

// The fields are read in the unit they show and shown again in the new one.
void TPageSetupDlg::CBUnitsChange(int index)
{
    scratch_.SetUnitSystem(static_cast<TUnitSystem>(shownUnit_));
    if (QLineEdit* bad = ReadMargins(scratch_)) {
        {
            const QSignalBlocker quiet(CBUnits);
            CBUnits->setCurrentIndex(shownUnit_);
        }
        RefuseMargin(bad);
        return;
    }
    scratch_.SetUnitSystem(static_cast<TUnitSystem>(index));
    ShowMargins(scratch_);
}

void TPageSetupDlg::accept()
{
    TOstEditPrintMargins check;
    check.SetUnitSystem(static_cast<TUnitSystem>(shownUnit_));
    if (QLineEdit* bad = ReadMargins(check)) {
        RefuseMargin(bad);
        return;
    }
    QDialog::accept();
}

// ---- the job ----------------------------------------------------------------------------------

void TPageSetupDlg::LoadFrom(TOstEditPrint& job)
{
    ShowMargins(job.Margins());
    CBLineNumbers->setChecked(job.LineNumbers);
    CBLineNumbersInMargin->setChecked(job.LineNumbersInMargin);
    CBHighlight->setChecked(job.Highlight);
    CBColors->setChecked(job.Colors);
    CBWrap->setChecked(job.Wrap);
    LoadHeader(job.Header());
}

void TPageSetupDlg::StoreTo(TOstEditPrint& job) const
{
    TOstEditPrintMargins& margins = job.Margins();
    TOstEditPrintMargins read;
    read.Assign(margins);
    read.SetUnitSystem(static_cast<TUnitSystem>(CBUnits->currentIndex()));
    // A field that is not a number keeps its margin; accept() lets no such
    // field through.
    ReadMargins(read);
    margins.Assign(read);
    job.LineNumbers = CBLineNumbers->isChecked();
    job.LineNumbersInMargin = CBLineNumbersInMargin->isChecked();
    job.Highlight = CBHighlight->isChecked();
    job.Colors = CBColors->isChecked();
    job.Wrap = CBWrap->isChecked();
    StoreHeader(job.Header());
}

void TPageSetupDlg::LoadHeader(THeaderFooter& header)
{
    defaultFont_ = header.DefaultFont;
    const QTextCharFormat defaultFormat = FormatOf(header.DefaultFont);
    for (QTextEdit* field : {REHeaderLeft, REHeaderCenter, REHeaderRight}) {
        field->clear();
        field->document()->setDefaultFont(defaultFormat.font());
        field->setCurrentCharFormat(defaultFormat);
    }
    CBHeaderLine->setChecked(header.FrameTypes & ftLine);
    CBHeaderBox->setChecked(header.FrameTypes & ftBox);
    CBHeaderShadow->setChecked(header.FrameTypes & ftShaded);
    PBHeaderLine->SetColor(QtCanvas::ToQColor(header.LineColor));
    PBHeaderShadow->SetColor(QtCanvas::ToQColor(header.ShadedColor));
    CBHeaderMirror->setChecked(header.MirrorPosition);

    header.SortAndRenumberLines();
    int lines[3] = {0, 0, 0};
    for (int i = 0; i < header.Count(); ++i) {
        const THeaderFooterItem& item = header.Item(i);
        QTextEdit* field = item.Alignment == taLeftJustify ? REHeaderLeft
                           : item.Alignment == taCenter    ? REHeaderCenter
                                                           : REHeaderRight;
        int& count = lines[item.Alignment];
        // An item keeps its header line: the lines above it are left empty.
        while (count + 1 < item.LineNumber)
            AppendLine(*field, count, QString(), defaultFormat);
        AppendLine(*field, count, QString::fromStdString(item.Text), FormatOf(item.Font));
    }
    for (QTextEdit* field : {REHeaderLeft, REHeaderCenter, REHeaderRight})
        field->moveCursor(QTextCursor::Start);
}

void TPageSetupDlg::StoreHeader(THeaderFooter& header) const
{
    header.FrameTypes = static_cast<TFrameTypes>((CBHeaderLine->isChecked() ? ftLine : 0) |
                                                 (CBHeaderBox->isChecked() ? ftBox : 0) |
                                                 (CBHeaderShadow->isChecked() ? ftShaded : 0));
    header.LineColor = ToTColor(PBHeaderLine->Color());
    header.ShadedColor = ToTColor(PBHeaderShadow->Color());
    header.MirrorPosition = CBHeaderMirror->isChecked();
    header.Clear();
    const std::pair<QTextEdit*, TAlignment> fields[] = {
        {REHeaderLeft, taLeftJustify}, {REHeaderCenter, taCenter}, {REHeaderRight, taRightJustify}};
    for (const auto& [field, alignment] : fields) {
        QTextBlock block = field->document()->firstBlock();
        for (int line = 1; line <= LineCount(*field); ++line, block = block.next()) {
            const TOstFont font = FontOf(WholeLine(block).charFormat(), defaultFont_);
            header.Add(block.text().toStdString(), &font, alignment, line);
        }
    }
}

// ---- header commands --------------------------------------------------------------------------

void TPageSetupDlg::InsertMacro(const char* macro)
{
    if (current_)
        current_->textCursor().insertText(QString::fromLatin1(macro));
}

void TPageSetupDlg::PageNumCmdExecute() { InsertMacro("$PAGENUM$"); }
void TPageSetupDlg::PagesCmdExecute() { InsertMacro("$PAGECOUNT$"); }
void TPageSetupDlg::TimeCmdExecute() { InsertMacro("$TIME$"); }
void TPageSetupDlg::DateCmdExecute() { InsertMacro("$DATE$"); }
void TPageSetupDlg::TitleCmdExecute() { InsertMacro("$TITLE$"); }

void TPageSetupDlg::ChangeCaretLine(const std::function<void(QTextCursor& line)>& change)
{
    if (!current_)
        return;
    const int caret = current_->textCursor().position();
    QTextCursor line = WholeLine(current_->textCursor().block());
    change(line);
    QTextCursor back(current_->document());
    back.setPosition(caret);
    current_->setTextCursor(back);
}

void TPageSetupDlg::FontCmdExecute()
{
    ChangeCaretLine([this](QTextCursor& line) {
        const std::optional<QFont> chosen = dialogs_.ChooseFont(this, line.charFormat().font());
        if (!chosen)
            return;
        QTextCharFormat format;
        format.setFontFamilies({chosen->family()});
        format.setFontPointSize(chosen->pointSizeF() > 0 ? chosen->pointSizeF() : chosen->pointSize());
        format.setFontWeight(chosen->bold() ? QFont::Bold : QFont::Normal);
        format.setFontItalic(chosen->italic());
        format.setFontUnderline(chosen->underline());
        format.setFontStrikeOut(chosen->strikeOut());
        line.mergeCharFormat(format);
        line.mergeBlockCharFormat(format);
    });
}

void TPageSetupDlg::ToggleStyle(TFontStyle style)
{
    ChangeCaretLine([style](QTextCursor& line) {
        const QTextCharFormat now = line.charFormat();
        QTextCharFormat format;
        if (style == fsBold)
            format.setFontWeight(now.fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
        else if (style == fsItalic)
            format.setFontItalic(!now.fontItalic());
        else
            format.setFontUnderline(!now.fontUnderline());
        line.mergeCharFormat(format);
        line.mergeBlockCharFormat(format);
    });
}

void TPageSetupDlg::BoldCmdExecute() { ToggleStyle(fsBold); }
void TPageSetupDlg::ItalicCmdExecute() { ToggleStyle(fsItalic); }
void TPageSetupDlg::UnderlineCmdExecute() { ToggleStyle(fsUnderline); }

void TPageSetupDlg::ChooseSwatchColor(TColorSwatch& swatch)
{
    if (const std::optional<QColor> chosen = dialogs_.ChooseColor(this, swatch.Color()))
        swatch.SetColor(*chosen);
}

}  // namespace ostrel
