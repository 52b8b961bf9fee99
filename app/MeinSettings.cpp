// The stored settings: read once at the first showing, the window group
// written at close and the configuration group when the configuration
// window is confirmed. A deleted value means its default, so most values are
// written only when they differ from it.

#include <algorithm>

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "app/Document.h"
#include "app/Mein.h"
#include "app/wndKonfiguracja.h"
#include "platform/ColorText.h"
#include "platform/OstRegistry.h"

namespace ostrel {

namespace {

// Sizes outside this range would make the text unreadable or the editor's
// arithmetic meaningless; a stored one is ignored.
constexpr int kSmallestFontSize = 1;
constexpr int kLargestFontSize = 500;
constexpr int kDefaultFontSize = 10;

bool UsableFontSize(int points) { return points >= kSmallestFontSize && points <= kLargestFontSize; }

// Runs read with the value's name when the value is stored.
template <class Read>
void IfPresent(TRegistry& reg, const char* name, Read read)
{
    if (reg.ValueExists(name))
        read(name);
}

// A deleted value means its default.
int32_t ReadIntegerOr(TRegistry& reg, const char* name, int32_t fallback)
{
    return reg.ValueExists(name) ? reg.ReadInteger(name) : fallback;
}

// A value that only its absence can say is at its default.
void WriteUnlessDefault(TRegistry& reg, const char* name, bool isDefault, int32_t value)
{
    if (isDefault)
        reg.DeleteValue(name);
    else
        reg.WriteInteger(name, value);
}

// Bounds stored on a screen that is gone would put the window out of reach;
// it then keeps its designed place.
bool OnSomeScreen(const QRect& bounds)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen* screen) { return screen->availableGeometry().intersects(bounds); });
}

void LoadWindowBounds(TRegistry& reg, QWidget& window)
{
    if (!reg.ValueExists("MaxState"))
        return;
    if (reg.ReadBool("MaxState")) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        return;
    }
    // A start minimised stays minimised; only the maximised flag goes.
    window.setWindowState(window.windowState() & ~Qt::WindowMaximized);
    const int width = ReadIntegerOr(reg, "WndWidth", window.width());
    const int height = ReadIntegerOr(reg, "WndHeight", window.height());
    const int left = ReadIntegerOr(reg, "WndLeft", window.x());
    const int top = ReadIntegerOr(reg, "WndTop", window.y());
    window.resize(width, height);
    if (OnSomeScreen(QRect(left, top, width, height)))
        window.move(left, top);
}

void LoadEditorFont(TRegistry& reg, TOstEdit& editor)
{
    TOstFont font = editor.Font();
    if (const std::string name = reg.ReadString("FontName"); !name.empty())
        font.Name = name;
    IfPresent(reg, "FontSize", [&](const char* n) {
        if (const int points = reg.ReadInteger(n); UsableFontSize(points))
            font.SetSize(points);
    });
    editor.SetFont(font);
}

}  // namespace

bool TOstrel3Main::ToolbarShown() const { return !tbStandardowy1->isHidden(); }

void TOstrel3Main::ShowToolbar(bool shown) { tbStandardowy1->setVisible(shown); }

bool TOstrel3Main::StatusBarShown() const { return !statusBar()->isHidden(); }

void TOstrel3Main::ShowStatusBar(bool shown) { statusBar()->setVisible(shown); }

