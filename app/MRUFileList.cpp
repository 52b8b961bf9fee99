#include "app/MRUFileList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QSettings>
#include <QUrl>
#include <algorithm>
#include <system_error>

#include "app/qt/KeyTranslation.h"
#include "platform/OstRegistry.h"

namespace ostrel {

namespace {

const QString kSeparator = QStringLiteral("/");
const QString kCutMark = QStringLiteral(".../");
const QString kCutFolder = QStringLiteral("/.../");
const QString kStoredUrlScheme = QStringLiteral("file://");

// "&" in a path would otherwise turn the next letter into an access key.
QString EscapeAmpersands(QString text) { return text.replace(u'&', QStringLiteral("&&")); }

THKey RegistryRoot(TAutoSaveRootKey root)
{
    switch (root) {
    case rkClassesRoot: return HKEY_CLASSES_ROOT;
    case rkLocalMachine: return HKEY_LOCAL_MACHINE;
    case rkUsers: return HKEY_USERS;
    case rkCurrentConfig: return HKEY_CURRENT_CONFIG;
    case rkDynData: throw ERegistryException("The registry root of dynamic data does not exist here");
    case rkCurrentUser: break;
    }
    return HKEY_CURRENT_USER;
}

std::string KeyName(const QString& name)
{
    const std::string key = ToAnsi(name);
    return key.starts_with('\\') ? key : '\\' + key;
}

// The INI file: the name as given when absolute, else in the program's
// configuration folder beside the registry store.
QString IniFilePath(const QString& name, const std::filesystem::path& registryFile)
{
    if (QFileInfo(name).isAbsolute())
        return name;
    return QDir(QString::fromStdString(registryFile.parent_path().string())).filePath(name);
}

int MenuFontWidth(const QString& text) { return QFontMetrics(QApplication::font("QMenu")).horizontalAdvance(text); }

}  // namespace

QString MRUAcceleratorPrefix(int index)
{
    static const QString kKeys = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    if (index < 0 || index >= kKeys.size())
        return {};
    return u'&' + kKeys.at(index) + u' ';
}

QString CutFirstDirectory(const QString& folder)
{
    if (folder == kSeparator)
        return {};
    QString rest = folder;
    const bool rooted = rest.startsWith(kSeparator);
    if (rooted)
        rest.remove(0, 1);
    // Only the mark of an earlier cut is skipped; a folder whose own name
    // begins with a dot is a folder like any other.
    if (rest.startsWith(kCutMark))
        rest.remove(0, kCutMark.size());
    const qsizetype slash = rest.indexOf(kSeparator);
    rest = slash >= 0 ? kCutMark + rest.mid(slash + 1) : QString();
    return rooted ? kSeparator + rest : rest;
}

QString MinimizeName(const QString& path, int maxWidth, const TTextWidth& width)
{
    QString result = path;
    const qsizetype nameStart = path.lastIndexOf(kSeparator) + 1;
    QString folder = path.left(nameStart);
    const QString name = path.mid(nameStart);
    QString drive;
    if (folder.size() >= 2 && folder.at(1) == u':') {
        drive = folder.left(2);
        folder.remove(0, 2);
    }
    while ((!folder.isEmpty() || !drive.isEmpty()) && width(result) > maxWidth) {
        if (folder == kCutFolder) {
            drive.clear();
            folder = kCutMark;
        } else if (folder.isEmpty()) {
            drive.clear();
        } else {
            folder = CutFirstDirectory(folder);
        }
        result = drive + folder + name;
    }
    return result;
}

std::string StoredMRUPath(const QString& path)
{
    std::string ansi = ToAnsi(path);
    if (FromAnsi(ansi) == path)
        return ansi;
    return QUrl::fromLocalFile(path).toEncoded().toStdString();
}

QString MRUPathFromStored(const std::string& stored)
{
    const QString text = FromAnsi(stored);
    if (text.startsWith(kStoredUrlScheme))
        return QUrl::fromEncoded(QByteArray::fromStdString(stored)).toLocalFile();
    return text;
}

// ---- TMRUMenuItem -------------------------------------------------------------

TMRUMenuItem::TMRUMenuItem(TMRUFileList& owner, QObject* parent) : QAction(parent), owner_(&owner) {}

TMRUMenuItem::~TMRUMenuItem()
{
    if (owner_)
        owner_->ItemDestroyed(*this);
    delete submenu_.data();
}

void TMRUMenuItem::SetSubmenu(QMenu* submenu)
{
    submenu_ = submenu;
    setMenu(submenu);
}

// ---- TMRUFileList ---------------------------------------------------------------

TMRUFileList::TMRUFileList(QObject* parent) : QObject(parent), RegistryFile(DefaultRegistryFile()), CaptionWidth(MenuFontWidth)
{
}

TMRUFileList::~TMRUFileList()
{
    if (!autoSave_ || !loaded_)
        return;
    try {
        SaveList();
    } catch (const std::exception& error) {
        if (OnSaveFailed)
            OnSaveFailed(error);
    }
}

void TMRUFileList::Loaded()
{
    loaded_ = true;
    if (autoSave_)
        LoadList();
}

void TMRUFileList::SetMaximum(int maximum)
{
    maximum_ = std::clamp(maximum, 0, 255);
    TrimToMaximum();
    PopulateMenu();
}

void TMRUFileList::SetUseSubmenu(bool on)
{
    useSubmenu_ = on;
    PopulateMenu();
}

void TMRUFileList::SetInsertSeparator(bool on)
{
    insertSeparator_ = on;
    PopulateMenu();
}

void TMRUFileList::SetSubmenuName(const QString& name)
{
    submenuName_ = name;
    if (useSubmenu_)
        PopulateMenu();
}

void TMRUFileList::SetClearItemName(const QString& name)
{
    clearItemName_ = name;
    PopulateMenu();
}

void TMRUFileList::SetRemoveObsoleteName(const QString& name)
{
    removeObsoleteName_ = name;
    PopulateMenu();
}

void TMRUFileList::SetFileMenu(QAction* anchor)
{
    RemoveMenuItems();
    fileMenu_ = anchor;
    PopulateMenu();
}

void TMRUFileList::SetPopupMenu(QMenu* menu)
{
    RemoveMenuItems();
    popupMenu_ = menu;
    PopulateMenu();
}

void TMRUFileList::SetMaxCaptionWidth(int width)
{
    maxCaptionWidth_ = width;
    PopulateMenu();
}

void TMRUFileList::SetAutoSaveName(const QString& name)
{
    autoSaveName_ = name;
    Reload();
}

void TMRUFileList::SetAutoSaveKey(const QString& key)
{
    autoSaveKey_ = key;
    Reload();
}

void TMRUFileList::SetAutoSaveRootKey(TAutoSaveRootKey root)
{
    autoSaveRootKey_ = root;
    Reload();
}

void TMRUFileList::SetMRUDisplay(TMRUDisplay display)
{
    mruDisplay_ = display;
    Reload();
    PopulateMenu();
}

void TMRUFileList::Reload()
{
    if (loaded_ && autoSave_)
        LoadList();
}

void TMRUFileList::EndUpdate()
{
    if (updateLock_ > 0 && --updateLock_ == 0)
        PopulateMenu();
}

// Names differing only in letter case are one entry where they name one
// file (a case-blind file system); elsewhere they are two files.
bool TMRUFileList::SameFile(const QString& a, const QString& b) const
{
    if (a == b)
        return true;
    if (a.compare(b, Qt::CaseInsensitive) != 0)
        return false;
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(),
                                       error);
}

