#pragma once
// The recent-files list: paths of files opened lately, shown as numbered
// items in a menu (and optionally a popup menu) and kept in the registry
// store or an INI file between runs.

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>


namespace ostrel {

class TMRUFileList;

// The width of a caption in pixels, as the menu would draw it.
using TTextWidth = std::function<int(const QString& text)>;

// The accelerator of the entry at a position from 0: "&1 " to "&9 ", "&0 ",
// then "&A " to "&Z "; none from the 37th entry on.
QString MRUAcceleratorPrefix(int index);
// Drops the first folder of a folder path that ends with "/", leaving
// ".../" where folders were cut: "/a/b/c/" becomes "/.../b/c/".
QString CutFirstDirectory(const QString& folder);
// Shortens a path by cutting folders after its start, then the start itself,
// until width says it fits into maxWidth or only the file name is left.
QString MinimizeName(const QString& path, int maxWidth, const TTextWidth& width);

// The path as the registry store keeps it, and back. The store holds
// Windows-1250 text; a path that the code page cannot hold is kept as a
// file URL, so it comes back unchanged.
std::string StoredMRUPath(const QString& path);
QString MRUPathFromStored(const std::string& stored);

// An item this list put into a menu: an entry, or the submenu, a separator,
// the clear or the remove-missing item.
class TMRUMenuItem : public QAction {
    Q_OBJECT

public:
    TMRUMenuItem(TMRUFileList& owner, QObject* parent);
    ~TMRUMenuItem() override;

    TMRUFileList* Owner() const { return owner_; }
    // The entry's caption before shortening: prefix and path.
    QString FullCaption;
    // The entry's position in the list plus 1; 0 for the other items.
    int ItemNumber = 0;
    // The submenu this item opens, destroyed with the item.
    void SetSubmenu(QMenu* submenu);

private:
    QPointer<TMRUFileList> owner_;
    QPointer<QMenu> submenu_;
};

enum TMRUDisplay { mdFullPath, mdFileNameExt, mdFileNameOnly, mdCustom };
enum TAutoSaveRootKey { rkClassesRoot, rkCurrentUser, rkLocalMachine, rkUsers, rkCurrentConfig, rkDynData };

class TMRUFileList : public QObject {
    Q_OBJECT

public:
    explicit TMRUFileList(QObject* parent = nullptr);
    // Saves the list when AutoSave is on; a failure goes to OnSaveFailed.
    ~TMRUFileList() override;

    // The properties are set; with AutoSave the stored list is read now.
    void Loaded();