// In the order of the settings table, so that a value that cannot be read
// leaves the ones before it applied.
void TOstrel3Main::LoadSettings()
{
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(kOstrelSettingsKey))
        return;
    LoadWindowBounds(reg, *this);
    IfPresent(reg, "Syntax", [&](const char* n) {
        if (const int index = reg.ReadInteger(n); index >= hlNone && index <= kHighlighterCount)
            smWzor1.SetHighlighter(highlighters_.Get(static_cast<THighlighterId>(index)));
    });
    IfPresent(reg, "LineNmbrsOnLeft",
              [&](const char* n) { smWzor1.Gutter().SetShowLineNumbers(reg.ReadInteger(n) == 1); });
    IfPresent(reg, "TlbrStandard", [&](const char* n) { ShowToolbar(reg.ReadInteger(n) != 0); });
    IfPresent(reg, "TlbrStatus", [&](const char* n) { ShowStatusBar(reg.ReadInteger(n) != 0); });
    IfPresent(reg, "Gutter", [&](const char* n) { smWzor1.Gutter().SetVisible(reg.ReadInteger(n) == 1); });
    IfPresent(reg, "MinToTray", [&](const char* n) { MinToTray = reg.ReadInteger(n) != 0; });
    IfPresent(reg, "DecodeBeforeSave", [&](const char* n) { SetDecodeBeforeSave(reg.ReadInteger(n)); });
    IfPresent(reg, "FindBar", [&](const char* n) { FindBarEnabled = reg.ReadInteger(n) != 0; });
    IfPresent(reg, "RestoreSession", [&](const char* n) { RestoreSession = reg.ReadInteger(n) != 0; });
    IfPresent(reg, "DefaultEncoding", [&](const char* n) {
        const std::string name = reg.ReadString(n);
        const std::optional<TOstEncoding> encoding = EncodingFromName(name);
        if (!encoding)
            throw ERegistryException("The value \"DefaultEncoding\" names no encoding: \"" + name + "\"");
        DefaultEncoding = *encoding;
    });
    IfPresent(reg, "EdBGCol", [&](const char* n) { smWzor1.SetColor(StringToColor(reg.ReadString(n))); });
    IfPresent(reg, "WWrap", [&](const char* n) {
        findChild<QAction*>(QStringLiteral("miZawijanieWierszy1"))->setChecked(reg.ReadBool(n));
    });
    // Being stored at all switches the option on, whatever the value says.
    IfPresent(reg, "TabsToSpace", [&](const char*) { smWzor1.SetOption(eoTabsToSpaces, true); });
    LoadEditorFont(reg, smWzor1);
}

void TOstrel3Main::SaveWindowSettings()
{
    // A window never shown (a start with "-h" ended from the tray) has read
    // nothing; its built-in place and size must not replace the stored ones.
    if (!shownOnce_)
        return;
    TRegistry reg;
    reg.SetLazyWrite(true);
    reg.OpenKey(kOstrelSettingsKey, true);
    reg.WriteBool("MaxState", isMaximized());
    reg.WriteInteger("WndWidth", width());
    reg.WriteInteger("WndHeight", height());
    reg.WriteInteger("WndLeft", x());
    reg.WriteInteger("WndTop", y());
    if (findChild<QAction*>(QStringLiteral("miZawijanieWierszy1"))->isChecked())
        reg.WriteBool("WWrap", true);
    else
        reg.DeleteValue("WWrap");
    reg.Flush();
}

void TOstrel3Main::SaveConfigurationSettings()
{
    TRegistry reg;
    reg.SetLazyWrite(true);
    reg.OpenKey(kOstrelSettingsKey, true);
    reg.WriteInteger("Syntax", highlighters_.IdOf(smWzor1.Highlighter()));
    reg.WriteBool("LineNmbrsOnLeft", smWzor1.Gutter().ShowLineNumbers());
    WriteUnlessDefault(reg, "TlbrStandard", ToolbarShown(), 0);
    WriteUnlessDefault(reg, "TlbrStatus", StatusBarShown(), 0);
    WriteUnlessDefault(reg, "Gutter", !smWzor1.Gutter().Visible(), 1);
    WriteUnlessDefault(reg, "MinToTray", MinToTray, 0);
    WriteUnlessDefault(reg, "DecodeBeforeSave", DecodeBeforeSave == 0, DecodeBeforeSave);
    WriteUnlessDefault(reg, "FindBar", FindBarEnabled, 0);
    WriteUnlessDefault(reg, "RestoreSession", RestoreSession, 0);
    if (DefaultEncoding == TOstEncoding::Utf8)
        reg.DeleteValue("DefaultEncoding");
    else
        reg.WriteString("DefaultEncoding", std::string(EncodingName(DefaultEncoding)));
    if (smWzor1.Color() == clWhite)
        reg.DeleteValue("EdBGCol");
    else
        reg.WriteString("EdBGCol", ColorToString(smWzor1.Color()));
    WriteUnlessDefault(reg, "TabsToSpace", !smWzor1.HasOption(eoTabsToSpaces), 1);
    reg.WriteString("FontName", smWzor1.Font().Name);
    const int points = smWzor1.Font().Size();
    WriteUnlessDefault(reg, "FontSize", points == kDefaultFontSize, points);
    reg.Flush();
}

void TOstrel3Main::miKonfiguracja1Click()
{
    if (!wndKonfiguracja_)
        wndKonfiguracja_ = new TwndKonfiguracja(*this);
    wndKonfiguracja_->FormShow();
    ExecDialog(*wndKonfiguracja_);
}

}  // namespace ostrel
