// The main window's FTP upload: the window that collects the connection and
// starts the client, and the clean-up of its script.

#include "app/Document.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/wndFtpUpload.h"

namespace ostrel {

void TOstrel3Main::miWyslijNaFtp1Click()
{
    if (!wndFtpUpload_) {
        wndFtpUpload_ = new TwndFtpUpload(*dialogs_, this);
        connect(wndFtpUpload_, &TwndFtpUpload::UploadFinished, this, &TOstrel3Main::ShowApplicationHint);
    }
    const TDocumentPage* document = RequireCurrentDocument();
    // What is sent is the file on disk, so it must hold what the user sees.
    if (document->Editor().Modified() || !document->HasExistingFile()) {
        dialogs_->Information(this, res::kFtpSaveFirst);
        return;
    }
    wndFtpUpload_->SetFile(document->Path());
    ExecDialog(*wndFtpUpload_);
}

// The script holds a password; whatever no client has taken goes at the end.
void TOstrel3Main::DeleteFtpScript()
{
    if (wndFtpUpload_)
        wndFtpUpload_->DeleteScriptFile();
}

}  // namespace ostrel
