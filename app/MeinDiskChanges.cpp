// Files changed, replaced or removed by other programs while they are open:
// watched with QFileSystemWatcher, and looked at again every few seconds and
// whenever the window comes to the front, since a watch is lost when a file
// is renamed over (as version control and deploy scripts do).

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QScopedValueRollback>
#include <QTimer>

#include "app/Document.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/UiGuards.h"

namespace ostrel {

namespace {

constexpr int kCheckDelayMs = 200;
constexpr int kPollIntervalMs = 2000;

// The lines joined with LF and no break after the last: the editor reads
// them back as exactly these lines.
std::string JoinedLines(const TOstEditStringList& lines)
{
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines.Get(i);
    }
    return text;
}

// Everything the user sees of the view, put back after the text changed
// under it as far as it still exists.
struct TViewPlace {
    explicit TViewPlace(const TOstEdit& editor)
        : caret(editor.CaretXY()), blockBegin(editor.RawBlockBegin()), blockEnd(editor.RawBlockEnd()),
          topLine(editor.TopLine())
    {
    }
    void RestoreTo(TOstEdit& editor) const
    {
        const int lines = std::max(editor.Lines().Count(), 1);
        const auto clamp = [lines](TBufferCoord p) { return TBufferCoord{p.Char, std::min(p.Line, lines)}; };
        editor.SetCaretXY(clamp(caret));
        editor.SetBlockBegin(clamp(blockBegin));
        editor.SetBlockEnd(clamp(blockEnd));
        editor.SetTopLine(std::min(topLine, lines));
    }
    TBufferCoord caret;
    TBufferCoord blockBegin;
    TBufferCoord blockEnd;
    int topLine;
};

}  // namespace

void TOstrel3Main::SetUpDiskWatch()
{
    diskWatcher_ = new QFileSystemWatcher(this);
    diskCheck_ = new QTimer(this);
    diskCheck_->setSingleShot(true);
    diskCheck_->setInterval(kCheckDelayMs);
    diskPoll_ = new QTimer(this);
    diskPoll_->setInterval(kPollIntervalMs);
    connect(diskWatcher_, &QFileSystemWatcher::fileChanged, diskCheck_, qOverload<>(&QTimer::start));
    connect(diskCheck_, &QTimer::timeout, this, [this] { RunCommand(&TOstrel3Main::CheckDiskChanges); });
    connect(diskPoll_, &QTimer::timeout, this, [this] { RunCommand(&TOstrel3Main::CheckDiskChanges); });
    diskPoll_->start();
}

void TOstrel3Main::RecordDiskState(TDocumentPage& document, const QString& path)
{
    document.SetDiskStamp(StampFile(QFile::encodeName(path).toStdString()));
    document.SetChangeAskedAbout(document.DiskStamp());
    WatchDocumentFiles();
}

void TOstrel3Main::WatchDocumentFiles()
{
    if (!diskWatcher_)
        return;
    QStringList wanted;
    for (int i = 0; i < DocumentCount(); ++i)
        if (const QString& path = DocumentAt(i)->Path(); !path.isEmpty() && QFileInfo::exists(path))
            wanted << path;
    // A path whose file was renamed over still shows as watched, but its
    // watch went with the old file: every path is watched afresh.
    if (const QStringList watched = diskWatcher_->files(); !watched.isEmpty())
        diskWatcher_->removePaths(watched);
    if (!wanted.isEmpty())
        diskWatcher_->addPaths(wanted);
}

void TOstrel3Main::CheckDiskChanges()
{
    // A question asked here runs its own event loop, whose timers come back.
    if (checkingDisk_)
        return;
    const QScopedValueRollback checking(checkingDisk_, true);
    for (int i = 0; i < DocumentCount(); ++i)
        if (!DocumentAt(i)->Path().isEmpty())
            CheckDiskChange(*DocumentAt(i));
    WatchDocumentFiles();
}

void TOstrel3Main::CheckDiskChange(TDocumentPage& document)
{
    const TFileStamp recorded = document.DiskStamp();
    TFileStamp now;
    if (!ChangedSince(recorded, document.NativePath(), now)) {
        document.SetDiskStamp(now);  // touched, or the same bytes again
        return;
    }
    TOstEdit& editor = document.Editor();
    if (!now.exists) {
        // Said once: the text now exists only in the editor.
        document.SetDiskStamp(now);
        document.SetChangeAskedAbout(now);
        editor.SetModified(true);
        if (&document == CurrentDocument())
            UpdateModifiedState(true);
        ShowApplicationHint(res::kGoneFromDisk.arg(document.Path()));
        return;
    }
    if (!editor.Modified()) {
        ReloadFromDisk(document);
        ShowApplicationHint(res::kReloadedFromDisk.arg(document.Path()));
        return;
    }
    if (now.LooksLike(document.ChangeAskedAbout()))
        return;
    document.SetChangeAskedAbout(now);
    if (dialogs_->Question(this, res::kChangedOnDisk.arg(document.Path()), false) == TAnswer::Yes) {
        ReloadFromDisk(document);
        ShowApplicationHint(res::kReloadedFromDisk.arg(document.Path()));
    }
}

// The new text replaces the old as one undo step, with the caret, the
// selection and the top line kept where they still exist.
void TOstrel3Main::ReloadFromDisk(TDocumentPage& document)
{
    TOstEdit& editor = document.Editor();
    const TWaitCursor wait;
    TOstEditStringList fresh;
    try {
        fresh.LoadFromFile(document.NativePath(), TOstEncodingChoice{std::nullopt, DefaultEncoding});
    } catch (const std::exception&) {
        dialogs_->Error(this, res::kLoadError);
        return;
    }
    const TViewPlace place(editor);
    if (fresh.Encoding() == editor.Encoding()) {
        const TOstEditorOptions options = editor.Options();
        const TOstSelectionMode mode = editor.SelectionMode();
        // The text goes in exactly as it is on disk, trailing blanks and all.
        TOstEditorOptions exact = options;
        exact.exclude(eoTrimTrailingSpaces);
        editor.SetOptions(exact);
        editor.SetSelectionMode(smNormal);
        editor.SelectAll();
        editor.SetSelText(JoinedLines(fresh));
        editor.SetSelectionMode(mode);
        editor.SetOptions(options);
        editor.Lines().SetLineBreakStyle(fresh.LineBreakStyle());
    } else {
        // Text in another encoding cannot share an undo list with the old.
        editor.Lines().LoadFromFile(document.NativePath(), TOstEncodingChoice{fresh.Encoding(), DefaultEncoding});
        editor.UndoList().Clear();
    }
    place.RestoreTo(editor);
    editor.SetModified(false);
    RecordDiskState(document, document.Path());
    if (&document == CurrentDocument()) {
        UpdateModifiedState(false);
        UpdateEncodingItems();
        UpdateCaretPanel();
    }
}

bool TOstrel3Main::MaySaveOver(TDocumentPage& document, const QString& path)
{
    if (path != document.Path() || !document.DiskStamp().exists)
        return true;
    TFileStamp now;
    if (!ChangedSince(document.DiskStamp(), document.NativePath(), now) || !now.exists)
        return true;
    return dialogs_->Question(this, res::kSaveOverChange.arg(path), false) == TAnswer::Yes;
}

}  // namespace ostrel
