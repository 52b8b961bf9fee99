// The editing commands of "&Edycja", "&Funkcje" and the editor's popup: the
// clipboard and undo, case changes, dates, lines, comments, HTML tags,
// bookmarks and the view toggles.

#include <QAction>
#include <QColorDialog>
#include <QDateTime>
#include <QLocale>

#include "app/Document.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/UiGuards.h"
#include "editor/OstTextLines.h"
#include "app/qt/KeyTranslation.h"
#include "platform/CodePage.h"
#include "platform/UnicodeCase.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

// The short date format chosen last from "&Data", in the program's own
// letters; empty until one is chosen, meaning the system's.
QString& ShortDateFormat()
{
    static QString format;
    return format;
}

// The character at text[at] in the other case, appended to out; returns
// where the next character starts.
size_t AppendCharacterCase(std::string_view text, size_t at, bool upper, TOstEncoding encoding, std::string& out)
{
    if (const codepage::TCodePage* page = CodePageOf(encoding)) {
        const auto c = static_cast<unsigned char>(text[at]);
        out += static_cast<char>(upper ? page->ToUpper(c) : page->ToLower(c));
        return at + 1;
    }
    const utf8::TDecoded d = utf8::Decode(text, at);
    if (!d.valid) {
        out += text[at];
        return at + 1;
    }
    utf8::Append(out, upper ? unicode::SimpleUpper(d.cp) : unicode::SimpleLower(d.cp));
    return at + d.length;
}

// "dd.mm.yyyy" style to Qt's letters: months are upper case there, and the
// weekday and month names come from the system locale.
QString ToQtDateFormat(const QString& format)
{
    QString result;
    for (int i = 0; i < format.size();) {
        if (format.mid(i, 4) == QLatin1String("mmmm")) {
            result += QLatin1String("MMMM");
            i += 4;
        } else if (format.mid(i, 2) == QLatin1String("mm")) {
            result += QLatin1String("MM");
            i += 2;
        } else {
            result += format[i++];
        }
    }
    return result;
}

QString ShortDateText(const QDate& date)
{
    const QLocale locale = QLocale::system();
    if (ShortDateFormat().isEmpty())
        return locale.toString(date, QLocale::ShortFormat);
    return locale.toString(date, ToQtDateFormat(ShortDateFormat()));
}

// The locale's long time format without its time zone, which a clock time
// typed into a text does not carry.
QString LongTimeText(const QTime& time)
{
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::LongFormat);
    format = format.trimmed();
    while (format.endsWith(QLatin1Char('t')))
        format.chop(1);
    format = format.trimmed();
    while (format.startsWith(QLatin1Char('t')))
        format.remove(0, 1);
    return locale.toString(time, format.trimmed());
}

}  // namespace

std::string CapitaliseWords(std::string_view text, bool upper, bool continuing, TOstEncoding encoding)
{
    std::string result;
    result.reserve(text.size());
    size_t copied = 0;  // text before this is in result
    const auto changeAt = [&](size_t at) {
        result.append(text, copied, at - copied);
        copied = AppendCharacterCase(text, at, upper, encoding, result);
    };
    if (text.empty())
        return result;
    if (!continuing)
        changeAt(0);
    // Only a blank starts a word; after two blanks the search for the next
    // one starts past the second, so that word stays as it is. A blank is
    // never a byte of a longer character.
    for (size_t from = 0;;) {
        const size_t blank = text.find(' ', from);
        if (blank == std::string_view::npos || blank + 1 >= text.size())
            break;
        changeAt(blank + 1);
        from = blank + 2;
    }
    result.append(text, copied);
    return result;
}

std::string ChangeTextCase(std::string_view text, bool upper, TOstEncoding encoding)
{
    std::string result;
    result.reserve(text.size());
    for (size_t at = 0; at < text.size();)
        at = AppendCharacterCase(text, at, upper, encoding, result);
    return result;
}

TOstEdit& TOstrel3Main::CurrentEditor() const { return RequireCurrentDocument()->Editor(); }

// ---- clipboard and undo -------------------------------------------------------------

void TOstrel3Main::miCofnij1Click()
{
    CurrentEditor().Undo();
    // Even back at the saved text the document counts as changed.
    UpdateModifiedState(true);
}

