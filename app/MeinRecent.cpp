// The main window's recent-files list: "Ostatnio otwierane" in the "&Plik"
// menu, kept in the subkey "MRU" of the settings key.

#include <QAction>
#include <QFileInfo>

#include "app/AppErrors.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"

namespace ostrel {

void TOstrel3Main::SetUpRecentFiles()
{
    mflMRU1 = std::make_unique<TMRUFileList>();
    mflMRU1->setObjectName(QStringLiteral("mflMRU1"));
    mflMRU1->BeginUpdate();
    mflMRU1->SetMaximum(10);
    mflMRU1->SetRemoveOnClick(false);
    mflMRU1->SetUseSubmenu(true);
    mflMRU1->SetInsertSeparator(false);
    mflMRU1->SetSubmenuName(res::kRecentFilesMenu);
    mflMRU1->SetClearItemName(res::kRecentFilesClear);
    mflMRU1->SetRemoveObsoleteName(res::kRecentFilesRemoveMissing);
    mflMRU1->SetAutoSaveName(QStringLiteral("\\Software\\Kalvenor\\Ostrel"));
    mflMRU1->SetAutoSaveKey(QStringLiteral("MRU"));
    mflMRU1->SetMaxCaptionWidth(257);
    mflMRU1->SetFileMenu(findChild<QAction*>(QStringLiteral("miSeparator1")));
    mflMRU1->OnMRUItemClick = [this](TMRUFileList&, const QString& path) {
        RunCommand([this, path] { mflMRU1MRUItemClick(path); });
    };
    // The list is saved as the window goes, when no window may own a message.
    mflMRU1->OnSaveFailed = [this](const std::exception& error) {
        dialogs_->Error(nullptr, ProgramErrorText(error));
    };
    mflMRU1->EndUpdate();
    RunCommand([this] { mflMRU1->Loaded(); });
}

void TOstrel3Main::mflMRU1MRUItemClick(const QString& path)
{
    if (QFileInfo(path).isFile()) {
        OpenDocument(path);
        return;
    }
    dialogs_->Error(this, res::kFileNotFound);
    mflMRU1->RemoveObsoleteItems();
}

}  // namespace ostrel
