#include "app/ShellIntegration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <stdexcept>

#include "app/Dialogs.h"
#include "app/GlobalRes.h"
#include "app/qt/KeyTranslation.h"
#include "platform/OstRegistry.h"
#include "platform/SafeWrite.h"

namespace ostrel {

namespace {

const char* const kShellFoldersKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kTextOpenKey = "\\txtfile\\shell\\open\\command";
const char* const kHtmlEditKey = "\\htmlfile\\shell\\Edit\\command";
const char* const kNotepadCommand = "%SystemRoot%\\system32\\NOTEPAD.EXE %1";
// What plain text opened with before the program took it over; present
// only while the program holds it, empty when nothing was set.
const std::string kIntegrationKey = std::string(kOstrelSettingsKey) + "\\Integration";
const char* const kPreviousTextOpener = "PlainTextBefore";

const QString kShortcutName = QStringLiteral("Ostrel3.desktop");
const QString kScriptName = QStringLiteral("Ostrel3");
const QString kAssociationId = QStringLiteral("ostrel3-open.desktop");
const QString kDefaultsSection = QStringLiteral("[Default Applications]");
const QString kAddedSection = QStringLiteral("[Added Associations]");
const QString kTextMime = QStringLiteral("text/plain");
const QString kHtmlMime = QStringLiteral("text/html");

QString XdgFolder(const char* variable, const QString& fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::home().filePath(fallbackUnderHome);
}

QString ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")); }
QString DataHome() { return XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")); }

QString DefaultFolder(TShortcutFolder folder)
{
    switch (folder) {
    case TShortcutFolder::Programs: return DataHome() + QStringLiteral("/applications");
    case TShortcutFolder::SendTo: return DataHome() + QStringLiteral("/nautilus/scripts");
    case TShortcutFolder::Startup: return ConfigHome() + QStringLiteral("/autostart");
    }
    return {};
}

const char* ShellFolderValue(TShortcutFolder folder)
{
    switch (folder) {
    case TShortcutFolder::Programs: return "Programs";
    case TShortcutFolder::SendTo: return "SendTo";
    case TShortcutFolder::Startup: return "Startup";
    }
    return "";
}

// A value of a desktop entry: backslashes and line breaks escaped.
QString DesktopValue(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\t', QStringLiteral("\\t"));
    text.replace(u'\r', QStringLiteral("\\r"));
    return text;
}

// The program as the first word of an Exec line: quoted, with the
// characters the quoting reserves escaped and "%" kept from being a field.
QString ExecProgram(const QString& program)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar ch : program) {
        if (ch == u'"' || ch == u'`' || ch == u'$' || ch == u'\\')
            quoted += u'\\';
        quoted += ch;
    }
    quoted += u'"';
    return DesktopValue(quoted.replace(u'%', QStringLiteral("%%")));
}

// Replaces a file whole, so a failure leaves the old one as it was; a
// linked mimeapps.list (kept with the user's dotfiles) stays a link.
void WriteWholeFile(const QString& path, const QByteArray& bytes, QFileDevice::Permissions permissions = {})
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("Cannot create the folder of " + path.toStdString());
    try {
        WriteFileSafely(path.toStdString(), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const ESafeWrite& e) {
        throw std::runtime_error(e.what());
    }
    if (permissions && !QFile::setPermissions(path, permissions))
        throw std::runtime_error("Cannot make " + path.toStdString() + " executable");
}

// The user's mimeapps.list as lines; only the lines this program sets
// change, everything else is written back as it was read.
class TMimeAppsList {
public:
    explicit TMimeAppsList(QString path) : path_(std::move(path))
    {
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly))
            lines_ = QString::fromUtf8(file.readAll()).split(u'\n');
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
    }

    std::optional<QString> Get(const QString& section, const QString& mime) const
    {
        const int line = Find(section, mime);
        if (line < 0)
            return std::nullopt;
        return lines_.at(line).mid(lines_.at(line).indexOf(u'=') + 1).trimmed();
    }

    // Sets the line, or removes it when value is none.
    void Set(const QString& section, const QString& mime, const std::optional<QString>& value)
    {
        const int line = Find(section, mime);
        const QString text = mime + u'=' + value.value_or(QString());
        if (line >= 0) {
            if (value)
                lines_[line] = text;
            else
                lines_.removeAt(line);
        } else if (value) {
            lines_.insert(SectionEnd(section), text);
        }
    }

    void Save() const { WriteWholeFile(path_, (lines_.join(u'\n') + u'\n').toUtf8()); }