void TOstrel3Main::miPowtorz1Click() { CurrentEditor().Redo(); }
void TOstrel3Main::miWytnij1Click() { CurrentEditor().CutToClipboard(); }
void TOstrel3Main::miKopiuj1Click() { CurrentEditor().CopyToClipboard(); }
void TOstrel3Main::miWklej1Click() { CurrentEditor().PasteFromClipboard(); }
void TOstrel3Main::miZaznaczWszystko1Click() { CurrentEditor().SelectAll(); }

void TOstrel3Main::miUsun1Click()
{
    TOstEdit& editor = CurrentEditor();
    if (editor.SelAvail())
        editor.SetSelText({});
}

// ---- lines -----------------------------------------------------------------------------

// Both are edits like any other: one undo step each.
void TOstrel3Main::miUsunWiersz1Click()
{
    TOstEdit& editor = CurrentEditor();
    const int line = editor.CaretY();
    editor.DeleteLineRecorded(line);
    editor.SetCaretY(line - 1);
    UpdateModifiedState(editor.Modified());
}

void TOstrel3Main::miDuplikujWiersz1Click()
{
    TOstEdit& editor = CurrentEditor();
    editor.DuplicateLine();
    UpdateModifiedState(editor.Modified());
}

void TOstrel3Main::miIdzDoWiersza1Click()
{
    const QString answer =
        dialogs_->Input(this, res::kMessageCaption, res::kGoToLinePrompt, QStringLiteral("0"));
    if (answer != QLatin1String("0")) {
        bool isNumber = false;
        const int line = answer.trimmed().toInt(&isNumber);
        if (!isNumber)
            return;
        CurrentEditor().SetCaretY(line);
    }
    UpdateCaretPanel();
}

// ---- case changes ----------------------------------------------------------------------

void TOstrel3Main::ReplaceSelection(const std::function<std::string(const std::string&)>& convert)
{
    TOstEdit& editor = CurrentEditor();
    if (editor.SelAvail())
        editor.SetSelText(convert(editor.SelText()));
}

void TOstrel3Main::miDuzeZnaki1Click()
{
    const TOstEncoding e = CurrentEditor().Encoding();
    ReplaceSelection([e](const std::string& text) { return ChangeTextCase(text, true, e); });
}

void TOstrel3Main::miMaleZnaki1Click()
{
    const TOstEncoding e = CurrentEditor().Encoding();
    ReplaceSelection([e](const std::string& text) { return ChangeTextCase(text, false, e); });
}

void TOstrel3Main::miPierwszeDuze1Click()
{
    const TOstEncoding e = CurrentEditor().Encoding();
    ReplaceSelection([e](const std::string& text) { return CapitaliseWords(text, true, false, e); });
}

void TOstrel3Main::miPierwszeMale1Click()
{
    const TOstEncoding e = CurrentEditor().Encoding();
    ReplaceSelection([e](const std::string& text) { return CapitaliseWords(text, false, false, e); });
}

// ---- date and time ---------------------------------------------------------------------

// The window's texts (dates, colours, comment marks) go in in the
// document's encoding; one it cannot hold goes in only if the document goes
// over to UTF-8 (the editor asks), never as "?".
void TOstrel3Main::InsertText(const QString& text)
{
    TOstEdit& editor = CurrentEditor();
    std::string bytes;
    if (editor.TextForDocument(text.toStdString(), TOstEncoding::Utf8, bytes))
        editor.SetSelText(bytes);
}

void TOstrel3Main::InsertDate(const QString& format)
{
    ShortDateFormat() = format;
    InsertText(ShortDateText(QDate::currentDate()));
}

void TOstrel3Main::miGodzina1Click() { InsertText(LongTimeText(QTime::currentTime())); }

void TOstrel3Main::miGodzinaIData1Click()
{
    const QDateTime now = QDateTime::currentDateTime();
    QString text = ShortDateText(now.date());
    if (now.time() != QTime(0, 0))
        text += u' ' + LongTimeText(now.time());
    InsertText(text);
}

// ---- comment out -----------------------------------------------------------------------

