#pragma once
// What the settings and configuration tests share: a home of their own for
// the settings file, main windows started and closed in it as a user would,
// and the stored values as the next start will see them.

#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <map>
#include <variant>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>

#include "AppTestSupport.h"
#include "app/wndKonfiguracja.h"
#include "platform/OstRegistry.h"

namespace ostrel::test {

// A stored value: a number or a text.
using TStored = std::variant<int32_t, std::string>;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        savedHome_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.path().string()));
    }
    void TearDown() override
    {
        if (window) {
            for (int i = 0; i < window->DocumentCount(); ++i)
                window->DocumentAt(i)->Editor().SetModified(false);
            window.reset();
        }
        qputenv("XDG_CONFIG_HOME", savedHome_);
    }

    // A main window started with the argument and shown, which reads the
    // settings unless told "-r".
    void Start(const QString& firstArgument = {})
    {
        auto scripted = std::make_unique<TScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<TOstrel3Main>(firstArgument, std::move(scripted));
        window->show();
    }
    // Closes the window the way "&Koniec" does; whether it closed.
    bool Close()
    {
        const bool closed = window->close();
        window.reset();
        dialogs = nullptr;
        return closed;
    }

    TDocumentPage& Current() const { return *window->CurrentDocument(); }

    // Stores the values under the settings key, or under its subkey.
    void Seed(const std::map<std::string, TStored>& values, const std::string& subkey = {}) const
    {
        TRegistry reg(SettingsFile());
        ASSERT_TRUE(reg.OpenKey(subkey.empty() ? std::string(kOstrelSettingsKey)
                                               : std::string(kOstrelSettingsKey) + "\\" + subkey,
                                true));
        for (const auto& [name, value] : values) {
            if (const auto* number = std::get_if<int32_t>(&value))
                reg.WriteInteger(name, *number);
            else
                reg.WriteString(name, std::get<std::string>(value));
        }
    }
    // Everything stored under the settings key, as a new start reads it.
    std::map<std::string, TStored> Stored() const
    {
        std::map<std::string, TStored> values;
        TRegistry reg(SettingsFile());
        if (!reg.OpenKeyReadOnly(kOstrelSettingsKey))
            return values;
        for (const std::string& name : reg.GetValueNames()) {
            if (reg.GetDataType(name) == rdInteger)
                values[name] = reg.ReadInteger(name);
            else
                values[name] = reg.ReadString(name);
        }
        return values;
    }
    std::filesystem::path SettingsFile() const { return home.path() / "ostrel" / "registry.txt"; }

    // Opens the configuration window from its menu item; the script fills
    // and closes it.
    void Configure(const std::function<void(TwndKonfiguracja&)>& script)
    {
        window->ExecDialog = [script](QDialog& dialog) {
            script(dynamic_cast<TwndKonfiguracja&>(dialog));
            return dialog.result();
        };
        window->findChild<QAction*>(QStringLiteral("miKonfiguracja1"))->trigger();
    }
    template <class T>
    static T& Control(TwndKonfiguracja& w, const char* name)
    {
        T* control = w.findChild<T*>(QString::fromLatin1(name));
        if (!control)
            throw std::runtime_error(std::string("no control ") + name);
        return *control;
    }
    static void Press(TwndKonfiguracja& w, const char* name) { Control<QPushButton>(w, name).click(); }
    static void SetBox(TwndKonfiguracja& w, const char* name, bool on) { Control<QCheckBox>(w, name).setChecked(on); }
    static bool Box(TwndKonfiguracja& w, const char* name) { return Control<QCheckBox>(w, name).isChecked(); }

    // Writing a file beyond a few bytes fails for the scope's duration, as
    // on a full disk.
    class TDiskFull {
    public:
        TDiskFull()
        {
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &saved_);
            rlimit small = saved_;
            small.rlim_cur = 16;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        ~TDiskFull() { setrlimit(RLIMIT_FSIZE, &saved_); }
        TDiskFull(const TDiskFull&) = delete;
        TDiskFull& operator=(const TDiskFull&) = delete;

    private:
        rlimit saved_{};
    };

    TempDir home;
    std::unique_ptr<TOstrel3Main> window;
    TScriptedDialogs* dialogs = nullptr;

private:
    QByteArray savedHome_;
};

}  // namespace ostrel::test
