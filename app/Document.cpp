#include "app/Document.h"

#include <QFile>
#include <QFileInfo>
#include <QVBoxLayout>

#include "app/qt/OstEditWidget.h"

namespace ostrel {

TDocumentPage::TDocumentPage(QWidget* parent)
    : QWidget(parent), editWidget_(new TOstEditWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editWidget_);
    setFocusProxy(editWidget_);

    // The host widget may listen to the editor too: keep its listener first.
    TOstEdit& editor = Editor();
    editor.OnStatusChange = [this, previous = std::move(editor.OnStatusChange)](TOstStatusChanges changes) {
        if (previous)
            previous(changes);
        emit StatusChanged(changes);
    };
}

TDocumentPage::~TDocumentPage()
{
    // The shared highlighter outlives no document's interest in it.
    Editor().SetHighlighter(nullptr);
}

TOstEdit& TDocumentPage::Editor() const { return editWidget_->Editor(); }

std::string TDocumentPage::NativePath() const { return QFile::encodeName(path_).toStdString(); }

bool TDocumentPage::HasExistingFile() const
{
    if (path_.isEmpty())
        return false;
    const QFileInfo info(path_);
    return info.exists() && info.isFile();
}

TOstCustomHighlighter* TDocumentPage::Highlighter() const { return Editor().Highlighter(); }

void TDocumentPage::SetHighlighter(TOstCustomHighlighter* highlighter)
{
    Editor().SetHighlighter(highlighter);
}

}  // namespace ostrel