int TMRUFileList::IndexOf(const QString& path) const
{
    for (int i = 0; i < items_.size(); ++i)
        if (SameFile(items_.at(i), path))
            return i;
    return -1;
}

void TMRUFileList::TrimToMaximum()
{
    while (items_.size() > maximum_) {
        if (addToTop_)
            items_.removeLast();
        else
            items_.removeFirst();
    }
}

void TMRUFileList::AddItem(const QString& path)
{
    const int found = IndexOf(path);
    if (found < 0) {
        if (addToTop_)
            items_.prepend(path);
        else
            items_.append(path);
        TrimToMaximum();
    } else {
        items_.move(found, addToTop_ ? 0 : items_.size() - 1);
    }
    if (updateLock_ == 0)
        PopulateMenu();
}

void TMRUFileList::ClearAllItems()
{
    RemoveMenuItems();
    items_.clear();
}

void TMRUFileList::RemoveObsoleteItems()
{
    bool removed = false;
    for (int i = items_.size() - 1; i >= 0; --i) {
        bool remove = !QFileInfo(items_.at(i)).isFile();
        if (OnRemoveObsolete)
            OnRemoveObsolete(*this, items_.at(i), remove);
        if (remove) {
            items_.removeAt(i);
            removed = true;
        }
    }
    if (removed)
        PopulateMenu();
}

