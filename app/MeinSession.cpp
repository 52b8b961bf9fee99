// The session: the documents open at the end, with their carets and the
// current tab, reopened at the next start. Untitled documents have no file
// to reopen; their text lives on only through the recovery journal.

#include <algorithm>
#include <cstdio>

#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

#include "app/Document.h"
#include "app/Mein.h"
#include "platform/OstRegistry.h"

namespace ostrel {

namespace {

const std::string kSessionKey = std::string(kOstrelSettingsKey) + "\\Session";
// A damaged count must not make the start loop for ever.
constexpr int kMostSessionDocuments = 1000;

std::string Numbered(const char* name, size_t index) { return name + std::to_string(index); }

}  // namespace

TOstrel3Main::TSession TOstrel3Main::CurrentSession() const
{
    TSession session;
    for (int i = 0; i < DocumentCount(); ++i) {
        const TDocumentPage& document = *DocumentAt(i);
        if (document.Path().isEmpty())
            continue;
        if (i == pcEdytory1->currentIndex())
            session.current = static_cast<int>(session.documents.size());
        session.documents.push_back({document.Path(), document.Editor().CaretX(), document.Editor().CaretY()});
    }
    return session;
}

void TOstrel3Main::SaveSession(const TSession& session)
{
    TRegistry reg;
    reg.SetLazyWrite(true);
    reg.DeleteKey(kSessionKey);
    if (RestoreSession && !session.documents.empty()) {
        reg.OpenKey(kSessionKey, true);
        reg.WriteInteger("Count", static_cast<int32_t>(session.documents.size()));
        reg.WriteInteger("Current", session.current);
        for (size_t i = 0; i < session.documents.size(); ++i) {
            const TSessionDocument& document = session.documents[i];
            reg.WriteString(Numbered("File", i), document.path.toStdString());
            reg.WriteString(Numbered("Caret", i),
                            std::to_string(document.caretX) + ':' + std::to_string(document.caretY));
        }
    }
    reg.Flush();
}

// Files that are gone by now are left out without a word; one that is
// already open (restored after a crash) is not opened twice.
bool TOstrel3Main::ReopenSession()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(kSessionKey) || !reg.ValueExists("Count"))
        return false;
    const int count = std::clamp(reg.ReadInteger("Count"), 0, kMostSessionDocuments);
    const int current = reg.ValueExists("Current") ? reg.ReadInteger("Current") : 0;
    TDocumentPage* currentDocument = nullptr;
    for (int i = 0; i < count; ++i) {
        const std::string fileName = Numbered("File", static_cast<size_t>(i));
        if (!reg.ValueExists(fileName))
            continue;
        const QString path = QString::fromStdString(reg.ReadString(fileName));
        if (!QFileInfo(path).isFile() || DocumentPaths().contains(QFileInfo(path).absoluteFilePath()))
            continue;
        OpenDocument(path);
        TDocumentPage* document = CurrentDocument();
        if (!document || document->Path() != QFileInfo(path).absoluteFilePath())
            continue;
        int x = 1, y = 1;
        const std::string caretName = Numbered("Caret", static_cast<size_t>(i));
        if (reg.ValueExists(caretName) &&
            std::sscanf(reg.ReadString(caretName).c_str(), "%d:%d", &x, &y) == 2 && x > 0 && y > 0)
            document->Editor().SetCaretXY({x, y});
        if (i == current)
            currentDocument = document;
    }
    if (currentDocument) {
        pcEdytory1->setCurrentWidget(currentDocument);
        pcEdytory1Change();
    }
    return DocumentCount() > 0;
}

}  // namespace ostrel