    // ---- properties -------------------------------------------------------------
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool on) { useRegistry_ = on; }
    bool AddToTop() const { return addToTop_; }
    void SetAddToTop(bool on) { addToTop_ = on; }
    int Maximum() const { return maximum_; }
    void SetMaximum(int maximum);  // 0 to 255
    bool RemoveOnClick() const { return removeOnClick_; }
    void SetRemoveOnClick(bool on) { removeOnClick_ = on; }
    bool UseSubmenu() const { return useSubmenu_; }
    void SetUseSubmenu(bool on);
    bool InsertSeparator() const { return insertSeparator_; }
    void SetInsertSeparator(bool on);
    const QString& SubmenuName() const { return submenuName_; }
    void SetSubmenuName(const QString& name);
    const QString& ClearItemName() const { return clearItemName_; }
    void SetClearItemName(const QString& name);
    bool ShowClearItem() const { return showClearItem_; }
    void SetShowClearItem(bool on) { showClearItem_ = on; }
    const QString& RemoveObsoleteName() const { return removeObsoleteName_; }
    void SetRemoveObsoleteName(const QString& name);
    bool ShowRemoveObsolete() const { return showRemoveObsolete_; }
    void SetShowRemoveObsolete(bool on) { showRemoveObsolete_ = on; }
    // The anchor in the file menu: entries go just before it, or at the end
    // of its submenu when it has one.
    QAction* FileMenu() const { return fileMenu_; }
    void SetFileMenu(QAction* anchor);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);
    bool AutoSave() const { return autoSave_; }
    void SetAutoSave(bool on) { autoSave_ = on; }
    const QString& AutoSaveName() const { return autoSaveName_; }
    void SetAutoSaveName(const QString& name);
    const QString& AutoSaveKey() const { return autoSaveKey_; }
    void SetAutoSaveKey(const QString& key);
    TAutoSaveRootKey AutoSaveRootKey() const { return autoSaveRootKey_; }
    void SetAutoSaveRootKey(TAutoSaveRootKey root);
    int MaxCaptionWidth() const { return maxCaptionWidth_; }
    void SetMaxCaptionWidth(int width);
    TMRUDisplay MRUDisplay() const { return mruDisplay_; }
    void SetMRUDisplay(TMRUDisplay display);

    // The registry store's file; the user's own unless set.
    std::filesystem::path RegistryFile;
    // Measures captions for shortening; the menu font unless set.
    TTextWidth CaptionWidth;

    // ---- events ---------------------------------------------------------------------
    std::function<void(TMRUFileList& sender, const QString& fileName)> OnMRUItemClick;
    std::function<void(TMRUFileList& sender, const QString& entry, bool& remove)> OnRemoveObsolete;
    std::function<void(TMRUFileList& sender, const QString& fileName, QString& displayName)> OnGetDisplayName;
    std::function<void(TMRUFileList& sender, TMRUMenuItem& item)> OnCreateMRUItem;
    std::function<void(TMRUFileList& sender, TMRUMenuItem& item)> OnDestroyMRUItem;
    // Saving at destruction cannot throw; its failure is handed here.
    std::function<void(const std::exception& error)> OnSaveFailed;

    // ---- operations -----------------------------------------------------------------
    const QStringList& Items() const { return items_; }
    void AddItem(const QString& path);
    void ClearAllItems();
    void RemoveObsoleteItems();
    void PopulateMenu();
    void RemoveMenuItems();
    void LoadList();
    void SaveList();
    // Changes between the two rebuild no menu; EndUpdate rebuilds it once.
    void BeginUpdate() { ++updateLock_; }
    void EndUpdate();

    // An entry's item was chosen.
    void ItemClicked(const TMRUMenuItem& item);
    void ItemDestroyed(TMRUMenuItem& item);

private:
    struct TPlace {
        QMenu* menu = nullptr;
        QAction* before = nullptr;  // insert before this, or at the end
    };
    TPlace FileMenuPlace() const;
    TMRUMenuItem* NewItem(QMenu* menu, QAction* before, const QString& caption, QObject* parent);
    void AddEntries(QMenu* menu, QAction* before, QObject* parent);
    void AddCommandItems(QMenu* menu, QAction* before, QObject* parent);
    QString EntryCaption(int index, const QString& fullCaption);
    void RemoveItemsOf(QMenu* menu);
    void TrimToMaximum();
    void Reload();
    void RebuildIfLoaded();
    bool SameFile(const QString& a, const QString& b) const;
    int IndexOf(const QString& path) const;
    bool StorageNamed() const { return !autoSaveName_.isEmpty() && !autoSaveKey_.isEmpty(); }
    QStringList ReadRegistry();
    void WriteRegistry();
    QStringList ReadIni() const;
    void WriteIni() const;

    QStringList items_;
    int updateLock_ = 0;
    bool loaded_ = false;

    bool useRegistry_ = true;
    bool addToTop_ = true;
    int maximum_ = 5;
    bool removeOnClick_ = true;
    bool useSubmenu_ = false;
    bool insertSeparator_ = true;
    QString submenuName_ = QStringLiteral("Reopen");
    QString clearItemName_ = QStringLiteral("&Clear MRU List");
    bool showClearItem_ = true;
    QString removeObsoleteName_ = QStringLiteral("&Remove Obsolete");
    bool showRemoveObsolete_ = true;
    QPointer<QAction> fileMenu_;
    QPointer<QMenu> popupMenu_;
    bool autoSave_ = true;
    QString autoSaveName_ = QStringLiteral("\\Software\\My Application");
    QString autoSaveKey_ = QStringLiteral("MRU Items");
    TAutoSaveRootKey autoSaveRootKey_ = rkCurrentUser;
    int maxCaptionWidth_ = 200;
    TMRUDisplay mruDisplay_ = mdFullPath;
};

}  // namespace ostrel