void TOstrel3Main::miZakomentuj1Click()
{
    const QString mark = dialogs_->Input(this, res::kMessageCaption, res::kCommentOutPrompt, {});
    if (mark.isEmpty())
        return;
    const TWaitCursor wait;
    TOstEdit& editor = CurrentEditor();
    const int line = editor.CaretY();
    std::string prefix;
    if (!editor.TextForDocument(mark.toStdString(), TOstEncoding::Utf8, prefix))
        return;
    std::string result;
    const std::string selected = editor.SelText();
    std::vector<std::string_view> lines = SplitTextLines(selected);
    // A final line break ends the last line rather than starting another.
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    for (const std::string_view text : lines)
        result += prefix + std::string(text) + "\r\n";
    editor.SetSelText(result);
    editor.SetCaretY(line);
}

// ---- HTML ----------------------------------------------------------------------------------

void TOstrel3Main::WrapInTags(const char* open, const char* close)
{
    TOstEdit& editor = CurrentEditor();
    const std::string selected = editor.SelText();
    const int start = editor.SelStart();
    const std::string openTag(open);
    editor.SetSelText(openTag + close);
    editor.SetSelStart(start + static_cast<int>(openTag.size()));
    editor.SetSelEnd(start + static_cast<int>(openTag.size()));
    editor.SetSelText(selected);
}

void TOstrel3Main::InsertHtml(const char* text)
{
    TOstEdit& editor = CurrentEditor();
    editor.SetSelText(text);
    editor.EnsureCursorPosVisible();
}

std::optional<QColor> TOstrel3Main::ChooseColourModal(QWidget* owner, const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, owner);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

void TOstrel3Main::miWartoscKoloru1Click()
{
    const std::optional<QColor> colour = ChooseColour(this, cdColor1);
    if (!colour)
        return;
    cdColor1 = *colour;
    InsertText(QStringLiteral("#%1%2%3")
                   .arg(colour->red(), 2, 16, QLatin1Char('0'))
                   .arg(colour->green(), 2, 16, QLatin1Char('0'))
                   .arg(colour->blue(), 2, 16, QLatin1Char('0'))
                   .toUpper());
}

// ---- bookmarks -------------------------------------------------------------------------

void TOstrel3Main::SetBookmark(int number)
{
    TOstEdit& editor = CurrentEditor();
    editor.SetBookMark(number, editor.CaretXY());
}

void TOstrel3Main::GotoBookmark(int number) { CurrentEditor().GotoBookMark(number); }

// ---- view toggles ----------------------------------------------------------------------

void TOstrel3Main::miZaznaczanieKolumn1Click()
{
    TOstEdit& editor = CurrentEditor();
    editor.SetSelectionMode(editor.SelectionMode() == smNormal ? smColumn : smNormal);
}

void TOstrel3Main::miZawijanieWierszy1Click()
{
    TOstEdit& editor = CurrentEditor();
    editor.SetWordWrap(!editor.WordWrap());
}

void TOstrel3Main::miUkryteZnaki1Click()
{
    const bool shown = findChild<QAction*>(QStringLiteral("miUkryteZnaki1"))->isChecked();
    setUpdatesEnabled(false);
    smWzor1.SetOption(eoShowSpecialChars, shown);
    for (int i = DocumentCount() - 1; i >= 0; --i)
        DocumentAt(i)->Editor().SetOptions(smWzor1.Options());
    setUpdatesEnabled(true);
}

// ---- enabling ----------------------------------------------------------------------------

void TOstrel3Main::EnableEditingItems(const char* undo, const char* redo, const char* cut, const char* copy,
                                      const char* remove)
{
    const TOstEdit& editor = CurrentEditor();
    auto enable = [this](const char* name, bool enabled) {
        SetItemEnabled(findChild<QAction*>(QString::fromLatin1(name)), enabled);
    };
    enable(undo, editor.CanUndo());
    enable(redo, editor.CanRedo());
    enable(cut, editor.SelAvail());
    enable(copy, editor.SelAvail());
    enable(remove, editor.SelAvail());
}

void TOstrel3Main::pmMain1Popup()
{
    EnableEditingItems("pmiCofnij1", "pmiPowtorz1", "pmiWytnij1", "pmiKopiuj1", "pmiUsun1");
}

}  // namespace ostrel
