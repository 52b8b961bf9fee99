#pragma once
// One document: a tab page of the main window holding exactly one editor,
// with the document's file path and its highlighter.

#include <QString>
#include <QWidget>

#include "editor/OstEdit.h"
#include "platform/FileStamp.h"

namespace ostrel {

class TOstEditWidget;

class TDocumentPage : public QWidget {
    Q_OBJECT

public:
    explicit TDocumentPage(QWidget* parent = nullptr);
    ~TDocumentPage() override;

    TOstEditWidget& EditWidget() const { return *editWidget_; }
    TOstEdit& Editor() const;

    // The full path of the document's file; empty while it has none.
    const QString& Path() const { return path_; }
    void SetPath(const QString& path) { path_ = path; }
    // The path as the file system takes it.
    std::string NativePath() const;
    // Whether the path names an existing file.
    bool HasExistingFile() const;

    // The file as this document last read or wrote it, and the change on
    // disk the user was last asked about.
    const TFileStamp& DiskStamp() const { return diskStamp_; }
    void SetDiskStamp(const TFileStamp& stamp) { diskStamp_ = stamp; }
    const TFileStamp& ChangeAskedAbout() const { return changeAskedAbout_; }
    void SetChangeAskedAbout(const TFileStamp& stamp) { changeAskedAbout_ = stamp; }

    // One of the main window's shared instances, or none.
    TOstCustomHighlighter* Highlighter() const;
    void SetHighlighter(TOstCustomHighlighter* highlighter);

signals:
    // The editor reported a status change (caret, modified flag, ...).
    void StatusChanged(int changes);

private:
    TOstEditWidget* editWidget_;  // owned by this page
    QString path_;
    TFileStamp diskStamp_;
    TFileStamp changeAskedAbout_;
};

}  // namespace ostrel
