#pragma once
// What the main-window tests share: the application object and dialogs that
// answer from a script.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QTabWidget>
#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/Dialogs.h"
#include "app/Document.h"
#include "app/Mein.h"
#include "support/TestSupport.h"

// Readable failure messages for Qt's strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (const QString& text : list)
        *out << '"' << text.toStdString() << "\" ";
    *out << '}';
}
QT_END_NAMESPACE

namespace ostrel::test {

inline QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// One application object per test program, offscreen unless told otherwise.
inline QApplication& TestApp()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ostrel-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's clean-up routines at its end could reach statics
    // that are already gone by then.
    static QApplication* const app = new QApplication(argc, argv);
    // The windows read and write their settings: never the user's own.
    static const TempDir configHome;
    static const bool homeSet = qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome.path().string()));
    (void)homeSet;
    // Nor their recovery journals and kept copies.
    static const TempDir stateHome;
    static const bool stateSet = qputenv("XDG_STATE_HOME", QByteArray::fromStdString(stateHome.path().string()));
    (void)stateSet;
    return *app;
}

struct TShown {
    QString kind;  // "question", "information", "warning", "error", "input", "open", "save", "color", "font",
                   // "print", "printer setup"
    QString text;
};

// Answers every box and dialog from queues; a box nobody expected fails the
// test and gets the most careful answer (Cancel, nothing chosen).
class TScriptedDialogs final : public TDialogs {
public:
    std::deque<TAnswer> answers;
    std::deque<QString> inputs;
    std::deque<QStringList> openChoices;
    std::optional<TOstEncoding> openEncoding;  // what the open dialog's encoding box says
    std::deque<QString> saveChoices;
    // Colour and font dialogs: a choice, or nullopt for Cancel.
    std::deque<std::optional<QColor>> colorChoices;
    std::deque<std::optional<QFont>> fontChoices;
    // Print dialogs: the PDF file chosen to print into, or empty for Cancel.
    std::deque<QString> printChoices;
    // Printer setup dialogs: confirmed or cancelled.
    std::deque<bool> printerSetupChoices;
    // Recovery lists: the items to restore, or nullopt for "later".
    std::deque<std::optional<std::vector<bool>>> recoveryChoices;
    std::vector<TShown> shown;
    QString documentFolder;  // where the window said the next file dialog starts
    void SetDocumentFolder(const QString& folder) override { documentFolder = folder; }

    TAnswer Question(QWidget*, const QString& text, bool withCancel) override
    {
        shown.push_back({QStringLiteral("question"), text});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return withCancel ? TAnswer::Cancel : TAnswer::No;
        }
        return Pop(answers);
    }
    void Information(QWidget*, const QString& text) override { shown.push_back({QStringLiteral("information"), text}); }
    void Warning(QWidget*, const QString& text) override { shown.push_back({QStringLiteral("warning"), text}); }
    void Error(QWidget*, const QString& text) override { shown.push_back({QStringLiteral("error"), text}); }
    QString Input(QWidget*, const QString&, const QString& prompt, const QString& initial) override
    {
        shown.push_back({QStringLiteral("input"), prompt});
        if (inputs.empty()) {
            ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
            return initial;
        }
        return Pop(inputs);
    }
    QStringList OpenFiles(QWidget*, const QString&, std::optional<TOstEncoding>& encoding) override
    {
        shown.push_back({QStringLiteral("open"), {}});
        encoding = openEncoding;
        if (openChoices.empty()) {
            ADD_FAILURE() << "unexpected open dialog";
            return {};
        }
        return Pop(openChoices);
    }
    QString SaveFile(QWidget*, TFileDialogId, const QString&, const QString&) override
    {
        shown.push_back({QStringLiteral("save"), {}});
        if (saveChoices.empty()) {
            ADD_FAILURE() << "unexpected save dialog";
            return {};
        }
        return Pop(saveChoices);
    }

    std::optional<QColor> ChooseColor(QWidget*, const QColor& initial) override
    {
        shown.push_back({QStringLiteral("color"), initial.name()});
        if (colorChoices.empty()) {
            ADD_FAILURE() << "unexpected colour dialog";
            return std::nullopt;
        }
        return Pop(colorChoices);
    }
    std::optional<QFont> ChooseFont(QWidget*, const QFont& initial) override
    {
        shown.push_back({QStringLiteral("font"), initial.family() + u' ' + QString::number(initial.pointSize())});
        if (fontChoices.empty()) {
            ADD_FAILURE() << "unexpected font dialog";
            return std::nullopt;
        }
        return Pop(fontChoices);
    }

    bool Print(QWidget*, QPrinter& printer) override
    {
        shown.push_back({QStringLiteral("print"), {}});
        if (printChoices.empty()) {
            ADD_FAILURE() << "unexpected print dialog";
            return false;
        }
        const QString file = Pop(printChoices);
        if (file.isEmpty())
            return false;
        // What the dialog's "Print to File (PDF)" sets up.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
    }
    bool PrinterSetup(QWidget*, QPrinter&) override
    {
        shown.push_back({QStringLiteral("printer setup"), {}});
        if (printerSetupChoices.empty()) {
            ADD_FAILURE() << "unexpected printer setup dialog";
            return false;
        }
        return Pop(printerSetupChoices);
    }

    std::optional<std::vector<bool>> ChooseRecovered(QWidget*, const QStringList& items) override
    {
        shown.push_back({QStringLiteral("recovery"), items.join(u'\n')});
        if (recoveryChoices.empty()) {
            ADD_FAILURE() << "unexpected recovery list: " << items.join(u' ').toStdString();
            return std::nullopt;
        }
        return Pop(recoveryChoices);
    }

    // The texts shown of one kind, in order.
    std::vector<QString> Texts(const QString& kind) const
    {
        std::vector<QString> texts;
        for (const TShown& s : shown)
            if (s.kind == kind)
                texts.push_back(s.text);
        return texts;
    }
    int Count(const QString& kind) const { return static_cast<int>(Texts(kind).size()); }

private:
    template <class T>
    static T Pop(std::deque<T>& queue)
    {
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

// A main window shown with scripted dialogs, as a user sees it after start.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        auto scripted = std::make_unique<TScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<TOstrel3Main>(QString(), std::move(scripted));
        window->OpenWithDesktop = [this](const QString& path) {
            launched << path;
            return true;
        };
        window->show();
    }
    void TearDown() override
    {
        // Nothing may stand between the test and the end of the window.
        for (int i = 0; i < window->DocumentCount(); ++i)
            window->DocumentAt(i)->Editor().SetModified(false);
        window.reset();
    }

    QAction* Action(const char* name) const
    {
        QAction* action = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    void Click(const char* name) const { Action(name)->trigger(); }
    TDocumentPage& Current() const { return *window->CurrentDocument(); }
    QString TabCaption(int index) const { return window->pcEdytory1->tabText(index); }
    void Type(const char* text) const { Current().Editor().SetSelText(text); }
    // Writes a file into the folder and opens it as a document; its path.
    QString OpenFile(const std::filesystem::path& folder, const char* name, const std::string& content) const
    {
        WriteFile(folder / name, content);
        window->OpenDocument(Q(folder / name));
        return Q(folder / name);
    }

    TScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TOstrel3Main> window;
    QStringList launched;
};

}  // namespace ostrel::test
