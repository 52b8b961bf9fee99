// The document's encoding in the window: the "Kodowanie" menu (reading the
// same bytes as another encoding, writing the same characters in another),
// the status bar's panel, and the offer to go over to UTF-8 when text comes
// in that the document's encoding cannot hold.

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/Document.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/UiGuards.h"
#include "platform/Utf8.h"

namespace ostrel {

namespace {

QString TitleOf(TOstEncoding encoding)
{
    const std::string_view title = EncodingTitle(encoding);
    return QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
}

// The character at a byte of UTF-8 text, for a message.
QString CharacterAt(std::string_view utf8, size_t at)
{
    if (at >= utf8.size())
        return {};
    const utf8::TDecoded d = utf8::Decode(utf8, at);
    const char32_t cp = d.valid ? d.cp : 0xFFFD;
    return QString::fromUcs4(&cp, 1);
}

}  // namespace

void TOstrel3Main::CreateKodowanieMenu()
{
    QMenu* kodowanie = menuBar()->addMenu(QStringLiteral("K&odowanie"));
    kodowanie->setObjectName(QStringLiteral("miKodowanie1"));
    connect(kodowanie, &QMenu::aboutToShow, this, [this] { RunCommand(&TOstrel3Main::UpdateEncodingItems); });
    QMenu* reopen = SubMenu(kodowanie, "miOtworzPonownieJako1", QStringLiteral("&Otwórz ponownie jako"));
    QMenu* convert = SubMenu(kodowanie, "miKonwertujNa1", QStringLiteral("&Konwertuj na"));
    encodingGroup_ = new QActionGroup(this);
    for (int i = 0; i < kEncodingCount; ++i) {
        const auto encoding = static_cast<TOstEncoding>(i);
        const std::string name(EncodingName(encoding));
        QAction* again = Item(reopen, "", TitleOf(encoding), nullptr, nullptr);
        again->setObjectName(QStringLiteral("miOtworzJako_") + QString::fromLatin1(name.c_str()));
        again->setCheckable(true);
        again->setData(i);
        encodingGroup_->addAction(again);
        connect(again, &QAction::triggered, this, [this, encoding] {
            RunCommand([this, encoding] { ReopenAs(*RequireCurrentDocument(), encoding); });
        });
        QAction* into = Item(convert, "", TitleOf(encoding), nullptr, nullptr);
        into->setObjectName(QStringLiteral("miKonwertujNa_") + QString::fromLatin1(name.c_str()));
        into->setData(i);
        connect(into, &QAction::triggered, this, [this, encoding] {
            RunCommand([this, encoding] { ConvertTo(*RequireCurrentDocument(), encoding); });
        });
    }
}

void TOstrel3Main::UpdateEncodingItems()
{
    const TDocumentPage* document = CurrentDocument();
    if (!document)
        return;
    const TOstEncoding current = document->Editor().Encoding();
    for (QAction* action : encodingGroup_->actions())
        action->setChecked(action->data().toInt() == static_cast<int>(current));
    encodingPanel_->setText(TitleOf(current));
    // The code pages' recodings have nothing to do in UTF-8.
    const bool codePage = !HoldsUtf8(current);
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miPrzekodujNaISO1")), codePage);
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miPrzekodujNaWindows1")), codePage);
}

QString TOstrel3Main::EncodingPanelText() const
{
    return encodingPanel_->text();
}

// A document with its file reads the file's bytes again; one without reads
// the bytes it holds as the other encoding.
void TOstrel3Main::ReopenAs(TDocumentPage& document, TOstEncoding encoding)
{
    TOstEdit& editor = document.Editor();
    if (editor.Modified() && document.HasExistingFile() &&
        dialogs_->Question(this, res::kReopenModified, false) != TAnswer::Yes)
        return;
    const TWaitCursor wait;
    if (document.HasExistingFile()) {
        const TBufferCoord caret = editor.CaretXY();
        try {
            editor.Lines().LoadFromFile(document.NativePath(), TOstEncodingChoice{encoding, DefaultEncoding});
        } catch (const std::exception&) {
            dialogs_->Error(this, res::kLoadError);
            return;
        }
        editor.SetModified(false);
        editor.SetCaretXY(caret);
        RecordDiskState(document, document.Path());
    } else {
        editor.Lines().SetEncoding(encoding);
        editor.InvalidateAll();
    }
    UpdateModifiedState(editor.Modified());
    UpdateEncodingItems();
}

void TOstrel3Main::ConvertTo(TDocumentPage& document, TOstEncoding encoding)
{
    TOstEdit& editor = document.Editor();
    if (editor.Encoding() == encoding)
        return;
    size_t failed = 0;
    const TWaitCursor wait;
    if (!editor.ConvertEncoding(encoding, &failed)) {
        const std::string text = editor.Text();
        const size_t end = editor.Lines().Chars().Next(text, failed);
        const std::string character = ToUtf8(std::string_view(text).substr(failed, end - failed), editor.Encoding());
        dialogs_->Error(this, res::kCannotConvert.arg(TitleOf(encoding), QString::fromStdString(character)));
        return;
    }
    UpdateModifiedState(editor.Modified());
    UpdateEncodingItems();
}

bool TOstrel3Main::OfferUtf8(TOstEdit& editor, std::string_view utf8)
{
    std::string unused;
    const size_t at = FromUtf8(utf8, editor.Encoding(), unused);
    const QString message = res::kOfferUtf8.arg(TitleOf(editor.Encoding()), CharacterAt(utf8, at));
    if (dialogs_->Question(this, message, false) != TAnswer::Yes)
        return false;
    if (!editor.ConvertEncoding(TOstEncoding::Utf8))
        return false;
    UpdateModifiedState(editor.Modified());
    UpdateEncodingItems();
    return true;
}

}  // namespace ostrel