// ---- menus --------------------------------------------------------------------------

TMRUFileList::TPlace TMRUFileList::FileMenuPlace() const
{
    if (!fileMenu_)
        return {};
    if (QMenu* own = fileMenu_->menu())
        return {own, nullptr};
    for (QObject* holder : fileMenu_->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(holder))
            return {menu, fileMenu_};
    return {};
}

TMRUMenuItem* TMRUFileList::NewItem(QMenu* menu, QAction* before, const QString& caption, QObject* parent)
{
    auto* item = new TMRUMenuItem(*this, parent);
    item->setText(caption);
    menu->insertAction(before, item);
    return item;
}

void TMRUFileList::PopulateMenu()
{
    if (!fileMenu_ && !popupMenu_)
        return;
    RemoveMenuItems();
    if (items_.isEmpty())
        return;
    if (TPlace place = FileMenuPlace(); place.menu) {
        QObject* parent = this;
        if (insertSeparator_)
            NewItem(place.menu, place.before, QString(), this)->setSeparator(true);
        if (useSubmenu_) {
            TMRUMenuItem* holder = NewItem(place.menu, place.before, submenuName_, this);
            auto* submenu = new QMenu(place.menu);
            holder->SetSubmenu(submenu);
            place = {submenu, nullptr};
            parent = submenu;
        }
        AddEntries(place.menu, place.before, parent);
        AddCommandItems(place.menu, place.before, parent);
    }
    if (popupMenu_)
        AddEntries(popupMenu_, popupMenu_->actions().value(0), this);
}

void TMRUFileList::AddEntries(QMenu* menu, QAction* before, QObject* parent)
{
    for (int i = 0; i < items_.size(); ++i) {
        const QString fullCaption = MRUAcceleratorPrefix(i) + items_.at(i);
        TMRUMenuItem* item = NewItem(menu, before, EntryCaption(i, fullCaption), parent);
        item->FullCaption = fullCaption;
        item->ItemNumber = i + 1;
        connect(item, &QAction::triggered, this, [this, item] { ItemClicked(*item); });
        if (OnCreateMRUItem)
            OnCreateMRUItem(*this, *item);
    }
}

void TMRUFileList::AddCommandItems(QMenu* menu, QAction* before, QObject* parent)
{
    if (showClearItem_ || showRemoveObsolete_)
        NewItem(menu, before, QString(), parent)->setSeparator(true);
    if (showClearItem_) {
        const QString caption = clearItemName_.isEmpty() ? QStringLiteral("&Clear MRU List") : clearItemName_;
        connect(NewItem(menu, before, caption, parent), &QAction::triggered, this, [this] { ClearAllItems(); });
    }
    if (showRemoveObsolete_) {
        const QString caption =
            removeObsoleteName_.isEmpty() ? QStringLiteral("&Remove Obsolete") : removeObsoleteName_;
        connect(NewItem(menu, before, caption, parent), &QAction::triggered, this,
                [this] { RemoveObsoleteItems(); });
    }
}

QString TMRUFileList::EntryCaption(int index, const QString& fullCaption)
{
    const QString& path = items_.at(index);
    switch (mruDisplay_) {
    case mdFullPath:
        if (maxCaptionWidth_ == 0)
            return MRUAcceleratorPrefix(index) + EscapeAmpersands(path);
        return MRUAcceleratorPrefix(index) + EscapeAmpersands(MinimizeName(path, maxCaptionWidth_, CaptionWidth));
    case mdFileNameExt:
        return EscapeAmpersands(QFileInfo(path).fileName());
    case mdFileNameOnly:
        return EscapeAmpersands(QFileInfo(path).completeBaseName());
    case mdCustom:
        break;
    }
    QString display = fullCaption;
    if (OnGetDisplayName)
        OnGetDisplayName(*this, path, display);
    return display;
}

