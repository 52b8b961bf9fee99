#include "app/FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Document.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/SearchProgress.h"
#include "app/qt/Icons.h"
#include "app/qt/OstEditWidget.h"

namespace ostrel {

namespace {

// Lines counted at one go; the rest follows from the event loop, so typing
// never waits for the count of a long document.
constexpr int kCountSliceLines = 20000;

QToolButton* IconButton(QWidget* parent, const char* name, const char* icon, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(ThemeIcon(QString::fromLatin1(icon)));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

// "1 wystąpienie", "2 wystąpienia", "5 wystąpień": Polish counts three ways.
QString Occurrences(int n)
{
    const int tens = n % 100;
    const int ones = n % 10;
    if (n == 1)
        return QStringLiteral("1 wystąpienie");
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return QStringLiteral("%1 wystąpienia").arg(n);
    return QStringLiteral("%1 wystąpień").arg(n);
}

}  // namespace

TFindBar::TFindBar(TOstrel3Main& window) : QWidget(&window), window_(window)
{
    setObjectName(QStringLiteral("pnPasekWyszukiwania1"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);

    auto* find = new QHBoxLayout;
    auto* findLabel = new QLabel(res::kFindBarFind, this);
    findText_ = new QLineEdit(this);
    findText_->setObjectName(QStringLiteral("edZnajdz1"));
    findText_->setClearButtonEnabled(true);
    findLabel->setBuddy(findText_);
    QToolButton* next = IconButton(this, "sbNastepny1", "go-down", res::kFindBarNext);
    QToolButton* previous = IconButton(this, "sbPoprzedni1", "go-up", res::kFindBarPrevious);
    matchCase_ = new QCheckBox(res::kFindBarMatchCase, this);
    matchCase_->setObjectName(QStringLiteral("cbWielkoscLiter1"));
    regular_ = new QCheckBox(res::kFindBarRegular, this);
    regular_->setObjectName(QStringLiteral("cbWyrazeniaRegularne1"));
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("lbLicznik1"));
    QToolButton* close = IconButton(this, "sbZamknijPasek1", "window-close", res::kFindBarClose);
    find->addWidget(findLabel);
    find->addWidget(findText_, 1);
    find->addWidget(next);
    find->addWidget(previous);
    find->addWidget(matchCase_);
    find->addWidget(regular_);
    find->addWidget(counter_);
    find->addStretch(0);
    find->addWidget(close);
    rows->addLayout(find);

    replaceRow_ = new QWidget(this);
    auto* replace = new QHBoxLayout(replaceRow_);
    replace->setContentsMargins(0, 0, 0, 0);
    auto* replaceLabel = new QLabel(res::kFindBarReplace, replaceRow_);
    replaceText_ = new QLineEdit(replaceRow_);
    replaceText_->setObjectName(QStringLiteral("edZamien1"));
    replaceLabel->setBuddy(replaceText_);
    auto* replaceOne = new QPushButton(res::kFindBarReplaceOne, replaceRow_);
    replaceOne->setObjectName(QStringLiteral("btnZamien1"));
    auto* replaceAll = new QPushButton(res::kFindBarReplaceAll, replaceRow_);
    replaceAll->setObjectName(QStringLiteral("btnZamienWszystkie1"));
    replace->addWidget(replaceLabel);
    replace->addWidget(replaceText_, 1);
    replace->addWidget(replaceOne);
    replace->addWidget(replaceAll);
    rows->addWidget(replaceRow_);

    connect(findText_, &QLineEdit::textEdited, this, [this] { TextEdited(); });
    connect(findText_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(false); });
    connect(previous, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(close, &QToolButton::clicked, this, [this] { Close(); });
    connect(matchCase_, &QCheckBox::toggled, this, [this] { OptionsChanged(); });
    connect(regular_, &QCheckBox::toggled, this, [this] { OptionsChanged(); });
    connect(replaceText_, &QLineEdit::returnPressed, this, [this] { ReplaceCurrent(); });
    connect(replaceOne, &QPushButton::clicked, this, [this] { ReplaceCurrent(); });
    connect(replaceAll, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    countTimer_.setInterval(0);
    connect(&countTimer_, &QTimer::timeout, this, [this] { CountSlice(); });
    hide();
}

TFindBar::~TFindBar()
{
    DetachFromEditor();
}

TOstEdit* TFindBar::Editor() const
{
    TDocumentPage* document = window_.CurrentDocument();
    return document ? &document->Editor() : nullptr;
}

TOstEditSearchCustom& TFindBar::Engine()
{
    if (regular_->isChecked())
        return regex_;
    return plain_;
}

bool TFindBar::Pattern(std::string& pattern) const
{
    const TOstEdit* editor = Editor();
    if (!editor || findText_->text().isEmpty())
        return false;
    return FromUtf8(findText_->text().toStdString(), editor->Encoding(), pattern) == std::string_view::npos;
}

TOstSearchOptions TFindBar::Options() const
{
    return matchCase_->isChecked() ? ssoMatchCase : 0;
}

// ---- opening and closing --------------------------------------------------------------

void TFindBar::Open(bool replacing)
{
    TOstEdit* editor = Editor();
    if (!editor)
        return;
    const std::string selected = editor->SelText();
    if (!selected.empty() && selected.find_first_of("\r\n") == std::string::npos)
        findText_->setText(QString::fromStdString(ToUtf8(selected, editor->Encoding())));
    if (replacing || !isVisible())
        replaceRow_->setVisible(replacing);
    show();
    origin_ = editor->BlockBegin();
    findText_->selectAll();
    findText_->setFocus(Qt::ShortcutFocusReason);
    Highlight();
}

void TFindBar::Close()
{
    FinishCount();
    DetachFromEditor();
    hide();
    if (TDocumentPage* document = window_.CurrentDocument())
        document->EditWidget().setFocus();
}

void TFindBar::DocumentChanged()
{
    if (!isVisible())
        return;
    DetachFromEditor();
    Highlight();
}

void TFindBar::DetachFromEditor()
{
    countTimer_.stop();
    if (highlighted_)
        highlighted_->Editor().SetMatchHighlight(nullptr);
    highlighted_ = nullptr;
}

void TFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Close();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F3) {
        FindNext((event->modifiers() & Qt::ShiftModifier) != 0);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- searching ----------------------------------------------------------------------------

void TFindBar::TextEdited()
{
    TOstEdit* editor = Editor();
    if (!editor)
        return;
    // Each letter searches again from where typing began.
    editor->SetCaretXY(origin_);
    if (findText_->text().isEmpty()) {
        ShowFound(true);
        Highlight();
        return;
    }
    ShowFound(Search(0) || Search(ssoEntireScope));
    Highlight();
}

void TFindBar::OptionsChanged()
{
    if (TOstEdit* editor = Editor(); editor && editor->SelAvail())
        origin_ = editor->BlockBegin();
    TextEdited();
}

bool TFindBar::FindNext(bool backwards)
{
    TOstEdit* editor = Editor();
    if (!editor || findText_->text().isEmpty())
        return false;
    if (backwards)
        editor->SetCaretXY(editor->BlockBegin());
    const TOstSearchOptions direction = backwards ? ssoBackwards : 0;
    const bool found = Search(direction) || Search(direction | ssoEntireScope);
    ShowFound(found);
    if (found)
        origin_ = editor->BlockBegin();
    return found;
}

// One search through the editor with the bar's engine and options.
bool TFindBar::Search(TOstSearchOptions options)
{
    TOstEdit* editor = Editor();
    std::string pattern;
    if (!editor || !Pattern(pattern))
        return false;
    TOstEditSearchCustom* shared = editor->SearchEngine();
    editor->SetSearchEngine(&Engine());
    int found = 0;
    try {
        TSearchProgress progress(&window_, *editor, regex_.Regex(), res::kSearchProgress);
        found = editor->SearchReplace(pattern, std::string(), options | Options());
    } catch (const std::exception& e) {
        // A pattern that is not complete yet, or wrong: said in the counter.
        counter_->setText(QString::fromStdString(e.what()));
        found = 0;
    }
    editor->SetSearchEngine(shared);
    if (found > 0)
        window_.UpdateCaretPanel();
    return found > 0;
}

void TFindBar::ShowFound(bool found)
{
    notFound_ = !found;
    // A field in a warm tone says the text is nowhere.
    findText_->setStyleSheet(found ? QString() : QStringLiteral("QLineEdit { background: #f8d7da; }"));
}

void TFindBar::ReplaceCurrent()
{
    TOstEdit* editor = Editor();
    std::string pattern;
    if (!editor || !Pattern(pattern))
        return;
    // The selection is replaced only when it is a match; then on to the next.
    if (editor->SelAvail()) {
        editor->SetCaretXY(editor->BlockBegin());
        std::string replacement;
        if (!editor->TextForDocument(replaceText_->text().toStdString(), TOstEncoding::Utf8, replacement))
            return;
        TOstEditSearchCustom* shared = editor->SearchEngine();
        editor->SetSearchEngine(&Engine());
        try {
            editor->SearchReplace(pattern, replacement, Options() | ssoReplace);
        } catch (const std::exception&) {
        }
        editor->SetSearchEngine(shared);
    }
    FindNext(false);
    StartCount();
}

int TFindBar::ReplaceAll()
{
    TOstEdit* editor = Editor();
    std::string pattern;
    std::string replacement;
    if (!editor || !Pattern(pattern) ||
        !editor->TextForDocument(replaceText_->text().toStdString(), TOstEncoding::Utf8, replacement))
        return 0;
    TOstEditSearchCustom* shared = editor->SearchEngine();
    editor->SetSearchEngine(&Engine());
    int replaced = 0;
    try {
        TSearchProgress progress(&window_, *editor, regex_.Regex(), res::kReplaceProgress);
        replaced = editor->SearchReplace(pattern, replacement, Options() | ssoReplaceAll | ssoEntireScope);
    } catch (const std::exception& e) {
        counter_->setText(QString::fromStdString(e.what()));
    }
    editor->SetSearchEngine(shared);
    window_.UpdateModifiedState(editor->Modified());
    StartCount();
    return replaced;
}

// ---- highlighting and counting -----------------------------------------------------------

void TFindBar::Highlight()
{
    TDocumentPage* document = window_.CurrentDocument();
    if (!document)
        return;
    TOstEdit& editor = document->Editor();
    std::string pattern;
    const bool searchable = Pattern(pattern);
    if (searchable) {
        TOstEditSearchCustom& engine = Engine();
        try {
            engine.SetPattern(pattern);
            engine.SetOptions(Options());
            engine.FindAll(std::string_view());
        } catch (const std::exception&) {
            editor.SetMatchHighlight(nullptr);
            highlighted_ = nullptr;
            counter_->setText(res::kFindBarBadPattern);
            countTimer_.stop();
            counted_ = true;
            count_ = 0;
            return;
        }
    }
    if (highlighted_ && highlighted_ != &document->EditWidget())
        highlighted_->Editor().SetMatchHighlight(nullptr);
    highlighted_ = &document->EditWidget();
    editor.SetMatchHighlight(searchable ? &Engine() : nullptr);
    StartCount();
}

void TFindBar::StartCount()
{
    countTimer_.stop();
    count_ = 0;
    countLine_ = 0;
    std::string pattern;
    if (!Pattern(pattern)) {
        counted_ = true;
        counter_->setText(findText_->text().isEmpty() ? QString() : CounterText());
        return;
    }
    TOstEditSearchCustom& engine = regular_->isChecked() ? static_cast<TOstEditSearchCustom&>(countRegex_)
                                                         : static_cast<TOstEditSearchCustom&>(countPlain_);
    engine.SetEncoding(Editor()->Encoding());
    engine.SetPattern(pattern);
    engine.SetOptions(Options());
    counted_ = false;
    counter_->setText(QStringLiteral("…"));
    CountSlice();
    if (!counted_)
        countTimer_.start();
}

void TFindBar::CountSlice()
{
    TOstEdit* editor = Editor();
    if (!editor) {
        countTimer_.stop();
        return;
    }
    TOstEditSearchCustom& engine = regular_->isChecked() ? static_cast<TOstEditSearchCustom&>(countRegex_)
                                                         : static_cast<TOstEditSearchCustom&>(countPlain_);
    const TOstEditStringList& lines = editor->Lines();
    const int end = std::min(lines.Count(), countLine_ + kCountSliceLines);
    try {
        for (; countLine_ < end; ++countLine_)
            count_ += engine.FindAll(lines.Get(countLine_));
    } catch (const std::exception&) {
        countLine_ = lines.Count();
    }
    if (countLine_ < lines.Count())
        return;
    countTimer_.stop();
    counted_ = true;
    counter_->setText(CounterText());
}

void TFindBar::FinishCount()
{
    while (!counted_ && countTimer_.isActive())
        CountSlice();
}

QString TFindBar::CounterText() const
{
    if (!counted_)
        return QStringLiteral("…");
    return count_ == 0 ? res::kFindBarNothing : Occurrences(count_);
}

}  // namespace ostrel
