#pragma once
// The configuration window's system integration: the program as the opener
// of plain-text files or the editor of HTML files, the plain-text default
// given back, and the "Ostrel3" shortcuts in the application menu, in the
// file manager's scripts menu and among the programs started at log-in.
//
// The registry values are written as the program has always written them;
// on this desktop the association is also made real in the user's
// mimeapps.list (other lines of that file stay as they are) through a
// hidden desktop entry of our own, and a shortcut is a desktop entry
// "Ostrel3.desktop" (a small launcher script in the scripts folder). The
// folders come from the "Shell Folders" values; where a value is missing or
// empty the XDG folder of the same purpose stands in for it. XDG_CONFIG_HOME
// and XDG_DATA_HOME are respected.

#include <QString>
#include <string>

class QWidget;

namespace ostrel {

class TRegistry;
class TDialogs;

// The "Shell Folders" value a shortcut's folder is read from.
enum class TShortcutFolder { Programs, SendTo, Startup };

class TShellIntegration {
public:
    // programPath is the program's full path; empty means this process's
    // executable. Messages are shown through dialogs, owned by owner.
    TShellIntegration(TRegistry& registry, TDialogs& dialogs, QWidget* owner, QString programPath = {});

    // "Ustaw Ostrel jako domyślny program do plików tekstowych (*.txt)".
    void UseOstrelForText();
    // "Ustaw Notatnik jako domyślny program do plików tekstowych (*.txt)":
    // gives plain text back to what opened it before the program took it
    // over, or to the desktop's own choice when nothing did.
    void UseNotepadForText();
    // "Ustaw Ostrel jako domyślny edytor plików HTML".
    void UseOstrelForHtml();

    // "Utwórz skrót" of the Start-menu and the "Wyślij do" groups, with the
    // message; a shortcut that cannot be written is reported as an error.
    void CreateShortcut(TShortcutFolder folder);
    // "Usuń skrót" of those groups, with its message.
    void RemoveShortcut(TShortcutFolder folder);

    // The Startup box: the shortcut with "-h" made or removed without a
    // message (a shortcut that cannot be written is still reported).
    void SetAutostart(bool on);
    // Whether the box shows checked: the Startup shortcut exists.
    bool AutostartExists() const;

    // Where things go; for the tests and for anyone who wants to show them.
    QString Folder(TShortcutFolder folder) const;
    QString ShortcutPath(TShortcutFolder folder) const;
    static QString MimeAppsListPath();
    static QString AssociationEntryPath();
    const QString& ProgramPath() const { return programPath_; }

private:
    bool WriteShortcut(TShortcutFolder folder);
    void WriteAssociationEntry() const;
    QString OpenCommand() const;
    void SetClassesRootCommand(const char* key, const std::string& value, bool expand);

    TRegistry& registry_;
    TDialogs& dialogs_;
    QWidget* owner_;
    QString programPath_;
};

}  // namespace ostrel