// Items leave their menus at once but are destroyed later: the item being
// clicked may be the one that asked for the rebuild.
void TMRUFileList::RemoveItemsOf(QMenu* menu)
{
    const QList<QAction*> actions = menu->actions();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
        auto* item = qobject_cast<TMRUMenuItem*>(*it);
        if (!item || item->Owner() != this)
            continue;
        menu->removeAction(item);
        item->deleteLater();
    }
}

void TMRUFileList::RemoveMenuItems()
{
    if (const TPlace place = FileMenuPlace(); place.menu)
        RemoveItemsOf(place.menu);
    if (popupMenu_)
        RemoveItemsOf(popupMenu_);
}

void TMRUFileList::ItemClicked(const TMRUMenuItem& item)
{
    if (!OnMRUItemClick || item.ItemNumber < 1 || item.ItemNumber > items_.size())
        return;
    const QString path = items_.at(item.ItemNumber - 1);
    if (removeOnClick_) {
        items_.removeAt(item.ItemNumber - 1);
        PopulateMenu();
    }
    OnMRUItemClick(*this, path);
}

void TMRUFileList::ItemDestroyed(TMRUMenuItem& item)
{
    if (OnDestroyMRUItem)
        OnDestroyMRUItem(*this, item);
}

// ---- storage --------------------------------------------------------------------------

void TMRUFileList::LoadList()
{
    ClearAllItems();
    if (!StorageNamed())
        return;
    const QStringList stored = useRegistry_ ? ReadRegistry() : ReadIni();
    for (const QString& path : stored)
        if (!path.isEmpty())
            items_.append(path);
    PopulateMenu();
}

void TMRUFileList::SaveList()
{
    if (!StorageNamed())
        return;
    if (useRegistry_)
        WriteRegistry();
    else
        WriteIni();
}

QStringList TMRUFileList::ReadRegistry()
{
    TRegistry registry(RegistryFile);
    registry.SetRootKey(RegistryRoot(autoSaveRootKey_));
    QStringList paths;
    // Reading never creates keys: a plain start leaves the store untouched.
    const std::string subkey = ToAnsi(autoSaveKey_);
    if (!registry.OpenKeyReadOnly(KeyName(autoSaveName_)) || !registry.KeyExists(subkey) ||
        !registry.OpenKeyReadOnly(subkey))
        return paths;
    for (const std::string& name : registry.GetValueNames())
        if (registry.GetDataType(name) == rdString || registry.GetDataType(name) == rdExpandString)
            paths << MRUPathFromStored(registry.ReadString(name));
    return paths;
}

void TMRUFileList::WriteRegistry()
{
    TRegistry registry(RegistryFile);
    registry.SetLazyWrite(true);
    registry.SetRootKey(RegistryRoot(autoSaveRootKey_));
    registry.OpenKey(KeyName(autoSaveName_), true);
    const std::string subkey = ToAnsi(autoSaveKey_);
    registry.DeleteKey(subkey);
    registry.OpenKey(subkey, true);
    for (int i = 0; i < items_.size(); ++i)
        registry.WriteString("F" + std::to_string(i), StoredMRUPath(items_.at(i)));
    registry.CloseKey();
}

QStringList TMRUFileList::ReadIni() const
{
    QSettings ini(IniFilePath(autoSaveName_, RegistryFile), QSettings::IniFormat);
    ini.beginGroup(autoSaveKey_);
    QStringList paths;
    for (int i = 0; ini.contains(QStringLiteral("F%1").arg(i)); ++i)
        paths << ini.value(QStringLiteral("F%1").arg(i)).toString();
    return paths;
}

void TMRUFileList::WriteIni() const
{
    QSettings ini(IniFilePath(autoSaveName_, RegistryFile), QSettings::IniFormat);
    ini.remove(autoSaveKey_);
    ini.beginGroup(autoSaveKey_);
    for (int i = 0; i < items_.size(); ++i)
        ini.setValue(QStringLiteral("F%1").arg(i), items_.at(i));
    ini.endGroup();
    ini.sync();
    if (ini.status() != QSettings::NoError)
        throw ERegistryException("Failed to write " + IniFilePath(autoSaveName_, RegistryFile).toStdString());
}

}  // namespace ostrel