private:
    bool IsSection(int line) const { return lines_.at(line).trimmed().startsWith(u'['); }

    int SectionStart(const QString& section) const
    {
        for (int i = 0; i < lines_.size(); ++i)
            if (lines_.at(i).trimmed() == section)
                return i;
        return -1;
    }

    int Find(const QString& section, const QString& mime) const
    {
        const int start = SectionStart(section);
        for (int i = start + 1; start >= 0 && i < lines_.size() && !IsSection(i); ++i)
            if (lines_.at(i).section(u'=', 0, 0).trimmed() == mime)
                return i;
        return -1;
    }

    // After the section's last non-blank line; a missing section is added.
    int SectionEnd(const QString& section)
    {
        int start = SectionStart(section);
        if (start < 0) {
            if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty())
                lines_.append(QString());
            lines_.append(section);
            return static_cast<int>(lines_.size());
        }
        int end = start + 1;
        for (int i = start + 1; i < lines_.size() && !IsSection(i); ++i)
            if (!lines_.at(i).trimmed().isEmpty())
                end = i + 1;
        return end;
    }

    QString path_;
    QStringList lines_;
};

QStringList DesktopIds(const QString& list) { return list.split(u';', Qt::SkipEmptyParts); }

bool StartsWithOurs(const std::optional<QString>& list)
{
    return list && DesktopIds(*list).value(0) == kAssociationId;
}

}  // namespace

TShellIntegration::TShellIntegration(TRegistry& registry, TDialogs& dialogs, QWidget* owner, QString programPath)
    : registry_(registry),
      dialogs_(dialogs),
      owner_(owner),
      programPath_(programPath.isEmpty() ? QCoreApplication::applicationFilePath() : std::move(programPath))
{
}

QString TShellIntegration::MimeAppsListPath() { return ConfigHome() + QStringLiteral("/mimeapps.list"); }

QString TShellIntegration::AssociationEntryPath()
{
    return DefaultFolder(TShortcutFolder::Programs) + u'/' + kAssociationId;
}

// The "Shell Folders" value where it names a folder, else the XDG folder
// of the same purpose. Read through a registry object of our own, so the
// caller's open key stays open.
QString TShellIntegration::Folder(TShortcutFolder folder) const
{
    TRegistry registry(registry_.FileName());
    const char* value = ShellFolderValue(folder);
    if (registry.OpenKeyReadOnly(kShellFoldersKey) && registry.ValueExists(value) &&
        registry.GetDataType(value) != rdInteger) {
        const QString stored = FromAnsi(registry.ReadString(value));
        if (!stored.isEmpty())
            return QDir::cleanPath(stored);
    }
    return DefaultFolder(folder);
}

QString TShellIntegration::ShortcutPath(TShortcutFolder folder) const
{
    return Folder(folder) + u'/' + (folder == TShortcutFolder::SendTo ? kScriptName : kShortcutName);
}

QString TShellIntegration::OpenCommand() const
{
    return u'"' + QDir::toNativeSeparators(programPath_) + QStringLiteral("\" \"%1\"");
}

void TShellIntegration::SetClassesRootCommand(const char* key, const std::string& value, bool expand)
{
    TRegistry registry(registry_.FileName());
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    registry.OpenKey(key, true);
    if (expand)
        registry.WriteExpandString("", value);
    else
        registry.WriteString("", value);
    registry.CloseKey();
}

// The hidden entry the associations name; it takes the file to open.
void TShellIntegration::WriteAssociationEntry() const
{
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Ostrel 3\nNoDisplay=true\n"
                                         "Exec=%1 %f\nPath=%2\nIcon=ostrel\nTerminal=false\n"
                                         "MimeType=text/plain;text/html;\n")
                              .arg(ExecProgram(programPath_), DesktopValue(QFileInfo(programPath_).absolutePath()));
    WriteWholeFile(AssociationEntryPath(), entry.toUtf8());
}

void TShellIntegration::UseOstrelForText()
{
    SetClassesRootCommand(kTextOpenKey, ToAnsi(OpenCommand()), true);
    WriteAssociationEntry();
    TMimeAppsList list(MimeAppsListPath());
    const std::optional<QString> before = list.Get(kDefaultsSection, kTextMime);
    if (!StartsWithOurs(before)) {
        TRegistry registry(registry_.FileName());
        registry.OpenKey(kIntegrationKey, true);
        registry.WriteString(kPreviousTextOpener, ToAnsi(before.value_or(QString())));
        registry.CloseKey();
    }
    list.Set(kDefaultsSection, kTextMime, kAssociationId + u';');
    list.Save();
    dialogs_.Information(owner_, res::kTextOstrelSet);
}

void TShellIntegration::UseNotepadForText()
{
    SetClassesRootCommand(kTextOpenKey, kNotepadCommand, true);
    TMimeAppsList list(MimeAppsListPath());
    if (StartsWithOurs(list.Get(kDefaultsSection, kTextMime))) {
        TRegistry registry(registry_.FileName());
        QString before;
        if (registry.OpenKey(kIntegrationKey, false) && registry.ValueExists(kPreviousTextOpener))
            before = FromAnsi(registry.ReadString(kPreviousTextOpener));
        list.Set(kDefaultsSection, kTextMime, before.isEmpty() ? std::nullopt : std::optional<QString>(before));
        list.Save();
        if (registry.HasCurrentKey()) {
            registry.DeleteValue(kPreviousTextOpener);
            registry.CloseKey();
        }
    }
    dialogs_.Information(owner_, res::kTextNotepadSet);
}

// HTML keeps its default opener (a browser, as a rule); the program joins
// the front of the applications offered for it, as an editor would.
void TShellIntegration::UseOstrelForHtml()
{
    SetClassesRootCommand(kHtmlEditKey, ToAnsi(OpenCommand()), false);
    WriteAssociationEntry();
    TMimeAppsList list(MimeAppsListPath());
    QStringList ids = DesktopIds(list.Get(kAddedSection, kHtmlMime).value_or(QString()));
    ids.removeAll(kAssociationId);
    ids.prepend(kAssociationId);
    list.Set(kAddedSection, kHtmlMime, ids.join(u';') + u';');
    list.Save();
    dialogs_.Information(owner_, res::kHtmlEditorSet);
}

bool TShellIntegration::WriteShortcut(TShortcutFolder folder)
{
    const QString path = ShortcutPath(folder);
    try {
        if (folder == TShortcutFolder::SendTo) {
            // The file manager runs the script in the viewed folder with the
            // chosen files' names, so it must not change folder.
            QString program = programPath_;
            program.replace(u'\'', QStringLiteral("'\\''"));
            const QString script =
                QStringLiteral("#!/bin/sh\n# Opens the chosen file in Ostrel 3.\nexec '%1' \"$@\"\n").arg(program);
            WriteWholeFile(path, script.toUtf8(),
                           QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                               QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                               QFileDevice::ExeOther);
            return true;
        }
        const bool startup = folder == TShortcutFolder::Startup;
        const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Ostrel 3\n"
                                             "Exec=%1%2\nPath=%3\nIcon=ostrel\nTerminal=false\n%4")
                                  .arg(ExecProgram(programPath_), startup ? QStringLiteral(" -h") : QString(),
                                       DesktopValue(QFileInfo(programPath_).absolutePath()),
                                       startup ? QString() : QStringLiteral("Categories=Utility;TextEditor;\n"));
        WriteWholeFile(path, entry.toUtf8());
        return true;
    } catch (const std::runtime_error&) {
        dialogs_.Error(owner_, res::kShortcutNotCreated);
        return false;
    }
}

void TShellIntegration::CreateShortcut(TShortcutFolder folder)
{
    if (WriteShortcut(folder))
        dialogs_.Information(owner_, res::kShortcutCreated);
}

void TShellIntegration::RemoveShortcut(TShortcutFolder folder)
{
    const QString path = ShortcutPath(folder);
    if (!QFileInfo::exists(path))
        dialogs_.Error(owner_, res::kFileNotFound);
    else if (QFile::remove(path))
        dialogs_.Information(owner_, res::kShortcutRemoved);
    else
        dialogs_.Error(owner_, res::kShortcutNotRemoved);
}

void TShellIntegration::SetAutostart(bool on)
{
    if (on)
        WriteShortcut(TShortcutFolder::Startup);
    else if (const QString path = ShortcutPath(TShortcutFolder::Startup); QFileInfo::exists(path))
        QFile::remove(path);
}

bool TShellIntegration::AutostartExists() const { return QFileInfo::exists(ShortcutPath(TShortcutFolder::Startup)); }

}  // namespace ostrel
